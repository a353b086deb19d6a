// A practice in the real main window with the player whose clock the test moves: each way a
// user ends it, after which the recitation goes on exactly as without one. The passage's order
// and rounds are the reading controller's, tested in tests/reading.
#include "audio/AudioPlayer.h"
#include "model/Utility.h"
#include "tests/mainwindow/ReaderContent.h"

#include <functional>
#include <gtest/gtest.h>
#include <ostream>
#include <string>
#include <vector>

namespace {

QString Rec(int soureh, int ayeh) {
    return TQuran::SoundFileName(1, soureh, ayeh);
}
const QString Bismillah1 = QStringLiteral("1-0-0.wav");

PracticePlan Passage(int fromSoureh, int fromAyeh, int toSoureh, int toAyeh, int rounds) {
    PracticePlan plan;
    plan.FromSoureh = fromSoureh;
    plan.FromAyeh = fromAyeh;
    plan.ToSoureh = toSoureh;
    plan.ToAyeh = toAyeh;
    plan.Rounds = rounds;
    return plan;
}

class PracticeTest : public OpenReaderTest {
protected:
    void Start(const PracticePlan& plan, int count) {
        SetCount(count);
        Form->StartPractice(plan);
        Steps.clear();
        RecordStep();
    }
};

// A practice of 1:2 to 1:3 without end, ended at 1:2 by a command; the chain then runs as
// it does without a practice, on past the passage's end.
struct EndingCase {
    const char* Name;
    std::function<void(PracticeTest&)> Action;
    // The steps from the action on; empty when the recitation stops.
    std::vector<RecitationStep> Expected;
};

void PrintTo(const EndingCase& c, std::ostream* out) {
    *out << c.Name;
}

class PracticeEndingTest : public PracticeTest, public ::testing::WithParamInterface<EndingCase> {};

TEST_P(PracticeEndingTest, EndsThePracticeAndTheReaderGoesOnAsWithoutOne) {
    const EndingCase& c = GetParam();
    Start(Passage(1, 2, 1, 3, EndlessRounds), 1);
    ASSERT_TRUE(Form->Practicing());
    GetParam().Action(*this);
    EXPECT_FALSE(Form->Practicing());
    Steps.clear();
    RecordStep();
    if (c.Expected.empty()) {
        Player->Advance(ReaderContent::LongRecordingMs);
        Settle();
        EXPECT_NE(Mode(), pmPlaying);
        EXPECT_EQ(Steps.size(), 1u);
        return;
    }
    EXPECT_EQ(StepsUntil(c.Expected.size()), c.Expected);
}

INSTANTIATE_TEST_SUITE_P(
    Ways, PracticeEndingTest,
    ::testing::Values(EndingCase{"AClickOnAnAyeh",
                                 [](PracticeTest& fixture) { fixture.ClickAyeh(1, 3); },
                                 {{Rec(1, 3), 1}, {Rec(1, 4), 1}}},
                      EndingCase{"TheReciteButton",
                                 [](PracticeTest& fixture) { fixture.Window().TntSpeedButtonPlay->click(); },
                                 {{Rec(1, 2), 1}, {Rec(1, 3), 1}, {Rec(1, 4), 1}}},
                      EndingCase{"AnotherAyehChosenInTheList",
                                 [](PracticeTest& fixture) { fixture.ChooseAyeh(3); },
                                 {{Rec(1, 2), 1}, {Rec(1, 4), 1}, {Rec(1, 5), 1}}},
                      EndingCase{"TheSameAyehChosenAgainInTheListAfterAnother",
                                 [](PracticeTest& fixture) {
                                     fixture.ChooseAyeh(5);
                                     fixture.ChooseAyeh(2);
                                 },
                                 {{Rec(1, 2), 1}, {Rec(1, 3), 1}, {Rec(1, 4), 1}}},
                      EndingCase{
                          "AnotherSourehChosen", [](PracticeTest& fixture) { fixture.ChooseSoureh(2); }, {}},
                      EndingCase{"Stop", [](PracticeTest& fixture) { fixture.Window().StopPractice(); }, {}},
                      EndingCase{"CountZero",
                                 [](PracticeTest& fixture) {
                                     fixture.SetCount(0);
                                     fixture.EndRecording();
                                 },
                                 {}}),
    [](const ::testing::TestParamInfo<EndingCase>& testCase) { return std::string(testCase.param.Name); });

TEST_F(PracticeTest, PauseAndContinueKeepThePractice) {
    Start(Passage(ReaderContent::LongSoureh, 1, ReaderContent::LongSoureh, 2, 1), 1);
    Form->TntSpeedButton1->click();
    ASSERT_EQ(Mode(), pmPaused);
    Form->TntSpeedButton1->click();
    EXPECT_TRUE(Form->Practicing());
    const std::vector<RecitationStep> expected = {{Bismillah1, 1}, {Rec(3, 1), 1}, {Rec(3, 2), 1}};
    EXPECT_EQ(StepsUntil(expected.size() + 1), expected);
    EXPECT_FALSE(Form->Practicing());
}

} // namespace
