// Damaged content against the reading model: each case states what a person is shown (the
// error text that reaches the error box, or nothing at all) and, through HardeningTest, that
// neither content file changed.

#include "tests/hardening/HardeningSupport.h"
#include "tests/support/WavFixtures.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>
#include <QProcess>
#include <csignal>
#include <functional>
#include <grp.h>
#include <pwd.h>
#include <string>
#include <sys/resource.h>
#include <sys/stat.h>
#include <unistd.h>

namespace {

void WriteFile(const QString& path, const QByteArray& bytes) {
    QFile file(path);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly | QIODevice::Truncate));
    ASSERT_EQ(file.write(bytes), bytes.size());
}

QByteArray ReadFile(const QString& path) {
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

// What a failing step raised, as the error box would show it; empty when nothing was raised.
std::string ErrorOf(const std::function<void()>& step) {
    try {
        step();
    } catch (const std::exception& error) {
        return error.what();
    }
    return {};
}

QString Quote(const char* text) {
    return QString::fromUtf8(text);
}

// ---- the content files themselves ----

enum class Damage { Missing, Empty, Truncated, NotADatabase, WrongPassword, LockedForWriting };

struct FileDamageCase {
    const char* Name;
    const char* File;
    Damage Kind;
    const char* Expected; // a part of the message the error box shows
};

class ContentFileDamage : public HardeningTest, public ::testing::WithParamInterface<FileDamageCase> {};

TEST_P(ContentFileDamage, BookIsNotBuiltAndTheEngineMessageNamesTheFile) {
    const FileDamageCase& c = GetParam();
    CreateContent();
    const QString path = Dir.filePath(QString::fromLatin1(c.File));
    const char* key = QString::fromLatin1(c.File) == u"quran.dat" ? QuranKey : SoundKey;
    std::optional<OtherWriter> writer;
    switch (c.Kind) {
    case Damage::Missing:
        ASSERT_TRUE(QFile::remove(path));
        break;
    case Damage::Empty:
        WriteFile(path, {});
        break;
    case Damage::Truncated:
        WriteFile(path, ReadFile(path).left(5000));
        break;
    case Damage::NotADatabase:
        WriteFile(path, QByteArrayLiteral("This is a letter, not a database.\n").repeated(300));
        break;
    case Damage::WrongPassword: {
        QFile::remove(path);
        FixtureDatabase other(path, "not-the-password");
        CreateQuranTables(other);
        CreateSoundTables(other);
        break;
    }
    case Damage::LockedForWriting:
        writer.emplace(path, key, "BEGIN EXCLUSIVE");
        ASSERT_EQ(writer->Reply, QByteArrayLiteral("rc=0"));
        break;
    }
    Fingerprint();

    const std::string error = ErrorOf([this] { OpenExisting(); });
    EXPECT_NE(error.find(c.File), std::string::npos) << error;
    EXPECT_NE(error.find(c.Expected), std::string::npos) << error;
    EXPECT_EQ(Book, nullptr);
    EXPECT_FALSE(QFileInfo::exists(CacheFolder()));
}

INSTANTIATE_TEST_SUITE_P(
    Files, ContentFileDamage,
    ::testing::Values(
        FileDamageCase{"QuranMissing", "quran.dat", Damage::Missing, "does not exist"},
        FileDamageCase{"QuranEmpty", "quran.dat", Damage::Empty, "not a database"},
        FileDamageCase{"QuranTruncated", "quran.dat", Damage::Truncated, "malformed"},
        FileDamageCase{"QuranNotADatabase", "quran.dat", Damage::NotADatabase, "not a database"},
        FileDamageCase{"QuranWrongPassword", "quran.dat", Damage::WrongPassword, "not a database"},
        FileDamageCase{"QuranLockedForWriting", "quran.dat", Damage::LockedForWriting, "open for writing"},
        FileDamageCase{"SoundMissing", "snd.wav", Damage::Missing, "does not exist"},
        FileDamageCase{"SoundEmpty", "snd.wav", Damage::Empty, "not a database"},
        FileDamageCase{"SoundTruncated", "snd.wav", Damage::Truncated, "malformed"},
        FileDamageCase{"SoundNotADatabase", "snd.wav", Damage::NotADatabase, "not a database"},
        FileDamageCase{"SoundWrongPassword", "snd.wav", Damage::WrongPassword, "not a database"},
        FileDamageCase{"SoundLockedForWriting", "snd.wav", Damage::LockedForWriting, "open for writing"}),
    [](const auto& testCase) { return std::string(testCase.param.Name); });

// ---- tables, columns and values ----

struct SchemaCase {
    const char* Name;
    const char* QuranSql; // run on quran.dat after the standard rows, or null
    const char* SoundSql; // the same for snd.wav
    // The first step that meets the damage, after the book was built: select 2:1 and
    // highlight it, then recite 1:2. Expected names where the error shows, and its text.
    enum Stage { Opening, Selecting, Reciting } FailsAt;
    const char* Expected;
};

class SchemaDamage : public HardeningTest, public ::testing::WithParamInterface<SchemaCase> {};

TEST_P(SchemaDamage, FailsAtTheFirstStepThatReadsItWithTheEnginesMessage) {
    const SchemaCase& c = GetParam();
    CreateContent([&c](FixtureDatabase& quran, FixtureDatabase& sound) {
        if (c.QuranSql)
            quran.Exec(c.QuranSql);
        if (c.SoundSql)
            sound.Exec(c.SoundSql);
    });

    std::string error = ErrorOf([this] { OpenExisting(); });
    SchemaCase::Stage stage = SchemaCase::Opening;
    if (error.empty()) {
        stage = SchemaCase::Selecting;
        error = ErrorOf([this] { Book->SelectSoureh(2)->SelectAyeh(1)->Highlight(); });
    }
    if (error.empty()) {
        stage = SchemaCase::Reciting;
        error = ErrorOf([this] { Book->SelectSoureh(1)->SelectAyeh(2)->Recite(1); });
    }
    EXPECT_EQ(stage, c.FailsAt) << error;
    EXPECT_NE(error.find(c.Expected), std::string::npos) << error;
    EXPECT_EQ(Errors.Shown, 0); // the sound cache's own message is not for database faults
}

INSTANTIATE_TEST_SUITE_P(
    Tables, SchemaDamage,
    ::testing::Values(
        SchemaCase{"NoSourehTable", "DROP TABLE Soureh", nullptr, SchemaCase::Opening,
                   "no such table: Soureh"},
        SchemaCase{"NoAyehTable", "DROP TABLE Ayeh", nullptr, SchemaCase::Opening, "no such table: Ayeh"},
        SchemaCase{"NoPagesTable", "DROP TABLE Pages", nullptr, SchemaCase::Opening, "no such table: Pages"},
        SchemaCase{"NoLinesTable", "DROP TABLE Lines", nullptr, SchemaCase::Opening, "no such table: Lines"},
        SchemaCase{"NoSoundsTable", nullptr, "DROP TABLE Sounds", SchemaCase::Reciting,
                   "no such table: Sounds"},
        SchemaCase{
            "NoTranslationColumn",
            "CREATE TABLE Kept AS SELECT SourehID, AyehID, PageID, StartLine, EndLine, StartCol, EndCol, "
            "StartAyeh, EndAyeh FROM Ayeh; DROP TABLE Ayeh; ALTER TABLE Kept RENAME TO Ayeh",
            nullptr, SchemaCase::Opening, "FarsiTranslation"},
        SchemaCase{"NoEndRowColumn",
                   "CREATE TABLE Kept AS SELECT LineID, PageID, StartRow FROM Lines; DROP TABLE Lines; "
                   "ALTER TABLE Kept RENAME TO Lines",
                   nullptr, SchemaCase::Opening, "EndRow"},
        SchemaCase{"NoSoundColumn", nullptr,
                   "CREATE TABLE Kept AS SELECT SourehID, AyehID, GhariID FROM Sounds; DROP TABLE Sounds; "
                   "ALTER TABLE Kept RENAME TO Sounds",
                   SchemaCase::Reciting, "Sound"},
        SchemaCase{"NullNumberOfAyeh", "UPDATE Soureh SET NumberOfAyeh = NULL WHERE SourehID = 1", nullptr,
                   SchemaCase::Opening, "null"},
        SchemaCase{"NullStartLine", "UPDATE Ayeh SET StartLine = NULL WHERE SourehID = 2 AND AyehID = 1",
                   nullptr, SchemaCase::Selecting, "null"},
        SchemaCase{"NullLineBand", "UPDATE Lines SET StartRow = NULL WHERE PageID = 2 AND LineID = 2",
                   nullptr, SchemaCase::Selecting, "null"},
        SchemaCase{"NullRecording", nullptr,
                   "UPDATE Sounds SET Sound = NULL WHERE GhariID = 1 AND SourehID = 1 AND AyehID = 2",
                   SchemaCase::Reciting, "null"}),
    [](const auto& testCase) { return std::string(testCase.param.Name); });

TEST_F(HardeningTest, NullsWhereTheReaderAllowsThemChangeNothing) {
    CreateContent([](FixtureDatabase& quran, FixtureDatabase&) {
        quran.Exec("UPDATE Pages SET Joze = NULL, Hezb = NULL, OtherComment = NULL");
    });
    OpenExisting();
    EXPECT_NO_THROW(Book->SelectSoureh(2)->SelectAyeh(1)->Highlight());
    EXPECT_EQ(PageNo.Value, QStringLiteral("2"));
}

// ---- page pictures ----

struct PictureCase {
    const char* Name;
    std::function<QByteArray(const QByteArray& stored)> Replace; // page 3's new PageBMP
    const char* Expected;                                        // error when turning to page 3 ("" for none)
    int Width;                                                   // of the picture page 3 then has (0: none)
};

class PagePictureDamage : public HardeningTest, public ::testing::WithParamInterface<PictureCase> {};

TEST_P(PagePictureDamage, TurningToThePageFailsCleanlyOrShowsWhatThereIs) {
    const PictureCase& c = GetParam();
    CreateContent([&c](FixtureDatabase& quran, FixtureDatabase&) {
        const QByteArray picture = c.Replace(MakeBitmap8(FixtureBook::PageWidth, FixtureBook::PageHeight));
        quran.Exec("DELETE FROM Pages WHERE PageID = 3");
        if (!picture.isNull())
            quran.Insert("Pages", {{"PageID", 3}, {"PageBMP", picture}, {"Joze", 1}});
    });
    OpenExisting();
    Book->SelectSoureh(2)->SelectAyeh(1);
    ASSERT_EQ(PageNo.Value, QStringLiteral("2"));

    TAyeh* ayeh = nullptr;
    const std::string error = ErrorOf([&] { ayeh = Book->SelectSoureh(2)->SelectAyeh(4); });
    if (*c.Expected != '\0') {
        EXPECT_NE(error.find(c.Expected), std::string::npos) << error;
        EXPECT_EQ(Book->Page->PageID, 2); // the page that failed to load never became current
        EXPECT_EQ(PageNo.Value, QStringLiteral("2"));
        return;
    }
    ASSERT_EQ(error, "");
    EXPECT_EQ(PageNo.Value, QStringLiteral("3"));
    EXPECT_EQ(Book->Page->Width(), c.Width);
    // Rows and columns beyond a picture of another size are not painted; the fake image fails
    // the test on any pixel set outside it.
    EXPECT_EQ(ErrorOf([&] {
                  ayeh->Highlight();
                  ayeh->ScrollIntoView();
              }),
              "");
    EXPECT_GE(Scroll.Position, 0);
}

QByteArray Framed(const QByteArray& file, quint32 size) {
    QByteArray blob = WithBlobHeader(file);
    for (int i = 0; i < 4; ++i)
        blob[4 + i] = char((size >> (8 * i)) & 0xff);
    return blob;
}

INSTANTIATE_TEST_SUITE_P(
    Pictures, PagePictureDamage,
    ::testing::Values(PictureCase{"NotABitmap",
                                  [](const QByteArray&) { return QByteArrayLiteral("GIF89a garbage"); },
                                  "Bitmap image is not valid", 0},
                      PictureCase{"Truncated", [](const QByteArray& bmp) { return bmp.left(bmp.size() / 3); },
                                  "Bitmap image is not valid", 0},
                      PictureCase{"TruncatedHeader", [](const QByteArray& bmp) { return bmp.left(20); },
                                  "Bitmap image is not valid", 0},
                      PictureCase{"WrongHeaderSize",
                                  [](const QByteArray& bmp) { return Framed(bmp, quint32(bmp.size() + 1)); },
                                  "Bitmap image is not valid", 0},
                      PictureCase{"HeaderOnly", [](const QByteArray&) { return Framed({}, 0); }, "", 0},
                      PictureCase{"Smaller", [](const QByteArray&) { return MakeBitmap8(200, 40); }, "", 200},
                      PictureCase{"Wider", [](const QByteArray&) { return MakeBitmap8(900, 690); }, "", 900},
                      PictureCase{"Empty", [](const QByteArray&) { return QByteArray(""); }, "", 0},
                      PictureCase{"NoRow", [](const QByteArray&) { return QByteArray(); }, "", 0}),
    [](const auto& testCase) { return std::string(testCase.param.Name); });

// ---- ayeh geometry and line bands outside the picture ----

struct GeometryCase {
    const char* Name;
    const char* QuranSql;
    bool Paints; // whether any ink of the page turns red
};

class OutOfRangeGeometry : public HardeningTest, public ::testing::WithParamInterface<GeometryCase> {};

// Rows and columns are clipped to the picture. The fake page image fails the test on any pixel
// set outside it; a row spanning billions of lines must not take billions of steps.
TEST_P(OutOfRangeGeometry, HighlightStaysInsideThePictureAndScrollInsideTheBox) {
    const GeometryCase& c = GetParam();
    CreateContent([&c](FixtureDatabase& quran, FixtureDatabase&) { quran.Exec(c.QuranSql); });
    OpenExisting();
    TAyeh* ayeh = Book->SelectSoureh(1)->SelectAyeh(2);
    Book->Page->Show();
    const int before = Image.RedCount();
    EXPECT_EQ(ErrorOf([ayeh] { ayeh->Highlight(); }), "");
    EXPECT_EQ(Image.RedCount() > before, c.Paints) << Image.RedCount();
    EXPECT_EQ(ErrorOf([ayeh] { ayeh->ScrollIntoView(); }), "");
    EXPECT_GE(Scroll.Position, 0);
    EXPECT_LE(Scroll.Position, Scroll.ContentHeight - Scroll.Height);
}

INSTANTIATE_TEST_SUITE_P(
    Geometry, OutOfRangeGeometry,
    ::testing::Values(
        GeometryCase{"LinesZero",
                     "UPDATE Ayeh SET StartLine = 0, EndLine = 0 WHERE SourehID = 1 AND AyehID = 2", false},
        GeometryCase{"LinesSixteen",
                     "UPDATE Ayeh SET StartLine = 16, EndLine = 16 WHERE SourehID = 1 AND AyehID = 2", false},
        GeometryCase{"LinesZeroToSixteen",
                     "UPDATE Ayeh SET StartLine = 0, EndLine = 16 WHERE SourehID = 1 AND AyehID = 2", true},
        GeometryCase{
            "BillionsOfLines",
            "UPDATE Ayeh SET StartLine = -2000000000, EndLine = 2000000000 WHERE SourehID = 1 AND AyehID = 2",
            true},
        GeometryCase{
            "BillionsOfLinesAbove",
            "UPDATE Ayeh SET StartLine = -2000000000, EndLine = -5 WHERE SourehID = 1 AND AyehID = 2", false},
        GeometryCase{"ColumnsBelowZero",
                     "UPDATE Ayeh SET StartCol = -5, EndCol = -300 WHERE SourehID = 1 AND AyehID = 2", false},
        GeometryCase{"ColumnsPastThePicture",
                     "UPDATE Ayeh SET StartCol = 5000, EndCol = 462 WHERE SourehID = 1 AND AyehID = 2",
                     false},
        GeometryCase{
            "ColumnsAcrossThePicture",
            "UPDATE Ayeh SET StartLine = 1, EndLine = 2, StartCol = 2147483647, EndCol = -2147483647 "
            "WHERE SourehID = 1 AND AyehID = 2",
            true},
        GeometryCase{"BandBelowThePicture", "INSERT INTO Lines VALUES (1, 1, 650, 900)", false},
        GeometryCase{"BandAboveThePicture", "INSERT INTO Lines VALUES (1, 1, -40, 10)", true},
        GeometryCase{"BandAtTheLowestRows", "INSERT INTO Lines VALUES (1, 1, -2147483648, -2147483648)",
                     false},
        GeometryCase{"BandAtTheHighestRows", "INSERT INTO Lines VALUES (1, 1, 2147483647, 2147483647)",
                     false},
        GeometryCase{"BandUpsideDown", "INSERT INTO Lines VALUES (1, 1, 40, 10)", false}),
    [](const auto& testCase) { return std::string(testCase.param.Name); });

// ---- recordings ----

struct RecordingCase {
    const char* Name;
    std::function<QByteArray()> Sound; // reciter 1's recording of 1:2
    int Ghari;
};

class RecordingDamage : public HardeningTest, public ::testing::WithParamInterface<RecordingCase> {};

TEST_P(RecordingDamage, NothingPlaysNothingIsShownAndTheNextAyehStillPlays) {
    const RecordingCase& c = GetParam();
    CreateContent([&c](FixtureDatabase&, FixtureDatabase& sound) {
        if (!c.Sound)
            return;
        sound.Exec("DELETE FROM Sounds WHERE GhariID = 1 AND SourehID = 1 AND AyehID = 2");
        sound.Insert("Sounds", {{"SourehID", 1}, {"AyehID", 2}, {"GhariID", 1}, {"Sound", c.Sound()}});
    });
    OpenExisting();
    Book->GhariID = c.Ghari;
    EXPECT_NO_THROW(Book->SelectSoureh(1)->SelectAyeh(2)->Recite(1));
    EXPECT_EQ(Errors.Shown, 0);
    EXPECT_NE(Player.Mode(), pmPlaying);
    EXPECT_NE(Player.Mode(), pmOpen);

    // The recording after it, by a reciter that has it, plays as usual.
    Book->GhariID = 1;
    Book->SelectSoureh(1)->SelectAyeh(3)->Recite(1);
    EXPECT_EQ(Player.Mode(), pmPlaying);
    EXPECT_EQ(QDir(CacheFolder()).entryList(QDir::Files), QStringList{QStringLiteral("1-1-3.wav")});
}

QByteArray WavBytes(const std::function<void(const QString&)>& write) {
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("r.wav"));
    write(path);
    return ReadFile(path);
}

INSTANTIATE_TEST_SUITE_P(
    Recordings, RecordingDamage,
    ::testing::Values(
        RecordingCase{"Empty", [] { return QByteArray(""); }, 1},
        RecordingCase{"Truncated",
                      [] { return WavBytes([](const QString& p) { WriteTruncatedWav(p, WavSpec{}); }); }, 1},
        RecordingCase{"HeaderOnly", [] { return FixtureBook::Recording(1, 1, 2).left(44); }, 1},
        RecordingCase{"Garbage", [] { return QByteArrayLiteral("\x01\x02garbage, not RIFF").repeated(50); },
                      1},
        RecordingCase{"Unsupported",
                      [] {
                          // A RIFF WAVE whose format is MPEG layer 3, which the decoder does not take.
                          QByteArray wav = FixtureBook::Recording(1, 1, 2);
                          wav[20] = char(0x55);
                          wav[21] = 0;
                          return wav;
                      },
                      1},
        RecordingCase{"MissingForThisReciter", {}, 3}),
    [](const auto& testCase) { return std::string(testCase.param.Name); });

// ---- the sound cache folder ----

class CacheFolderFault : public HardeningTest {
protected:
    void SetUp() override {
        CreateContent();
        OpenExisting();
    }
    void ExpectReportedOnce() {
        EXPECT_EQ(Errors.Shown, 1);
        EXPECT_EQ(Errors.Text, Quote("خطا در قرائت قرآن! با فروشنده تماس بگيريد"));
    }
    QTemporaryDir Outside;
};

TEST_F(CacheFolderFault, ReplacedByAFileIsReportedAndTheFileKept) {
    WriteFile(CacheFolder(), "someone's notes");
    Book->SelectSoureh(1)->SelectAyeh(2)->Recite(1);
    ExpectReportedOnce();
    EXPECT_EQ(ReadFile(CacheFolder()), QByteArrayLiteral("someone's notes"));
    EXPECT_NE(Player.Mode(), pmPlaying);
}

// The superuser writes into any folder: run as root, the case runs again in a copy of this
// program started as the unprivileged user "nobody" (a copy, because the build folder may be
// closed to that user), and its outcome is this one's.
void ExpectPassesUnprivileged(const QString& test) {
    const struct passwd* nobody = ::getpwnam("nobody");
    ASSERT_NE(nobody, nullptr) << "no user \"nobody\" to run as";
    const uid_t uid = nobody->pw_uid;
    const gid_t gid = nobody->pw_gid;
    QTemporaryDir folder;
    ASSERT_EQ(::chmod(QFile::encodeName(folder.path()).constData(), 0755), 0);
    const QString program = folder.filePath(QStringLiteral("hardening_tests"));
    ASSERT_TRUE(QFile::copy(QCoreApplication::applicationFilePath(), program));
    ASSERT_EQ(::chmod(QFile::encodeName(program).constData(), 0755), 0);

    QProcess child;
    child.setWorkingDirectory(folder.path());
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    environment.remove(QStringLiteral("XDG_RUNTIME_DIR")); // the superuser's own
    child.setProcessEnvironment(environment);
    child.setChildProcessModifier([uid, gid] {
        if (::setgroups(0, nullptr) != 0 || ::setgid(gid) != 0 || ::setuid(uid) != 0)
            ::_exit(126);
    });
    child.setProcessChannelMode(QProcess::MergedChannels);
    child.start(program, {QStringLiteral("--gtest_filter=") + test});
    ASSERT_TRUE(child.waitForFinished(120000)) << "the unprivileged run did not end";
    const QByteArray output = child.readAll();
    EXPECT_EQ(child.exitStatus(), QProcess::NormalExit);
    EXPECT_EQ(child.exitCode(), 0) << output.toStdString();
    EXPECT_TRUE(output.contains("[  PASSED  ] 1 test.")) << output.toStdString();
}

TEST_F(CacheFolderFault, UnwritableFolderIsReported) {
    if (::geteuid() == 0) {
        ExpectPassesUnprivileged(QStringLiteral("CacheFolderFault.UnwritableFolderIsReported"));
        return;
    }
    ASSERT_TRUE(QDir().mkpath(CacheFolder()));
    ASSERT_TRUE(QFile::setPermissions(CacheFolder(), QFile::ReadOwner | QFile::ExeOwner));
    Book->SelectSoureh(1)->SelectAyeh(2)->Recite(1);
    ExpectReportedOnce();
    EXPECT_TRUE(
        QDir(CacheFolder()).isEmpty(QDir::AllEntries | QDir::Hidden | QDir::System | QDir::NoDotAndDotDot));
    QFile::setPermissions(CacheFolder(), QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
}

TEST_F(CacheFolderFault, LinkPlantedAtACacheFileNameLeavesItsTargetUntouched) {
    const QString target = Outside.filePath(QStringLiteral("precious.txt"));
    WriteFile(target, "keep me");
    ASSERT_TRUE(QDir().mkpath(CacheFolder()));
    ASSERT_TRUE(QFile::link(target, CachePath(QStringLiteral("1-1-2.wav"))));
    Book->SelectSoureh(1)->SelectAyeh(2)->Recite(1);
    EXPECT_EQ(ReadFile(target), QByteArrayLiteral("keep me"));
    EXPECT_FALSE(QFileInfo(CachePath(QStringLiteral("1-1-2.wav"))).isSymLink());
    EXPECT_EQ(Player.Mode(), pmPlaying);
    EXPECT_EQ(Errors.Shown, 0);
}

TEST_F(CacheFolderFault, LinkPlantedAtTheFolderLeavesItsTargetEmpty) {
    const QString elsewhere = Outside.filePath(QStringLiteral("elsewhere"));
    ASSERT_TRUE(QDir().mkpath(elsewhere));
    ASSERT_TRUE(QFile::link(elsewhere, CacheFolder()));
    Book->SelectSoureh(1)->SelectAyeh(2)->Recite(1);
    ExpectReportedOnce();
    EXPECT_TRUE(QDir(elsewhere).isEmpty());
}

TEST_F(CacheFolderFault, DiskFullWhileExtractingIsReportedAndLeavesNoPartialFile) {
    // A file size limit stops the write short the way a full disk does.
    struct rlimit saved {};
    ASSERT_EQ(::getrlimit(RLIMIT_FSIZE, &saved), 0);
    auto* previous = std::signal(SIGXFSZ, SIG_IGN);
    struct rlimit small = saved;
    small.rlim_cur = 200;
    ASSERT_EQ(::setrlimit(RLIMIT_FSIZE, &small), 0);
    Book->SelectSoureh(1)->SelectAyeh(2)->Recite(1);
    ::setrlimit(RLIMIT_FSIZE, &saved);
    std::signal(SIGXFSZ, previous);

    ExpectReportedOnce();
    EXPECT_FALSE(QFileInfo::exists(CachePath(QStringLiteral("1-1-2.wav"))));
    EXPECT_NE(Player.Mode(), pmPlaying);

    Book->SelectSoureh(1)->SelectAyeh(3)->Recite(1);
    EXPECT_EQ(Player.Mode(), pmPlaying);
}

} // namespace
