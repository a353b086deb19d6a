// The silence between two consecutive recordings of the continuous recitation, heard where
// the listener hears it: in the output device's samples. The real main window recites on
// content whose recordings are tones with no silence at either end, the output goes through
// SDL's disk driver into a file, and every run of silent frames between two recordings is a
// gap. The chain begins with a repetition and crosses from soureh 1 through the Bismillah into
// soureh 2. Then a practice of two ayehs with a pause of PauseSeconds runs, and the silence
// between its two recordings is its pause as heard. The time the window's notice handler takes
// for each move is measured beside it.
//
// Usage: bench-gap [transitions] [recording milliseconds]

#include "audio/AudioOutput.h"
#include "audio/SdlAudioPlayer.h"
#include "audio/WavDecoder.h"
#include "bench/BenchSupport.h"
#include "content/ContentKeys.h"
#include "mainwindow/Main.h"
#include "model/Utility.h"
#include "tests/support/FixtureDatabase.h"
#include "tests/support/WavFixtures.h"

#include <QApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QEvent>
#include <QFile>
#include <QTimer>
#include <cstdio>
#include <cstring>
#include <ctime>
#include <vector>

namespace {

// Recordings at a common recitation format (22.05 kHz mono), which the player converts to
// the device's format when it opens them.
constexpr int RecordingRate = 22050;
constexpr int Reciter = 1;
constexpr int PauseSeconds = 2;

// A recording of the tone of pitch: no silence at either end, none inside.
QByteArray ToneRecording(int milliseconds, int pitch) {
    WavSpec tone;
    tone.Rate = RecordingRate;
    tone.DurationMs = milliseconds;
    tone.ToneHz = pitch;
    return WavBytes(tone);
}

// Soureh 1's ayehs, the Bismillah and soureh 2's first ayehs: the chain crosses a soureh.
void WriteSounds(const QString& path, int milliseconds) {
    FixtureDatabase sound(path, SoundKey);
    CreateSoundTables(sound);
    sound.Begin();
    int pitch = 300;
    const auto add = [&](int sourehId, int ayehId) {
        sound.Insert("Sounds", {{"SourehID", sourehId},
                                {"AyehID", ayehId},
                                {"GhariID", Reciter},
                                {"Sound", ToneRecording(milliseconds, pitch)}});
        pitch += 40;
    };
    for (int ayeh = 1; ayeh <= 7; ++ayeh)
        add(1, ayeh);
    add(0, 0);
    for (int ayeh = 1; ayeh <= 7; ++ayeh)
        add(2, ayeh);
    sound.Commit();
}

// Times the window's handler of each notice: the queued call reaches the player (filter)
// before the handler runs, and the slot connected after the window's own runs after it.
class HandlerClock final : public QObject {
public:
    bool eventFilter(QObject*, QEvent* event) override {
        if (event->type() == QEvent::MetaCall) {
            Timer.start();
            CpuStart = ThreadCpuNanoseconds();
        }
        return false;
    }
    void Ended(const QString& loaded) {
        if (Timer.isValid() && loaded != Last) {
            Milliseconds.push_back(double(Timer.nsecsElapsed()) / 1e6);
            CpuMilliseconds.push_back(double(ThreadCpuNanoseconds() - CpuStart) / 1e6);
        }
        Last = loaded;
        Timer.invalidate();
    }
    std::vector<double> Milliseconds;
    std::vector<double> CpuMilliseconds;
    QString Last;

private:
    static long long ThreadCpuNanoseconds() {
        timespec now{};
        ::clock_gettime(CLOCK_THREAD_CPUTIME_ID, &now);
        return static_cast<long long>(now.tv_sec) * 1000000000LL + now.tv_nsec;
    }
    QElapsedTimer Timer;
    long long CpuStart = 0;
};

// The silence after each recording of recordingFrames frames in the output, in frames: from
// the first sounding frame, each recording is passed over and the silent frames up to the
// next sounding one counted (0 where the next follows at once). The last two runs are the
// wait before the practice and the practice's pause; the others are the chain's transitions.
struct Silences {
    std::vector<long> Transitions;
    long Pause = -1;
};

Silences SilencesAfterRecordings(const QByteArray& output, int channels, long recordingFrames) {
    const auto* samples = reinterpret_cast<const qint16*>(output.constData());
    const long frames = output.size() / (2 * channels);
    const auto silent = [&](long f) {
        for (int c = 0; c < channels; ++c)
            if (samples[f * channels + c] != 0)
                return false;
        return true;
    };
    const auto nextSounding = [&](long f) {
        while (f < frames && silent(f))
            ++f;
        return f;
    };
    std::vector<long> runs;
    for (long at = nextSounding(0); at < frames;) {
        const long end = at + recordingFrames;
        const long next = nextSounding(end);
        if (next >= frames)
            break;
        runs.push_back(next - end);
        at = next;
    }
    Silences result;
    if (runs.size() < 2)
        return result;
    result.Pause = runs.back();
    result.Transitions.assign(runs.begin(), runs.end() - 2);
    return result;
}

} // namespace

int main(int argc, char** argv) {
    const int transitions = argc > 1 ? std::atoi(argv[1]) : 8;
    const int milliseconds = argc > 2 ? std::atoi(argv[2]) : 2300;
    PrivateHome home;
    const QString outputFile = home.Path() + QStringLiteral("/output.raw");
    qputenv("QT_QPA_PLATFORM", "offscreen");
    qputenv("SDL_AUDIODRIVER", "disk");
    qputenv("SDL_DISKAUDIOFILE", QFile::encodeName(outputFile));
    QApplication application(argc, argv);

    const QString content = home.Path() + QStringLiteral("/content");
    QDir().mkpath(content);
    const QString quranFile = QString::fromLatin1(QuranDatabaseFile);
    QFile::link(QDir(ContentFolder()).filePath(quranFile), QDir(content).filePath(quranFile));
    WriteSounds(QDir(content).filePath(QString::fromLatin1(SoundDatabaseFile)), milliseconds);
    QDir::setCurrent(content);

    auto output = std::make_unique<AudioOutput>();
    auto form = std::make_unique<TTntMainForm>(std::make_unique<SdlAudioPlayer>(*output));
    form->show();
    AudioPlayer* player = form->MediaPlayer1;
    HandlerClock clock;
    player->installEventFilter(&clock);
    QObject::connect(player, &AudioPlayer::OnNotify, &clock, [&] { clock.Ended(player->FileName()); });

    form->TntComboBoxGhariList->setCurrentIndex(Reciter - 1);
    Q_EMIT form->TntComboBoxGhariList->activated(Reciter - 1);
    form->TntComboBoxSourehsList->setCurrentIndex(0);
    Q_EMIT form->TntComboBoxSourehsList->activated(0);
    // Start late in soureh 1 so that the chain passes the Bismillah into soureh 2.
    const int firstAyeh = std::max(1, 8 - transitions / 2);
    form->TntComboBoxAyehsList->setCurrentIndex(firstAyeh - 1);
    // The first ayeh twice: the first transition is a repetition.
    form->SpinEditReadingCount->SetValue(2);
    form->TntSpeedButtonPlay->click();
    clock.Last = player->FileName();

    // The window's own message loop runs until the recording after the last counted transition
    // has ended, as it would in the reader: a notice is handled as soon as it is posted.
    QTimer check;
    QObject::connect(&check, &QTimer::timeout, &application, [&] {
        if (clock.Milliseconds.size() < size_t(transitions))
            return;
        // A repeat count of 0 ends the chain with the recording in progress.
        form->SpinEditReadingCount->SetValue(0);
        // exit, not quit: quit would close the window too.
        if (player->Mode() == pmStopped && player->Position() == player->Length())
            QCoreApplication::exit(0);
    });
    check.start(50);
    QTimer::singleShot(qint64(transitions + 2) * (milliseconds + 1000) + 10000, &application,
                       &QApplication::quit);
    application.exec();
    check.stop();

    // The practice: 2:2, a pause, 2:3, and it ends.
    PracticePlan plan;
    plan.FromSoureh = plan.ToSoureh = 2;
    plan.FromAyeh = 2;
    plan.ToAyeh = 3;
    plan.Pause = PracticePause::Fixed;
    plan.PauseSeconds = PauseSeconds;
    form->SpinEditReadingCount->SetValue(1);
    form->StartPractice(plan);
    QTimer practice;
    QObject::connect(&practice, &QTimer::timeout, &application, [&] {
        if (!form->Practicing() && player->Mode() == pmStopped && player->Position() == player->Length())
            application.quit();
    });
    practice.start(50);
    QTimer::singleShot(qint64(3) * milliseconds + PauseSeconds * 1000 + 10000, &application,
                       &QApplication::quit);
    application.exec();
    const OutputFormat format = output->Format();
    form.reset();
    GlobalQuran.reset();
    // Closing the device flushes the driver's file.
    output.reset();

    QFile file(outputFile);
    if (!file.open(QIODevice::ReadOnly)) {
        std::fprintf(stderr, "bench-gap: no output from the disk driver at %s\n", qPrintable(outputFile));
        return 1;
    }
    const QString tonePath = home.Path() + QStringLiteral("/tone.wav");
    {
        QFile tone(tonePath);
        if (!tone.open(QIODevice::WriteOnly) || tone.write(ToneRecording(milliseconds, 300)) < 0)
            return 1;
    }
    const long recordingFrames = long(DecodeWav(tonePath, format)->Frames());
    const Silences silences = SilencesAfterRecordings(file.readAll(), format.Channels, recordingFrames);
    if (silences.Pause < 0) {
        std::fprintf(stderr, "bench-gap: the practice's pause was not heard\n");
        return 1;
    }
    const double pauseMs = double(silences.Pause) * 1000.0 / format.Rate;
    std::vector<double> gaps;
    for (long run : silences.Transitions)
        gaps.push_back(double(run) * 1000.0 / format.Rate);

    std::printf("device: %d Hz, %d channels; recordings %d ms at %d Hz mono (%d bytes)\n", format.Rate,
                format.Channels, milliseconds, RecordingRate, int(ToneRecording(milliseconds, 300).size()));
    std::printf("gaps (ms):");
    for (double gap : gaps)
        std::printf(" %.1f", gap);
    std::printf("\nhandler (ms):");
    for (double time : clock.Milliseconds)
        std::printf(" %.1f", time);
    std::printf("\nhandler CPU (ms):");
    for (double time : clock.CpuMilliseconds)
        std::printf(" %.1f", time);
    const Spread gap = SpreadOf(gaps);
    const Spread handler = SpreadOf(clock.Milliseconds);
    const Spread handlerCpu = SpreadOf(clock.CpuMilliseconds);
    std::printf("\ngap_ms median %.1f min %.1f max %.1f over %zu transitions\n", gap.Median, gap.Min, gap.Max,
                gaps.size());
    std::printf("handler_ms median %.1f min %.1f max %.1f over %zu notices\n", handler.Median, handler.Min,
                handler.Max, clock.Milliseconds.size());
    std::printf("handler_cpu_ms median %.1f min %.1f max %.1f over %zu notices\n", handlerCpu.Median,
                handlerCpu.Min, handlerCpu.Max, clock.CpuMilliseconds.size());
    std::printf("practice_pause_ms %.1f for a pause of %d ms (off by %.1f ms)\n", pauseMs,
                PauseSeconds * 1000, pauseMs - PauseSeconds * 1000);
    return gaps.size() >= size_t(transitions) ? 0 : 1;
}
