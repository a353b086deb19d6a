#include "tests/model/ModelTestSupport.h"

#include <QDir>
#include <QFile>
#include <QStandardPaths>
#include <map>
#include <utility>

namespace {

class ModelBookTest : public ModelTest {
protected:
    void SetUp() override { OpenBook(); }
};

TEST_F(ModelBookTest, NewBookShowsAyehOneOfSourehOne) {
    EXPECT_EQ(Book->GhariID, 0);
    EXPECT_TRUE(Book->Sounds->LoadedFile().isEmpty());
    ASSERT_NE(Book->Soureh, nullptr);
    EXPECT_EQ(Book->Soureh->SourehID, 1);
    EXPECT_EQ(Book->Soureh->SourehName, QStringLiteral("الفاتحة"));
    EXPECT_TRUE(Book->Soureh->Maki);
    EXPECT_EQ(Book->Soureh->NumberOfAyeh, 7);
    ASSERT_NE(Book->Soureh->Ayeh, nullptr);
    EXPECT_EQ(Book->Soureh->Ayeh->AyehID, 1);
    EXPECT_EQ(Book->Soureh->Ayeh->FarsiTranslation, FixtureBook::FindAyeh(1, 1).Translation());
    ASSERT_NE(Book->Page, nullptr);
    EXPECT_EQ(Book->Page->PageID, 1);
    EXPECT_EQ(PageNo.Value, QStringLiteral("1"));
    EXPECT_EQ(Image.Canvas.pixel(300, 20), qRgb(0, 0, 0)); // ink of ayeh 1
}

TEST_F(ModelBookTest, SourehListNamesEverySourehInNumberOrder) {
    const auto list = Book->GetSourehList();
    ASSERT_TRUE(list.has_value());
    EXPECT_EQ(*list, (QStringList{QStringLiteral("1- الفاتحة"), QStringLiteral("2- البقرة"),
                                  QStringLiteral("9- التوبة"), QStringLiteral("114- الناس")}));
}

TEST_F(ModelBookTest, EmptyTablesGiveNoListRatherThanAnEmptyOne) {
    EXPECT_FALSE(Book->SelectSoureh(50)->GetAyehList().has_value());
    Book.reset();
    OpenBook([](FixtureDatabase& quran, FixtureDatabase&) { quran.Exec("DELETE FROM Soureh"); });
    EXPECT_FALSE(Book->GetSourehList().has_value());
}

TEST_F(ModelBookTest, AyehListHoldsTheNumbersInAscendingOrder) {
    const auto list = Book->Soureh->GetAyehList();
    ASSERT_TRUE(list.has_value());
    EXPECT_EQ(*list, (QStringList{"1", "2", "3", "4", "5", "6", "7"}));
}

TEST_F(ModelBookTest, PageOfTheCurrentNumberIsNotShownAgain) {
    const int draws = Image.Draws;
    PageNo.Value.clear();
    Book->GoToPage(1);
    EXPECT_EQ(Image.Draws, draws);
    EXPECT_TRUE(PageNo.Value.isEmpty());

    Book->GoToPage(3);
    EXPECT_EQ(Image.Draws, draws + 1);
    EXPECT_EQ(Book->Page->PageID, 3);
    EXPECT_EQ(PageNo.Value, QStringLiteral("3"));
}

TEST_F(ModelBookTest, ReselectingTheCurrentSourehKeepsItsRecordButTurnsToAyehOnesPage) {
    TSoureh* soureh = Book->SelectSoureh(2);
    TAyeh* fourth = soureh->SelectAyeh(4);
    fourth->BismillahPlayed = true;
    fourth->RecitationStarted = true;
    ASSERT_EQ(Book->Page->PageID, 3);

    EXPECT_EQ(Book->SelectSoureh(2), soureh);
    EXPECT_EQ(soureh->Ayeh.get(), fourth);
    EXPECT_TRUE(fourth->BismillahPlayed);
    EXPECT_TRUE(fourth->RecitationStarted);
    EXPECT_EQ(Book->Page->PageID, 2);
}

TEST_F(ModelBookTest, ReselectingTheCurrentAyehKeepsTheObjectAndItsFlags) {
    TAyeh* ayeh = Book->Soureh->SelectAyeh(3);
    ayeh->BismillahPlayed = true;
    EXPECT_EQ(Book->Soureh->SelectAyeh(3), ayeh);
    EXPECT_TRUE(ayeh->BismillahPlayed);
    TAyeh* other = Book->Soureh->SelectAyeh(4);
    EXPECT_NE(other, nullptr);
    EXPECT_FALSE(other->BismillahPlayed);
    EXPECT_EQ(Book->Soureh->SelectAyeh(3)->BismillahPlayed, false);
}

TEST_F(ModelBookTest, SourehOrAyehWithoutARowHasDefaultsAndKeepsThePage) {
    Book->GoToPage(3);
    TSoureh* missing = Book->SelectSoureh(50);
    EXPECT_EQ(missing->SourehID, 50);
    EXPECT_EQ(missing->Ayeh, nullptr);
    EXPECT_EQ(missing->NumberOfAyeh, 0);
    EXPECT_TRUE(missing->SourehName.isEmpty());
    EXPECT_EQ(Book->Page->PageID, 3);

    TAyeh* ayeh = Book->SelectSoureh(1)->SelectAyeh(99);
    EXPECT_EQ(ayeh->AyehID, 0);
    EXPECT_EQ(ayeh->StartLine, 0);
    EXPECT_TRUE(ayeh->FarsiTranslation.isEmpty());
    EXPECT_EQ(Book->Page->PageID, 1);
}

TEST_F(ModelBookTest, SelectingAnAyehTurnsToItsPage) {
    Book->SelectSoureh(2)->SelectAyeh(5);
    EXPECT_EQ(Book->Page->PageID, 3);
    EXPECT_EQ(PageNo.Value, QStringLiteral("3"));
}

TEST_F(ModelBookTest, ReciterNamesComeFromTheOptionalTableByReciterNumber) {
    using Names = std::map<int, QString>;
    EXPECT_EQ(Book->GetReciterNames(),
              (Names{{1, QStringLiteral("قاری یک")}, {2, QStringLiteral("قاری دو")}}));
    const std::pair<const char*, Names> tables[] = {
        {"DELETE FROM Reciters WHERE GhariID <> 2", Names{{2, QStringLiteral("قاری دو")}}},
        {"DROP TABLE Reciters", Names{}},
        {"DROP TABLE Reciters; CREATE TABLE Reciters (GhariID INTEGER PRIMARY KEY, Title TEXT);"
         "INSERT INTO Reciters VALUES (1, 'x')",
         Names{}},
        {"DROP TABLE Reciters; CREATE TABLE Reciters (GhariID, Name);"
         "INSERT INTO Reciters VALUES (1, 'x'), (NULL, 'y')",
         Names{}},
    };
    for (const auto& [change, names] : tables) {
        SCOPED_TRACE(change);
        Book.reset();
        OpenBook([change = change](FixtureDatabase&, FixtureDatabase& sound) { sound.Exec(change); });
        EXPECT_EQ(Book->GetReciterNames(), names);
    }
}

struct MissingCase {
    const char* Name;
    const char* Removed;
};

TEST_F(ModelBookTest, ConstructionFailsOnAMissingDatabaseAndLeavesNothingBehind) {
    Book.reset();
    const QString defaultCache =
        QStandardPaths::writableLocation(QStandardPaths::CacheLocation) + QStringLiteral("/sounds");
    const MissingCase cases[] = {{"no quran.dat", "quran.dat"}, {"no snd.wav", "snd.wav"}};
    for (const MissingCase& c : cases) {
        SCOPED_TRACE(c.Name);
        FakeAudioPlayer player;
        FakePageNoEdit pageNo;
        ASSERT_TRUE(QFile::remove(Dir.filePath(c.Removed)));
        EXPECT_THROW((TQuran{&pageNo, &Scroll, &Image, &player}), ContentError);
        EXPECT_FALSE(player.Enabled());
        EXPECT_FALSE(QFileInfo::exists(defaultCache));
        EXPECT_FALSE(QFileInfo::exists(Dir.filePath(c.Removed)));
        FixtureBook::Create(Dir.path());
    }
}

TEST_F(ModelBookTest, DestroyedBookDisablesThePlayer) {
    Book.reset();
    EXPECT_FALSE(Player.Enabled());
}

} // namespace
