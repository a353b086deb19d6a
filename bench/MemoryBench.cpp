// Memory of a long session in the real main window on the default content: 500 page turns
// and 200 recited ayehs, in two equal halves; the resident set after each half, so that a
// leak shows as growth over the second half.
//
// Usage: bench-memory

#include "audio/AudioOutput.h"
#include "audio/SdlAudioPlayer.h"
#include "bench/BenchSupport.h"
#include "content/MushafCounts.h"
#include "mainwindow/Main.h"
#include "model/Utility.h"
#include "tests/support/ProcessStatus.h"

#include <QApplication>
#include <QDir>
#include <QElapsedTimer>
#include <cstdio>

namespace {

void RunEventsFor(int milliseconds) {
    QElapsedTimer timer;
    timer.start();
    while (timer.elapsed() < milliseconds)
        QCoreApplication::processEvents(QEventLoop::AllEvents, milliseconds);
}

// Half a session: 250 page turns by number and 100 ayehs recited by the recite button, each
// played for a moment before the next cuts it short.
void HalfSession(TTntMainForm& form, int half) {
    for (int turn = 0; turn < 250; ++turn) {
        const int pageId = (half * 250 + turn) * 7 % PageCount + 1;
        form.txtPageNo->setText(QString::number(pageId));
        form.TntBitBtnGoToPageClick(nullptr);
        QCoreApplication::processEvents();
    }
    form.TntComboBoxSourehsList->setCurrentIndex(1);
    Q_EMIT form.TntComboBoxSourehsList->activated(1);
    for (int i = 0; i < 100; ++i) {
        form.TntComboBoxAyehsList->setCurrentIndex(half * 100 + i);
        form.SpinEditReadingCount->SetValue(1);
        form.TntSpeedButtonPlay->click();
        RunEventsFor(20);
    }
}

} // namespace

int main(int argc, char** argv) {
    PrivateHome home;
    qputenv("QT_QPA_PLATFORM", "offscreen");
    qputenv("SDL_AUDIODRIVER", "dummy");
    QApplication application(argc, argv);
    QDir::setCurrent(ContentFolder());

    AudioOutput output;
    auto form = std::make_unique<TTntMainForm>(std::make_unique<SdlAudioPlayer>(output));
    form->show();
    RunEventsFor(100);
    const long start = ResidentKilobytes();
    HalfSession(*form, 0);
    RunEventsFor(200);
    const long half = ResidentKilobytes();
    HalfSession(*form, 1);
    RunEventsFor(200);
    const long end = ResidentKilobytes();
    const bool reached = GlobalQuran && GlobalQuran->Soureh && GlobalQuran->Soureh->SourehID == 2 &&
                         GlobalQuran->Soureh->Ayeh && GlobalQuran->Soureh->Ayeh->AyehID == 200;
    std::printf("rss_kb at window shown %ld, after half %ld, at end %ld\n", start, half, end);
    std::printf("memory_rss_mb %.1f growth_second_half_mb %.1f\n", double(end) / 1024.0,
                double(end - half) / 1024.0);
    form->MediaPlayer1->Stop();
    form.reset();
    GlobalQuran.reset();
    if (!reached) {
        std::fprintf(stderr, "bench-memory: the session did not reach ayeh 2:200\n");
        return 1;
    }
    return 0;
}
