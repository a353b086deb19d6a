// The legend as a reader meets it: colours that read on a white and on a night page, that
// cannot pass for the red of the current ayeh or for each other, and examples that show
// their rule.
#include "tajweed/TajweedLegend.h"

#include <QString>
#include <algorithm>
#include <array>
#include <cmath>
#include <gtest/gtest.h>

namespace {

constexpr std::uint32_t WhitePage = 0xFFFFFF;
constexpr std::uint32_t NightPage = 0x202020;
constexpr std::uint32_t CurrentAyehRed = 0xFF0000;

double Linear(std::uint32_t rgb, int shift) {
    const double c = double((rgb >> shift) & 0xFF) / 255.0;
    return c <= 0.04045 ? c / 12.92 : std::pow((c + 0.055) / 1.055, 2.4);
}

// WCAG contrast ratio.
double Contrast(std::uint32_t a, std::uint32_t b) {
    const auto luminance = [](std::uint32_t rgb) {
        return 0.2126 * Linear(rgb, 16) + 0.7152 * Linear(rgb, 8) + 0.0722 * Linear(rgb, 0);
    };
    const double la = luminance(a);
    const double lb = luminance(b);
    return (std::max(la, lb) + 0.05) / (std::min(la, lb) + 0.05);
}

// CIE 1976 colour difference: about 2 is just noticeable, 20 plainly another colour.
double DeltaE(std::uint32_t a, std::uint32_t b) {
    const auto lab = [](std::uint32_t rgb) {
        const double r = Linear(rgb, 16), g = Linear(rgb, 8), bl = Linear(rgb, 0);
        const auto f = [](double t) { return t > 0.008856 ? std::cbrt(t) : 7.787 * t + 16.0 / 116.0; };
        const double x = f((0.4124 * r + 0.3576 * g + 0.1805 * bl) / 0.95047);
        const double y = f(0.2126 * r + 0.7152 * g + 0.0722 * bl);
        const double z = f((0.0193 * r + 0.1192 * g + 0.9505 * bl) / 1.08883);
        return std::array<double, 3>{116 * y - 16, 500 * (x - y), 200 * (y - z)};
    };
    const auto p = lab(a), q = lab(b);
    return std::hypot(p[0] - q[0], p[1] - q[1], p[2] - q[2]);
}

std::string NameOf(const TajweedLegendEntry& entry) {
    return std::string(TajweedRuleName(entry.Rule));
}

TEST(TajweedLegend, EveryColourReadsOnWhiteAndOnTheNightPage) {
    for (const TajweedLegendEntry& entry : TajweedLegend()) {
        SCOPED_TRACE(NameOf(entry));
        EXPECT_GE(Contrast(entry.Colour, WhitePage), 3.0);
        EXPECT_GE(Contrast(entry.Colour, NightPage), 3.0);
        EXPECT_GE(DeltaE(entry.Colour, CurrentAyehRed), 30.0);
    }
}

TEST(TajweedLegend, RulesColouredDifferentlyAreToldApart) {
    for (const TajweedLegendEntry& a : TajweedLegend())
        for (const TajweedLegendEntry& b : TajweedLegend())
            if (a.Colour != b.Colour) {
                SCOPED_TRACE(NameOf(a) + " and " + NameOf(b));
                EXPECT_GE(DeltaE(a.Colour, b.Colour), 20.0);
            }
}

TEST(TajweedLegend, EachRuleHasAPersianNameAndAnExampleThatShowsIt) {
    for (const TajweedRule rule : AllTajweedRules) {
        const TajweedLegendEntry& entry = TajweedLegendOf(rule);
        SCOPED_TRACE(std::string(TajweedRuleName(rule)));
        EXPECT_EQ(entry.Rule, rule);
        EXPECT_FALSE(entry.PersianName.isEmpty());
        const std::vector<TajweedSpan> spans = FindTajweedSpans(entry.Example);
        EXPECT_TRUE(std::any_of(spans.begin(), spans.end(), [&](const TajweedSpan& s) {
            return s.Rule == rule;
        })) << entry.Example.toString().toStdString();
    }
}

} // namespace
