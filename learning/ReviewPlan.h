#pragma once
// The review plan drawn from the learner's data: what is due today, page by page, and the
// state of every page and soureh for the progress map.
//
// An ayeh is not started until it is first graded; after that it is due on and after its due
// day, and otherwise memorised once its interval has reached MemorisedIntervalDays, else
// learning. A page or a soureh is due when any of its ayehs is, not started when none has
// been graded, memorised when all of them are, and learning otherwise.

#include "content/Database.h"
#include "content/MushafCounts.h"
#include "learning/LearnerData.h"

#include <array>
#include <vector>

// The page each ayeh is printed on, as the book's Ayeh table has it.
class AyehPages final {
public:
    // Sets the page of an ayeh of the Mushaf; other numbers are ignored.
    void Set(int sourehId, int ayehId, int pageId);
    // 0 for an ayeh the book holds no page for.
    int PageOf(int sourehId, int ayehId) const;

private:
    std::vector<int> Pages = std::vector<int>(TotalAyehCount, 0);
};

// Every ayeh's page from quran.dat. Throws ContentError.
AyehPages ReadAyehPages(const Connection& quran);

struct DuePage {
    int PageID = 0;
    std::vector<AyehReview> Ayehs; // in Mushaf order
};

// The ayehs due on `today`, grouped by page in page order (ayehs of no known page first,
// under page 0).
std::vector<DuePage> DueToday(const std::vector<AyehReview>& reviews, const AyehPages& pages, int today);

enum class Progress { NotStarted = 0, Learning = 1, Memorised = 2, Due = 3 };

Progress ProgressOf(const ReviewState& state, int today);

struct ProgressCounts {
    std::array<int, 4> ByState{}; // indexed by Progress
    int operator[](Progress state) const { return ByState[size_t(state)]; }
};

struct ProgressMap {
    std::vector<Progress> Pages;   // page p at p - 1
    std::vector<Progress> Sourehs; // soureh s at s - 1
    ProgressCounts PageCounts;
    ProgressCounts SourehCounts;
    ProgressCounts AyehCounts;
};

ProgressMap MakeProgressMap(const std::vector<AyehReview>& reviews, const AyehPages& pages, int today);
