#include "tests/model/ModelTestSupport.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <functional>

// Handlers that run while the model lets pending events through: they close the window (the
// book goes) or select another soureh or ayeh (the record being recited goes).

namespace {

void Post(std::function<void()> handler) {
    QMetaObject::invokeMethod(QCoreApplication::instance(), std::move(handler), Qt::QueuedConnection);
}

class ModelReentrancyTest : public ModelTest {
protected:
    void SetUp() override {
        OpenBook();
        Book->GhariID = 1;
    }
    TAyeh* Select(int soureh, int ayeh) { return Book->SelectSoureh(soureh)->SelectAyeh(ayeh); }
    bool CacheIsEmpty() const { return QDir(CacheFolder()).isEmpty(); }
};

TEST_F(ModelReentrancyTest, WindowClosedWhileReciteRunsEvents) {
    TAyeh* ayeh = Select(1, 3);
    Post([this] { Book.reset(); });
    ayeh->Recite(1);
    EXPECT_EQ(Book, nullptr);
    EXPECT_FALSE(Player.Enabled());
    EXPECT_TRUE(Player.FileName().isEmpty());
    EXPECT_TRUE(CacheIsEmpty());
}

TEST_F(ModelReentrancyTest, AnotherSourehSelectedWhileReciteRunsEvents) {
    TAyeh* ayeh = Select(1, 3);
    Post([this] { Book->SelectSoureh(114); });
    ayeh->Recite(1);
    EXPECT_EQ(Book->Soureh->SourehID, 114);
    EXPECT_FALSE(Book->Soureh->Ayeh->RecitationStarted);
    EXPECT_TRUE(Player.FileName().isEmpty());
    EXPECT_TRUE(Book->Sounds->LoadedFile().isEmpty());
}

TEST_F(ModelReentrancyTest, SameAyehReselectedWhileReciteRunsEventsStillPlays) {
    TAyeh* ayeh = Select(1, 3);
    Post([this] { Book->Soureh->SelectAyeh(3); });
    ayeh->Recite(0);
    EXPECT_EQ(Book->Soureh->Ayeh.get(), ayeh);
    EXPECT_TRUE(ayeh->RecitationStarted);
    EXPECT_EQ(Player.FileName(), CachePath("1-1-3.wav"));
}

TEST_F(ModelReentrancyTest, WindowClosedWhileBismillahIsExtracted) {
    Post([this] { Book.reset(); });
    Book->PlayBismillah();
    EXPECT_EQ(Book, nullptr);
    EXPECT_TRUE(CacheIsEmpty());
}

TEST_F(ModelReentrancyTest, WindowClosedInTheSecondPumpOfABismillahRecitation) {
    TAyeh* ayeh = Select(2, 1);
    bool closedAfterBismillahRule = false;
    // Posted from the first pump, so it runs in the one before the Bismillah is written.
    Post([this, &closedAfterBismillahRule] {
        Post([this, &closedAfterBismillahRule] {
            closedAfterBismillahRule = Book && Book->Soureh->Ayeh->BismillahPlayed;
            Book.reset();
        });
    });
    ayeh->Recite(1);
    QCoreApplication::processEvents();
    EXPECT_TRUE(closedAfterBismillahRule);
    EXPECT_EQ(Book, nullptr);
    EXPECT_TRUE(CacheIsEmpty());
}

// What runs while the Bismillah before 2:1 is being extracted: the Bismillah of an ayeh that is
// no longer current, or whose recitation another has replaced, must not play.
struct BismillahCase {
    const char* Name;
    std::function<void(TQuran&)> Handler;
    QStringList Plays; // cache file names of the plays begun, in order
};

TEST_F(ModelReentrancyTest, ChoiceMadeWhileTheBismillahIsExtractedWins) {
    const BismillahCase cases[] = {
        {"another ayeh recited", [](TQuran& book) { book.Soureh->SelectAyeh(3)->Recite(1); }, {"1-2-3.wav"}},
        {"the same ayeh recited", [](TQuran& book) { book.Soureh->Ayeh->Recite(1); }, {"1-2-1.wav"}},
        {"another soureh chosen", [](TQuran& book) { book.SelectSoureh(114); }, {}},
    };
    for (const BismillahCase& c : cases) {
        SCOPED_TRACE(c.Name);
        Book->SelectSoureh(1);
        Player.Plays.clear();
        TAyeh* ayeh = Select(2, 1);
        // Posted from Recite's own events, so that it runs in the ones of the extraction.
        Post([&] { Post([&] { c.Handler(*Book); }); });
        ayeh->Recite(1);
        QStringList plays;
        for (const QString& path : Player.Plays)
            plays << QFileInfo(path).fileName();
        EXPECT_EQ(plays, c.Plays);
        if (!c.Plays.isEmpty()) {
            // The recording played is the one loaded, and its file is still there.
            EXPECT_EQ(Book->Sounds->LoadedFile(), CachePath(c.Plays.back()));
            EXPECT_TRUE(QFileInfo::exists(Book->Sounds->LoadedFile()));
            EXPECT_EQ(Book->AwaitedPlay, Player.CurrentPlay());
        }
    }
}

TEST_F(ModelReentrancyTest, WindowClosedWhileTheErrorBoxIsOpen) {
    QFile blocker(CacheFolder());
    ASSERT_TRUE(blocker.open(QIODevice::WriteOnly)); // a file where the cache folder belongs
    blocker.close();
    Errors.WhileShown = [this] { Book.reset(); };
    Select(1, 2)->Recite(1);
    EXPECT_EQ(Errors.Shown, 1);
    EXPECT_EQ(Book, nullptr);
    EXPECT_TRUE(Player.FileName().isEmpty());
}

TEST_F(ModelReentrancyTest, AnotherAyehSelectedWhileTheErrorBoxIsOpen) {
    QFile blocker(CacheFolder());
    ASSERT_TRUE(blocker.open(QIODevice::WriteOnly));
    blocker.close();
    Errors.WhileShown = [this] { Book->Soureh->SelectAyeh(6); };
    Select(1, 2)->Recite(1);
    EXPECT_EQ(Errors.Shown, 1);
    EXPECT_EQ(Book->Soureh->Ayeh->AyehID, 6);
    EXPECT_FALSE(Book->Soureh->Ayeh->RecitationStarted);
    EXPECT_TRUE(Player.FileName().isEmpty());
}

} // namespace
