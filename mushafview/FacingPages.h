#pragma once
// Which pages the Mushaf view shows together and where a page turn goes. As in print, a
// spread has the odd page on the right and the page after it on the left, and the book opens
// to the left: the next page lies to the left.

#include "content/MushafCounts.h"

struct MushafSpread {
    int Right = 0; // the page on the right, or the one page shown alone
    int Left = 0;  // the page on the left; 0 when there is none
    bool Holds(int page) const { return page != 0 && (page == Right || page == Left); }
    bool operator==(const MushafSpread&) const = default;
};

// The pages shown with `page` (clamped to the book): itself alone, or its pair of facing pages.
constexpr MushafSpread SpreadOf(int page, bool facing) {
    page = page < FirstPageID ? FirstPageID : page > LastPageID ? LastPageID : page;
    if (!facing)
        return {page, 0};
    const int right = page % 2 == 1 ? page : page - 1;
    return {right, right + 1 <= LastPageID ? right + 1 : 0};
}

// The page a turn by `step` spreads (positive: onwards, to the left) shows first; the same
// page at either end of the book.
constexpr int TurnedPage(int page, bool facing, int step) {
    const MushafSpread spread = SpreadOf(page, facing);
    const int width = facing ? 2 : 1;
    const int target = spread.Right + step * width;
    if (target < FirstPageID || target > LastPageID)
        return spread.Right;
    return target;
}
