// The rule of the continuous recitation as a table: what follows the end of a recording, for
// the repeat counts, the Bismillah, the last ayeh of a soureh, the wrap from 114 to 1, and the
// selections the user can leave in the lists.
#include "reading/RecitationRule.h"

#include <gtest/gtest.h>
#include <ostream>
#include <string>

// Lets failures show a step by its parts.
void PrintTo(const ChainStep& step, std::ostream* out) {
    *out << "action " << step.What << " " << step.SourehID << ":" << step.AyehID << " x" << step.Count
         << " box " << step.RepeatBox << " sounds " << step.Sounds.GhariID << "-" << step.Sounds.SourehID
         << "-" << step.Sounds.AyehID;
}

namespace {

// The lists and the current ayeh at (soureh, ayeh) of a soureh of n ayehs, reciter 1, all 114
// sourehs listed; the ayeh's own recording has begun.
ChainState At(int soureh, int ayeh, int n, int count) {
    return {1, count, soureh, ayeh, 114, n, soureh, ayeh, true, true};
}

ChainState With(ChainState state, void (*change)(ChainState&)) {
    change(state);
    return state;
}

ChainStep Step(ChainStep::Action what, int soureh, int ayeh, int count, int box, ChainRecording sounds) {
    return {what, soureh, ayeh, count, box, sounds};
}

const auto End = ChainStep::End;
const auto Current = ChainStep::ReciteCurrent;
const auto Next = ChainStep::ReciteNext;
const ChainRecording Nothing{};

struct RuleCase {
    const char* Name;
    ChainState State;
    ChainStep Expected;
};

void PrintTo(const RuleCase& c, std::ostream* out) {
    *out << c.Name;
}

class RecitationRuleTest : public ::testing::TestWithParam<RuleCase> {};

TEST_P(RecitationRuleTest, DecidesWhatFollowsTheRecording) {
    EXPECT_EQ(WhatFollows(GetParam().State), GetParam().Expected);
}

INSTANTIATE_TEST_SUITE_P(
    Rule, RecitationRuleTest,
    ::testing::Values(
        RuleCase{"CountThreeRepeatsCountingDown", At(2, 5, 286, 3), Step(Current, 2, 5, 2, 2, {1, 2, 5})},
        RuleCase{"CountTwoRepeatsOnce", At(2, 5, 286, 2), Step(Current, 2, 5, 1, 1, {1, 2, 5})},
        RuleCase{"CountOneMovesOn", At(2, 5, 286, 1), Step(Next, 2, 6, 1, 1, {1, 2, 6})},
        RuleCase{"CountZeroEnds", At(2, 5, 286, 0), Step(End, 0, 0, 0, -1, Nothing)},
        RuleCase{"TheNextRecordingIsTheReciters",
                 With(At(2, 5, 286, 1), [](ChainState& s) { s.GhariID = 3; }),
                 Step(Next, 2, 6, 1, 1, {3, 2, 6})},
        RuleCase{"BismillahEndedTheAyehFollowsAsOftenAsTheCount",
                 With(At(2, 1, 286, 3), [](ChainState& s) { s.RecitationStarted = false; }),
                 Step(Current, 2, 1, 3, -1, {1, 2, 1})},
        RuleCase{"BismillahEndedWithCountZeroTheAyehIsLoadedSilently",
                 With(At(2, 1, 286, 0), [](ChainState& s) { s.RecitationStarted = false; }),
                 Step(Current, 2, 1, 0, -1, Nothing)},
        RuleCase{"LastAyehOfASourehLeadsToTheNextSourehsBismillah", At(1, 7, 7, 1),
                 Step(Next, 2, 1, 1, 1, {1, 0, 0})},
        RuleCase{"SourehNineFollowsWithoutABismillah", At(8, 75, 75, 1), Step(Next, 9, 1, 1, 1, {1, 9, 1})},
        RuleCase{"TheLastSourehWrapsToTheFirstWithoutABismillah", At(114, 6, 6, 1),
                 Step(Next, 1, 1, 1, 1, {1, 1, 1})},
        RuleCase{"RepeatingTheLastAyehOfTheLastSoureh", At(114, 6, 6, 2),
                 Step(Current, 114, 6, 1, 1, {1, 114, 6})},
        RuleCase{"CountTypedAboveTenCountsAsTen", At(2, 5, 286, 15), Step(Current, 2, 5, 9, 9, {1, 2, 5})},
        RuleCase{"CountTypedBelowZeroCountsAsZero", At(2, 5, 286, -4), Step(End, 0, 0, 0, -1, Nothing)},
        RuleCase{"AyehChosenInTheListFollowsTheOneThatEnded",
                 With(At(2, 10, 286, 1), [](ChainState& s) { s.CurrentAyehID = 4; }),
                 Step(Next, 2, 11, 1, 1, {1, 2, 11})},
        RuleCase{"AyehChosenInTheListWaitsForTheRepetitions",
                 With(At(2, 10, 286, 2), [](ChainState& s) { s.CurrentAyehID = 4; }),
                 Step(Current, 2, 4, 1, 1, {1, 2, 4})},
        RuleCase{"JumpToAPageStartingASourehRecitesItsFirstAyehAfterTheBismillah",
                 With(At(47, 1, 38, 1),
                      [](ChainState& s) {
                          s.RecitationStarted = false;
                          s.BismillahPlayed = false;
                      }),
                 Step(Current, 47, 1, 1, -1, {1, 0, 0})},
        RuleCase{"NothingSelectedEnds", With(At(2, 5, 286, 1), [](ChainState& s) { s.SourehID = 0; }),
                 Step(End, 0, 0, 0, -1, Nothing)},
        RuleCase{"NextSourehNotInTheListEnds",
                 With(At(4, 176, 176, 1), [](ChainState& s) { s.SourehCount = 4; }),
                 Step(End, 0, 0, 0, -1, Nothing)}),
    [](const ::testing::TestParamInfo<RuleCase>& testCase) { return std::string(testCase.param.Name); });

} // namespace

// The same rule while a practice runs: the passage order, the rounds, the end, and the ways
// the selection leaves the practice.
namespace {

// The passage 1:5 to 2:2 (across the Bismillah of soureh 2), each ayeh twice, three rounds.
PracticeRun Run(int round, int rounds = 3) {
    PracticePlan plan;
    plan.FromSoureh = 1;
    plan.FromAyeh = 5;
    plan.ToSoureh = 2;
    plan.ToAyeh = 2;
    plan.Rounds = rounds;
    return {plan, 2, round};
}

struct PracticeCase {
    const char* Name;
    ChainState State;
    PracticeRun Practice;
    PracticeStep Expected;
};

void PrintTo(const PracticeCase& c, std::ostream* out) {
    *out << c.Name;
}

PracticeStep Going(ChainStep step, int round) {
    return {step, round, false};
}

PracticeStep Over(ChainStep step, int round) {
    return {step, round, true};
}

class PracticeRuleTest : public ::testing::TestWithParam<PracticeCase> {};

TEST_P(PracticeRuleTest, DecidesWhatFollowsInThePassage) {
    const PracticeStep step = WhatFollowsInPractice(GetParam().State, GetParam().Practice);
    EXPECT_EQ(step.Step, GetParam().Expected.Step);
    EXPECT_EQ(step.Round, GetParam().Expected.Round);
    EXPECT_EQ(step.Over, GetParam().Expected.Over);
}

INSTANTIATE_TEST_SUITE_P(
    Practice, PracticeRuleTest,
    ::testing::Values(PracticeCase{"TheNextAyehSoundsAsOftenAsThePracticeRepeats", At(1, 5, 7, 1), Run(1),
                                   Going(Step(Next, 1, 6, 2, 2, {1, 1, 6}), 1)},
                      PracticeCase{"ARepetitionCountsDownAsWithoutAPractice", At(1, 5, 7, 2), Run(1),
                                   Going(Step(Current, 1, 5, 1, 1, {1, 1, 5}), 1)},
                      PracticeCase{"TheNextSourehBeginsWithItsBismillah", At(1, 7, 7, 1), Run(2),
                                   Going(Step(Next, 2, 1, 2, 2, {1, 0, 0}), 2)},
                      PracticeCase{"AfterTheBismillahTheFirstAyehAsOftenAsTheBox",
                                   With(At(2, 1, 286, 2), [](ChainState& s) { s.RecitationStarted = false; }),
                                   Run(1), Going(Step(Current, 2, 1, 2, -1, {1, 2, 1}), 1)},
                      PracticeCase{"TheLastAyehLeadsBackToTheFirstInTheNextRound", At(2, 2, 286, 1), Run(1),
                                   Going(Step(Next, 1, 5, 2, 2, {1, 1, 5}), 2)},
                      PracticeCase{"TheLastAyehOfTheLastRoundEndsThePractice", At(2, 2, 286, 1), Run(3),
                                   Over(Step(End, 0, 0, 0, -1, Nothing), 3)},
                      PracticeCase{"TheLastAyehIsStillRepeatedInTheLastRound", At(2, 2, 286, 2), Run(3),
                                   Going(Step(Current, 2, 2, 1, 1, {1, 2, 2}), 3)},
                      PracticeCase{"WithoutEndTheRoundsGoOn", At(2, 2, 286, 1), Run(250, EndlessRounds),
                                   Going(Step(Next, 1, 5, 2, 2, {1, 1, 5}), 251)},
                      PracticeCase{"ASingleAyehPassageRepeatsItselfWithoutASecondBismillah", At(2, 1, 286, 1),
                                   [] {
                                       PracticeRun run = Run(1);
                                       run.Plan.FromSoureh = run.Plan.ToSoureh = 2;
                                       run.Plan.FromAyeh = run.Plan.ToAyeh = 1;
                                       return run;
                                   }(),
                                   Going(Step(Next, 2, 1, 2, 2, {1, 2, 1}), 2)},
                      PracticeCase{"CountZeroEndsTheChainAndThePractice", At(1, 6, 7, 0), Run(1),
                                   Over(Step(End, 0, 0, 0, -1, Nothing), 1)},
                      PracticeCase{"AnAyehChosenOutsideThePassageEndsThePracticeAndTheChainGoesOnAsUsual",
                                   With(At(1, 6, 7, 1), [](ChainState& s) { s.AyehID = 2; }), Run(1),
                                   Over(Step(Next, 1, 3, 1, 1, {1, 1, 3}), 1)},
                      PracticeCase{"APageJumpOutsideThePassageEndsThePractice",
                                   With(At(1, 6, 7, 1),
                                        [](ChainState& s) {
                                            s.SourehID = s.CurrentSourehID = 3;
                                            s.AyehID = s.CurrentAyehID = 1;
                                            s.NumberOfAyeh = 200;
                                        }),
                                   Run(1), Over(Step(Next, 3, 2, 1, 1, {1, 3, 2}), 1)}),
    [](const ::testing::TestParamInfo<PracticeCase>& testCase) { return std::string(testCase.param.Name); });

} // namespace
