// The fixed statement texts, their dialect translation and the page picture's blob framing.
#include "content/Database.h"
#include "tests/support/FixtureDatabase.h"

#include <gtest/gtest.h>

struct StatementCase {
    const char* Name;
    std::string Actual;
    std::string Expected;
};

void PrintTo(const StatementCase& value, std::ostream* out) {
    *out << value.Name;
}

class StatementText : public ::testing::TestWithParam<StatementCase> {};

TEST_P(StatementText, IsExactToTheBlank) {
    EXPECT_EQ(GetParam().Actual, GetParam().Expected);
}

INSTANTIATE_TEST_SUITE_P(
    Statements, StatementText,
    ::testing::Values(
        StatementCase{"SourehList", Statements::SourehList(),
                      " SELECT Soureh.SourehID, Soureh.SourehName  FROM Soureh  ORDER BY Soureh.SourehID "},
        StatementCase{
            "SourehTwoEndsAtTheParentheses", Statements::Soureh(2),
            " SELECT Soureh.SourehID, Soureh.SourehName, Soureh.Maki, Soureh.PageID, Soureh.NumberOfAyeh  "
            "FROM Soureh  WHERE (((Soureh.SourehID)= 2 ))"},
        StatementCase{
            "AyehList", Statements::AyehList(114),
            " SELECT  Ayeh.AyehID  FROM Ayeh  WHERE (((Ayeh.SourehID)= 114))  ORDER BY Ayeh.AyehID "},
        StatementCase{
            "Ayeh", Statements::Ayeh(2, 255),
            " SELECT Ayeh.SourehID, Ayeh.AyehID, Ayeh.PageID, Ayeh.StartLine, Ayeh.EndLine, Ayeh.StartCol, "
            "Ayeh.EndCol, Ayeh.FarsiTranslation  FROM Ayeh  WHERE (((Ayeh.SourehID)= 2 ) AND "
            "((Ayeh.AyehID)= 255 )); "},
        StatementCase{
            "PageEndsInABlank", Statements::Page(604),
            " SELECT Pages.PageID, Pages.PageBMP, Pages.Joze, Pages.Hezb, Pages.OtherComment  FROM Pages  "
            "WHERE (((Pages.PageID)= 604 )) "},
        StatementCase{
            "PageAyehsWithDoubledBlanks", Statements::PageAyehs(1),
            " SELECT Ayeh.SourehID, Ayeh.AyehID, Ayeh.FarsiTranslation,  Ayeh.StartAyeh,  Ayeh.EndAyeh,  "
            "Ayeh.StartLine, Ayeh.EndLine, Ayeh.StartCol, Ayeh.EndCol  FROM Ayeh  WHERE "
            "(((Ayeh.PageID)= 1 ))  ORDER BY Ayeh.SourehID, Ayeh.AyehID "},
        StatementCase{"PageLinesWithoutBlankBeforeTheNumber", Statements::PageLines(12),
                      " SELECT Lines.LineID, Lines.PageID, Lines.StartRow, Lines.EndRow  FROM Lines  WHERE "
                      "(((Lines.PageID)=12))  ORDER BY Lines.LineID "},
        StatementCase{"FirstAyehWithTop", Statements::FirstAyeh(3),
                      " SELECT top 1 Ayeh.SourehID, Ayeh.AyehID, Ayeh.PageID      FROM Ayeh  WHERE "
                      "(((Ayeh.PageID)= 3 ))  ORDER BY Ayeh.SourehID, Ayeh.AyehID; "},
        StatementCase{
            "BismillahOfReciterThree", Statements::Sound(0, 0, 3),
            " SELECT Sounds.SourehID, Sounds.AyehID, Sounds.GhariID, Sounds.Sound  FROM Sounds  WHERE "
            "(((Sounds.SourehID)= 0 ) AND ((Sounds.AyehID)= 0 ) AND ((Sounds.GhariID)= 3 )) "},
        StatementCase{
            "NegativeNumbersWithMinus", Statements::Sound(-1, 7, -20),
            " SELECT Sounds.SourehID, Sounds.AyehID, Sounds.GhariID, Sounds.Sound  FROM Sounds  WHERE "
            "(((Sounds.SourehID)= -1 ) AND ((Sounds.AyehID)= 7 ) AND ((Sounds.GhariID)= -20 )) "}),
    [](const auto& testCase) { return std::string(testCase.param.Name); });

struct TranslateCase {
    const char* Name;
    std::string Input;
    std::string Expected;
};

void PrintTo(const TranslateCase& value, std::ostream* out) {
    *out << value.Name;
}

class Translation : public ::testing::TestWithParam<TranslateCase> {};

TEST_P(Translation, MovesTheRowLimitToTheEnd) {
    EXPECT_EQ(TranslateStatement(GetParam().Input), GetParam().Expected);
}

INSTANTIATE_TEST_SUITE_P(
    Statements, Translation,
    ::testing::Values(
        TranslateCase{
            "FirstAyehBeforeTheSemicolon", Statements::FirstAyeh(3),
            " SELECT Ayeh.SourehID, Ayeh.AyehID, Ayeh.PageID      FROM Ayeh  WHERE (((Ayeh.PageID)= 3 ))  "
            "ORDER BY Ayeh.SourehID, Ayeh.AyehID LIMIT 1; "},
        TranslateCase{"WithoutSemicolon", "SELECT TOP 5 a FROM t ORDER BY a ",
                      "SELECT a FROM t ORDER BY a LIMIT 5 "},
        TranslateCase{"Distinct", "select distinct top 2 a from t;", "select distinct a from t LIMIT 2;"},
        TranslateCase{"NoTopUnchanged", Statements::Soureh(2), Statements::Soureh(2)},
        TranslateCase{"ColumnNamedTopUnchanged", "SELECT topic FROM t", "SELECT topic FROM t"},
        TranslateCase{"TopWithoutNumberUnchanged", "SELECT top x FROM t", "SELECT top x FROM t"}),
    [](const auto& testCase) { return std::string(testCase.param.Name); });

TEST(BitmapFileInBlob, SkipsAnExactHeader) {
    const QByteArray bitmap = MakeBitmap8(5, 3);
    EXPECT_EQ(BitmapFileInBlob(WithBlobHeader(bitmap)), bitmap);
}

TEST(BitmapFileInBlob, KeepsTheWholeBlobWhenTheHeaderDoesNotFit) {
    const QByteArray bitmap = MakeBitmap8(5, 3);
    QByteArray wrongSize = WithBlobHeader(bitmap);
    wrongSize[4] = char(wrongSize[4] + 1);
    EXPECT_EQ(BitmapFileInBlob(wrongSize), wrongSize);

    QByteArray wrongCount = WithBlobHeader(bitmap);
    wrongCount[0] = 2;
    EXPECT_EQ(BitmapFileInBlob(wrongCount), wrongCount);

    QByteArray wrongType = WithBlobHeader(bitmap);
    wrongType[3] = 0;
    EXPECT_EQ(BitmapFileInBlob(wrongType), wrongType);

    EXPECT_EQ(BitmapFileInBlob(bitmap), bitmap);
}

TEST(BitmapFileInBlob, ShortBlobsAreTakenWhole) {
    // A header alone (size 0) is a valid frame around nothing; seven bytes are too short for one.
    const QByteArray headerOnly = WithBlobHeader(QByteArray());
    EXPECT_EQ(BitmapFileInBlob(headerOnly), QByteArray());
    EXPECT_EQ(BitmapFileInBlob(headerOnly.left(7)), headerOnly.left(7));
    EXPECT_EQ(BitmapFileInBlob(QByteArray()), QByteArray());
}
