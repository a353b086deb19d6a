// The review schedule: the days until each next review and the easiness after a run of
// grades, each given on the day the ayeh fell due.
#include "learning/Schedule.h"

#include <gtest/gtest.h>
#include <ostream>
#include <vector>

namespace {

struct ScheduleCase {
    const char* Name;
    std::vector<Grade> Grades;
    std::vector<int> Intervals; // after each grade
    int FinalEaseMilli;
};

void PrintTo(const ScheduleCase& c, std::ostream* out) {
    *out << c.Name;
}

class ScheduleTable : public ::testing::TestWithParam<ScheduleCase> {};

TEST_P(ScheduleTable, GivesTheIntervalsOfSm2) {
    const ScheduleCase& c = GetParam();
    constexpr int FirstDay = 2461121;
    ReviewState state;
    int day = FirstDay;
    std::vector<int> intervals;
    for (const Grade grade : c.Grades) {
        state = Schedule(state, grade, day);
        EXPECT_EQ(state.LastDay, day);
        EXPECT_EQ(state.DueDay - day, state.IntervalDays);
        intervals.push_back(state.IntervalDays);
        day = state.DueDay;
    }
    EXPECT_EQ(intervals, c.Intervals);
    EXPECT_EQ(state.EaseMilli, c.FinalEaseMilli);
}

using G = Grade;

INSTANTIATE_TEST_SUITE_P(
    Runs, ScheduleTable,
    ::testing::Values(
        ScheduleCase{"GoodKeepsTheEase", {G::Good, G::Good, G::Good, G::Good}, {1, 6, 15, 38}, 2500},
        ScheduleCase{"EasyRaisesTheEase", {G::Easy, G::Easy, G::Easy, G::Easy}, {1, 6, 16, 45}, 2900},
        ScheduleCase{"HardLowersTheEase", {G::Hard, G::Hard, G::Hard, G::Hard}, {1, 6, 13, 27}, 1940},
        ScheduleCase{"ForgettingStartsAgain",
                     {G::Good, G::Good, G::Good, G::Forgot, G::Good, G::Good, G::Good},
                     {1, 6, 15, 1, 1, 6, 12},
                     1960},
        ScheduleCase{"EaseNeverFallsBelowTheLeast",
                     {G::Forgot, G::Forgot, G::Forgot, G::Good, G::Good, G::Good},
                     {1, 1, 1, 1, 6, 8},
                     1300},
        ScheduleCase{"HardAfterGoodStillGrows",
                     {G::Good, G::Good, G::Good, G::Hard, G::Good},
                     {1, 6, 15, 38, 90},
                     2360}),
    [](const auto& row) { return std::string(row.param.Name); });

} // namespace
