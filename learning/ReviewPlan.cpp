#include "learning/ReviewPlan.h"

#include <algorithm>
#include <map>
#include <sqlite3.h>
#include <string>

namespace {

// The place of an ayeh in the Mushaf, 0 to TotalAyehCount - 1; -1 outside it.
int MushafIndex(int sourehId, int ayehId) {
    static const std::array<int, SourehCount + 1> Before = [] {
        std::array<int, SourehCount + 1> sums{};
        for (int s = 1; s <= SourehCount; ++s)
            sums[size_t(s)] = sums[size_t(s - 1)] + NumberOfAyehs(s);
        return sums;
    }();
    if (ayehId < 1 || ayehId > NumberOfAyehs(sourehId))
        return -1;
    return Before[size_t(sourehId - 1)] + ayehId - 1;
}

// What a group of ayehs (a page, a soureh) comes to, seen one ayeh at a time.
class GroupState final {
public:
    void Add(Progress ayeh) {
        ++Ayehs;
        ++Seen[size_t(ayeh)];
    }
    Progress State() const {
        if (Seen[size_t(Progress::Due)] > 0)
            return Progress::Due;
        if (Seen[size_t(Progress::NotStarted)] == Ayehs)
            return Progress::NotStarted;
        if (Seen[size_t(Progress::Memorised)] == Ayehs)
            return Progress::Memorised;
        return Progress::Learning;
    }

private:
    int Ayehs = 0;
    std::array<int, 4> Seen{};
};

} // namespace

void AyehPages::Set(int sourehId, int ayehId, int pageId) {
    const int index = MushafIndex(sourehId, ayehId);
    if (index >= 0)
        Pages[size_t(index)] = pageId;
}

int AyehPages::PageOf(int sourehId, int ayehId) const {
    const int index = MushafIndex(sourehId, ayehId);
    return index < 0 ? 0 : Pages[size_t(index)];
}

AyehPages ReadAyehPages(const Connection& quran) {
    // Straight from the engine: a ResultSet's copy of the 6236 rows would cost several times
    // the reading (8.7 against 1.1 ms of processor time).
    const SqliteStatement rows(quran.Handle(), Statements::AyehPages());
    AyehPages pages;
    int rc = SQLITE_ROW;
    while ((rc = sqlite3_step(rows.Get())) == SQLITE_ROW)
        if (sqlite3_column_type(rows.Get(), 2) == SQLITE_INTEGER)
            pages.Set(sqlite3_column_int(rows.Get(), 0), sqlite3_column_int(rows.Get(), 1),
                      sqlite3_column_int(rows.Get(), 2));
    if (rc != SQLITE_DONE)
        throw ContentError(std::string(sqlite3_errmsg(quran.Handle())) + " (" +
                           quran.FilePath().toStdString() + ")");
    return pages;
}

std::vector<DuePage> DueToday(const std::vector<AyehReview>& reviews, const AyehPages& pages, int today) {
    std::map<int, std::vector<AyehReview>> byPage;
    for (const AyehReview& review : reviews)
        if (IsDue(review.State, today))
            byPage[pages.PageOf(review.SourehID, review.AyehID)].push_back(review);
    std::vector<DuePage> due;
    due.reserve(byPage.size());
    for (auto& [page, ayehs] : byPage) {
        std::sort(ayehs.begin(), ayehs.end(), [](const AyehReview& a, const AyehReview& b) {
            return std::pair(a.SourehID, a.AyehID) < std::pair(b.SourehID, b.AyehID);
        });
        due.push_back({page, std::move(ayehs)});
    }
    return due;
}

Progress ProgressOf(const ReviewState& state, int today) {
    if (IsDue(state, today))
        return Progress::Due;
    return IsMemorised(state) ? Progress::Memorised : Progress::Learning;
}

ProgressMap MakeProgressMap(const std::vector<AyehReview>& reviews, const AyehPages& pages, int today) {
    std::vector<Progress> ayehs(TotalAyehCount, Progress::NotStarted);
    for (const AyehReview& review : reviews) {
        const int index = MushafIndex(review.SourehID, review.AyehID);
        if (index >= 0)
            ayehs[size_t(index)] = ProgressOf(review.State, today);
    }
    std::vector<GroupState> pageGroups(PageCount);
    std::vector<GroupState> sourehGroups(SourehCount);
    ProgressMap map;
    for (int soureh = 1, index = 0; soureh <= SourehCount; ++soureh) {
        for (int ayeh = 1; ayeh <= NumberOfAyehs(soureh); ++ayeh, ++index) {
            const Progress state = ayehs[size_t(index)];
            ++map.AyehCounts.ByState[size_t(state)];
            sourehGroups[size_t(soureh - 1)].Add(state);
            const int page = pages.PageOf(soureh, ayeh);
            if (page >= FirstPageID && page <= LastPageID)
                pageGroups[size_t(page - 1)].Add(state);
        }
    }
    const auto fill = [](const std::vector<GroupState>& groups, std::vector<Progress>& states,
                         ProgressCounts& counts) {
        for (const GroupState& group : groups) {
            states.push_back(group.State());
            ++counts.ByState[size_t(states.back())];
        }
    };
    fill(pageGroups, map.Pages, map.PageCounts);
    fill(sourehGroups, map.Sourehs, map.SourehCounts);
    return map;
}
