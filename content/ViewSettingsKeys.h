#pragma once
// Per-user settings of the Mushaf view, beside those of ContentKeys.h (the same file): the
// night page and the tajweed colours.

inline constexpr const char* MushafViewGroup = "MushafView";
inline constexpr const char* MushafViewNightValue = "Night";
inline constexpr const char* MushafViewTajweedValue = "Tajweed";
