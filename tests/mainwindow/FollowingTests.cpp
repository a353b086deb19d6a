// The recording that follows, queued while the one before plays, as the window's controls
// change it: dropped unheard when the selection, the repeat box, the reciter or the pause
// button changed it in time, the hand-over paused by the button, and the cache emptied at
// close. Adoption, the cache's two files and a practice's pause are the reading
// controller's, tested in tests/reading.
#include "audio/AudioPlayer.h"
#include "model/Utility.h"
#include "tests/mainwindow/ReaderContent.h"

#include <QDir>
#include <QFileInfo>
#include <QTimer>
#include <functional>
#include <gtest/gtest.h>
#include <ostream>
#include <string>

namespace {

QString Rec(int ghari, int soureh, int ayeh) {
    return TQuran::SoundFileName(ghari, soureh, ayeh);
}
const QString Bismillah1 = QStringLiteral("1-0-0.wav");

class FollowingTest : public OpenReaderTest {
protected:
    QString Queued() const { return QFileInfo(Player->QueuedFile()).fileName(); }
};

// 2:2 recites once, 2:3 queued behind it; then a change while 2:2 still sounds.
struct ChangeCase {
    const char* Name;
    std::function<void(FollowingTest&)> Change;
    QString Next; // what is heard after 2:2
};

void PrintTo(const ChangeCase& c, std::ostream* out) {
    *out << c.Name;
}

class FollowingChangeTest : public FollowingTest, public ::testing::WithParamInterface<ChangeCase> {};

TEST_P(FollowingChangeTest, DropsTheQueuedRecordingUnheardAndQueuesWhatNowFollows) {
    Recite(2, 2, 1);
    ASSERT_EQ(Queued(), Rec(1, 2, 3));
    GetParam().Change(*this);
    Settle();
    EXPECT_EQ(Queued(), GetParam().Next);
    EndRecording();
    ASSERT_EQ(Player->Plays.size(), 2);
    EXPECT_EQ(QFileInfo(Player->Plays.back()).fileName(), GetParam().Next);
    EXPECT_EQ(Loaded(), GetParam().Next);
}

INSTANTIATE_TEST_SUITE_P(
    Changes, FollowingChangeTest,
    ::testing::Values(
        ChangeCase{"AnotherAyehChosen", [](FollowingTest& fixture) { fixture.ChooseAyeh(4); }, Rec(1, 2, 5)},
        ChangeCase{"RepeatBoxRaised", [](FollowingTest& fixture) { fixture.SetCount(2); }, Rec(1, 2, 2)},
        ChangeCase{"AnotherReciter", [](FollowingTest& fixture) { fixture.ChooseReciter(2); }, Rec(2, 2, 3)},
        ChangeCase{
            "AJumpToAPageThatBeginsASoureh",
            [](FollowingTest& fixture) { fixture.GoToPage(QString::number(ReaderContent::PageOf(47, 1))); },
            Bismillah1}),
    [](const ::testing::TestParamInfo<ChangeCase>& testCase) { return std::string(testCase.param.Name); });

TEST_F(FollowingTest, APauseDropsTheQueuedRecordingAndContinueQueuesItAgain) {
    Recite(2, 2, 1);
    Form->TntSpeedButton1->click();
    EXPECT_EQ(Queued(), QString());
    Player->Advance(ReaderContent::LongRecordingMs);
    Settle();
    EXPECT_EQ(Player->Plays.size(), 1);
    Form->TntSpeedButton1->click();
    EXPECT_EQ(Queued(), Rec(1, 2, 3));
}

TEST_F(FollowingTest, ClosingTheWindowDropsTheQueuedRecordingAndEmptiesTheCache) {
    Recite(2, 2, 1);
    const QString cache = GlobalQuran->Sounds->Folder;
    Form->close();
    EXPECT_EQ(Player->QueuedFile(), QString());
    EXPECT_TRUE(QDir(cache).entryList(QDir::Files | QDir::Hidden).isEmpty());
}

// The Bismillah has just ended and 3:1, queued behind it, sounds, while the notice of the
// Bismillah's end waits: a pause then pauses 3:1 where it is heard, and continue resumes it.
class HandOverPauseTest : public FollowingTest, public ::testing::WithParamInterface<bool> {};

TEST_P(HandOverPauseTest, PausesWhatIsHeardAndContinueResumesIt) {
    const bool whileTheNoticeIsHandled = GetParam();
    Recite(ReaderContent::LongSoureh, 1, 1);
    ASSERT_EQ(Queued(), Rec(1, 3, 1));
    Player->EndNow();
    Player->Advance(40);
    if (whileTheNoticeIsHandled) {
        // Inside the handler's recitation, which runs pending events before it goes on.
        QTimer::singleShot(0, Form.get(), [this] { Form->TntSpeedButton1->click(); });
    } else {
        Form->TntSpeedButton1->click();
    }
    Settle();
    EXPECT_EQ(Mode(), pmPaused);
    EXPECT_EQ(Form->TntSpeedButton1->text(), QStringLiteral(u"ادامه"));
    Player->Advance(500);
    Settle();
    EXPECT_EQ(Mode(), pmPaused) << "nothing goes on while paused";

    Form->TntSpeedButton1->click();
    Settle();
    EXPECT_EQ(Mode(), pmPlaying);
    EXPECT_EQ(Loaded(), Rec(1, 3, 1));
    EXPECT_EQ(Player->Position(), 40) << "on from where it was paused";
    EXPECT_EQ(Player->Plays.size(), 2) << "begun once, never again";
    EndRecording();
    EXPECT_EQ(Loaded(), Rec(1, 3, 2)) << "the chain goes on";
}

INSTANTIATE_TEST_SUITE_P(, HandOverPauseTest, ::testing::Bool(),
                         [](const ::testing::TestParamInfo<bool>& param) {
                             return std::string(param.param ? "WhileTheNoticeIsHandled"
                                                            : "BeforeTheNoticeIsHandled");
                         });

} // namespace
