#pragma once
// The Mushaf's counts: its pages, its sourehs and the ayehs of each soureh. The reader, the
// content tool, its checks and the recordings take them from here.

#include <array>
#include <cstddef>
#include <numeric>

inline constexpr int PageCount = 604;
// The pages are numbered from the first to the last.
inline constexpr int FirstPageID = 1;
inline constexpr int LastPageID = PageCount;
inline constexpr int SourehCount = 114;
inline constexpr int TotalAyehCount = 6236;

// The ayehs of sourehs 1 to 114, in order.
inline constexpr std::array<int, SourehCount> AyehCounts = {
    7,   286, 200, 176, 120, 165, 206, 75, 129, 109, 123, 111, 43, 52, 99, 128, 111, 110, 98,
    135, 112, 78,  118, 64,  77,  227, 93, 88,  69,  60,  34,  30, 73, 54, 45,  83,  182, 88,
    75,  85,  54,  53,  89,  59,  37,  35, 38,  29,  18,  45,  60, 49, 62, 55,  78,  96,  29,
    22,  24,  13,  14,  11,  11,  18,  12, 12,  30,  52,  52,  44, 28, 28, 20,  56,  40,  31,
    50,  40,  46,  42,  29,  19,  36,  25, 22,  17,  19,  26,  30, 20, 15, 21,  11,  8,   8,
    19,  5,   8,   8,   11,  11,  8,   3,  9,   5,   4,   7,   3,  6,  3,  5,   4,   5,   6};
static_assert(std::accumulate(AyehCounts.begin(), AyehCounts.end(), 0) == TotalAyehCount);

// The number of ayehs of soureh 1 to 114; 0 for any other number.
constexpr int NumberOfAyehs(int sourehId) {
    return sourehId >= 1 && sourehId <= SourehCount ? AyehCounts[std::size_t(sourehId - 1)] : 0;
}
