// The recording that follows, queued while the one before plays: adopted where it already
// sounds when nothing changed, dropped unheard when the selection, the repeat box, the
// reciter or the pause button changed it in time; the sound cache holds at most the two; and
// a practice's pause is silence of exactly its length.
#include "audio/AudioPlayer.h"
#include "model/Utility.h"
#include "tests/mainwindow/ReaderContent.h"

#include <QDir>
#include <QFileInfo>
#include <QSet>
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
    // The files of the sound cache.
    QStringList Cached() const {
        return QDir(GlobalQuran->Sounds->Folder).entryList(QDir::Files | QDir::Hidden, QDir::Name);
    }
};

TEST_F(FollowingTest, TheQueuedRecordingIsAdoptedWhereItSoundsWhenNothingChanged) {
    Recite(ReaderContent::LongSoureh, 1, 1);
    ASSERT_EQ(Loaded(), Bismillah1);
    EXPECT_EQ(Queued(), Rec(1, 3, 1));
    Player->EndNow();
    // The ayeh sounds on while its notice waits.
    Player->Advance(40);
    Settle();
    EXPECT_EQ(Loaded(), Rec(1, 3, 1));
    EXPECT_EQ(Mode(), pmPlaying);
    EXPECT_EQ(Player->Position(), 40);
    EXPECT_EQ(Player->Plays, (QStringList{Player->Plays.front(), GlobalQuran->Sounds->LoadedFile()}));
    EXPECT_EQ(Queued(), Rec(1, 3, 2));
}

TEST_F(FollowingTest, TheCacheHoldsTheRecordingPlayingAndTheOneQueuedNeverMore) {
    Recite(1, 6, 2);
    for (int step = 0; step < 6; ++step) {
        ASSERT_EQ(Mode(), pmPlaying);
        ASSERT_FALSE(Queued().isEmpty());
        const QSet<QString> expected{Loaded(), Queued()};
        const QStringList cached = Cached();
        EXPECT_EQ(QSet<QString>(cached.begin(), cached.end()), expected) << "step " << step;
        EndRecording();
    }
}

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

// A practice's pause: the next ayeh begins after exactly that much silence.
struct PauseCase {
    const char* Name;
    PracticePause Pause;
    int Seconds;
    bool TimesTheLength; // 1 or 2 lengths of the recording, else Seconds
    int Lengths;
};

void PrintTo(const PauseCase& c, std::ostream* out) {
    *out << c.Name;
}

class PracticePauseTest : public FollowingTest, public ::testing::WithParamInterface<PauseCase> {};

TEST_P(PracticePauseTest, TheNextAyehBeginsAfterExactlyThePause) {
    PracticePlan plan;
    plan.FromSoureh = plan.ToSoureh = ReaderContent::LongSoureh;
    plan.FromAyeh = plan.ToAyeh = 2;
    plan.Rounds = 2;
    plan.Pause = GetParam().Pause;
    plan.PauseSeconds = GetParam().Seconds;
    SetCount(1);
    Form->StartPractice(plan);
    ASSERT_EQ(Loaded(), Rec(1, 3, 2));
    const qint64 length = Player->Length();
    const qint64 pause = GetParam().TimesTheLength ? GetParam().Lengths * length : GetParam().Seconds * 1000;
    Player->Advance(length + pause - 1);
    Settle();
    EXPECT_EQ(Player->Plays.size(), 1);
    EXPECT_EQ(Loaded(), Rec(1, 3, 2)) << "the ayeh stays red through its pause";
    Player->Advance(1);
    Settle();
    EXPECT_EQ(Player->Plays.size(), 2);
    EXPECT_EQ(Loaded(), Rec(1, 3, 2));
    EXPECT_EQ(Player->Position(), 0);
}

INSTANTIATE_TEST_SUITE_P(
    Pauses, PracticePauseTest,
    ::testing::Values(PauseCase{"Fixed", PracticePause::Fixed, 2, false, 0},
                      PauseCase{"AsLongAsTheAyeh", PracticePause::AyehLength, 5, true, 1},
                      PauseCase{"TwiceAsLong", PracticePause::TwiceAyehLength, 5, true, 2},
                      PauseCase{"None", PracticePause::None, 5, true, 0}),
    [](const ::testing::TestParamInfo<PauseCase>& testCase) { return std::string(testCase.param.Name); });

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
