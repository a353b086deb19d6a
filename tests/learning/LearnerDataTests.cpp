// The learner's file: kept across a restart, safe from a kill and from a second reader
// writing at the same time, a damaged file moved aside, a newer reader's file left alone.
#include "learning/ReviewPlan.h"
#include "tests/learning/LearningTestSupport.h"
#include "tests/support/FixtureBook.h"

#include <QCryptographicHash>
#include <QDir>
#include <QFile>
#include <QProcess>
#include <functional>
#include <map>
#include <ostream>
#include <sqlite3.h>

namespace {

QByteArray HashOf(const QString& path) {
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return {};
    return QCryptographicHash::hash(file.readAll(), QCryptographicHash::Sha256);
}

// The first column of the first row of sql, run on the file (made when missing) by a
// connection of the test's own.
QString RawValue(const QString& path, const char* sql) {
    sqlite3* handle = nullptr;
    sqlite3_open_v2(QFile::encodeName(path).constData(), &handle, SQLITE_OPEN_READWRITE | SQLITE_OPEN_CREATE,
                    nullptr);
    const SqliteDatabase db(handle);
    sqlite3_stmt* raw = nullptr;
    sqlite3_prepare_v2(handle, sql, -1, &raw, nullptr);
    QString value;
    if (raw && sqlite3_step(raw) == SQLITE_ROW)
        value = QString::fromUtf8(reinterpret_cast<const char*>(sqlite3_column_text(raw, 0)));
    sqlite3_finalize(raw);
    return value;
}

void WriteBytes(const QString& path, const QByteArray& bytes) {
    QFile file(path);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly | QIODevice::Truncate));
    file.write(bytes);
}

// A learner's file with 40 ayehs graded, closed.
void FillFile(const QString& path, LearningClock& clock) {
    LearnerOpening opening = LearnerData::Open(path, clock);
    ASSERT_TRUE(opening.Data);
    for (int ayeh = 1; ayeh <= 40; ++ayeh)
        opening.Data->RecordGrade(2, ayeh, Grade::Good);
    opening.Data->SetNote(2, 1, QStringLiteral("a note long enough to fill a page ").repeated(200));
}

using LearnerFile = LearnerFileTest;

TEST_F(LearnerFile, GradesOfFatihaAreDueAndMappedDueTheNextDayAfterARestart) {
    FixtureBook::Create(Dir.path());
    const Connection quran(FixtureConnectionString(Dir.filePath(QStringLiteral("quran.dat")), QuranKey));
    const AyehPages pages = ReadAyehPages(quran);
    {
        const auto data = OpenData();
        ASSERT_TRUE(data);
        for (int ayeh = 1; ayeh <= 7; ++ayeh)
            data->RecordGrade(1, ayeh, Grade::Good);
        EXPECT_TRUE(DueToday(data->Reviews(), pages, data->Today()).empty());
        const ProgressMap map = MakeProgressMap(data->Reviews(), pages, data->Today());
        EXPECT_EQ(map.AyehCounts[Progress::Due], 0);
        EXPECT_NE(map.Pages[0], Progress::Due);
    }
    Clock.MoveDays(1);
    const auto data = OpenData();
    ASSERT_TRUE(data);
    const std::vector<DuePage> due = DueToday(data->Reviews(), pages, data->Today());
    ASSERT_EQ(due.size(), 1u);
    EXPECT_EQ(due[0].PageID, 1);
    ASSERT_EQ(due[0].Ayehs.size(), 7u);
    EXPECT_EQ(due[0].Ayehs.back().AyehID, 7);
    EXPECT_EQ(data->Grades().size(), 7u);
    // The progress map shows the same ayehs due: page 1 and soureh 1, and nothing else.
    const ProgressMap map = MakeProgressMap(data->Reviews(), pages, data->Today());
    EXPECT_EQ(map.Pages[0], Progress::Due);
    EXPECT_EQ(map.Sourehs[0], Progress::Due);
    EXPECT_EQ(map.AyehCounts[Progress::Due], 7);
    EXPECT_EQ(map.PageCounts[Progress::Due], 1);
}

TEST_F(LearnerFile, TheDayIsTheLearnersOwnAcrossMidnight) {
    const auto data = OpenData();
    ASSERT_TRUE(data);
    Clock.Moment = QDateTime(QDate(2026, 3, 21), QTime(23, 50), QTimeZone(12600));
    data->RecordGrade(1, 1, Grade::Good);
    Clock.MoveSeconds(20 * 60); // 00:10 the next day where the learner is, still the 21st in UTC
    EXPECT_EQ(data->Review(1, 1)->DueDay, data->Today());
}

TEST_F(LearnerFile, NotesAreKeptAndABlankNoteRemovesOne) {
    const auto data = OpenData();
    ASSERT_TRUE(data);
    data->SetNote(2, 255, QStringLiteral(u"«وَلَا يَئُودُهُ» را جا انداخت"));
    data->SetNote(1, 2, QStringLiteral("mad"));
    data->SetNote(1, 2, QStringLiteral("  \n"));
    EXPECT_EQ(data->Notes(), (std::vector<AyehNote>{{2, 255, QStringLiteral(u"«وَلَا يَئُودُهُ» را جا انداخت")}}));
    EXPECT_TRUE(data->Note(1, 2).isEmpty());
    EXPECT_THROW(data->SetNote(1, 8, QStringLiteral("no such ayeh")), LearningError);
    EXPECT_THROW(data->RecordGrade(115, 1, Grade::Good), LearningError);
}

struct DamageCase {
    const char* Name;
    std::function<void(const QString& path)> Damage;
};

void PrintTo(const DamageCase& c, std::ostream* out) {
    *out << c.Name;
}

class DamagedFile : public LearnerFileTest, public ::testing::WithParamInterface<DamageCase> {};

TEST_P(DamagedFile, IsMovedAsideWholeAndTheReaderGoesOnWithAnEmptyPlan) {
    FillFile(Path(), Clock);
    GetParam().Damage(Path());
    const QByteArray damaged = HashOf(Path());

    LearnerOpening opening = LearnerData::Open(Path(), Clock);
    ASSERT_EQ(opening.Result, LearnerOpening::Outcome::MovedAside) << opening.Message.toStdString();
    EXPECT_EQ(HashOf(opening.MovedTo), damaged);
    EXPECT_TRUE(
        QFileInfo(opening.MovedTo).fileName().startsWith(QStringLiteral("learning.db.damaged-20260321-")));
    EXPECT_TRUE(opening.Message.contains(QDir::toNativeSeparators(opening.MovedTo)));
    ASSERT_TRUE(opening.Data);
    EXPECT_TRUE(opening.Data->Reviews().empty());
    opening.Data->RecordGrade(1, 1, Grade::Easy);
    opening.Data.reset();
    EXPECT_EQ(OpenData()->Reviews().size(), 1u);
}

INSTANTIATE_TEST_SUITE_P(
    Damage, DamagedFile,
    ::testing::Values(DamageCase{"NoDatabaseAtAll",
                                 [](const QString& path) {
                                     WriteBytes(path, QByteArray("these are not the pages ").repeated(300));
                                 }},
                      DamageCase{"PagesOverwritten",
                                 [](const QString& path) {
                                     QFile file(path);
                                     ASSERT_TRUE(file.open(QIODevice::ReadWrite));
                                     ASSERT_GT(file.size(), 8192);
                                     file.seek(4096); // from the second page on
                                     file.write(QByteArray(int(file.size() - 4096), '\x5a'));
                                 }},
                      DamageCase{"CutShort",
                                 [](const QString& path) {
                                     QFile file(path);
                                     ASSERT_TRUE(file.open(QIODevice::ReadWrite));
                                     ASSERT_TRUE(file.resize(file.size() / 2));
                                 }},
                      DamageCase{"AnotherProgramsDatabase",
                                 [](const QString& path) {
                                     QFile::remove(path);
                                     RawValue(path, "CREATE TABLE Tracks (Title TEXT)");
                                 }}),
    [](const auto& row) { return std::string(row.param.Name); });

TEST_F(LearnerFile, ANewerReadersFileIsLeftAsItIsAndThePlanIsUnavailable) {
    FillFile(Path(), Clock);
    RawValue(Path(), "PRAGMA user_version = 2");
    const QByteArray before = HashOf(Path());

    const LearnerOpening opening = LearnerData::Open(Path(), Clock);
    EXPECT_EQ(opening.Result, LearnerOpening::Outcome::Newer);
    EXPECT_FALSE(opening.Data);
    EXPECT_FALSE(opening.Message.isEmpty());
    EXPECT_EQ(HashOf(Path()), before);
    EXPECT_EQ(QDir(Dir.path()).entryList({QStringLiteral("*damaged*")}, QDir::Files), QStringList());
}

TEST_F(LearnerFile, AFolderThatCannotBeMadeFailsWithAMessage) {
    WriteBytes(Dir.filePath(QStringLiteral("plain-file")), "x");
    const LearnerOpening opening =
        LearnerData::Open(Dir.filePath(QStringLiteral("plain-file/learning.db")), Clock);
    EXPECT_EQ(opening.Result, LearnerOpening::Outcome::Failed);
    EXPECT_FALSE(opening.Data);
    EXPECT_TRUE(opening.Message.contains(QStringLiteral("plain-file")));
}

// A second reader grading in a process of its own; the test reads how many grades it has
// committed.
class OtherReader final {
public:
    OtherReader(const QString& path, int soureh, int count) {
        Process.start(QStringLiteral(LEARNING_GRADER),
                      {path, QString::number(soureh), QString::number(count)});
    }
    ~OtherReader() {
        Process.kill();
        Process.waitForFinished(60000);
    }
    // Waits (60 s at most) until it reports `count` grades committed.
    bool WaitForGrades(int count) {
        while (Committed < count) {
            if (!Process.canReadLine() && !Process.waitForReadyRead(60000))
                return false;
            Read();
        }
        return true;
    }
    // Kills it wherever it is, and counts the grades it reported before.
    int Kill() {
        Process.kill();
        Process.waitForFinished(60000);
        Read();
        return Committed;
    }
    bool Finished() {
        const bool done = Process.waitForFinished(60000) && Process.exitCode() == 0;
        Read();
        return done;
    }

private:
    void Read() {
        while (Process.canReadLine())
            Committed = Process.readLine().trimmed().toInt();
        const QByteArray rest = Process.readAll().trimmed();
        if (!rest.isEmpty())
            Committed = rest.toInt();
    }
    QProcess Process;
    int Committed = 0;
};

// Each ayeh's state agrees with its grades, all "good": as many successful reviews as grades.
void ExpectStatesMatchGrades(const LearnerData& data) {
    std::map<std::pair<int, int>, int> grades;
    for (const GradeRecord& grade : data.Grades())
        ++grades[{grade.SourehID, grade.AyehID}];
    const std::vector<AyehReview> reviews = data.Reviews();
    EXPECT_EQ(reviews.size(), grades.size());
    for (const AyehReview& review : reviews)
        EXPECT_EQ(review.State.Repetitions, (grades[{review.SourehID, review.AyehID}])) << review.AyehID;
}

TEST_F(LearnerFile, AKillWhileGradingLosesAtMostTheGradeBeingWritten) {
    OpenData(); // the file exists before the other reader starts
    OtherReader other(Path(), 2, 0);
    ASSERT_TRUE(other.WaitForGrades(25));
    const int reported = other.Kill();

    const auto data = OpenData(); // as the reader starts after the kill, its log still there
    ASSERT_TRUE(data);
    const int kept = int(data->Grades().size());
    EXPECT_GE(kept, reported);
    EXPECT_LE(kept, reported + 1);
    ExpectStatesMatchGrades(*data);
    EXPECT_EQ(RawValue(Path(), "PRAGMA integrity_check"), QStringLiteral("ok"));
}

TEST_F(LearnerFile, TwoReadersGradingAtOnceKeepEveryGrade) {
    const auto data = OpenData();
    ASSERT_TRUE(data);
    constexpr int Count = 120;
    OtherReader other(Path(), 2, Count);
    ASSERT_TRUE(other.WaitForGrades(1));
    for (int ayeh = 1; ayeh <= Count; ++ayeh)
        data->RecordGrade(3, ayeh, Grade::Good);
    ASSERT_TRUE(other.Finished());

    EXPECT_EQ(data->Grades().size(), size_t(2 * Count));
    ExpectStatesMatchGrades(*data);
    EXPECT_EQ(RawValue(Path(), "PRAGMA integrity_check"), QStringLiteral("ok"));
}

} // namespace
