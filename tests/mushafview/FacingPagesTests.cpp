// Which pages the view shows together, and where a turn goes, at the ends of the book too.
#include "mushafview/FacingPages.h"

#include <gtest/gtest.h>

namespace {

struct SpreadCase {
    int Page;
    bool Facing;
    MushafSpread Expected;
};

class SpreadOfPage : public ::testing::TestWithParam<SpreadCase> {};

TEST_P(SpreadOfPage, PutsTheOddPageOnTheRight) {
    const SpreadCase& c = GetParam();
    const MushafSpread spread = SpreadOf(c.Page, c.Facing);
    EXPECT_EQ(spread.Right, c.Expected.Right);
    EXPECT_EQ(spread.Left, c.Expected.Left);
}

INSTANTIATE_TEST_SUITE_P(Spreads, SpreadOfPage,
                         ::testing::Values(SpreadCase{1, true, {1, 2}}, SpreadCase{2, true, {1, 2}},
                                           SpreadCase{3, true, {3, 4}}, SpreadCase{604, true, {603, 604}},
                                           SpreadCase{603, true, {603, 604}}, SpreadCase{0, true, {1, 2}},
                                           SpreadCase{700, true, {603, 604}}, SpreadCase{2, false, {2, 0}},
                                           SpreadCase{604, false, {604, 0}}));

struct TurnCase {
    int Page;
    bool Facing;
    int Step;
    int Expected;
};

class TurnFromPage : public ::testing::TestWithParam<TurnCase> {};

TEST_P(TurnFromPage, GoesByWholeSpreadsAndStopsAtTheEnds) {
    const TurnCase& c = GetParam();
    EXPECT_EQ(TurnedPage(c.Page, c.Facing, c.Step), c.Expected);
}

INSTANTIATE_TEST_SUITE_P(Turns, TurnFromPage,
                         ::testing::Values(TurnCase{1, true, 1, 3}, TurnCase{2, true, 1, 3},
                                           TurnCase{4, true, -1, 1}, TurnCase{1, true, -1, 1},
                                           TurnCase{603, true, 1, 603}, TurnCase{604, true, 1, 603},
                                           TurnCase{1, false, 1, 2}, TurnCase{5, false, -1, 4},
                                           TurnCase{604, false, 1, 604}, TurnCase{1, false, -1, 1}));

} // namespace
