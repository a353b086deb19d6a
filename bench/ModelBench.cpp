// The reading model's paths that a person feels, on the default content: the hit test of a
// mouse move, turning to a page, painting an ayeh red and extracting a recording; with the
// decoding of that recording, which opening it on the player costs.
//
// Wall-clock times are what a person feels; on a shared machine the CPU times beside them
// show what the code costs when it has a core to itself.

#include "audio/AudioOutput.h"
#include "audio/SdlAudioPlayer.h"
#include "audio/WavDecoder.h"
#include "bench/BenchSupport.h"
#include "content/ContentKeys.h"
#include "content/Database.h"
#include "content/MushafCounts.h"
#include "model/Utility.h"
#include "tests/support/DisplayDoubles.h"
#include "tests/support/FixtureDatabase.h"
#include "tests/support/WavFixtures.h"

#include <QDir>
#include <QFile>
#include <QGuiApplication>
#include <QTemporaryDir>
#include <benchmark/benchmark.h>
#include <cstdio>
#include <string>
#include <vector>

namespace {

// The window's controls, as the book reaches them, and the book opened on a content folder.
struct BookControls {
    FakePageImage Image;
    FakeScrollBox ScrollBox;
    FakePageNoEdit PageNo;
    AudioOutput Output;
    SdlAudioPlayer Player{Output};
    std::unique_ptr<TQuran> Quran;

    BookControls() { ScrollBox.Height = 400; } // the window's scroll box

    // The content files are opened by bare name from the current folder.
    std::unique_ptr<TQuran> OpenBook(const QString& folder) {
        const QString previous = QDir::currentPath();
        QDir::setCurrent(folder);
        auto book = std::make_unique<TQuran>(&PageNo, &ScrollBox, &Image, &Player);
        QDir::setCurrent(previous);
        return book;
    }
};

struct Reader : BookControls {
    int DensePage = 0;
    int DensePageAyehs = 0;
    int WideSoureh = 0;
    int WideAyeh = 0;

    Reader() {
        Quran = OpenBook(ContentFolder());
        const Connection& quran = *Quran->QuranConnection;
        ResultSet dense(
            quran, "SELECT PageID, COUNT(*) AS N FROM Ayeh GROUP BY PageID ORDER BY N DESC, PageID LIMIT 1");
        DensePage = dense.FieldByName("PageID").AsInteger();
        DensePageAyehs = dense.FieldByName("N").AsInteger();
        ResultSet wide(quran, "SELECT SourehID, AyehID FROM Ayeh WHERE EndLine - StartLine = 2 "
                              "ORDER BY SourehID, AyehID LIMIT 1");
        if (wide.RecordCount() == 1) {
            WideSoureh = wide.FieldByName("SourehID").AsInteger();
            WideAyeh = wide.FieldByName("AyehID").AsInteger();
        }
    }
};

Reader& TheReader() {
    static Reader reader;
    return reader;
}

// The sample recordings of the default content are short; the recording of 1:1 here is a
// 100 KB WAV (22.05 kHz mono, 2.3 s), beside the default quran.dat.
struct LongRecordingReader : BookControls {
    static constexpr int Milliseconds = 2320;
    QTemporaryDir Folder;
    int RecordingBytes = 0;

    LongRecordingReader() {
        const QString quranFile = QString::fromLatin1(QuranDatabaseFile);
        QFile::link(QDir(ContentFolder()).filePath(quranFile), Folder.filePath(quranFile));
        WavSpec tone;
        tone.Rate = 22050;
        tone.DurationMs = Milliseconds;
        tone.ToneHz = 440;
        const QByteArray recording = WavBytes(tone);
        RecordingBytes = int(recording.size());
        {
            FixtureDatabase sound(Folder.filePath(QString::fromLatin1(SoundDatabaseFile)), SoundKey);
            CreateSoundTables(sound);
            sound.Insert("Sounds", {{"SourehID", 1}, {"AyehID", 1}, {"GhariID", 1}, {"Sound", recording}});
        }
        Quran = OpenBook(Folder.path());
        Quran->GhariID = 1;
    }
};

LongRecordingReader& TheLongRecordingReader() {
    static LongRecordingReader reader;
    return reader;
}

// Points over the whole page, line by line and across it, in and between the ayehs.
std::vector<std::pair<int, int>> SweepPoints() {
    std::vector<std::pair<int, int>> points;
    for (int line = 1; line <= LinesPerPage; ++line)
        for (int x = 20; x < PagePictureWidth; x += 53)
            points.emplace_back(DefaultLineRows[line - 1] + 23, x);
    return points;
}

void BM_HasAyehAt(benchmark::State& state) {
    Reader& reader = TheReader();
    reader.Quran->GoToPage(reader.DensePage);
    TQuranPage& page = *reader.Quran->Page;
    const auto points = SweepPoints();
    size_t i = 0;
    for (auto _ : state) {
        const auto [y, x] = points[i++ % points.size()];
        benchmark::DoNotOptimize(page.HasAyehAt(y, x));
    }
    state.counters["page"] = reader.DensePage;
    state.counters["ayehs_on_page"] = reader.DensePageAyehs;
}
BENCHMARK(BM_HasAyehAt);

// The same answer asked of the database on every move: the page's line bands, then the ayeh
// whose reading range holds the point.
bool HasAyehAtBySql(const Connection& connection, int pageId, int y, int x) {
    const std::string page = std::to_string(pageId);
    ResultSet lines(connection,
                    "SELECT LineID, StartRow, EndRow FROM Lines WHERE PageID = " + page + " ORDER BY LineID");
    int bands[16];
    std::copy(std::begin(DefaultLineRows), std::end(DefaultLineRows), bands);
    int starts[16] = {};
    int ends[16] = {};
    for (int line = 1; line <= 15; ++line) {
        starts[line] = bands[line - 1];
        ends[line] = bands[line];
    }
    for (lines.First(); !lines.Eof(); lines.Next()) {
        const int line = lines.FieldByName("LineID").AsInteger();
        if (line >= 1 && line <= 15) {
            starts[line] = lines.FieldByName("StartRow").AsInteger();
            ends[line] = lines.FieldByName("EndRow").AsInteger();
        }
    }
    int found = 0;
    for (int line = 1; line <= 15 && !found; ++line)
        if (y >= starts[line] && y < ends[line])
            found = line;
    if (!found)
        return false;
    const std::string position = std::to_string(ReadingPosition(PagePictureWidth, found, x));
    ResultSet ayeh(connection, "SELECT SourehID, AyehID FROM Ayeh WHERE PageID = " + page +
                                   " AND StartAyeh <= " + position + " AND EndAyeh >= " + position +
                                   " ORDER BY SourehID, AyehID LIMIT 1");
    return ayeh.RecordCount() == 1;
}

void BM_HasAyehAtBySql(benchmark::State& state) {
    Reader& reader = TheReader();
    const auto points = SweepPoints();
    size_t i = 0;
    for (auto _ : state) {
        const auto [y, x] = points[i++ % points.size()];
        benchmark::DoNotOptimize(HasAyehAtBySql(*reader.Quran->QuranConnection, reader.DensePage, y, x));
    }
}
BENCHMARK(BM_HasAyehAtBySql);

// Each iteration turns to the page after the one shown: loaded, decoded and drawn.
void BM_GoToPage(benchmark::State& state) {
    Reader& reader = TheReader();
    int pageId = reader.Quran->Page ? reader.Quran->Page->PageID : 1;
    for (auto _ : state) {
        pageId = pageId % PageCount + 1;
        reader.Quran->GoToPage(pageId);
    }
}
BENCHMARK(BM_GoToPage)->Unit(benchmark::kMillisecond);

void BM_HighlightThreeLineAyeh(benchmark::State& state) {
    Reader& reader = TheReader();
    if (!reader.WideSoureh) {
        state.SkipWithError("no ayeh of three lines in the content");
        return;
    }
    TAyeh* ayeh = reader.Quran->SelectSoureh(reader.WideSoureh)->SelectAyeh(reader.WideAyeh);
    ayeh->Highlight();
    for (auto _ : state)
        ayeh->Highlight();
    state.counters["soureh"] = reader.WideSoureh;
    state.counters["ayeh"] = reader.WideAyeh;
}
BENCHMARK(BM_HighlightThreeLineAyeh)->Unit(benchmark::kMillisecond);

// Nothing is loaded on the player, so every call extracts the recording again.
void BM_PrepareSound(benchmark::State& state) {
    LongRecordingReader& reader = TheLongRecordingReader();
    for (auto _ : state)
        benchmark::DoNotOptimize(reader.Quran->PrepareSound(1, 1, false));
    state.counters["recording_bytes"] = reader.RecordingBytes;
}
BENCHMARK(BM_PrepareSound)->Unit(benchmark::kMillisecond);

// What the player's Open does with the extracted file before it can play.
void BM_DecodeRecording(benchmark::State& state) {
    LongRecordingReader& reader = TheLongRecordingReader();
    const QString path = reader.Quran->PrepareSound(1, 1, false);
    for (auto _ : state)
        benchmark::DoNotOptimize(DecodeWav(path, OutputFormat{44100, 2}));
    state.counters["recording_bytes"] = reader.RecordingBytes;
}
BENCHMARK(BM_DecodeRecording)->Unit(benchmark::kMillisecond);

// What the main window's creation waits for before the page is shown: both databases opened
// (the key applied to each), soureh 1 loaded and its page drawn.
void BM_OpenBook(benchmark::State& state) {
    Reader& reader = TheReader();
    for (auto _ : state)
        benchmark::DoNotOptimize(reader.OpenBook(ContentFolder()));
}
BENCHMARK(BM_OpenBook)->Unit(benchmark::kMillisecond)->Iterations(5);

} // namespace

int main(int argc, char** argv) {
    PrivateHome home;
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QGuiApplication application(argc, argv);
    benchmark::Initialize(&argc, argv);
    if (benchmark::ReportUnrecognizedArguments(argc, argv))
        return 1;
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    TheReader().Quran.reset();
    TheLongRecordingReader().Quran.reset();
    return 0;
}
