// import-recitation: a reciter's recordings from a per-ayeh folder, all or nothing.
#include "tests/support/FixtureDatabase.h"
#include "tests/support/WavFixtures.h"
#include "tests/tools/SoundToolSupport.h"
#include "tools/Sounds.h"

#include <QDir>
#include <QProcess>
#include <QTemporaryDir>
#include <QThread>
#include <csignal>
#include <gtest/gtest.h>
#include <map>
#include <sndfile.h>
#include <sqlite3.h>

namespace {

using Key = RecordingKey;

QString ReciterName(const QString& path, int ghariId) {
    KeyedDatabase database(path, SoundDatabaseKey, KeyedDatabase::OpenMode::ReadOnly);
    SqliteStatement row(database.Handle(),
                        "SELECT Name FROM Reciters WHERE GhariID = " + std::to_string(ghariId));
    if (sqlite3_step(row.Get()) != SQLITE_ROW)
        return {};
    return QString::fromUtf8(reinterpret_cast<const char*>(sqlite3_column_text(row.Get(), 0)));
}

class ImportRecitation : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(Temp.isValid());
        Db = Temp.filePath(QStringLiteral("snd.wav"));
        Dir = Temp.filePath(QStringLiteral("recitation"));
        ASSERT_TRUE(QDir().mkpath(Dir));
        // An existing database as an older tool or a user may have made it: no unique key.
        FixtureDatabase fixture(Db, SoundKey);
        ::CreateSoundTables(fixture);
        MonoAudio tone;
        tone.SampleRate = 8000;
        tone.Samples.assign(800, 0.1f);
        const QByteArray wav = EncodeWav(tone, WavEncoding::Pcm16);
        for (const auto& [s, a, g] : {Key{2, 1, 2}, Key{2, 2, 2}, Key{0, 0, 2}, Key{1, 1, 3}})
            fixture.Insert("Sounds", {{"SourehID", s}, {"AyehID", a}, {"GhariID", g}, {"Sound", wav}});
    }

    QString InDir(const char* name) const { return QDir(Dir).filePath(QString::fromLatin1(name)); }

    QTemporaryDir Temp;
    QString Db;
    QString Dir;
};

struct FormatCase {
    const char* FileName;
    int Format;
    int Rate;
    int Channels;
    int StoredRate;
};

TEST_F(ImportRecitation, StoresEveryReadableFormatAsARecordingThePlayerDecodes) {
    const FormatCase cases[] = {
        {"001001.mp3", SF_FORMAT_MPEG | SF_FORMAT_MPEG_LAYER_III, 44100, 2, 22050},
        {"001002.WAV", SF_FORMAT_WAV | SF_FORMAT_PCM_16, 44100, 2, 22050},
        {"001003.flac", SF_FORMAT_FLAC | SF_FORMAT_PCM_16, 16000, 1, 16000},
        {"001004.ogg", SF_FORMAT_OGG | SF_FORMAT_VORBIS, 22050, 1, 22050},
        {"bismillah.wav", SF_FORMAT_WAV | SF_FORMAT_PCM_16, 8000, 1, 8000},
    };
    constexpr int Milliseconds = 750;
    for (const FormatCase& c : cases)
        WriteSoundFile(InDir(c.FileName), c.Format, c.Rate, c.Channels, Milliseconds);
    WriteFileBytes(InDir("notes.txt"), "not a recording");

    const ToolRun run =
        RunContentTool({QStringLiteral("import-recitation"), QStringLiteral("--reciter"), QStringLiteral("2"),
                        QStringLiteral("--name"), QStringLiteral("قاری آزمایشی"), Db, Dir});
    ASSERT_EQ(run.ExitCode, 0) << run.Err.toStdString();
    EXPECT_TRUE(run.Err.contains(QStringLiteral("Bismillah from bismillah.wav"))) << run.Err.toStdString();
    EXPECT_TRUE(run.Err.contains(QStringLiteral("Without a recording (6232)"))) << run.Err.toStdString();

    const std::map<Key, QByteArray> sounds = ReadSounds(Db);
    const std::pair<Key, int> expected[] = {
        {{1, 1, 2}, 0}, {{1, 2, 2}, 1}, {{1, 3, 2}, 2}, {{1, 4, 2}, 3}, {{0, 0, 2}, 4}};
    for (const auto& [key, index] : expected) {
        SCOPED_TRACE(cases[index].FileName);
        ASSERT_TRUE(sounds.count(key));
        const QByteArray& wav = sounds.at(key);
        EXPECT_EQ(PlayerDecodeFailure(wav), QString());
        const MonoAudio stored = DecodeAudioBytes(wav);
        EXPECT_EQ(stored.SampleRate, cases[index].StoredRate);
        // MP3 adds a little padding; every other format keeps its length.
        EXPECT_NEAR(stored.Seconds(), Milliseconds / 1000.0, 0.08);
    }
    // The earlier recordings of reciter 2 are replaced as a whole; reciter 3 is untouched.
    EXPECT_FALSE(sounds.count({2, 1, 2}));
    EXPECT_FALSE(sounds.count({2, 2, 2}));
    EXPECT_TRUE(sounds.count({1, 1, 3}));
    EXPECT_EQ(sounds.size(), 6u);
    EXPECT_EQ(ReciterName(Db, 2), QStringLiteral("قاری آزمایشی"));

    QString report;
    QTextStream stream(&report);
    EXPECT_EQ(VerifyRecordings(Db, stream), 3) << report.toStdString(); // reciters 1, 4, 5 have none
}

TEST_F(ImportRecitation, FirstAyehOfTheOpeningServesAsBismillahWithoutABismillahFile) {
    WriteSoundFile(InDir("001001.wav"), SF_FORMAT_WAV | SF_FORMAT_PCM_16, 8000, 1, 400);
    WriteSoundFile(InDir("001002.wav"), SF_FORMAT_WAV | SF_FORMAT_PCM_16, 8000, 1, 200);
    const ToolRun run =
        RunContentTool({QStringLiteral("import-recitation"), QStringLiteral("--reciter=1"), Db, Dir});
    ASSERT_EQ(run.ExitCode, 0) << run.Err.toStdString();
    const std::map<Key, QByteArray> sounds = ReadSounds(Db);
    ASSERT_TRUE(sounds.count({0, 0, 1}));
    EXPECT_EQ(sounds.at({0, 0, 1}), sounds.at({1, 1, 1}));
}

TEST_F(ImportRecitation, StoresSixteenBitPcmOnRequest) {
    WriteSoundFile(InDir("114006.flac"), SF_FORMAT_FLAC | SF_FORMAT_PCM_16, 11025, 1, 300);
    const ToolRun run = RunContentTool({QStringLiteral("import-recitation"), QStringLiteral("--reciter"),
                                        QStringLiteral("5"), QStringLiteral("--pcm16"), Db, Dir});
    ASSERT_EQ(run.ExitCode, 0) << run.Err.toStdString();
    const QByteArray wav = ReadSounds(Db).at({114, 6, 5});
    EXPECT_EQ(PlayerDecodeFailure(wav), QString());
    // The format tag of the fmt chunk: 1 is PCM, 0x11 IMA ADPCM.
    EXPECT_EQ(quint8(wav.at(20)), 1);
    EXPECT_EQ(quint8(wav.at(34)), 16);
}

TEST_F(ImportRecitation, FailedImportLeavesTheDatabaseByteForByte) {
    WriteSoundFile(InDir("001001.mp3"), SF_FORMAT_MPEG | SF_FORMAT_MPEG_LAYER_III, 22050, 1, 500);
    WriteSoundFile(InDir("002001.wav"), SF_FORMAT_WAV | SF_FORMAT_PCM_16, 8000, 1, 500);
    WriteFileBytes(InDir("002255.mp3"), QByteArray("ID3 this is no audio at all").repeated(40));
    WriteFileBytes(InDir("114001.ogg"), QByteArray());
    const QByteArray before = FileBytes(Db);

    const ToolRun run =
        RunContentTool({QStringLiteral("import-recitation"), QStringLiteral("--reciter"), QStringLiteral("2"),
                        QStringLiteral("--name"), QStringLiteral("x"), Db, Dir});
    EXPECT_EQ(run.ExitCode, 1);
    EXPECT_TRUE(run.Err.contains(QStringLiteral("2 files cannot be decoded"))) << run.Err.toStdString();
    EXPECT_TRUE(run.Err.contains(QStringLiteral("002255.mp3")));
    EXPECT_TRUE(run.Err.contains(QStringLiteral("114001.ogg")));
    EXPECT_EQ(FileBytes(Db), before);
    EXPECT_FALSE(QFile::exists(Db + QStringLiteral("-journal")));
}

TEST_F(ImportRecitation, InterruptedOrKilledImportLeavesTheDatabaseByteForByte) {
    WriteSoundFile(InDir("002001.mp3"), SF_FORMAT_MPEG | SF_FORMAT_MPEG_LAYER_III, 44100, 1, 1000);
    for (int a = 2; a <= 286; ++a)
        ASSERT_TRUE(
            QFile::copy(InDir("002001.mp3"),
                        QDir(Dir).filePath(QStringLiteral("002%1.mp3").arg(a, 3, 10, QLatin1Char('0')))));
    const QByteArray before = FileBytes(Db);

    // An interrupt rolls back and tidies up; a crash (SIGKILL) can only leave its working
    // copy behind, never a changed database.
    for (const auto& [signal, tidy] : {std::pair{SIGINT, true}, std::pair{SIGKILL, false}}) {
        SCOPED_TRACE(signal);
        QProcess process;
        process.start(
            QStringLiteral(GOLVAR_BINARY_DIR "/golvar-content"),
            {QStringLiteral("import-recitation"), QStringLiteral("--reciter"), QStringLiteral("2"), Db, Dir});
        ASSERT_TRUE(process.waitForStarted());
        // Interrupt as soon as the import is under way: its working copy has appeared.
        const auto underWay = [&] {
            return QDir(Temp.path()).entryList(QDir::Files | QDir::Hidden).size() > 1;
        };
        for (int waited = 0; !underWay() && waited < 30000 && process.state() == QProcess::Running; ++waited)
            QThread::msleep(1);
        ASSERT_TRUE(underWay());
        ::kill(pid_t(process.processId()), signal);
        ASSERT_TRUE(process.waitForFinished(60000));
        EXPECT_FALSE(process.exitStatus() == QProcess::NormalExit && process.exitCode() == 0);
        EXPECT_EQ(FileBytes(Db), before);
        if (tidy) {
            EXPECT_EQ(QDir(Temp.path()).entryList(QDir::Files | QDir::Hidden),
                      QStringList{QStringLiteral("snd.wav")});
        }
        for (const QString& left : QDir(Temp.path()).entryList(QDir::Files | QDir::Hidden))
            if (left != QStringLiteral("snd.wav"))
                QFile::remove(Temp.filePath(left));
    }
}

TEST_F(ImportRecitation, DatabaseTheReaderHoldsOpenIsReportedAndLeftAlone) {
    WriteSoundFile(InDir("001001.wav"), SF_FORMAT_WAV | SF_FORMAT_PCM_16, 8000, 1, 200);
    const QByteArray before = FileBytes(Db);
    const ToolRun run = RunContentToolWhileOpen(
        Temp.path(), SoundConnectionString,
        {QStringLiteral("import-recitation"), QStringLiteral("--reciter"), QStringLiteral("1"), Db, Dir});
    EXPECT_EQ(run.ExitCode, 1);
    EXPECT_TRUE(run.Err.contains(QStringLiteral("open in another program"))) << run.Err.toStdString();
    EXPECT_EQ(FileBytes(Db), before);
}

struct RejectCase {
    const char* Name;
    QStringList Options;
    const char* DbKind; // "sound", "missing", "quran", "wrongkey"
    bool FolderExists;
    const char* FileInFolder;
    int ExitCode;
    const char* Message;
};

TEST_F(ImportRecitation, RejectsWrongInvocationsWithoutTouchingTheDatabase) {
    const RejectCase cases[] = {
        {"reciter 0", {"--reciter", "0"}, "sound", true, "001001.wav", 2, "--reciter wants"},
        {"reciter 6", {"--reciter", "6"}, "sound", true, "001001.wav", 2, "--reciter wants"},
        {"reciter not a number", {"--reciter", "two"}, "sound", true, "001001.wav", 2, "--reciter wants"},
        {"no reciter", {}, "sound", true, "001001.wav", 2, "--reciter wants"},
        {"blank name", {"--reciter", "1", "--name", " "}, "sound", true, "001001.wav", 2, "--name wants"},
        {"unknown option", {"--reciter", "1", "--fast"}, "sound", true, "001001.wav", 2, "Unknown option"},
        {"missing folder", {"--reciter", "1"}, "sound", false, nullptr, 1, "is not a folder"},
        {"folder without recordings",
         {"--reciter", "1"},
         "sound",
         true,
         "readme.txt",
         1,
         "holds no recordings"},
        {"two files for one ayeh", {"--reciter", "1"}, "sound", true, "001001.mp3", 1, "more than one file"},
        {"missing database", {"--reciter", "1"}, "missing", true, "001001.wav", 1, "does not exist"},
        {"wrong key", {"--reciter", "1"}, "wrongkey", true, "001001.wav", 1, "wrong key"},
        {"Quran database", {"--reciter", "1"}, "quran", true, "001001.wav", 1, "no Sounds table"},
    };
    for (const RejectCase& c : cases) {
        SCOPED_TRACE(c.Name);
        QTemporaryDir temp;
        const QString db = temp.filePath(QStringLiteral("snd.wav"));
        if (QLatin1String(c.DbKind) == QLatin1String("sound")) {
            QFile::copy(Db, db);
        } else if (QLatin1String(c.DbKind) == QLatin1String("wrongkey")) {
            FixtureDatabase fixture(db, QuranKey);
            ::CreateSoundTables(fixture);
        } else if (QLatin1String(c.DbKind) == QLatin1String("quran")) {
            FixtureDatabase fixture(db, SoundKey);
            CreateQuranTables(fixture);
        }
        const QString dir = temp.filePath(QStringLiteral("in"));
        if (c.FolderExists) {
            QDir().mkpath(dir);
            WriteSoundFile(QDir(dir).filePath(QString::fromLatin1(c.FileInFolder)),
                           SF_FORMAT_WAV | SF_FORMAT_PCM_16, 8000, 1, 100);
            if (QLatin1String(c.FileInFolder) == QLatin1String("001001.mp3")) // a second file for 1:1
                WriteSoundFile(QDir(dir).filePath(QStringLiteral("001001.wav")),
                               SF_FORMAT_WAV | SF_FORMAT_PCM_16, 8000, 1, 100);
        }
        const QByteArray before = FileBytes(db);
        const ToolRun run = RunContentTool(QStringList{QStringLiteral("import-recitation")} + c.Options +
                                           QStringList{db, dir});
        EXPECT_EQ(run.ExitCode, c.ExitCode) << run.Err.toStdString();
        EXPECT_TRUE(run.Err.contains(QString::fromUtf8(c.Message))) << run.Err.toStdString();
        EXPECT_EQ(FileBytes(db), before);
    }
}

} // namespace
