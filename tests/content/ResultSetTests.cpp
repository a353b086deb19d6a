// Result sets: fetching, typed reads, the hit-test filter and the keyed lookup.
#include "content/Database.h"
#include "tests/support/FixtureDatabase.h"

#include <QCryptographicHash>
#include <QFile>
#include <QTemporaryDir>
#include <gtest/gtest.h>

namespace {

struct AyehRow {
    int Soureh, Ayeh, Page, Start, End;
};

// Page 7 holds four ayehs, stored out of order; 2:4 overlaps 2:3 between 250 and 260.
const AyehRow PageSeven[] = {
    {2, 3, 7, 201, 300},
    {2, 1, 7, 0, 100},
    {2, 4, 7, 250, 400},
    {2, 2, 7, 101, 200},
};

class ResultSetTest : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(Dir.isValid());
        Path = Dir.filePath(QStringLiteral("quran.dat"));
        FixtureDatabase db(Path, QuranKey);
        CreateQuranTables(db);
        db.Begin();
        db.Insert("Soureh", {{"SourehID", 1},
                             {"SourehName", QStringLiteral("فاتحه")},
                             {"Maki", true},
                             {"PageID", 1},
                             {"NumberOfAyeh", 7}});
        db.Insert("Soureh", {{"SourehID", 2},
                             {"SourehName", QStringLiteral("بقره")},
                             {"Maki", false},
                             {"PageID", 2},
                             {"NumberOfAyeh", 286}});
        db.Insert("Soureh", {{"SourehID", 3},
                             {"SourehName", QVariant()},
                             {"Maki", QVariant()},
                             {"PageID", QStringLiteral("50 pages")},
                             {"NumberOfAyeh", 3000000000LL}});
        for (const AyehRow& row : PageSeven) {
            db.Insert("Ayeh", {{"SourehID", row.Soureh},
                               {"AyehID", row.Ayeh},
                               {"PageID", row.Page},
                               {"StartAyeh", row.Start},
                               {"EndAyeh", row.End},
                               {"FarsiTranslation", QStringLiteral("ترجمه %1").arg(row.Ayeh)}});
        }
        db.Insert("Pages", {{"PageID", 7},
                            {"PageBMP", WithBlobHeader(MakeBitmap8(4, 2))},
                            {"Joze", QVariant()},
                            {"Hezb", QVariant()},
                            {"OtherComment", QVariant()}});
        db.Insert("Pages", {{"PageID", 8}, {"PageBMP", QByteArray()}});
        for (int line : {3, 1, 15})
            db.Insert("Lines",
                      {{"LineID", line}, {"PageID", 7}, {"StartRow", line * 40}, {"EndRow", line * 40 + 39}});
        db.Commit();
        Quran = std::make_unique<Connection>(FixtureConnectionString(Path, QuranKey));
    }

    std::vector<int> AyehIds(ResultSet& result) {
        std::vector<int> ids;
        for (result.First(); !result.Eof(); result.Next())
            ids.push_back(result.FieldByName("AyehID").AsInteger());
        return ids;
    }

    QTemporaryDir Dir;
    QString Path;
    std::unique_ptr<Connection> Quran;
};

} // namespace

TEST_F(ResultSetTest, FetchesEveryRowInTheStatementsOrder) {
    ResultSet result(*Quran, Statements::PageAyehs(7));
    EXPECT_EQ(result.RecordCount(), 4);
    EXPECT_EQ(AyehIds(result), (std::vector<int>{1, 2, 3, 4}));
    EXPECT_EQ(ResultSet(*Quran, Statements::PageAyehs(8)).RecordCount(), 0);
    EXPECT_TRUE(ResultSet(*Quran, Statements::PageAyehs(8)).Eof());
}

TEST_F(ResultSetTest, ReadsColumnsInTheirForms) {
    ResultSet result(*Quran, Statements::Soureh(1));
    ASSERT_EQ(result.RecordCount(), 1);
    EXPECT_EQ(result.FieldByName("SourehName").AsString(), QStringLiteral("فاتحه"));
    EXPECT_TRUE(result.FieldByName("Maki").AsBoolean());
    EXPECT_EQ(result.FieldByName("PageID").AsInteger(), 1);
    EXPECT_EQ(result.FieldByName("NumberOfAyeh").AsInteger(), 7);
    EXPECT_FALSE(ResultSet(*Quran, Statements::Soureh(2)).FieldByName("Maki").AsBoolean());
}

TEST_F(ResultSetTest, ColumnNamesAreCaseInsensitiveAndUnknownOnesFail) {
    ResultSet result(*Quran, Statements::Soureh(2));
    EXPECT_EQ(result.FieldByName("numberofayeh").AsInteger(), 286);
    EXPECT_THROW(result.FieldByName("FarsiTranslation"), ContentError);
}

TEST_F(ResultSetTest, ConvertsBetweenFormsByTheEnginesRules) {
    ResultSet ayehs(*Quran, Statements::AyehList(2));
    EXPECT_EQ(ayehs.FieldByName("AyehID").AsString(), QStringLiteral("1"));
    EXPECT_EQ(ayehs.FieldByName("AyehID").AsBytes(), QByteArray("1"));
    ResultSet third(*Quran, Statements::Soureh(3));
    EXPECT_EQ(third.FieldByName("PageID").AsInteger(), 50); // leading digits of "50 pages"
    EXPECT_EQ(third.FieldByName("PageID").AsString(), QStringLiteral("50 pages"));
    EXPECT_THROW(third.FieldByName("NumberOfAyeh").AsInteger(), ContentError); // beyond 32 bits
}

TEST_F(ResultSetTest, ReadingANullFailsInEveryFormButIsNull) {
    ResultSet result(*Quran, Statements::Soureh(3));
    const Field name = result.FieldByName("SourehName");
    EXPECT_TRUE(name.IsNull());
    EXPECT_THROW(name.AsString(), ContentError);
    EXPECT_THROW(name.AsInteger(), ContentError);
    EXPECT_THROW(name.AsBoolean(), ContentError);
    EXPECT_THROW(name.AsBytes(), ContentError);
    EXPECT_FALSE(result.FieldByName("SourehID").IsNull());
}

TEST_F(ResultSetTest, ReadsBlobsWholeWithAnEmptyBlobNotNull) {
    ResultSet page(*Quran, Statements::Page(7));
    EXPECT_EQ(page.FieldByName("PageBMP").AsBytes(), WithBlobHeader(MakeBitmap8(4, 2)));
    EXPECT_TRUE(page.FieldByName("Joze").IsNull());
    ResultSet empty(*Quran, Statements::Page(8));
    EXPECT_FALSE(empty.FieldByName("PageBMP").IsNull());
    EXPECT_TRUE(empty.FieldByName("PageBMP").AsBytes().isEmpty());
}

TEST_F(ResultSetTest, PastTheLastRowEveryColumnIsNull) {
    ResultSet result(*Quran, Statements::SourehList());
    ASSERT_EQ(result.RecordCount(), 3);
    for (int i = 0; i < 5; ++i)
        result.Next();
    EXPECT_TRUE(result.Eof());
    EXPECT_TRUE(result.FieldByName("SourehID").IsNull());
    EXPECT_THROW(result.FieldByName("SourehID").AsInteger(), ContentError);
    result.First();
    EXPECT_EQ(result.FieldByName("SourehID").AsInteger(), 1);
}

TEST_F(ResultSetTest, TopOneTakesTheFirstRowAfterOrdering) {
    ResultSet first(*Quran, Statements::FirstAyeh(7));
    ASSERT_EQ(first.RecordCount(), 1);
    EXPECT_EQ(first.FieldByName("SourehID").AsInteger(), 2);
    EXPECT_EQ(first.FieldByName("AyehID").AsInteger(), 1);
}

TEST_F(ResultSetTest, RejectedStatementsFailWithTheEnginesMessage) {
    try {
        ResultSet result(*Quran, " SELECT Missing.X FROM Missing ");
        FAIL() << "no error";
    } catch (const ContentError& error) {
        EXPECT_NE(std::string(error.what()).find("no such table"), std::string::npos) << error.what();
    }
    EXPECT_THROW(ResultSet(*Quran, "SELECT 1; DELETE FROM Soureh"), ContentError);
    EXPECT_THROW(ResultSet(*Quran, "  ;  "), ContentError);
    EXPECT_EQ(ResultSet(*Quran, Statements::SourehList()).RecordCount(), 3);
}

TEST_F(ResultSetTest, OutlivesItsConnection) {
    auto result = std::make_unique<ResultSet>(*Quran, Statements::PageLines(7));
    Quran.reset();
    EXPECT_EQ(result->RecordCount(), 3);
    EXPECT_TRUE(result->Locate("LineID", 15));
    EXPECT_EQ(result->FieldByName("EndRow").AsInteger(), 639);
    result.reset();
}

// The hit test: filter off, set "StartAyeh <= P and EndAyeh >=P", filter on.
int HitAyeh(ResultSet& result, int position) {
    result.SetFiltered(false);
    result.SetFilter("StartAyeh <= " + std::to_string(position) +
                     " and EndAyeh >=" + std::to_string(position));
    result.SetFiltered(true);
    const Field ayeh = result.FieldByName("AyehID");
    return ayeh.IsNull() ? 0 : ayeh.AsInteger();
}

TEST_F(ResultSetTest, HitFilterIncludesBothEndsAndTakesTheFirstPassingRow) {
    ResultSet result(*Quran, Statements::PageAyehs(7));
    const std::pair<int, int> cases[] = {
        {0, 1},   {100, 1}, {101, 2}, {200, 2}, {201, 3}, {250, 3},
        {300, 3}, {301, 4}, {400, 4}, {401, 0}, {-1, 0},
    };
    for (const auto& [position, ayeh] : cases)
        EXPECT_EQ(HitAyeh(result, position), ayeh) << "position " << position;
}

TEST_F(ResultSetTest, FilteredViewCountsAndWalksOnlyPassingRows) {
    ResultSet result(*Quran, Statements::PageAyehs(7));
    HitAyeh(result, 260);
    EXPECT_TRUE(result.Filtered());
    EXPECT_EQ(result.RecordCount(), 2);
    EXPECT_EQ(AyehIds(result), (std::vector<int>{3, 4}));

    HitAyeh(result, 1000);
    EXPECT_EQ(result.RecordCount(), 0);
    EXPECT_TRUE(result.Eof());
    EXPECT_TRUE(result.FieldByName("SourehID").IsNull());

    result.SetFiltered(false);
    EXPECT_EQ(result.RecordCount(), 4);
    EXPECT_EQ(result.FieldByName("AyehID").AsInteger(), 1);
    result.SetFiltered(true);
    EXPECT_EQ(result.RecordCount(), 0);
}

TEST_F(ResultSetTest, ChangingTheFilterWhileOnAppliesItAtOnce) {
    ResultSet result(*Quran, Statements::PageAyehs(7));
    result.SetFilter("AyehID > 2");
    result.SetFiltered(true);
    EXPECT_EQ(result.FieldByName("AyehID").AsInteger(), 3);
    result.SetFilter("AyehID = 2 or AyehID = 4");
    EXPECT_EQ(AyehIds(result), (std::vector<int>{2, 4}));
    result.SetFilter("");
    EXPECT_EQ(result.RecordCount(), 4);
}

struct FilterCase {
    const char* Name;
    const char* Expression;
    std::vector<int> Ayehs;
};

void PrintTo(const FilterCase& value, std::ostream* out) {
    *out << value.Name;
}

class FilterExpression : public ResultSetTest, public ::testing::WithParamInterface<FilterCase> {};

TEST_P(FilterExpression, SelectsTheRowsItDescribes) {
    ResultSet result(*Quran, Statements::PageAyehs(7));
    result.SetFilter(GetParam().Expression);
    result.SetFiltered(true);
    EXPECT_EQ(AyehIds(result), GetParam().Ayehs);
}

INSTANTIATE_TEST_SUITE_P(
    Expressions, FilterExpression,
    ::testing::Values(FilterCase{"Equal", "AyehID = 3", {3}}, FilterCase{"NotEqual", "AyehID<>3", {1, 2, 4}},
                      FilterCase{"Less", "AyehID<2", {1}}, FilterCase{"LessOrEqual", "AyehID <=2", {1, 2}},
                      FilterCase{"Greater", "AyehID>3", {4}},
                      FilterCase{"GreaterOrEqual", "AyehID>= 3", {3, 4}},
                      FilterCase{"NoBlanksAtAll", "StartAyeh<=250 and EndAyeh>=250", {3, 4}},
                      FilterCase{
                          "AndBindsTighterThanOr", "AyehID = 1 or AyehID = 4 and StartAyeh > 300", {1}},
                      FilterCase{"Parentheses", "(AyehID = 1 or AyehID = 4) and StartAyeh >= 250", {4}},
                      FilterCase{"NestedParentheses", " ( ( AyehID = 2 ) ) ", {2}},
                      FilterCase{"KeywordsAnyCase", "AyehID = 1 OR AyehID = 2 AnD SourehID = 2", {1, 2}},
                      FilterCase{"NegativeNumber", "StartAyeh > -1", {1, 2, 3, 4}},
                      FilterCase{"TextColumnNeverANumber", "FarsiTranslation = 1", {}},
                      FilterCase{"Empty", "   ", {1, 2, 3, 4}}),
    [](const auto& testCase) { return std::string(testCase.param.Name); });

class MalformedFilter : public ResultSetTest, public ::testing::WithParamInterface<const char*> {};

TEST_P(MalformedFilter, IsRejectedAndLeavesTheViewAlone) {
    ResultSet result(*Quran, Statements::PageAyehs(7));
    result.SetFilter("AyehID > 2");
    result.SetFiltered(true);
    EXPECT_THROW(result.SetFilter(GetParam()), ContentError);
    EXPECT_EQ(result.RecordCount(), 2);
    result.SetFiltered(false);
    result.SetFiltered(true);
    EXPECT_EQ(AyehIds(result), (std::vector<int>{3, 4}));
}

INSTANTIATE_TEST_SUITE_P(Expressions, MalformedFilter,
                         ::testing::Values("AyehID", "AyehID =", "AyehID == 3", "AyehID = x",
                                           "AyehID = 3 and", "(AyehID = 3", "AyehID = 3)", "Missing = 1",
                                           "3 = AyehID", "AyehID = 3 xor AyehID = 4", "AyehID = 3abc",
                                           "AyehID = 99999999999999999999", "AyehID ! 3"));

TEST_F(ResultSetTest, LocateFindsTheFirstMatchingRowOrStaysPut) {
    ResultSet lines(*Quran, Statements::PageLines(7));
    EXPECT_TRUE(lines.Locate("LineID", 3));
    EXPECT_EQ(lines.FieldByName("StartRow").AsInteger(), 120);
    EXPECT_FALSE(lines.Locate("LineID", 2));
    EXPECT_EQ(lines.FieldByName("LineID").AsInteger(), 3);
    EXPECT_TRUE(lines.Locate("lineid", 1));
    EXPECT_EQ(lines.FieldByName("EndRow").AsInteger(), 79);
    EXPECT_THROW(lines.Locate("Missing", 1), ContentError);
}

TEST_F(ResultSetTest, LocateSearchesTheFilteredView) {
    ResultSet result(*Quran, Statements::PageAyehs(7));
    result.SetFilter("AyehID >= 3");
    result.SetFiltered(true);
    EXPECT_FALSE(result.Locate("AyehID", 1));
    EXPECT_TRUE(result.Locate("AyehID", 4));
    EXPECT_EQ(result.FieldByName("StartAyeh").AsInteger(), 250);
}

namespace {

QByteArray FileHash(const QString& path) {
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return {};
    QCryptographicHash hash(QCryptographicHash::Sha256);
    hash.addData(&file);
    return hash.result();
}

} // namespace

TEST_F(ResultSetTest, AFullWorkoutLeavesBothFilesByteIdentical) {
    const QString soundPath = Dir.filePath(QStringLiteral("snd.wav"));
    {
        FixtureDatabase sounds(soundPath, SoundKey);
        CreateSoundTables(sounds);
        sounds.Insert("Sounds",
                      {{"SourehID", 0}, {"AyehID", 0}, {"GhariID", 3}, {"Sound", QByteArray("RIFF....")}});
    }
    Quran.reset();
    const QByteArray quranBefore = FileHash(Path);
    const QByteArray soundBefore = FileHash(soundPath);
    ASSERT_FALSE(quranBefore.isEmpty());
    {
        Connection quran(FixtureConnectionString(Path, QuranKey));
        Connection sound(FixtureConnectionString(soundPath, SoundKey));
        for (const std::string& statement :
             {Statements::SourehList(), Statements::Soureh(2), Statements::AyehList(2),
              Statements::Ayeh(2, 3), Statements::Page(7), Statements::FirstAyeh(7)}) {
            ResultSet result(quran, statement);
            int rows = 0;
            for (result.First(); !result.Eof(); result.Next())
                ++rows;
            EXPECT_EQ(rows, result.RecordCount());
        }
        auto ayehs = std::make_unique<ResultSet>(quran, Statements::PageAyehs(7));
        auto lines = std::make_unique<ResultSet>(quran, Statements::PageLines(7));
        for (int p = 0; p < 500; p += 7)
            HitAyeh(*ayehs, p);
        lines->Locate("LineID", 15);
        ResultSet bismillah(sound, Statements::Sound(0, 0, 3));
        EXPECT_EQ(bismillah.FieldByName("Sound").AsBytes(), QByteArray("RIFF...."));
    }
    EXPECT_EQ(FileHash(Path), quranBefore);
    EXPECT_EQ(FileHash(soundPath), soundBefore);
    EXPECT_FALSE(QFile::exists(Path + QStringLiteral("-journal")));
}
