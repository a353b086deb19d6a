// Soak run of the continuous recitation: every ayeh of the Quran (6236, with the Bismillah
// before the first ayeh of every soureh but 1 and 9), then past the wrap from soureh 114 to
// soureh 1, on content of its own. The reader's main window recites, with its own notice
// handler, book, page, sound cache and lists; only the player is one whose clock the run
// moves: each recording ends as soon as it has begun, so the run takes seconds, not hours.
//
// Passes when every recording started is the one that follows the last (each ayeh's own
// recording once and in order, the Bismillah where it comes first), the chain is still
// running at the end, no error box showed, the cache folder holds exactly the recording playing
// and the one queued to follow it, and the resident memory is flat (no growth beyond a margin
// after the warm-up).
//   hardening_soak [--from S:A] [--ayehs N] [--margin-mb N]
// starts at soureh S, ayeh A (default 1:1) and runs until N ayeh recordings have started
// (default: all 6236 and three more past the wrap); prints its figures; exit status 0 when
// it passes.

#include "content/PageGeometry.h"
#include "mainwindow/Main.h"
#include "model/Utility.h"
#include "tests/mainwindow/ModalWatcher.h"
#include "tests/support/FakeAudioPlayer.h"
#include "tests/support/FixtureDatabase.h"
#include "tests/support/ProcessStatus.h"
#include "tests/support/WavFixtures.h"
#include "tools/ImportSupport.h"
#include "tools/Rle8Bitmap.h"

#include <QApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QFileInfo>
#include <QImage>
#include <QTemporaryDir>
#include <cstdio>
#include <string>
#include <vector>

namespace {

// A white page in 8-bit run-length form (a few kilobytes instead of 320).
QByteArray WhitePageRle8() {
    QImage page(PagePictureWidth, PagePictureHeight, QImage::Format_Indexed8);
    QList<QRgb> grey;
    for (int i = 0; i < 256; ++i)
        grey.append(qRgb(i, i, i));
    page.setColorTable(grey);
    page.fill(255);
    return EncodeRle8Bitmap(page);
}

QByteArray ShortRecording(int variant) {
    WavSpec wavFormat;
    wavFormat.Rate = 8000;
    wavFormat.DurationMs = 5;
    wavFormat.Variant = variant;
    return WavBytes(wavFormat);
}

// Every soureh and ayeh, eleven ayehs to a page, every recording of reciter 1.
void CreateWholeBook(const QString& dir) {
    FixtureDatabase quran(dir + QStringLiteral("/quran.dat"), QuranKey);
    CreateQuranTables(quran);
    FixtureDatabase sound(dir + QStringLiteral("/snd.wav"), SoundKey);
    CreateSoundTables(sound);
    const QByteArray page = WhitePageRle8();
    const QByteArray recording = ShortRecording(1);
    quran.Begin();
    sound.Begin();
    sound.Insert("Sounds", {{"SourehID", 0}, {"AyehID", 0}, {"GhariID", 1}, {"Sound", recording}});
    int index = 0;
    int lastPage = 0;
    for (int s = 1; s <= SourehCount; ++s) {
        const int pageOfFirst = index / 11 + 1;
        quran.Insert("Soureh", {{"SourehID", s},
                                {"SourehName", QStringLiteral("سوره %1").arg(s)},
                                {"Maki", s % 2 == 0},
                                {"PageID", pageOfFirst},
                                {"NumberOfAyeh", NumberOfAyehs(s)}});
        for (int a = 1; a <= NumberOfAyehs(s); ++a, ++index) {
            const int pageId = index / 11 + 1;
            const int line = index % 11 + 2;
            const int start = ReadingPosition(PagePictureWidth, line, 440);
            const int end = ReadingPosition(PagePictureWidth, line, 20);
            quran.Insert("Ayeh", {{"SourehID", s},
                                  {"AyehID", a},
                                  {"PageID", pageId},
                                  {"StartLine", line},
                                  {"EndLine", line},
                                  {"StartCol", 440},
                                  {"EndCol", 20},
                                  {"StartAyeh", start},
                                  {"EndAyeh", end},
                                  {"FarsiTranslation", QStringLiteral("ترجمه %1:%2").arg(s).arg(a)}});
            sound.Insert("Sounds", {{"SourehID", s}, {"AyehID", a}, {"GhariID", 1}, {"Sound", recording}});
            if (pageId != lastPage) {
                quran.Insert("Pages", {{"PageID", pageId}, {"PageBMP", page}, {"Joze", 1}});
                lastPage = pageId;
            }
        }
    }
    quran.Commit();
    sound.Commit();
}

} // namespace

int main(int argc, char** argv) {
    QTemporaryDir home;
    qputenv("HOME", home.path().toLocal8Bit());
    qputenv("XDG_CACHE_HOME", (home.path() + QStringLiteral("/cache")).toLocal8Bit());
    qputenv("XDG_CONFIG_HOME", (home.path() + QStringLiteral("/config")).toLocal8Bit());
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    long marginKb = 8 * 1024;
    int sourehId = 1;
    int ayehId = 1;
    long target = TotalAyehCount + 3; // past the wrap: 1:1, 1:2, 1:3 again
    for (int i = 1; i + 1 < argc; ++i) {
        const std::string option = argv[i];
        if (option == "--margin-mb")
            marginKb = std::stol(argv[i + 1]) * 1024;
        else if (option == "--ayehs")
            target = std::stol(argv[i + 1]);
        else if (option == "--from" && std::sscanf(argv[i + 1], "%d:%d", &sourehId, &ayehId) != 2)
            return 2;
    }
    if (sourehId < 1 || sourehId > SourehCount || ayehId < 1 || ayehId > NumberOfAyehs(sourehId) ||
        target < 1)
        return 2;

    QTemporaryDir content;
    QElapsedTimer clock;
    clock.start();
    CreateWholeBook(content.path());
    std::printf("content: %d sourehs, %d ayehs, built in %.1f s\n", SourehCount, TotalAyehCount,
                double(clock.elapsed()) / 1000);
    QDir::setCurrent(content.path());

    ModalWatcher boxes;
    auto owned = std::make_unique<FakeAudioPlayer>();
    FakeAudioPlayer& player = *owned;
    auto form = std::make_unique<TTntMainForm>(std::move(owned));
    form->show();
    if (!GlobalQuran) {
        std::fprintf(stderr, "the window has no book\n");
        return 1;
    }
    long notices = 0;
    QObject::connect(&player, &AudioPlayer::OnNotify, [&notices] { ++notices; });

    // What the listener must hear next: the Bismillah before ayeh 1 of a soureh where it
    // comes first, else the ayeh's own recording, then the ayeh after it.
    int expectedSoureh = sourehId;
    int expectedAyeh = ayehId;
    bool bismillahDue = BismillahComesFirst(sourehId, ayehId);
    long ayehsStarted = 0;
    long bismillahs = 0;
    long outOfOrder = 0;
    bool wrapped = false;
    qsizetype checked = 0;
    std::vector<std::pair<long, long>> samples; // ayehs started, resident KiB
    const auto checkPlays = [&] {
        for (; checked < player.Plays.size(); ++checked) {
            const QString heard = QFileInfo(player.Plays[checked]).fileName();
            const QString expected = bismillahDue ? TQuran::SoundFileName(1, 0, 0)
                                                  : TQuran::SoundFileName(1, expectedSoureh, expectedAyeh);
            if (heard != expected && ++outOfOrder <= 10)
                std::printf("out of order: %s where %s was due\n", qPrintable(heard), qPrintable(expected));
            if (bismillahDue) {
                ++bismillahs;
                bismillahDue = false;
                continue;
            }
            ++ayehsStarted;
            if (ayehsStarted % 250 == 0)
                samples.emplace_back(ayehsStarted, ResidentKilobytes());
            if (++expectedAyeh > NumberOfAyehs(expectedSoureh)) {
                expectedAyeh = 1;
                expectedSoureh = expectedSoureh % SourehCount + 1;
                wrapped = wrapped || expectedSoureh == 1;
            }
            bismillahDue = BismillahComesFirst(expectedSoureh, expectedAyeh);
        }
    };

    samples.emplace_back(0, ResidentKilobytes());
    clock.restart();
    // The user chooses the soureh and the ayeh, keeps the count at 1 and presses the recite
    // button; from then on only the recordings' ends move the chain.
    form->TntComboBoxSourehsList->setCurrentIndex(sourehId - 1);
    Q_EMIT form->TntComboBoxSourehsList->activated(sourehId - 1);
    form->TntComboBoxAyehsList->setCurrentIndex(ayehId - 1);
    form->SpinEditReadingCount->SetValue(1);
    form->TntSpeedButtonPlay->click();
    checkPlays();
    while (ayehsStarted < target && player.Mode() == pmPlaying) {
        player.EndNow();
        // The notices of the play that ended and of the commands before it; handling one
        // starts the next recording.
        for (long seen = -1; seen != notices;) {
            seen = notices;
            QCoreApplication::processEvents();
        }
        checkPlays();
    }
    const double seconds = double(clock.elapsed()) / 1000;

    const bool running = player.Mode() == pmPlaying;
    const QStringList cache =
        QDir(GlobalQuran->Sounds->Folder).entryList(QDir::Files | QDir::Hidden | QDir::System);
    std::printf("recited from %d:%d: %ld ayeh recordings, %ld Bismillahs, %ld notices in %.1f s; "
                "wrapped 114 -> 1: %s; next due %d:%d\n",
                sourehId, ayehId, ayehsStarted, bismillahs, notices, seconds, wrapped ? "yes" : "no",
                expectedSoureh, expectedAyeh);
    std::printf("chain at the end: %s\n", running ? "playing the next recording" : "not playing");
    std::printf("cache folder: %lld file(s)%s%s\n", static_cast<long long>(cache.size()),
                cache.isEmpty() ? "" : ": ", cache.isEmpty() ? "" : qPrintable(cache.join(u' ')));
    std::printf("resident memory (KiB) by ayehs started:");
    for (const auto& [count, kb] : samples)
        std::printf(" %ld:%ld", count, kb);
    std::printf("\n");
    // Growth after the warm-up (the first thousand ayehs fill the engine's page cache).
    long warm = samples.front().second;
    for (const auto& [count, kb] : samples)
        if (count <= 1000)
            warm = kb;
    const long growth = samples.back().second - warm;
    std::printf(
        "growth after warm-up: %ld KiB (margin %ld KiB); error boxes: %lld; recordings out of order: %ld\n",
        growth, marginKb, static_cast<long long>(boxes.Boxes().size()), outOfOrder);

    QStringList expectedCache{QFileInfo(player.FileName()).fileName()};
    if (!player.QueuedFile().isEmpty() && player.QueuedFile() != player.FileName())
        expectedCache << QFileInfo(player.QueuedFile()).fileName();
    QStringList cached = cache;
    cached.sort();
    expectedCache.sort();
    const bool pass = running && ayehsStarted >= target && cached == expectedCache && growth <= marginKb &&
                      boxes.Boxes().isEmpty() && outOfOrder == 0;
    form.reset();
    GlobalQuran.reset();
    std::printf("soak: %s\n", pass ? "PASS" : "FAIL");
    return pass ? 0 : 1;
}
