#include "tests/model/ModelTestSupport.h"

#include <QBuffer>
#include <QCoreApplication>
#include <QDateTime>
#include <QFileInfo>
#include <QSignalSpy>
#include <set>
#include <utility>

namespace {

// Soureh 20 lies on page 20, which is black all over, so a highlight paints exactly the
// pixels of its column ranges and bands. Page 21 is a 24-bit picture with pixels around
// the darkness threshold; page 22 stores a line band running past the picture.
struct Geometry {
    int Ayeh;
    int StartLine;
    int EndLine;
    int StartCol;
    int EndCol;
};

const Geometry GeometryAyehs[] = {
    {1, 5, 5, 300, 120}, {2, 5, 5, 120, 300}, {3, 2, 4, 200, 100}, {4, 1, 1, 461, 0}, {5, 0, 0, 0, 0},
    {6, 6, 6, 600, -50}, {7, 14, 16, 300, 0}, {8, 3, 4, 461, 0},   {9, 8, 9, 461, 0}, {10, 1, 2, 461, 0},
    {11, 5, 7, 461, 0},  {12, 3, 5, 461, 0},  {13, 1, 8, 461, 0},
};

QByteArray ThresholdPicture() {
    QImage image(FixtureBook::PageWidth, FixtureBook::PageHeight, QImage::Format_RGB32);
    image.fill(Qt::white);
    image.setPixel(10, 10, qRgb(129, 129, 129));
    image.setPixel(20, 10, qRgb(130, 129, 129));
    image.setPixel(30, 10, qRgb(129, 130, 129));
    image.setPixel(40, 10, qRgb(129, 129, 130));
    image.setPixel(50, 10, qRgb(0, 0, 0));
    image.setPixel(60, 10, qRgb(130, 130, 130));
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    image.save(&buffer, "BMP");
    return bytes;
}

void AddGeometry(FixtureDatabase& quran, FixtureDatabase&) {
    quran.Insert("Pages", {{"PageID", 20},
                           {"PageBMP", MakeBitmap8(FixtureBook::PageWidth, FixtureBook::PageHeight, 0)}});
    quran.Insert("Pages", {{"PageID", 21}, {"PageBMP", ThresholdPicture()}});
    quran.Insert("Pages", {{"PageID", 22},
                           {"PageBMP", MakeBitmap8(FixtureBook::PageWidth, FixtureBook::PageHeight, 0)}});
    quran.Insert("Lines", {{"LineID", 1}, {"PageID", 22}, {"StartRow", -20}, {"EndRow", 900}});
    const auto soureh = [&](int id, int page, int count) {
        quran.Insert("Soureh", {{"SourehID", id},
                                {"SourehName", QStringLiteral("s")},
                                {"Maki", false},
                                {"PageID", page},
                                {"NumberOfAyeh", count}});
    };
    const auto ayeh = [&](int sourehId, int page, const Geometry& g) {
        quran.Insert("Ayeh", {{"SourehID", sourehId},
                              {"AyehID", g.Ayeh},
                              {"PageID", page},
                              {"StartLine", g.StartLine},
                              {"EndLine", g.EndLine},
                              {"StartCol", g.StartCol},
                              {"EndCol", g.EndCol},
                              {"StartAyeh", 0},
                              {"EndAyeh", 0},
                              {"FarsiTranslation", QStringLiteral("t")}});
    };
    soureh(20, 20, int(std::size(GeometryAyehs)));
    for (const Geometry& g : GeometryAyehs)
        ayeh(20, 20, g);
    soureh(21, 21, 1);
    ayeh(21, 21, {1, 1, 1, 461, 0});
    soureh(22, 22, 1);
    ayeh(22, 22, {1, 1, 1, 20, 10});
}

class ModelAyehTest : public ModelTest {
protected:
    void SetUp() override {
        OpenBook(AddGeometry);
        Book->GhariID = 1;
    }
    TAyeh* Select(int soureh, int ayeh) { return Book->SelectSoureh(soureh)->SelectAyeh(ayeh); }
};

struct Area {
    int X0, Y0, X1, Y1; // both ends included
};

struct HighlightCase {
    const char* Name;
    int Soureh;
    int Ayeh;
    std::vector<Area> Red;
};

TEST_F(ModelAyehTest, HighlightPaintsTheColumnRangesOfEachLineBand) {
    const HighlightCase cases[] = {
        {"one line", 20, 1, {{120, 184, 300, 230}}},
        {"end left of start", 20, 2, {}},
        {"three lines", 20, 3, {{0, 46, 200, 92}, {0, 92, 461, 138}, {100, 138, 461, 184}}},
        {"line 1 includes row 46", 20, 4, {{0, 0, 461, 46}}},
        {"no row: lines 0", 20, 5, {}},
        {"columns past both edges", 20, 6, {{0, 230, 461, 276}}},
        {"line past 15", 20, 7, {{0, 598, 300, 644}, {0, 644, 461, 689}}},
        {"band past the picture", 22, 1, {{10, 0, 20, 689}}},
    };
    for (const HighlightCase& c : cases) {
        SCOPED_TRACE(c.Name);
        TAyeh* ayeh = Select(c.Soureh, c.Ayeh);
        Image.Canvas.fill(FakePageImage::Untouched);
        ASSERT_NO_THROW(ayeh->Highlight());
        std::set<std::pair<int, int>> expected;
        for (const Area& a : c.Red)
            for (int y = a.Y0; y <= a.Y1; ++y)
                for (int x = a.X0; x <= a.X1; ++x)
                    expected.insert({x, y});
        int wrong = 0;
        for (int y = 0; y < FixtureBook::PageHeight; ++y)
            for (int x = 0; x < FixtureBook::PageWidth; ++x)
                wrong += Image.IsRed(x, y) != (expected.count({x, y}) == 1) ? 1 : 0;
        EXPECT_EQ(wrong, 0);
        EXPECT_EQ(Image.RedCount(), int(expected.size()));
    }
}

TEST_F(ModelAyehTest, OnlyPixelsDarkerThan130InEveryChannelTurnRed) {
    Select(21, 1)->Highlight();
    EXPECT_TRUE(Image.IsRed(10, 10));  // 129, 129, 129
    EXPECT_FALSE(Image.IsRed(20, 10)); // red 130
    EXPECT_FALSE(Image.IsRed(30, 10)); // green 130
    EXPECT_FALSE(Image.IsRed(40, 10)); // blue 130
    EXPECT_TRUE(Image.IsRed(50, 10));
    EXPECT_FALSE(Image.IsRed(60, 10));
    EXPECT_EQ(Image.RedCount(), 2);
}

TEST_F(ModelAyehTest, HighlightsAccumulateUntilReciteRepaintsThePage) {
    const FixtureAyeh& first = FixtureBook::FindAyeh(1, 1);
    const FixtureAyeh& second = FixtureBook::FindAyeh(1, 2);
    const QPoint inFirst(first.EndCol + 20, 20), inSecond(second.EndCol + 20, 20);
    Select(1, 1)->Highlight();
    TAyeh* ayeh = Book->Soureh->SelectAyeh(2);
    ayeh->Highlight();
    EXPECT_TRUE(Image.IsRed(inFirst.x(), inFirst.y()));
    EXPECT_TRUE(Image.IsRed(inSecond.x(), inSecond.y()));

    ayeh->Recite(0);
    EXPECT_FALSE(Image.IsRed(inFirst.x(), inFirst.y()));
    EXPECT_TRUE(Image.IsRed(inSecond.x(), inSecond.y()));
}

struct ScrollCase {
    const char* Name;
    int ClientHeight;
    int Position;
    int Ayeh;
    int Expected;
};

TEST_F(ModelAyehTest, ScrollIntoViewSnapsThenMakesItsFourTests) {
    const ScrollCase cases[] = {
        {"inside the view: snap only", 274, 100, 8, 92},
        {"inside the view, already snapped", 274, 92, 8, 92},
        {"below the view", 274, 0, 9, 140},
        {"above the view", 274, 184, 10, 0},
        {"past the bottom", 274, 0, 11, 48},
        {"above the top", 274, 184, 12, 92},
        {"taller than the view", 100, 92, 13, 0},
    };
    for (const ScrollCase& c : cases) {
        SCOPED_TRACE(c.Name);
        TAyeh* ayeh = Select(20, c.Ayeh);
        Scroll.Height = c.ClientHeight;
        Scroll.Position = c.Position;
        ayeh->ScrollIntoView();
        EXPECT_EQ(Scroll.Position, c.Expected);
    }
}

struct BismillahCase {
    int Soureh;
    bool Bismillah;
};

TEST_F(ModelAyehTest, BismillahComesFirstForAyehOneOfSourehsOtherThanOneAndNine) {
    const BismillahCase cases[] = {{1, false}, {9, false}, {2, true}, {114, true}};
    for (const BismillahCase& c : cases) {
        SCOPED_TRACE(c.Soureh);
        TAyeh* ayeh = Select(c.Soureh, 1);
        const QString ayehFile = CachePath(TQuran::SoundFileName(1, c.Soureh, 1));
        ayeh->Recite(1);
        EXPECT_EQ(ayeh->BismillahPlayed, c.Bismillah);
        EXPECT_EQ(ayeh->RecitationStarted, !c.Bismillah);
        EXPECT_EQ(Player.FileName(), c.Bismillah ? CachePath("1-0-0.wav") : ayehFile);
        if (!c.Bismillah)
            continue;
        ayeh->Recite(1); // the Bismillah has ended: now the ayeh itself
        EXPECT_TRUE(ayeh->RecitationStarted);
        EXPECT_EQ(Player.FileName(), ayehFile);
        ayeh->Recite(1); // not again for the same object
        EXPECT_EQ(Player.FileName(), ayehFile);
    }
}

TEST_F(ModelAyehTest, BismillahIsDueAgainForAFreshAyehObject) {
    Select(2, 1)->Recite(1);
    Book->Soureh->Ayeh->Recite(1);
    Book->Soureh->SelectAyeh(2);
    Book->Soureh->SelectAyeh(1)->Recite(1);
    EXPECT_EQ(Player.FileName(), CachePath("1-0-0.wav"));
}

TEST_F(ModelAyehTest, ReciteZeroOpensTheFileWithoutPlaying) {
    TAyeh* ayeh = Select(1, 3);
    ayeh->Recite(0);
    EXPECT_TRUE(ayeh->RecitationStarted);
    EXPECT_EQ(Player.FileName(), CachePath("1-1-3.wav"));
    EXPECT_NE(Player.Mode(), pmNotReady);
    EXPECT_NE(Player.Mode(), pmPlaying);
}

TEST_F(ModelAyehTest, RecitePlaysCountTimesAsOnePlayWhoseEndTheBookAwaits) {
    QSignalSpy notices(&Player, &AudioPlayer::OnNotify);
    Select(1, 4)->Recite(3);
    EXPECT_EQ(Player.Plays, QStringList{CachePath("1-1-4.wav")});
    EXPECT_EQ(Book->AwaitedPlay, Player.CurrentPlay());
    Player.EndNow();
    QCoreApplication::processEvents();
    int ofThePlay = 0;
    for (const QList<QVariant>& notice : notices)
        ofThePlay += notice.at(1).toLongLong() == Book->AwaitedPlay ? 1 : 0;
    EXPECT_EQ(ofThePlay, 3);
}

TEST_F(ModelAyehTest, ReciteWithoutRecordingClosesThePlayerQuietly) {
    Book->GhariID = 2; // no recordings of soureh 114
    TAyeh* ayeh = Select(114, 2);
    ayeh->Recite(1);
    EXPECT_FALSE(ayeh->RecitationStarted);
    EXPECT_EQ(Player.Mode(), pmNotReady);
    EXPECT_EQ(Errors.Shown, 0);
    EXPECT_EQ(Book->Sounds->LoadedFile(), CachePath("2-114-2.wav"));
}

TEST_F(ModelAyehTest, RecitingTheLoadedRecordingAgainExtractsNothing) {
    TAyeh* ayeh = Select(1, 5);
    ayeh->Recite(0);
    const QString path = CachePath("1-1-5.wav");
    ASSERT_EQ(Book->Sounds->LoadedFile(), path);
    const QDateTime written = QFileInfo(path).lastModified();
    QFile::setPermissions(path, QFile::ReadOwner); // a rewrite would have to replace it
    Player.Close();
    ayeh->Recite(0);
    EXPECT_EQ(QFileInfo(path).lastModified(), written);
    EXPECT_EQ(QFileInfo(path).permissions() & QFile::WriteOwner, 0);
    EXPECT_NE(Player.Mode(), pmNotReady);
}

} // namespace
