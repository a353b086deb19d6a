// The recitation that runs on by itself, as the window shows it: each step in the lists, red
// and translated, the count typed in the box, and what pauses, soureh and reciter changes,
// page jumps and closing the window do to it. The order of what follows (repetitions, the next
// soureh with its Bismillah, the wrap) is the reading controller's, tested in tests/reading.
#include "audio/AudioPlayer.h"
#include "mainwindow/MainCaptions.h"
#include "model/Utility.h"
#include "tests/mainwindow/ReaderContent.h"

#include <QFileInfo>
#include <QTimer>
#include <functional>
#include <gtest/gtest.h>
#include <ostream>
#include <vector>

namespace {

QString Rec(int ghari, int soureh, int ayeh) {
    return TQuran::SoundFileName(ghari, soureh, ayeh);
}
const QString Bismillah1 = QStringLiteral("1-0-0.wav");

class RecitationTest : public ReaderTest {
protected:
    void SetUp() override {
        ReaderTest::SetUp();
        OpenForm();
    }
    QString Memo() const { return Form->TntMemo1->toPlainText(); }
    // A notice as the player sends it, of its current play.
    void Notice() { Q_EMIT Player->OnNotify(Player, Player->CurrentPlay()); }
};

// What the window shows at a step, taken as the step begins.
struct Shown {
    int Soureh = 0;
    int Ayeh = 0;
    int ListedSoureh = 0;
    int ListedAyeh = 0;
    int AyehItems = 0;
    QString Memo;
    bool Red = false;
};

TEST_F(RecitationTest, EachStepShowsItsAyehInTheListsInRedAndWithItsTranslation) {
    Shown shown;
    AtStep = [&](const RecitationStep& step) {
        if (step.Recording == Rec(1, 1, 6))
            shown = {CurrentSoureh(),
                     CurrentAyeh(),
                     ListedSoureh(),
                     ListedAyeh(),
                     Form->TntComboBoxAyehsList->count(),
                     Memo(),
                     IsRed(1, 6)};
    };
    Recite(1, 5, 1);
    ASSERT_TRUE(RunUntil([&] { return shown.Soureh != 0; }));
    EXPECT_EQ(shown.Soureh, 1);
    EXPECT_EQ(shown.Ayeh, 6);
    EXPECT_EQ(shown.ListedSoureh, 1);
    EXPECT_EQ(shown.ListedAyeh, 6);
    EXPECT_EQ(shown.Memo, ReaderContent::Translation(1, 6));
    EXPECT_TRUE(shown.Red);
}

TEST_F(RecitationTest, AfterTheWrapTheListsAndThePageShowTheFirstAyeh) {
    Shown shown;
    AtStep = [&](const RecitationStep& step) {
        if (step.Recording == Rec(1, 1, 1))
            shown = {CurrentSoureh(),
                     CurrentAyeh(),
                     ListedSoureh(),
                     ListedAyeh(),
                     Form->TntComboBoxAyehsList->count(),
                     Memo(),
                     IsRed(1, 1)};
    };
    Recite(114, 3, 1);
    ASSERT_TRUE(RunUntil([&] { return shown.Soureh != 0; }));
    EXPECT_EQ(shown.Soureh, 1);
    EXPECT_EQ(shown.Ayeh, 1);
    EXPECT_EQ(shown.ListedSoureh, 1);
    EXPECT_EQ(shown.AyehItems, ReaderContent::NumberOfAyeh(1));
    EXPECT_EQ(shown.ListedAyeh, 1);
    EXPECT_EQ(shown.Memo, ReaderContent::Translation(1, 1));
    EXPECT_TRUE(shown.Red);
}

TEST_F(RecitationTest, TheTranslationOfTheNextSourehsFirstAyehShowsDuringItsBismillah) {
    Shown shown;
    AtStep = [&](const RecitationStep& step) {
        if (step.Recording == Bismillah1)
            shown = {CurrentSoureh(),
                     CurrentAyeh(),
                     ListedSoureh(),
                     ListedAyeh(),
                     Form->TntComboBoxAyehsList->count(),
                     Memo(),
                     IsRed(2, 1)};
    };
    Recite(1, 7, 1);
    ASSERT_TRUE(RunUntil([&] { return shown.Soureh != 0; }));
    EXPECT_EQ(shown.Soureh, 2);
    EXPECT_EQ(shown.Ayeh, 1);
    EXPECT_EQ(shown.ListedSoureh, 2);
    EXPECT_EQ(shown.ListedAyeh, 1);
    EXPECT_EQ(shown.Memo, ReaderContent::Translation(2, 1));
    EXPECT_TRUE(shown.Red);
}

TEST_F(RecitationTest, SourehEightGoesOnToSourehNineWithoutABismillah) {
    Recite(8, 2, 1);
    const std::vector<RecitationStep> expected = {{Rec(1, 8, 2), 1}, {Rec(1, 9, 1), 1}, {Rec(1, 9, 2), 1}};
    EXPECT_EQ(StepsUntil(expected.size()), expected);
}

TEST_F(RecitationTest, CountZeroOnAFirstAyehSoundsTheBismillahAndNothingMore) {
    Recite(2, 1, 0);
    EXPECT_EQ(Loaded(), Bismillah1);
    EXPECT_EQ(Memo(), ReaderContent::Translation(2, 1));
    ASSERT_TRUE(RunUntil([&] { return Loaded() == Rec(1, 2, 1); }));
    EndRecording();
    EXPECT_EQ(Loaded(), Rec(1, 2, 1));
    EXPECT_NE(Mode(), pmPlaying);
    EXPECT_EQ(Form->SpinEditReadingCount->Value(), 0);
    EXPECT_TRUE(IsRed(2, 1));
}

TEST_F(RecitationTest, CountSetToZeroWhileAnAyehSoundsEndsTheChainWithIt) {
    Recite(ReaderContent::LongSoureh, 2, 1);
    ASSERT_EQ(Mode(), pmPlaying);
    SetCount(0);
    EndRecording();
    EXPECT_NE(Mode(), pmPlaying);
    EXPECT_EQ(Loaded(), Rec(1, ReaderContent::LongSoureh, 2));
    EXPECT_EQ(ListedAyeh(), 2);
    EXPECT_EQ(Form->SpinEditReadingCount->Value(), 0);
}

TEST_F(RecitationTest, CountRaisedWhileAnAyehSoundsRepeatsItThatOftenMore) {
    Recite(ReaderContent::LongSoureh, 2, 1);
    SetCount(3);
    // 3:2 sounds twice more, the box counting down, then the chain goes on with soureh 4
    // after its Bismillah.
    const std::vector<RecitationStep> expected = {
        {Rec(1, 3, 2), 1}, {Rec(1, 3, 2), 3}, {Rec(1, 3, 2), 2}, {Rec(1, 3, 2), 1}, {Bismillah1, 1}};
    EXPECT_EQ(StepsUntil(expected.size()), expected);
}

TEST_F(RecitationTest, PauseHaltsTheChainAndContinueCarriesItOn) {
    Recite(ReaderContent::LongSoureh, 2, 1);
    ASSERT_EQ(Mode(), pmPlaying);
    Form->TntSpeedButton1->click();
    EXPECT_EQ(Mode(), pmPaused);
    EXPECT_TRUE(Form->TntSpeedButton1->isChecked());
    EXPECT_EQ(Form->TntSpeedButton1->text(), CaptionContinue);
    const qint64 pausedAt = Form->MediaPlayer1->Position();
    Player->Advance(ReaderContent::LongRecordingMs + 300);
    Settle();
    EXPECT_EQ(Mode(), pmPaused);
    EXPECT_EQ(Form->MediaPlayer1->Position(), pausedAt);
    EXPECT_EQ(Loaded(), Rec(1, 3, 2));

    Form->TntSpeedButton1->click();
    EXPECT_EQ(Mode(), pmPlaying);
    EXPECT_FALSE(Form->TntSpeedButton1->isChecked());
    EXPECT_EQ(Form->TntSpeedButton1->text(), CaptionPause);
    EXPECT_TRUE(RunUntil([&] { return Loaded() == Rec(1, 4, 1); }));
}

TEST_F(RecitationTest, ChoosingAnotherSourehWhilePlayingStopsTheChain) {
    Recite(ReaderContent::LongSoureh, 2, 1);
    ASSERT_EQ(Mode(), pmPlaying);
    const QString memo = Memo();
    ChooseSoureh(2);
    EXPECT_EQ(Mode(), pmStopped);
    EXPECT_EQ(ListedSoureh(), 2);
    EXPECT_EQ(Form->TntComboBoxAyehsList->count(), 5);
    EXPECT_EQ(ListedAyeh(), 1);
    EXPECT_EQ(GlobalQuran->Page->PageID, 2);
    EXPECT_EQ(Memo(), memo);
    Player->Advance(ReaderContent::LongRecordingMs + 300);
    Settle();
    EXPECT_EQ(Loaded(), Rec(1, 3, 2));
    EXPECT_EQ(Mode(), pmStopped);
}

TEST_F(RecitationTest, ChoosingAnotherSourehWhilePausedGoesOnWithItsBismillahAfterContinue) {
    Recite(ReaderContent::LongSoureh, 2, 1);
    Form->TntSpeedButton1->click();
    ASSERT_EQ(Mode(), pmPaused);
    ChooseSoureh(2);
    EXPECT_EQ(Mode(), pmPaused);
    EXPECT_TRUE(Form->TntSpeedButton1->isChecked());
    EXPECT_EQ(Form->TntSpeedButton1->text(), CaptionContinue);

    Form->TntSpeedButton1->click();
    Steps.clear();
    RecordStep();
    const std::vector<RecitationStep> expected = {
        {Rec(1, 3, 2), 1}, {Bismillah1, 1}, {Rec(1, 2, 1), 1}, {Rec(1, 2, 2), 1}};
    EXPECT_EQ(StepsUntil(expected.size()), expected);
}

TEST_F(RecitationTest, AnotherReciterTakesOverAfterTheRecordingInProgress) {
    Recite(ReaderContent::LongSoureh, 2, 1);
    ChooseReciter(2);
    EXPECT_EQ(Mode(), pmPlaying);
    EXPECT_EQ(GlobalQuran->GhariID, 2);
    const std::vector<RecitationStep> expected = {
        {Rec(1, 3, 2), 1}, {QStringLiteral("2-0-0.wav"), 1}, {Rec(2, 4, 1), 1}};
    EXPECT_EQ(StepsUntil(expected.size()), expected);
}

TEST_F(RecitationTest, AnAyehChosenInTheListFollowsTheOneInProgress) {
    Recite(1, 2, 1);
    ChooseAyeh(5);
    const std::vector<RecitationStep> expected = {{Rec(1, 1, 2), 1}, {Rec(1, 1, 6), 1}};
    EXPECT_EQ(StepsUntil(expected.size()), expected);
}

TEST_F(RecitationTest, AJumpToAPageGoesOnAfterThePagesFirstAyehWhenTheRecordingEnds) {
    Recite(ReaderContent::LongSoureh, 2, 1);
    GoToPage(QStringLiteral("3"));
    EXPECT_EQ(Mode(), pmPlaying);
    EXPECT_EQ(CurrentSoureh(), 2);
    EXPECT_EQ(CurrentAyeh(), 4);
    const std::vector<RecitationStep> expected = {{Rec(1, 3, 2), 1}, {Rec(1, 2, 5), 1}};
    EXPECT_EQ(StepsUntil(expected.size()), expected);
}

TEST_F(RecitationTest, AJumpToAPageStartingASourehGoesOnWithThatSourehsBismillahAndFirstAyeh) {
    Recite(ReaderContent::LongSoureh, 2, 1);
    GoToPage(QString::number(ReaderContent::PageOf(47, 1)));
    EXPECT_EQ(CurrentSoureh(), 47);
    const std::vector<RecitationStep> expected = {{Rec(1, 3, 2), 1}, {Bismillah1, 1}, {Rec(1, 47, 1), 1}};
    EXPECT_EQ(StepsUntil(expected.size()), expected);
}

TEST_F(RecitationTest, NoticesAfterTheWindowClosedDoNothing) {
    Recite(ReaderContent::LongSoureh, 2, 1);
    Form->close();
    EXPECT_EQ(GlobalQuran, nullptr);
    EXPECT_FALSE(Form->MediaPlayer1->Enabled());
    const QString memo = Memo();
    Notice();
    Settle();
    EXPECT_EQ(Memo(), memo);
    EXPECT_NE(Mode(), pmPlaying);
    EXPECT_TRUE(Boxes.Boxes().isEmpty());
}

TEST_F(RecitationTest, ANoticeBeforeAnyRecordingDoesNothing) {
    ChooseAyeh(2);
    Notice();
    Settle();
    EXPECT_TRUE(Boxes.Boxes().isEmpty());
    EXPECT_EQ(Loaded(), QString());
    EXPECT_EQ(CurrentAyeh(), 1);
}

TEST_F(RecitationTest, AClickOnAnAyehCarriesTheChainOnFromThatAyeh) {
    Recite(1, 1, 1);
    ClickAyeh(1, 5);
    const std::vector<RecitationStep> expected = {{Rec(1, 1, 5), 1}, {Rec(1, 1, 6), 1}};
    EXPECT_EQ(StepsUntil(expected.size()), expected);
}

// Commands and notices that arrive while the recite command is inside Recite, which lets
// pending events run before the sound steps: the interrupted command must go on only with what
// still exists (the sanitizer build catches any use of a released book or record).
class RecitationInterruptedTest : public RecitationTest {
protected:
    // Starts reciting ayeh 2:2 with the given step queued to run inside the command.
    void ReciteWith(const std::function<void()>& inside) {
        ChooseSoureh(2);
        ChooseAyeh(2);
        SetCount(1);
        QTimer::singleShot(0, Form.get(), inside);
        Form->TntSpeedButtonPlay->click();
    }
};

TEST_F(RecitationInterruptedTest, ClosingTheWindowEndsTheCommandWithoutSound) {
    ReciteWith([this] { Form->close(); });
    EXPECT_EQ(GlobalQuran, nullptr);
    EXPECT_NE(Mode(), pmPlaying);
    Settle();
    EXPECT_TRUE(Boxes.Boxes().isEmpty());
}

TEST_F(RecitationInterruptedTest, ChoosingAnotherSourehAbandonsTheAyehItReleased) {
    ReciteWith([this] { ChooseSoureh(114); });
    EXPECT_EQ(CurrentSoureh(), 114);
    EXPECT_EQ(CurrentAyeh(), 1);
    EXPECT_NE(Loaded(), Rec(1, 2, 2));
    EXPECT_TRUE(Boxes.Boxes().isEmpty());
}

TEST_F(RecitationInterruptedTest, AClickOnAnotherAyehRecitesThatAyehInstead) {
    // Another ayeh of the page that shows 2:2 while the command runs.
    const int other = ReaderContent::PageOf(2, 1) == ReaderContent::PageOf(2, 2) ? 1 : 3;
    ASSERT_EQ(ReaderContent::PageOf(2, other), ReaderContent::PageOf(2, 2));
    ReciteWith([this, other] { ClickAyeh(2, other); });
    EXPECT_EQ(CurrentSoureh(), 2);
    EXPECT_EQ(CurrentAyeh(), other);
    // Ayeh 1 of soureh 2 begins with its Bismillah.
    EXPECT_EQ(Loaded(), other == 1 ? Bismillah1 : Rec(1, 2, other));
    EXPECT_EQ(Memo(), ReaderContent::Translation(2, other));
}

TEST_F(RecitationInterruptedTest, APlayerNoticeChangesNothing) {
    ReciteWith([this] { Notice(); });
    EXPECT_EQ(CurrentSoureh(), 2);
    EXPECT_EQ(CurrentAyeh(), 2);
    EXPECT_EQ(Loaded(), Rec(1, 2, 2));
    EXPECT_EQ(Memo(), ReaderContent::Translation(2, 2));
}

} // namespace

// A recording that has just ended, its notice not yet handled, when a command starts another
// recitation: the notice is handled inside the command's Recite, while that lets events run,
// and must leave the command's recitation whole.
struct LateNoticeCase {
    const char* Name;
    int Soureh;
    int Ayeh;
    int Count;
    bool Click; // a click on the ayeh, else the recite button
    std::vector<RecitationStep> Expected;
};

void PrintTo(const LateNoticeCase& c, std::ostream* out) {
    *out << c.Name;
}

class LateNoticeTest : public RecitationTest, public ::testing::WithParamInterface<LateNoticeCase> {};

TEST_P(LateNoticeTest, TheCommandsAyehIsRecitedWhole) {
    const LateNoticeCase& c = GetParam();
    Recite(1, 2, 1);
    Player->EndNow();
    if (c.Click) {
        SetCount(c.Count);
        ClickAyeh(c.Soureh, c.Ayeh);
    } else {
        Recite(c.Soureh, c.Ayeh, c.Count);
    }
    EXPECT_EQ(StepsUntil(c.Expected.size()), c.Expected);
}

INSTANTIATE_TEST_SUITE_P(
    Commands, LateNoticeTest,
    ::testing::Values(
        LateNoticeCase{"ClickOnAnotherAyeh", 1, 5, 1, true, {{Rec(1, 1, 5), 1}, {Rec(1, 1, 6), 1}}},
        LateNoticeCase{"ReciteButton", 1, 5, 1, false, {{Rec(1, 1, 5), 1}, {Rec(1, 1, 6), 1}}},
        LateNoticeCase{"ClickKeepsEveryRepetition",
                       1,
                       5,
                       3,
                       true,
                       {{Rec(1, 1, 5), 3}, {Rec(1, 1, 5), 2}, {Rec(1, 1, 5), 1}, {Rec(1, 1, 6), 1}}},
        LateNoticeCase{"ReciteButtonKeepsTheBismillahWhole",
                       2,
                       1,
                       1,
                       false,
                       {{Bismillah1, 1}, {Rec(1, 2, 1), 1}, {Rec(1, 2, 2), 1}}}),
    [](const ::testing::TestParamInfo<LateNoticeCase>& testCase) {
        return std::string(testCase.param.Name);
    });

TEST_F(RecitationInterruptedTest, AClickWhileTheBismillahIsExtractedRecitesTheClickedAyehAlone) {
    // Queued from Recite's own events, so that the click comes while the Bismillah is extracted.
    ChooseSoureh(2);
    ChooseAyeh(1);
    SetCount(1);
    QTimer::singleShot(0, Form.get(),
                       [this] { QTimer::singleShot(0, Form.get(), [this] { ClickAyeh(2, 3); }); });
    Form->TntSpeedButtonPlay->click();
    EXPECT_EQ(CurrentAyeh(), 3);
    EXPECT_EQ(Loaded(), Rec(1, 2, 3));
    EXPECT_TRUE(QFileInfo::exists(GlobalQuran->Sounds->LoadedFile()));
    EXPECT_EQ(Player->Plays.size(), 1);
    const std::vector<RecitationStep> expected = {{Rec(1, 2, 3), 1}, {Rec(1, 2, 4), 1}};
    EXPECT_EQ(StepsUntil(expected.size()), expected);
}
