// The review plan: what is due today page by page, and the state of pages and sourehs on
// the progress map.
#include "learning/ReviewPlan.h"

#include <algorithm>
#include <gtest/gtest.h>
#include <ostream>

namespace {

constexpr int Today = 2461121;

// Fatiha on page 1, the first five ayehs of soureh 2 on page 2, 2:6 on page 3.
AyehPages SmallBook() {
    AyehPages pages;
    for (int ayeh = 1; ayeh <= 7; ++ayeh)
        pages.Set(1, ayeh, 1);
    for (int ayeh = 1; ayeh <= 5; ++ayeh)
        pages.Set(2, ayeh, 2);
    pages.Set(2, 6, 3);
    return pages;
}

ReviewState DueIn(int days, int interval = 6) {
    return {2, InitialEaseMilli, interval, Today + days - interval, Today + days};
}
const ReviewState Overdue = DueIn(-3);
const ReviewState DueNow = DueIn(0);
const ReviewState Learning = DueIn(4);
const ReviewState Memorised = DueIn(10, MemorisedIntervalDays);

TEST(DueList, HoldsTheAyehsDueGroupedPageByPage) {
    const std::vector<AyehReview> reviews = {
        {2, 6, Overdue}, {2, 3, DueNow}, {1, 5, Learning}, {2, 1, Overdue}, {1, 7, DueNow}, {3, 1, DueNow},
    };
    const std::vector<DuePage> due = DueToday(reviews, SmallBook(), Today);
    std::vector<std::pair<int, std::vector<int>>> seen; // page, then soureh * 1000 + ayeh
    for (const DuePage& page : due) {
        seen.push_back({page.PageID, {}});
        for (const AyehReview& review : page.Ayehs)
            seen.back().second.push_back(review.SourehID * 1000 + review.AyehID);
    }
    const std::vector<std::pair<int, std::vector<int>>> expected = {
        {0, {3001}}, {1, {1007}}, {2, {2001, 2003}}, {3, {2006}}};
    EXPECT_EQ(seen, expected);
}

struct MapCase {
    const char* Name;
    std::vector<AyehReview> Reviews;
    Progress Page1; // Fatiha's page and soureh 1 alike
    Progress Page2;
    Progress Soureh2;
};

void PrintTo(const MapCase& c, std::ostream* out) {
    *out << c.Name;
}

std::vector<AyehReview> Fatiha(const ReviewState& state) {
    std::vector<AyehReview> reviews;
    for (int ayeh = 1; ayeh <= 7; ++ayeh)
        reviews.push_back({1, ayeh, state});
    return reviews;
}

std::vector<AyehReview> With(std::vector<AyehReview> reviews, const AyehReview& changed) {
    for (AyehReview& review : reviews)
        if (review.SourehID == changed.SourehID && review.AyehID == changed.AyehID)
            review = changed;
    return reviews;
}

std::vector<AyehReview> Without(std::vector<AyehReview> reviews, int ayehId) {
    std::erase_if(reviews, [&](const AyehReview& review) { return review.AyehID == ayehId; });
    return reviews;
}

class ProgressTable : public ::testing::TestWithParam<MapCase> {};

TEST_P(ProgressTable, PagesAndSourehsTakeTheStateOfTheirAyehs) {
    const MapCase& c = GetParam();
    const ProgressMap map = MakeProgressMap(c.Reviews, SmallBook(), Today);
    ASSERT_EQ(map.Pages.size(), size_t(PageCount));
    ASSERT_EQ(map.Sourehs.size(), size_t(SourehCount));
    EXPECT_EQ(map.Pages[0], c.Page1);
    EXPECT_EQ(map.Sourehs[0], c.Page1);
    EXPECT_EQ(map.Pages[1], c.Page2);
    EXPECT_EQ(map.Sourehs[1], c.Soureh2);
    EXPECT_EQ(map.Pages[603], Progress::NotStarted);

    int pages = 0, sourehs = 0, ayehs = 0;
    for (const Progress state :
         {Progress::NotStarted, Progress::Learning, Progress::Memorised, Progress::Due}) {
        pages += map.PageCounts[state];
        sourehs += map.SourehCounts[state];
        ayehs += map.AyehCounts[state];
        EXPECT_EQ(map.PageCounts[state], int(std::count(map.Pages.begin(), map.Pages.end(), state)));
    }
    EXPECT_EQ(pages, PageCount);
    EXPECT_EQ(sourehs, SourehCount);
    EXPECT_EQ(ayehs, TotalAyehCount);
    EXPECT_EQ(map.AyehCounts[Progress::NotStarted], TotalAyehCount - int(c.Reviews.size()));
}

using P = Progress;

INSTANTIATE_TEST_SUITE_P(
    States, ProgressTable,
    ::testing::Values(
        MapCase{"NothingGraded", {}, P::NotStarted, P::NotStarted, P::NotStarted},
        MapCase{"OneAyehBegun", {{1, 3, Learning}}, P::Learning, P::NotStarted, P::NotStarted},
        MapCase{"AllMemorised", Fatiha(Memorised), P::Memorised, P::NotStarted, P::NotStarted},
        MapCase{"OneLearningAmongMemorised", With(Fatiha(Memorised), {1, 4, Learning}), P::Learning,
                P::NotStarted, P::NotStarted},
        MapCase{"OneNotStartedAmongMemorised", Without(Fatiha(Memorised), 7), P::Learning, P::NotStarted,
                P::NotStarted},
        MapCase{"OneDueAmongMemorised", With(Fatiha(Memorised), {1, 7, DueNow}), P::Due, P::NotStarted,
                P::NotStarted},
        MapCase{
            "AWholePageOfALongSourehMemorised",
            {{2, 1, Memorised}, {2, 2, Memorised}, {2, 3, Memorised}, {2, 4, Memorised}, {2, 5, Memorised}},
            P::NotStarted,
            P::Memorised,
            P::Learning},
        MapCase{"DueOnAnotherPageOfTheSoureh",
                {{2, 1, Learning}, {2, 6, Overdue}},
                P::NotStarted,
                P::Learning,
                P::Due}),
    [](const auto& row) { return std::string(row.param.Name); });

} // namespace
