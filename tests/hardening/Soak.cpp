// Soak run of the continuous recitation: every ayeh of the Quran (6236, with the Bismillah
// before the first ayeh of every soureh but 1 and 9), then past the wrap from soureh 114 to
// soureh 1, on content whose recordings last a few milliseconds. A driver with the main
// window's notice rules moves the chain on; the book, page, sound cache and player are the
// reader's own.
//
// Passes when the chain is still running at the end, the cache folder holds exactly one file
// and the resident memory is flat (no growth beyond a small margin after the warm-up).
//   hardening_soak [--margin-mb N]     prints its figures; exit status 0 when it passes

#include "audio/AudioPlayer.h"
#include "content/PageGeometry.h"
#include "model/Utility.h"
#include "tests/support/FixtureDatabase.h"
#include "tests/support/WavFixtures.h"
#include "tools/ImportSupport.h"
#include "tools/Rle8Bitmap.h"

#include <QCoreApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QImage>
#include <QScopedValueRollback>
#include <QTemporaryDir>
#include <QTimer>

#include <cstdio>
#include <fstream>
#include <string>
#include <vector>

namespace {

class SoakImage final : public IPageImage {
public:
    void DrawBitmap(const QImage&, int, int) override {}
    void SetPixel(int x, int y, QRgb) override {
        if (x < 0 || y < 0 || x >= PagePictureWidth || y >= PagePictureHeight)
            ++Outside;
    }
    long Outside = 0;
};

class SoakScroll final : public IScrollBox {
public:
    int VertPosition() const override { return Position; }
    void SetVertPosition(int position) override {
        Position = std::clamp(position, 0, PagePictureHeight - 274);
    }
    int ClientHeight() const override { return 274; }
    int Position = 0;
};

class SoakPageNo final : public IPageNoEdit {
public:
    QString Text() const override { return Value; }
    void SetText(const QString& text) override { Value = text; }
    QString Value;
};

class SoakErrors final : public IErrorBox {
public:
    void ShowError(const QString&, const QString& text) override {
        ++Shown;
        std::fprintf(stderr, "error box: %s\n", qPrintable(text));
    }
    int Shown = 0;
};

long ResidentKb() {
    std::ifstream status("/proc/self/status");
    std::string line;
    while (std::getline(status, line))
        if (line.rfind("VmRSS:", 0) == 0)
            return std::stol(line.substr(6));
    return -1;
}

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
        quran.Insert("Soureh", {{"SourehID", s}, {"SourehName", QStringLiteral("سوره %1").arg(s)},
                                {"Maki", s % 2 == 0}, {"PageID", pageOfFirst}, {"NumberOfAyeh", NumberOfAyehs(s)}});
        for (int a = 1; a <= NumberOfAyehs(s); ++a, ++index) {
            const int pageId = index / 11 + 1;
            const int line = index % 11 + 2;
            const int start = ReadingPosition(PagePictureWidth, line, 440);
            const int end = ReadingPosition(PagePictureWidth, line, 20);
            quran.Insert("Ayeh", {{"SourehID", s}, {"AyehID", a}, {"PageID", pageId}, {"StartLine", line},
                                  {"EndLine", line}, {"StartCol", 440}, {"EndCol", 20}, {"StartAyeh", start},
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
    if (qEnvironmentVariableIsEmpty("SDL_AUDIODRIVER"))
        qputenv("SDL_AUDIODRIVER", "dummy");
    QCoreApplication app(argc, argv);
    long marginKb = 8 * 1024;
    for (int i = 1; i + 1 < argc; ++i)
        if (std::string(argv[i]) == "--margin-mb")
            marginKb = std::stol(argv[i + 1]) * 1024;

    QTemporaryDir content;
    QElapsedTimer clock;
    clock.start();
    CreateWholeBook(content.path());
    std::printf("content: %d sourehs, %d ayehs, built in %.1f s\n", SourehCount, TotalAyehCount,
                double(clock.elapsed()) / 1000);
    QDir::setCurrent(content.path());

    SoakImage image;
    SoakScroll scroll;
    SoakPageNo pageNo;
    SoakErrors errors;
    AudioPlayer player;
    GlobalQuran = std::make_unique<TQuran>(&pageNo, &scroll, &image, &player);
    GlobalQuran->TempFolder = home.path() + QStringLiteral("/sounds");
    GlobalQuran->ErrorBox = &errors;
    GlobalQuran->GhariID = 1;

    // The chain's state as the window's lists hold it.
    int sourehId = 1;
    int ayehId = 1;
    long ayehsStarted = 0;
    long bismillahs = 0;
    long notices = 0;
    bool wrapped = false;
    PlayerMode modeAtEnd = pmNotReady;
    std::vector<std::pair<long, long>> samples; // ayehs started, resident KiB
    const long target = TotalAyehCount + 3;     // past the wrap: 1:1, 1:2, 1:3 again

    auto select = [&](int s, int a) { return GlobalQuran->SelectSoureh(s)->SelectAyeh(a); };
    // Every ayeh's own recording must start once, in order: the one after the last started.
    int lastSoureh = 114;
    int lastAyeh = NumberOfAyehs(114);
    long outOfOrder = 0;
    auto startAyeh = [&](TAyeh* ayeh) {
        const bool before = ayeh->RecitationStarted;
        const int s = ayeh->Soureh->SourehID;
        const int a = ayeh->AyehID;
        ayeh->Recite(1);
        if (ayeh->RecitationStarted && !before) {
            ++ayehsStarted;
            const bool next = (s == lastSoureh && a == lastAyeh + 1) ||
                              (a == 1 && lastAyeh == NumberOfAyehs(lastSoureh) && s == lastSoureh % SourehCount + 1);
            if (!next && ++outOfOrder <= 10)
                std::printf("out of order: %d:%d after %d:%d\n", s, a, lastSoureh, lastAyeh);
            lastSoureh = s;
            lastAyeh = a;
        }
        else if (ayeh->BismillahPlayed)
            ++bismillahs;
        if (ayehsStarted % 250 == 0 && (samples.empty() || samples.back().first != ayehsStarted))
            samples.emplace_back(ayehsStarted, ResidentKb());
        player.SetNotify(true);
    };

    // As in the window: a notice handled while the chain is moving on speaks of the recording
    // that has just ended.
    bool movingOn = false;
    QObject::connect(&player, &AudioPlayer::OnNotify, &app, [&](QObject*) {
        ++notices;
        if (movingOn || !GlobalQuran || player.Mode() == pmPaused || player.Mode() == pmNotReady)
            return;
        if (player.Position() != player.Length())
            return;
        const QScopedValueRollback<bool> guard(movingOn, true);
        TAyeh* current = GlobalQuran->Soureh->Ayeh.get();
        if (ayehId == 1 && !current->RecitationStarted) {
            startAyeh(current); // the Bismillah has ended
            return;
        }
        ++ayehId;
        if (ayehId > GlobalQuran->Soureh->NumberOfAyeh) {
            ayehId = 1;
            sourehId = sourehId + 1 > SourehCount ? 1 : sourehId + 1;
            if (sourehId == 1)
                wrapped = true;
        }
        startAyeh(select(sourehId, ayehId));
        if (ayehsStarted >= target) {
            // Stop watching with the next recording under way: the chain is still running.
            modeAtEnd = player.Mode();
            app.quit();
        }
    });

    samples.emplace_back(0, ResidentKb());
    startAyeh(select(1, 1));
    // A stalled chain would otherwise wait for ever.
    QTimer::singleShot(3 * 3600 * 1000, &app, [&] {
        std::fprintf(stderr, "the chain stalled\n");
        app.exit(3);
    });
    clock.restart();
    const int loop = app.exec();
    const double seconds = double(clock.elapsed()) / 1000;

    const bool running = modeAtEnd == pmPlaying;
    const QStringList cache = QDir(GlobalQuran->TempFolder).entryList(QDir::Files | QDir::Hidden | QDir::System);
    std::printf("recited: %ld ayeh recordings, %ld Bismillahs, %ld notices in %.1f s; wrapped 114 -> 1: %s; "
                "now at %d:%d\n",
                ayehsStarted, bismillahs, notices, seconds, wrapped ? "yes" : "no", sourehId, ayehId);
    std::printf("chain at the end: %s\n", running ? "playing the next recording" : "not playing");
    std::printf("cache folder: %lld file(s)%s%s\n", static_cast<long long>(cache.size()), cache.isEmpty() ? "" : ": ",
                cache.isEmpty() ? "" : qPrintable(cache.join(u' ')));
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
    std::printf("growth after warm-up: %ld KiB (margin %ld KiB); pixels outside the page: %ld; error boxes: %d; "
                "ayehs out of order: %ld\n",
                growth, marginKb, image.Outside, errors.Shown, outOfOrder);

    const bool pass = loop == 0 && running && wrapped && ayehsStarted >= target && cache.size() == 1 &&
                      growth <= marginKb && image.Outside == 0 && errors.Shown == 0 && outOfOrder == 0;
    GlobalQuran.reset();
    std::printf("soak: %s\n", pass ? "PASS" : "FAIL");
    return pass ? 0 : 1;
}
