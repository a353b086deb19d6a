#include "tools/ImportSupport.h"

#include <QCommandLineParser>
#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>
#include <csignal>
#include <cstdio>
#include <unistd.h>

// ---------------------------------------------------------------------------------------
// ProgressBar

ProgressBar::ProgressBar(QString label, qint64 total)
    : Label(std::move(label)), Total(qMax<qint64>(total, 1)), Enabled(isatty(STDERR_FILENO) == 1) {
    Clock.start();
    Draw();
}

ProgressBar::~ProgressBar() {
    // A bar cut short by a failure still ends its line, so the error starts on a fresh one.
    if (Enabled && !Finished)
        std::fputc('\n', stderr);
}

void ProgressBar::Advance(qint64 steps) {
    Done = qMin(Total, Done + steps);
    Draw();
}

void ProgressBar::Finish() {
    Done = Total;
    LastDrawMs = -1;
    Draw();
    if (Enabled && !Finished)
        std::fputc('\n', stderr);
    Finished = true;
}

void ProgressBar::Draw() {
    if (!Enabled || Finished)
        return;
    const qint64 now = Clock.elapsed();
    if (LastDrawMs >= 0 && now - LastDrawMs < 100 && Done < Total)
        return;
    LastDrawMs = now;
    constexpr int Width = 30;
    const int filled = static_cast<int>(Done * Width / Total);
    QString line =
        QStringLiteral("\r%1 [%2%3] %4/%5")
            .arg(Label, QString(filled, QLatin1Char('#')), QString(Width - filled, QLatin1Char('-')))
            .arg(Done)
            .arg(Total);
    if (Done > 0 && Done < Total) {
        const qint64 left = now * (Total - Done) / Done / 1000;
        line += QStringLiteral("  %1:%2 left").arg(left / 60).arg(left % 60, 2, 10, QLatin1Char('0'));
    }
    line += QStringLiteral("   ");
    std::fputs(line.toLocal8Bit().constData(), stderr);
    std::fflush(stderr);
}

// ---------------------------------------------------------------------------------------
// InterruptGuard

namespace {
volatile std::sig_atomic_t InterruptRaised = 0;
struct sigaction PreviousInterrupt;
struct sigaction PreviousTerminate;

extern "C" void RaiseInterrupt(int) {
    InterruptRaised = 1;
}
} // namespace

InterruptGuard::InterruptGuard() {
    InterruptRaised = 0;
    struct sigaction action {};
    action.sa_handler = RaiseInterrupt;
    sigemptyset(&action.sa_mask);
    sigaction(SIGINT, &action, &PreviousInterrupt);
    sigaction(SIGTERM, &action, &PreviousTerminate);
}

InterruptGuard::~InterruptGuard() {
    sigaction(SIGINT, &PreviousInterrupt, nullptr);
    sigaction(SIGTERM, &PreviousTerminate, nullptr);
}

bool InterruptGuard::Interrupted() {
    return InterruptRaised != 0;
}

void InterruptGuard::CheckInterrupted() {
    if (Interrupted())
        throw ToolError(QStringLiteral("interrupted; nothing was changed."));
}

// ---------------------------------------------------------------------------------------
// The public text

QString FindSourcePackage(const QString& explicitDir, const QString& folderName, const QString& what,
                          const QString& option) {
    if (!explicitDir.isEmpty()) {
        if (!QFileInfo(explicitDir).isDir())
            throw ToolError(QStringLiteral("the source folder %1 does not exist.")
                                .arg(QDir::toNativeSeparators(explicitDir)));
        return explicitDir;
    }
    const QString relative = QStringLiteral(".cache/sources/") + folderName;
    const QStringList candidates = {
        QDir::current().filePath(relative),
        QDir(QCoreApplication::applicationDirPath()).filePath(QStringLiteral("../") + relative),
    };
    for (const QString& candidate : candidates) {
        if (QFileInfo(candidate).isDir())
            return QDir::cleanPath(candidate);
    }
    throw ToolError(QStringLiteral("the %1 sources are not in %2 (run scripts/setup.sh, or name "
                                   "the folder with %3).")
                        .arg(what, QDir::toNativeSeparators(candidates.front()), option));
}

QString FindQuranDbPackage(const QString& explicitDir) {
    return FindSourcePackage(explicitDir, QStringLiteral("quran-db"), QStringLiteral("quran-db"),
                             QStringLiteral("--sources"));
}

// ---------------------------------------------------------------------------------------
// Command lines

int ParseCommandLine(QCommandLineParser& parser, const QStringList& args, const char* command,
                     const char* help, int positionalCount) {
    const QCommandLineOption helpOption({QStringLiteral("h"), QStringLiteral("help")},
                                        QStringLiteral("help"));
    parser.addOption(helpOption);
    parser.setSingleDashWordOptionMode(QCommandLineParser::ParseAsLongOptions);
    const bool parsed = parser.parse(QStringList{QStringLiteral("golvar-content")} + args);
    if (parsed && parser.isSet(helpOption)) {
        std::fputs(help, stdout);
        return 0;
    }
    QString error;
    if (!parsed)
        error = parser.errorText();
    else if (parser.positionalArguments().size() != positionalCount)
        error = QStringLiteral("expected %1 arguments, got %2")
                    .arg(positionalCount)
                    .arg(parser.positionalArguments().size());
    if (!error.isEmpty()) {
        std::fprintf(stderr, "golvar-content %s: %s\nTry 'golvar-content %s --help'.\n", command,
                     error.toLocal8Bit().constData(), command);
        return 2;
    }
    return -1;
}

int ReportFailure(const char* command, const QString& message, int exitCode) {
    std::fprintf(stderr, "golvar-content %s: %s\n", command, message.toLocal8Bit().constData());
    return exitCode;
}

void PrintNote(const QString& message) {
    std::fprintf(stderr, "%s\n", message.toLocal8Bit().constData());
}
