// Export and import of grades and notes as CSV: a round trip keeps everything, a note's
// commas, quotes and line breaks included; a faulty file is refused whole, naming its line.
#include "learning/LearnerCsv.h"
#include "tests/learning/LearningTestSupport.h"

#include <QFile>
#include <ostream>

namespace {

void WriteText(const QString& path, const QByteArray& text) {
    QFile file(path);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly | QIODevice::Truncate));
    file.write(text);
}

const std::vector<AyehNote> Notes = {
    {1, 2, QStringLiteral(u"«الْحَمْدُ» را کشید، گفت: \"دوباره\", فردا")},
    {2, 255, QStringLiteral("first line\nsecond line\r\nthird, \"quoted\" line")},
    {114, 6, QStringLiteral("  spaces kept  ")},
};

class LearnerCsvFile : public LearnerFileTest {
protected:
    // Grades over three days, one of them given an hour further east, and the notes.
    void Fill(LearnerData& data) {
        data.RecordGrade(1, 2, Grade::Good);
        data.RecordGrade(2, 255, Grade::Forgot);
        Clock.MoveDays(1);
        data.RecordGrade(1, 2, Grade::Hard);
        Clock.Moment = Clock.Moment.toOffsetFromUtc(16200);
        Clock.MoveDays(6);
        data.RecordGrade(1, 2, Grade::Easy);
        data.RecordGrade(2, 255, Grade::Good);
        for (const AyehNote& note : Notes)
            data.SetNote(note.SourehID, note.AyehID, note.Text);
    }
    QString CsvPath() const { return Dir.filePath(QStringLiteral("plan.csv")); }
};

TEST_F(LearnerCsvFile, RoundTripKeepsGradesTheirOffsetsNotesAndStates) {
    LearnerOpening first = LearnerData::Open(Dir.filePath(QStringLiteral("first.db")), Clock);
    ASSERT_TRUE(first.Data);
    Fill(*first.Data);
    first.Data->ExportCsv(CsvPath());

    const auto second = OpenData();
    ASSERT_TRUE(second);
    const ImportSummary summary = second->ImportCsv(CsvPath());
    EXPECT_EQ(summary.GradesAdded, 5);
    EXPECT_EQ(summary.Notes, 3);
    const std::vector<GradeRecord> grades = first.Data->Grades();
    EXPECT_EQ(second->Grades(), grades);
    for (size_t i = 0; i < grades.size(); ++i)
        EXPECT_EQ(second->Grades()[i].Given.offsetFromUtc(), grades[i].Given.offsetFromUtc()) << i;
    EXPECT_EQ(second->Notes(), Notes);
    EXPECT_EQ(second->Reviews(), first.Data->Reviews());

    // The same file again adds nothing and schedules nothing anew.
    const ImportSummary again = second->ImportCsv(CsvPath());
    EXPECT_EQ(again.GradesAdded, 0);
    EXPECT_EQ(again.GradesAlreadyThere, 5);
    EXPECT_EQ(second->Reviews(), first.Data->Reviews());
}

TEST_F(LearnerCsvFile, ImportedGradesAreScheduledTogetherWithThoseKept) {
    const auto data = OpenData();
    ASSERT_TRUE(data);
    data->RecordGrade(1, 1, Grade::Good); // 09:00 on the 21st, +03:30
    WriteText(CsvPath(), "kind,soureh,ayeh,time,grade,note\n"
                         "grade,1,1,2026-03-20T09:00:00.000+03:30,3,\n");
    data->ImportCsv(CsvPath());
    // Two good grades a day apart: the second review comes six days after the last.
    EXPECT_EQ(data->Review(1, 1)->IntervalDays, 6);
    EXPECT_EQ(data->Review(1, 1)->Repetitions, 2);
}

struct BadFileCase {
    const char* Name;
    const char* Text;
    const char* Line; // as the message names it
};

void PrintTo(const BadFileCase& c, std::ostream* out) {
    *out << c.Name;
}

class BadCsv : public LearnerCsvFile, public ::testing::WithParamInterface<BadFileCase> {};

TEST_P(BadCsv, IsRefusedNamingItsLineAndChangesNothing) {
    const auto data = OpenData();
    ASSERT_TRUE(data);
    data->RecordGrade(1, 1, Grade::Good);
    data->SetNote(1, 1, QStringLiteral("kept"));
    const auto grades = data->Grades();
    const auto reviews = data->Reviews();
    WriteText(CsvPath(), GetParam().Text);
    try {
        data->ImportCsv(CsvPath());
        ADD_FAILURE() << "imported";
    } catch (const LearningError& error) {
        EXPECT_NE(std::string(error.what()).find(GetParam().Line), std::string::npos) << error.what();
        EXPECT_NE(std::string(error.what()).find("plan.csv"), std::string::npos) << error.what();
    }
    EXPECT_EQ(data->Grades(), grades);
    EXPECT_EQ(data->Reviews(), reviews);
    EXPECT_EQ(data->Notes(), (std::vector<AyehNote>{{1, 1, QStringLiteral("kept")}}));
}

// Every bad row comes after good ones, so a half-applied import would show.
#define HEAD "kind,soureh,ayeh,time,grade,note\r\n"
#define GOOD "grade,1,2,2026-03-20T09:00:00.000+03:30,3,\r\nnote,1,1,,,replaced\r\n"

INSTANTIATE_TEST_SUITE_P(
    Faults, BadCsv,
    ::testing::Values(
        BadFileCase{"NoHeader", "grade,1,2,2026-03-20T09:00:00.000+03:30,3,\r\n", "line 1:"},
        BadFileCase{"Empty", "", "line 1:"},
        BadFileCase{"UnknownKind", HEAD GOOD "bookmark,1,1,,,\r\n", "line 4:"},
        BadFileCase{"NoSuchSoureh", HEAD GOOD "grade,115,1,2026-03-20T09:00:00.000+03:30,3,\r\n", "line 4:"},
        BadFileCase{"NoSuchAyeh", HEAD GOOD "note,1,8,,,x\r\n", "line 4:"},
        BadFileCase{"AyehNotANumber", HEAD GOOD "note,1,one,,,x\r\n", "line 4:"},
        BadFileCase{"GradeBeyondFour", HEAD GOOD "grade,1,2,2026-03-20T09:00:00.000+03:30,5,\r\n", "line 4:"},
        BadFileCase{"TimeWithoutOffset", HEAD GOOD "grade,1,2,2026-03-20T09:00:00.000,3,\r\n", "line 4:"},
        BadFileCase{"NoTime", HEAD GOOD "grade,1,2,yesterday,3,\r\n", "line 4:"},
        BadFileCase{"GradeWithANote", HEAD GOOD "grade,1,2,2026-03-20T09:00:00.000+03:30,3,x\r\n", "line 4:"},
        BadFileCase{"NoteWithAGrade", HEAD GOOD "note,1,2,,3,x\r\n", "line 4:"},
        BadFileCase{"FieldMissing", HEAD GOOD "note,1,2,,x\r\n", "line 4:"},
        BadFileCase{"LinesOfAQuotedNoteCount",
                    HEAD "note,1,3,,,\"one\r\ntwo\nthree\"\r\n" GOOD "note,1,9,,,x\r\n", "line 7:"},
        BadFileCase{"QuoteNeverClosed", HEAD GOOD "note,1,2,,,\"open\r\nstill open\r\n", "line 4:"},
        BadFileCase{"TextAfterAClosingQuote", HEAD GOOD "note,1,2,,,\"closed\" then\r\n", "line 4:"},
        BadFileCase{"NotUtf8", HEAD GOOD "note,1,2,,,\xff\xfe\r\n", "line 4:"}),
    [](const auto& row) { return std::string(row.param.Name); });

TEST_F(LearnerCsvFile, FilesThatCannotBeReadOrWrittenAreNamed) {
    const auto data = OpenData();
    ASSERT_TRUE(data);
    EXPECT_THROW(data->ImportCsv(Dir.filePath(QStringLiteral("missing.csv"))), LearningError);
    EXPECT_THROW(data->ExportCsv(Dir.filePath(QStringLiteral("no-folder/plan.csv"))), LearningError);
}

TEST(LearnerCsvText, ReadsAByteOrderMarkLfLineEndsAndEmptyLines) {
    const LearnerCsv content =
        ParseLearnerCsv("\xef\xbb\xbfkind,soureh,ayeh,time,grade,note\n\n"
                        "grade,1,2,2026-03-20T05:30:00Z,4,\n\nnote,1,2,,,\"\"\"a\"\"\"\n");
    ASSERT_EQ(content.Grades.size(), 1u);
    EXPECT_EQ(content.Grades[0].Given, QDateTime(QDate(2026, 3, 20), QTime(5, 30), QTimeZone::utc()));
    EXPECT_EQ(content.Grades[0].Value, Grade::Easy);
    EXPECT_EQ(content.Notes, (std::vector<AyehNote>{{1, 2, QStringLiteral("\"a\"")}}));
}

} // namespace
