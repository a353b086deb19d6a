#include "tests/model/ModelTestSupport.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSignalSpy>
#include <csignal>
#include <sys/resource.h>
#include <sys/stat.h>

namespace {

QByteArray ReadAll(const QString& path) {
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

void WriteAll(const QString& path, const QByteArray& bytes) {
    QFile file(path);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly | QIODevice::Truncate));
    file.write(bytes);
}

mode_t ModeOf(const QString& path) {
    struct stat info {};
    return ::lstat(QFile::encodeName(path).constData(), &info) == 0 ? (info.st_mode & 07777) : 0;
}

class ModelSoundCacheTest : public ModelTest {
protected:
    void SetUp() override {
        OpenBook();
        Book->GhariID = 1;
    }
};

struct NameCase {
    int Ghari;
    int Soureh;
    int Ayeh;
    const char* Name;
};

TEST(ModelSoundFileNameTest, NamesReciterSourehAndAyehInDecimal) {
    const NameCase cases[] = {{3, 2, 255, "3-2-255.wav"},
                              {3, 0, 0, "3-0-0.wav"},
                              {1, 114, 6, "1-114-6.wav"},
                              {0, -1, 10, "0--1-10.wav"}};
    for (const NameCase& c : cases)
        EXPECT_EQ(TQuran::SoundFileName(c.Ghari, c.Soureh, c.Ayeh), QString::fromLatin1(c.Name));
}

TEST_F(ModelSoundCacheTest, ExtractsTheRecordingIntoAPrivateFile) {
    const QString path = Book->PrepareSound(2, 3, false);
    EXPECT_EQ(path, CachePath("1-2-3.wav"));
    EXPECT_EQ(ReadAll(path), FixtureBook::Recording(1, 2, 3));
    EXPECT_EQ(ModeOf(path), mode_t(0600));
    EXPECT_EQ(ModeOf(CacheFolder()), mode_t(0700));
    EXPECT_EQ(Errors.Shown, 0);

    Book->GhariID = 2;
    EXPECT_EQ(ReadAll(Book->PrepareSound(0, 0, true)), FixtureBook::Recording(2, 0, 0));
}

TEST_F(ModelSoundCacheTest, LoadedRecordingIsNotExtractedAgainButReopened) {
    const QString path = Book->PrepareSound(1, 2, false);
    Book->LoadSound(path);
    WriteAll(path, FixtureBook::Recording(2, 9, 9)); // stands in for the copy the player has
    EXPECT_EQ(Book->PrepareSound(1, 2, false), path);
    EXPECT_EQ(ReadAll(path), FixtureBook::Recording(2, 9, 9));
    Player.Close();
    Book->LoadSound(path);
    EXPECT_EQ(Player.FileName(), path);
    EXPECT_NE(Player.Mode(), pmNotReady);
    EXPECT_TRUE(QFileInfo::exists(path));
}

TEST_F(ModelSoundCacheTest, LoadingAnotherRecordingDeletesThePreviousFile) {
    const QString first = Book->PrepareSound(1, 1, false);
    Book->LoadSound(first);
    const QString second = Book->PrepareSound(1, 2, false);
    EXPECT_TRUE(QFileInfo::exists(first)); // extraction alone deletes nothing
    Book->LoadSound(second);
    EXPECT_FALSE(QFileInfo::exists(first));
    EXPECT_TRUE(QFileInfo::exists(second));
    EXPECT_EQ(Book->Sounds->LoadedFile(), second);
}

TEST_F(ModelSoundCacheTest, MissingRecordingWritesNothingAndFailsToOpen) {
    const QString previous = Book->PrepareSound(1, 1, false);
    Book->LoadSound(previous);
    Book->GhariID = 2; // reciter 2 has no recording of soureh 114
    const QString missing = Book->PrepareSound(114, 1, false);
    EXPECT_EQ(missing, CachePath("2-114-1.wav"));
    EXPECT_FALSE(QFileInfo::exists(missing));
    EXPECT_THROW(Book->LoadSound(missing), AudioError);
    EXPECT_FALSE(QFileInfo::exists(previous));
    EXPECT_EQ(Book->Sounds->LoadedFile(), missing);
    EXPECT_EQ(Errors.Shown, 0);
}

TEST_F(ModelSoundCacheTest, ReciterWithoutRecordingsOrDuplicateRowsExtractNothing) {
    Book.reset();
    OpenBook([](FixtureDatabase&, FixtureDatabase& sound) {
        sound.Insert("Sounds", {{"SourehID", 1}, {"AyehID", 1}, {"GhariID", 1}, {"Sound", QByteArray("x")}});
    });
    for (int ghari : {0, 3, 1}) {
        Book->GhariID = ghari;
        EXPECT_FALSE(QFileInfo::exists(Book->PrepareSound(1, 1, false))) << "reciter " << ghari;
    }
}

TEST_F(ModelSoundCacheTest, LinkPlantedAtTheFileIsReplacedAndItsTargetUntouched) {
    ASSERT_TRUE(QDir().mkpath(CacheFolder()));
    const QString target = Dir.filePath("victim.txt");
    WriteAll(target, "keep me");
    ASSERT_TRUE(QFile::link(target, CachePath("1-1-3.wav")));

    const QString path = Book->PrepareSound(1, 3, false);
    EXPECT_EQ(ReadAll(target), QByteArray("keep me"));
    EXPECT_FALSE(QFileInfo(path).isSymLink());
    EXPECT_EQ(ReadAll(path), FixtureBook::Recording(1, 1, 3));
    EXPECT_EQ(Errors.Shown, 0);
}

struct FolderCase {
    const char* Name;
    std::function<void(const QString& folder, const QString& elsewhere)> Plant;
};

TEST_F(ModelSoundCacheTest, UnusableCacheFolderIsReportedOnceAndNothingIsWrittenThere) {
    const FolderCase cases[] = {
        {"link to another folder",
         [](const QString& folder, const QString& elsewhere) { QFile::link(elsewhere, folder); }},
        {"a file", [](const QString& folder, const QString&) { WriteAll(folder, "file"); }},
        {"below a file",
         [](const QString& folder, const QString&) {
             // The cache folder's parent is a file, so the folder cannot be made.
             WriteAll(QFileInfo(folder).absolutePath(), "file");
         }},
    };
    for (const FolderCase& c : cases) {
        SCOPED_TRACE(c.Name);
        QTemporaryDir scratch;
        const QString elsewhere = scratch.filePath("elsewhere");
        ASSERT_TRUE(QDir().mkpath(elsewhere));
        Book->Sounds->Folder = scratch.filePath(QStringLiteral("parent/sounds"));
        if (QString(c.Name) != "below a file") {
            ASSERT_TRUE(QDir().mkpath(scratch.filePath("parent")));
        }
        c.Plant(Book->Sounds->Folder, elsewhere);
        Errors.Shown = 0;

        Book->PrepareSound(1, 4, false);
        EXPECT_EQ(Errors.Shown, 1);
        EXPECT_EQ(Errors.Title, QStringLiteral("Error"));
        EXPECT_EQ(Errors.Text, QStringLiteral("خطا در قرائت قرآن! با فروشنده تماس بگيريد"));
        EXPECT_TRUE(QDir(elsewhere).isEmpty());
    }
}

TEST_F(ModelSoundCacheTest, FullDiskIsReportedOnceAndLeavesNoPartialFile) {
    // A file size limit makes the write stop short the way a full disk does.
    struct rlimit saved {};
    ASSERT_EQ(::getrlimit(RLIMIT_FSIZE, &saved), 0);
    auto* previousHandler = std::signal(SIGXFSZ, SIG_IGN);
    struct rlimit small = saved;
    small.rlim_cur = 100;
    ASSERT_EQ(::setrlimit(RLIMIT_FSIZE, &small), 0);
    const QString path = Book->PrepareSound(1, 5, false);
    ::setrlimit(RLIMIT_FSIZE, &saved);
    std::signal(SIGXFSZ, previousHandler);

    EXPECT_EQ(Errors.Shown, 1);
    EXPECT_FALSE(QFileInfo::exists(path));
}

TEST_F(ModelSoundCacheTest, DestroyingTheBookDeletesOnlyTheLoadedFile) {
    const QString loaded = Book->PrepareSound(1, 6, false);
    Book->LoadSound(loaded);
    const QString other = CachePath("1-9-9.wav");
    WriteAll(other, "left by another run");
    Book.reset();
    EXPECT_FALSE(QFileInfo::exists(loaded));
    EXPECT_TRUE(QFileInfo::exists(other));
}

TEST_F(ModelSoundCacheTest, BookThatNeverLoadedARecordingDeletesNothing) {
    ASSERT_TRUE(QDir().mkpath(CacheFolder()));
    const QString planted = CachePath("1-1-1.wav");
    WriteAll(planted, "earlier");
    Book.reset();
    EXPECT_TRUE(QFileInfo::exists(planted));
}

TEST_F(ModelSoundCacheTest, BismillahPlaysTheReciterRecordingOnce) {
    QSignalSpy notices(&Player, &AudioPlayer::OnNotify);
    Book->PlayBismillah();
    EXPECT_EQ(Player.Plays, QStringList{CachePath("1-0-0.wav")});
    EXPECT_EQ(Book->Sounds->LoadedFile(), CachePath("1-0-0.wav"));
    Player.EndNow();
    QCoreApplication::processEvents();
    ASSERT_FALSE(notices.isEmpty());
    EXPECT_EQ(notices.back().at(1).toLongLong(), Book->AwaitedPlay);
    EXPECT_EQ(Player.Mode(), pmStopped);
}

TEST_F(ModelSoundCacheTest, BismillahWithoutRecordingClosesThePlayerQuietly) {
    Book->GhariID = 3;
    EXPECT_NO_THROW(Book->PlayBismillah());
    EXPECT_EQ(Player.Mode(), pmNotReady);
    EXPECT_EQ(Errors.Shown, 0);
}

TEST_F(ModelSoundCacheTest, StaleRemovalTakesOnlyTheCacheOwnFileNames) {
    struct StaleCase {
        const char* Name;
        bool Removed;
    };
    const StaleCase cases[] = {{"1-2-3.wav", true},  {"12-0-0.wav", true}, {"1-2.wav", false},
                               {"notes.wav", false}, {"a-2-3.wav", false}, {"1-2-3.wav.part", false},
                               {".1-2-3.wav", false}};
    ASSERT_TRUE(QDir().mkpath(CacheFolder()));
    for (const StaleCase& c : cases)
        WriteAll(CachePath(QString::fromLatin1(c.Name)), "left by an earlier run");
    Book->Sounds->RemoveStale();
    for (const StaleCase& c : cases)
        EXPECT_EQ(QFileInfo::exists(CachePath(QString::fromLatin1(c.Name))), !c.Removed) << c.Name;
}

TEST_F(ModelSoundCacheTest, StaleRemovalDoesNotEnterAFolderThatIsALink) {
    QTemporaryDir elsewhere;
    const QString kept = elsewhere.filePath(QStringLiteral("1-1-1.wav"));
    WriteAll(kept, "not the cache's");
    ASSERT_TRUE(QFile::link(elsewhere.path(), CacheFolder()));
    Book->Sounds->RemoveStale();
    EXPECT_TRUE(QFileInfo::exists(kept));
}

} // namespace
