// The import into a sound database of its own, as the reader's window runs it: the source is
// only read, even while the reader holds it open; a failure at any step leaves the target as
// it was, with nothing left beside it.
#include "recordings/RecitationImport.h"
#include "tests/support/FixtureDatabase.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>
#include <csignal>
#include <functional>
#include <gtest/gtest.h>
#include <map>
#include <sqlite3.h>
#include <sys/resource.h>
#include <tuple>

namespace {

using Key = std::tuple<int, int, int>; // soureh, ayeh, reciter

QByteArray Tone(double seconds, int rate = 8000) {
    MonoAudio audio;
    audio.SampleRate = rate;
    audio.Samples.assign(size_t(seconds * rate), 0.2f);
    return EncodeWav(audio, WavEncoding::Pcm16);
}

QByteArray FileBytes(const QString& path) {
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

void WriteFile(const QString& path, const QByteArray& bytes) {
    QFile file(path);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly | QIODevice::Truncate));
    ASSERT_EQ(file.write(bytes), bytes.size());
}

std::map<Key, QByteArray> Sounds(const QString& path) {
    KeyedDatabase database(path, SoundDatabaseKey, KeyedDatabase::OpenMode::ReadOnly);
    SqliteStatement rows(database.Handle(), "SELECT SourehID, AyehID, GhariID, Sound FROM Sounds");
    std::map<Key, QByteArray> sounds;
    while (sqlite3_step(rows.Get()) == SQLITE_ROW)
        sounds[{sqlite3_column_int(rows.Get(), 0), sqlite3_column_int(rows.Get(), 1),
                sqlite3_column_int(rows.Get(), 2)}] =
            QByteArray(static_cast<const char*>(sqlite3_column_blob(rows.Get(), 3)),
                       sqlite3_column_bytes(rows.Get(), 3));
    return sounds;
}

QString Name(const QString& path, int ghariId) {
    KeyedDatabase database(path, SoundDatabaseKey, KeyedDatabase::OpenMode::ReadOnly);
    SqliteStatement row(database.Handle(),
                        "SELECT Name FROM Reciters WHERE GhariID = " + std::to_string(ghariId));
    return sqlite3_step(row.Get()) == SQLITE_ROW
               ? QString::fromUtf8(reinterpret_cast<const char*>(sqlite3_column_text(row.Get(), 0)))
               : QString();
}

// Holds a file size limit for this process while it lives; a write past it fails as on a
// full disk instead of ending the process.
class FullDisk final {
public:
    explicit FullDisk(rlim_t bytes) {
        getrlimit(RLIMIT_FSIZE, &Previous);
        PreviousHandler = std::signal(SIGXFSZ, SIG_IGN);
        rlimit limit = Previous;
        limit.rlim_cur = bytes;
        setrlimit(RLIMIT_FSIZE, &limit);
    }
    ~FullDisk() {
        setrlimit(RLIMIT_FSIZE, &Previous);
        std::signal(SIGXFSZ, PreviousHandler);
    }

private:
    rlimit Previous{};
    void (*PreviousHandler)(int) = nullptr;
};

class RecitationImportTest : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(Temp.isValid());
        ASSERT_TRUE(QDir().mkpath(Temp.filePath(QStringLiteral("installed"))));
        ASSERT_TRUE(QDir().mkpath(Temp.filePath(QStringLiteral("user"))));
        ASSERT_TRUE(QDir().mkpath(Temp.filePath(QStringLiteral("recitation"))));
        Source = Temp.filePath(QStringLiteral("installed/snd.wav"));
        Target = Temp.filePath(QStringLiteral("user/snd.wav"));
        Folder = Temp.filePath(QStringLiteral("recitation"));
        FixtureDatabase fixture(Source, SoundKey);
        CreateSoundTables(fixture);
        fixture.Exec("CREATE TABLE Reciters (GhariID INTEGER PRIMARY KEY, Name TEXT NOT NULL)");
        fixture.Insert("Reciters", {{"GhariID", 1}, {"Name", QStringLiteral("یکم")}});
        fixture.Insert("Reciters", {{"GhariID", 2}, {"Name", QStringLiteral("دوم")}});
        for (const auto& [s, a, g] : {Key{1, 1, 1}, Key{1, 2, 1}, Key{0, 0, 2}, Key{1, 1, 2}})
            fixture.Insert("Sounds", {{"SourehID", s}, {"AyehID", a}, {"GhariID", g}, {"Sound", Tone(0.05)}});
        for (const char* name : {"001001.wav", "001002.wav", "002003.wav"})
            WriteFile(QDir(Folder).filePath(QString::fromLatin1(name)), Tone(0.3, 16000));
    }

    RecitationImportRequest Request(int ghariId = 2) const {
        RecitationImportRequest request;
        request.Folder = Folder;
        request.SourceDatabase = Source;
        request.TargetDatabase = Target;
        request.WhenOpenElsewhere = OpenElsewhere::Allow;
        request.GhariID = ghariId;
        request.Name = QStringLiteral("قاری تازه");
        return request;
    }

    // What the target's folder holds besides snd.wav: leftovers of a failed change.
    QStringList Leftovers() const {
        QStringList names = QDir(Temp.filePath(QStringLiteral("user"))).entryList(QDir::Files | QDir::Hidden);
        names.removeAll(QStringLiteral("snd.wav"));
        return names;
    }

    QTemporaryDir Temp;
    QString Source;
    QString Target;
    QString Folder;
};

TEST_F(RecitationImportTest, ImportsIntoAFileOfItsOwnWhileTheReaderHoldsTheSourceOpen) {
    const QByteArray before = FileBytes(Source);
    std::vector<std::pair<qint64, qint64>> reports;
    ImportOutcome outcome;
    {
        QDir::setCurrent(Temp.filePath(QStringLiteral("installed")));
        const Connection reader(SoundConnectionString);
        outcome = ImportRecitation(
            Request(), {[&](qint64 done, qint64 total) { reports.emplace_back(done, total); }, {}});
    }

    EXPECT_EQ(FileBytes(Source), before);
    const std::map<Key, QByteArray> sounds = Sounds(Target);
    // Reciter 1 as it was; reciter 2's recordings replaced by the folder's, with 1:1 as its
    // Bismillah.
    const std::vector<Key> expected = {{0, 0, 2}, {1, 1, 1}, {1, 1, 2}, {1, 2, 1}, {1, 2, 2}, {2, 3, 2}};
    std::vector<Key> keys;
    for (const auto& [key, wav] : sounds)
        keys.push_back(key);
    EXPECT_EQ(keys, expected);
    EXPECT_EQ(DecodeAudioBytes(sounds.at({1, 2, 2})).SampleRate, 16000);
    // IMA ADPCM fills its last block.
    EXPECT_NEAR(DecodeAudioBytes(sounds.at({1, 2, 2})).Seconds(), 0.3, 0.035);
    EXPECT_EQ(Name(Target, 2), QStringLiteral("قاری تازه"));
    EXPECT_EQ(Name(Target, 1), QStringLiteral("یکم"));

    EXPECT_EQ(outcome.AyehCount(), 3);
    EXPECT_TRUE(outcome.HasBismillah());
    EXPECT_EQ(outcome.Missing().size(), size_t(TotalAyehCount - 3));
    const std::vector<std::pair<qint64, qint64>> steps = {{0, 4}, {1, 4}, {2, 4}, {3, 4}, {4, 4}};
    EXPECT_EQ(reports, steps);
    EXPECT_TRUE(Leftovers().isEmpty()) << Leftovers().join(u' ').toStdString();
}

TEST_F(RecitationImportTest, ImportInPlaceIntoTheFileTheReaderHoldsOpen) {
    ASSERT_TRUE(QFile::copy(Source, Target));
    {
        QDir::setCurrent(Temp.filePath(QStringLiteral("user")));
        const Connection reader(SoundConnectionString);
        RecitationImportRequest request = Request(1);
        request.SourceDatabase = Target;
        ImportRecitation(request);
    }
    const std::map<Key, QByteArray> sounds = Sounds(Target);
    EXPECT_EQ(DecodeAudioBytes(sounds.at({1, 1, 1})).SampleRate, 16000);
    EXPECT_TRUE(sounds.count({2, 3, 1}));
    EXPECT_TRUE(sounds.count({1, 1, 2}));
    EXPECT_TRUE(Leftovers().isEmpty());
}

struct FailureCase {
    const char* Name;
    bool TargetExists;
    // Arranges the failure; returns what lives while the import runs.
    std::function<std::shared_ptr<void>(const QString& folder)> Arrange;
    // Cancels when asked for the n-th time (from 1); 0 never.
    int CancelAt;
    const char* Message;
};

TEST_F(RecitationImportTest, FailedImportLeavesTheTargetAsItWasWithNothingBesideIt) {
    const auto none = [](const QString&) { return std::shared_ptr<void>(); };
    const auto undecodable = [](const QString& folder) {
        WriteFile(QDir(folder).filePath(QStringLiteral("002004.mp3")),
                  QByteArray("ID3 no audio here").repeated(20));
        return std::shared_ptr<void>();
    };
    // Room for the copy of the source, not for the recordings written into it.
    const auto fullDisk = [this](const QString&) {
        return std::shared_ptr<void>(std::make_shared<FullDisk>(rlim_t(QFileInfo(Source).size()) + 512));
    };
    const FailureCase cases[] = {
        {"cancelled before the copy", false, none, 1, "interrupted"},
        {"cancelled between two files", false, none, 3, "interrupted"},
        {"cancelled before the change is made", true, none, 6, "interrupted"},
        {"a file that cannot be decoded", false, undecodable, 0, "cannot be decoded"},
        {"a file that cannot be decoded, replacing", true, undecodable, 0, "cannot be decoded"},
        {"a full disk", false, fullDisk, 0, "writing failed"},
        {"a full disk, replacing", true, fullDisk, 0, "writing failed"},
    };
    for (const FailureCase& c : cases) {
        SCOPED_TRACE(c.Name);
        QFile::remove(Target);
        if (c.TargetExists) {
            ASSERT_TRUE(QFile::copy(Source, Target));
        }
        const QByteArray before = FileBytes(Target);
        QTemporaryDir folder;
        for (const QString& name : QDir(Folder).entryList(QDir::Files))
            QFile::copy(QDir(Folder).filePath(name), folder.filePath(name));
        RecitationImportRequest request = Request();
        request.Folder = folder.path();
        int asked = 0;
        const auto cancel = [&] { return ++asked == c.CancelAt; };
        try {
            const std::shared_ptr<void> arranged = c.Arrange(folder.path());
            ImportRecitation(request, {{}, cancel});
            ADD_FAILURE() << "the import did not fail";
        } catch (const ToolError& error) {
            EXPECT_TRUE(QString::fromUtf8(error.what()).contains(QLatin1String(c.Message))) << error.what();
        }
        EXPECT_EQ(QFile::exists(Target), c.TargetExists);
        EXPECT_EQ(FileBytes(Target), before);
        EXPECT_TRUE(Leftovers().isEmpty()) << Leftovers().join(u' ').toStdString();
    }
}

TEST_F(RecitationImportTest, RenamingChangesOnlyTheName) {
    const QByteArray before = FileBytes(Source);
    RenameReciter(Source, Target, OpenElsewhere::Allow, 2, QStringLiteral("نام نو"));
    EXPECT_EQ(FileBytes(Source), before);
    EXPECT_EQ(Name(Target, 2), QStringLiteral("نام نو"));
    EXPECT_EQ(Name(Target, 1), QStringLiteral("یکم"));
    EXPECT_EQ(Sounds(Target), Sounds(Source));
}

TEST_F(RecitationImportTest, ALinkedTargetStaysALinkAndItsTargetIsReplacedWhereItLies) {
    const QString elsewhere = Temp.filePath(QStringLiteral("other disk"));
    ASSERT_TRUE(QDir().mkpath(elsewhere));
    const QString real = QDir(elsewhere).filePath(QStringLiteral("recordings.db"));
    ASSERT_TRUE(QFile::copy(Source, real));
    ASSERT_TRUE(QFile::link(real, Target));
    ImportRecitation(Request());
    EXPECT_EQ(QFileInfo(Target).symLinkTarget(), real);
    EXPECT_EQ(Name(real, 2), QStringLiteral("قاری تازه"));
    EXPECT_TRUE(Leftovers().isEmpty()) << Leftovers().join(u' ').toStdString();
    EXPECT_EQ(QDir(elsewhere).entryList(QDir::Files | QDir::Hidden),
              QStringList{QStringLiteral("recordings.db")});
}

TEST_F(RecitationImportTest, ARecordingLongerThanAnyAyehsIsRefusedByNameAndNothingChanges) {
    // At a low rate, so that the file stays small.
    MonoAudio longer;
    longer.SampleRate = 1000;
    longer.Samples.assign(size_t(LongestRecordingSeconds + 1) * 1000, 0.1f);
    WriteFile(QDir(Folder).filePath(QStringLiteral("002005.wav")), EncodeWav(longer, WavEncoding::Pcm16));
    ASSERT_TRUE(QFile::copy(Source, Target));
    const QByteArray before = FileBytes(Target);
    try {
        ImportRecitation(Request());
        ADD_FAILURE() << "the import did not fail";
    } catch (const UndecodableRecordings& error) {
        ASSERT_EQ(error.Files.size(), 1u);
        EXPECT_TRUE(error.Files[0].Path.endsWith(QStringLiteral("002005.wav")));
        EXPECT_TRUE(error.Files[0].Message.contains(QStringLiteral("longer than"))) << error.what();
    }
    EXPECT_EQ(FileBytes(Target), before);
}

} // namespace
