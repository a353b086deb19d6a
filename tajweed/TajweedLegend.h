#pragma once
// What a view needs to show the tajweed rules: each rule's colour, its Persian name and an
// example. The palette is that of the common coloured tajweed Mushafs (greys for letters not
// pronounced, greens for the nasal rules, blue for qalqalah, the madds from crimson by
// length down to brown), chosen so that every colour reads at a contrast of at least 3:1 on
// a white page and on a night page as dark as #202020, and stays clear of the pure red the
// reader paints the current ayeh in. Related rules share a colour.

#include "tajweed/TajweedRules.h"

#include <QStringView>
#include <array>
#include <cstdint>

struct TajweedLegendEntry {
    TajweedRule Rule = TajweedRule::Ghunnah;
    std::uint32_t Colour = 0; // 0xRRGGBB
    QStringView PersianName;
    // A word (two where the rule looks at the next word) in which the rule shows, as the
    // print writes it; read on its own, so that its end is a stop.
    QStringView Example;
};

// One entry per rule, in the order of AllTajweedRules.
const std::array<TajweedLegendEntry, TajweedRuleCount>& TajweedLegend();
const TajweedLegendEntry& TajweedLegendOf(TajweedRule rule);
