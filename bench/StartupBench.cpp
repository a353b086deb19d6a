// Start-up as a person sees it: from the start of the process to the main window shown (the
// splash window's half second included). The program starts itself again as the reader for
// each run with the arguments the installed launcher gives the reader, behind a first argument
// of its own that it takes off again; the reader's copy reports when the main window is shown
// and when it is first painted, on the monotonic clock the parent read before it started the
// process.
//
// Usage: bench-startup [runs]

#include "bench/BenchSupport.h"
#include "mainwindow/Main.h"
#include "shell/Shell.h"

#include <QByteArray>
#include <QDir>
#include <QEvent>
#include <QFile>
#include <QTimer>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <spawn.h>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>
#include <vector>

extern char** environ;

namespace {

// Reports on stdout and ends the process at once: nothing after the window shown counts.
class ShownWatcher final : public QObject {
public:
    bool eventFilter(QObject* receiver, QEvent* event) override {
        if (!receiver->isWidgetType() || !receiver->inherits("TTntMainForm"))
            return false;
        if (event->type() == QEvent::Show && !Shown) {
            Shown = MonotonicNanoseconds();
            rusage usage{};
            ::getrusage(RUSAGE_SELF, &usage);
            CpuMicroseconds = (usage.ru_utime.tv_sec + usage.ru_stime.tv_sec) * 1000000LL +
                              usage.ru_utime.tv_usec + usage.ru_stime.tv_usec;
            // Some platforms paint nothing off screen: report the show alone after a while.
            QTimer::singleShot(3000, this, [this] { Report(0); });
        } else if (event->type() == QEvent::Paint && Shown) {
            Report(MonotonicNanoseconds());
        }
        return false;
    }

private:
    void Report(long long painted) {
        std::printf("%lld %lld %lld\n", Shown, painted, CpuMicroseconds);
        std::fflush(stdout);
        std::_Exit(0);
    }
    long long Shown = 0;
    long long CpuMicroseconds = 0;
};

// The reader's own command line: the program's name and what follows the bench's marker.
int RunReader(int argc, char** argv) {
    std::vector<char*> readerArguments{argv[0]};
    readerArguments.insert(readerArguments.end(), argv + 2, argv + argc);
    readerArguments.push_back(nullptr);
    int readerCount = argc - 1;
    TGolvarApplication application(readerCount, readerArguments.data());
    ShownWatcher watcher;
    application.installEventFilter(&watcher);
    return RunGolvarQuran(application);
}

// One run: milliseconds from just before the process is started to the window shown and to
// its first paint (0 when it was not painted), and the processor time the process had used
// by the time the window was shown.
bool TimeOneStart(const char* self, const QByteArray& content, double& shownMs, double& paintedMs,
                  double& cpuMs) {
    int pipeEnds[2];
    if (::pipe(pipeEnds) != 0)
        return false;
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_adddup2(&actions, pipeEnds[1], STDOUT_FILENO);
    posix_spawn_file_actions_addclose(&actions, pipeEnds[0]);
    char child[] = "--reader";
    char contentOption[] = "--default-content";
    char* arguments[] = {const_cast<char*>(self), child, contentOption,
                         const_cast<char*>(content.constData()), nullptr};
    const long long started = MonotonicNanoseconds();
    pid_t pid = 0;
    const int failed = posix_spawn(&pid, self, &actions, nullptr, arguments, environ);
    posix_spawn_file_actions_destroy(&actions);
    ::close(pipeEnds[1]);
    if (failed) {
        ::close(pipeEnds[0]);
        return false;
    }
    char line[128] = {};
    size_t got = 0;
    while (got < sizeof line - 1) {
        const ssize_t n = ::read(pipeEnds[0], line + got, sizeof line - 1 - got);
        if (n <= 0)
            break;
        got += size_t(n);
    }
    ::close(pipeEnds[0]);
    int status = 0;
    ::waitpid(pid, &status, 0);
    long long shown = 0;
    long long painted = 0;
    long long cpu = 0;
    if (std::sscanf(line, "%lld %lld %lld", &shown, &painted, &cpu) != 3 || shown == 0)
        return false;
    cpuMs = double(cpu) / 1e3;
    shownMs = double(shown - started) / 1e6;
    paintedMs = painted ? double(painted - started) / 1e6 : 0;
    return true;
}

} // namespace

int main(int argc, char** argv) {
    if (argc > 1 && std::strcmp(argv[1], "--reader") == 0)
        return RunReader(argc, argv);

    const int runs = argc > 1 ? std::atoi(argv[1]) : 7;
    PrivateHome home;
    ::setenv("QT_QPA_PLATFORM", "offscreen", 0);
    ::setenv("SDL_AUDIODRIVER", "dummy", 0);
    const QByteArray content = QFile::encodeName(QDir(ContentFolder()).absolutePath());
    char self[4096] = {};
    const ssize_t length = ::readlink("/proc/self/exe", self, sizeof self - 1);
    if (length <= 0)
        return 1;

    std::vector<double> shown;
    std::vector<double> painted;
    std::vector<double> cpu;
    for (int run = 0; run < runs; ++run) {
        double shownMs = 0;
        double paintedMs = 0;
        double cpuMs = 0;
        if (!TimeOneStart(self, content, shownMs, paintedMs, cpuMs)) {
            std::fprintf(stderr, "bench-startup: run %d did not report the main window\n", run + 1);
            return 1;
        }
        shown.push_back(shownMs);
        cpu.push_back(cpuMs);
        if (paintedMs > 0)
            painted.push_back(paintedMs);
        std::printf("run %d: shown %.1f ms, painted %.1f ms, processor time %.1f ms\n", run + 1, shownMs,
                    paintedMs, cpuMs);
    }
    const Spread s = SpreadOf(shown);
    const Spread p = SpreadOf(painted);
    const Spread c = SpreadOf(cpu);
    std::printf("startup_shown_ms median %.1f min %.1f max %.1f over %d runs\n", s.Median, s.Min, s.Max,
                runs);
    std::printf("startup_painted_ms median %.1f min %.1f max %.1f over %zu runs\n", p.Median, p.Min, p.Max,
                painted.size());
    std::printf("startup_cpu_ms median %.1f min %.1f max %.1f over %d runs\n", c.Median, c.Min, c.Max, runs);
    return 0;
}
