// The page drawn from its glyphs, judged by its pixels, and the hit test.
#include "content/PageGeometry.h"
#include "mushaf/MushafPainter.h"
#include "tests/mushaf/MushafTestPage.h"

#include <QPainter>
#include <cmath>
#include <gtest/gtest.h>

namespace {

class MushafPainter : public ::testing::Test {
protected:
    void SetUp() override {
        Fonts = BookFont();
        if (!Fonts)
            GTEST_SKIP() << "the book's font is not installed (scripts/setup.sh)";
        Page = TestPage(Fonts->Raw(0));
    }

    // The page drawn into a surface of `height` logical pixels at `ratio`.
    QImage Draw(const MushafStyle& style, int height = 690, double ratio = 1) const {
        const int width = int(std::ceil(height * double(PagePictureWidth) / PagePictureHeight));
        QImage surface(int(width * ratio), int(height * ratio), QImage::Format_ARGB32_Premultiplied);
        surface.setDevicePixelRatio(ratio);
        surface.fill(Qt::magenta);
        QPainter painter(&surface);
        DrawMushafPage(painter, QRectF(0, 0, width, height), Page, *Fonts, style);
        return surface;
    }

    // The device pixels of an item's glyphs on `surface`.
    static QRect DeviceBox(const QImage& surface, const QRectF& pageRect) {
        const double ratio = surface.devicePixelRatio();
        const QRectF logical(0, 0, surface.width() / ratio, surface.height() / ratio);
        const QRectF device = MushafPageTransform(logical).mapRect(pageRect);
        return QRectF(device.topLeft() * ratio, device.bottomRight() * ratio).toAlignedRect() &
               surface.rect();
    }
    QRect WordBox(const QImage& surface, WordKey key) const {
        const MushafWord& word = Item(Page, key);
        return DeviceBox(surface, QRectF(word.Left, DefaultStartRow(word.Line), word.Right - word.Left,
                                         DefaultLineHeight));
    }

    // The pixel of a box that stands out most from the paper, and how many differ from it.
    struct Ink {
        QColor Strongest;
        int Pixels = 0;
    };
    static Ink InkIn(const QImage& surface, const QRect& box, const QColor& paper) {
        Ink ink;
        int best = 0;
        for (int y = box.top(); y <= box.bottom(); ++y) {
            for (int x = box.left(); x <= box.right(); ++x) {
                const QColor pixel = surface.pixelColor(x, y);
                const int distance = std::abs(pixel.red() - paper.red()) +
                                     std::abs(pixel.green() - paper.green()) +
                                     std::abs(pixel.blue() - paper.blue());
                ink.Pixels += distance > 30 ? 1 : 0;
                if (distance > best) {
                    best = distance;
                    ink.Strongest = pixel;
                }
            }
        }
        return ink;
    }

    static double Luminance(const QColor& colour) {
        const auto linear = [](double c) {
            return c <= 0.03928 ? c / 12.92 : std::pow((c + 0.055) / 1.055, 2.4);
        };
        return 0.2126 * linear(colour.redF()) + 0.7152 * linear(colour.greenF()) +
               0.0722 * linear(colour.blueF());
    }
    static double Contrast(const QColor& a, const QColor& b) {
        const double la = Luminance(a);
        const double lb = Luminance(b);
        return (std::max(la, lb) + 0.05) / (std::min(la, lb) + 0.05);
    }

    std::optional<MushafFonts> Fonts;
    MushafPage Page;
};

TEST_F(MushafPainter, DayAndNightPagesKeepTheInkAndTheRedReadable) {
    const std::pair<const char*, MushafStyle> styles[] = {{"day", MushafStyle::Day()},
                                                          {"night", MushafStyle::Night()}};
    for (auto [name, style] : styles) {
        SCOPED_TRACE(name);
        style.CurrentAyeh = AyehKey{2, 2};
        const QImage surface = Draw(style, 1080, 2);
        const QColor paper = surface.pixelColor(surface.width() / 2, surface.height() - 4);
        EXPECT_EQ(paper.rgb(), style.Paper.rgb());
        const Ink plain = InkIn(surface, WordBox(surface, {2, 1, 2}), paper);
        const Ink current = InkIn(surface, WordBox(surface, {2, 2, 1}), paper);
        ASSERT_GT(plain.Pixels, 50);
        ASSERT_GT(current.Pixels, 50);
        EXPECT_GE(Contrast(plain.Strongest, paper), 12) << plain.Strongest.name().toStdString();
        EXPECT_GE(Contrast(current.Strongest, paper), 4.5) << current.Strongest.name().toStdString();
        // The current ayeh is red, and no other ink is.
        EXPECT_GT(current.Strongest.red(), current.Strongest.green() + 100);
        EXPECT_LT(std::abs(plain.Strongest.red() - plain.Strongest.green()), 30);
    }
    // Night turns the page dark and the ink light.
    EXPECT_LT(Luminance(Draw(MushafStyle::Night()).pixelColor(5, 685)), 0.05);
}

TEST_F(MushafPainter, HiddenWordsLeaveOnlyPaper) {
    MushafStyle style = MushafStyle::Day();
    style.Hidden = {{2, 1, 2}, {2, 1, 3}};
    const QImage surface = Draw(style, 900, 1.5);
    const struct {
        WordKey Word;
        bool Hidden;
    } cases[] = {{{2, 1, 1}, false}, {{2, 1, 2}, true}, {{2, 1, 3}, true}, {{2, 2, 1}, false}};
    for (const auto& c : cases) {
        SCOPED_TRACE(c.Word.Word);
        const int pixels = InkIn(surface, WordBox(surface, c.Word), style.Paper).Pixels;
        if (c.Hidden)
            EXPECT_EQ(pixels, 0);
        else
            EXPECT_GT(pixels, 20);
    }
}

TEST_F(MushafPainter, GlyphColoursFollowTheirCharactersAndYieldToTheCurrentAyeh) {
    // Green for every glyph from the second letter of a word, as a tajweed rule spanning it.
    MushafStyle style = MushafStyle::Day();
    style.CurrentAyeh = AyehKey{2, 2};
    style.GlyphColour = [](const MushafWord& word, const MushafGlyph& glyph) -> std::optional<QColor> {
        if (word.Kind == MushafItemKind::Word && glyph.CharStart <= 1 && 1 < glyph.CharEnd)
            return QColor(0, 160, 0);
        return std::nullopt;
    };
    const QImage surface = Draw(style, 1380, 1);
    const auto greenIn = [&](WordKey key) {
        const QRect box = WordBox(surface, key);
        int green = 0;
        for (int y = box.top(); y <= box.bottom(); ++y)
            for (int x = box.left(); x <= box.right(); ++x) {
                const QColor pixel = surface.pixelColor(x, y);
                green += pixel.green() > pixel.red() + 60 && pixel.green() > pixel.blue() + 60 ? 1 : 0;
            }
        return green;
    };
    EXPECT_GT(greenIn({2, 1, 1}), 10);
    EXPECT_GT(greenIn({2, 1, 2}), 10);
    EXPECT_EQ(greenIn({2, 1, 3}), 0); // the end sign
    EXPECT_EQ(greenIn({2, 2, 1}), 0); // the current ayeh stays red
}

TEST_F(MushafPainter, DrawsWhereThePageIsMappedAtEveryScale) {
    const struct {
        int Height;
        double Ratio;
    } cases[] = {{690, 1}, {1080, 1}, {1080, 1.5}, {1080, 2}, {540, 2}};
    for (const auto& c : cases) {
        SCOPED_TRACE(testing::Message() << c.Height << " at " << c.Ratio);
        const QImage surface = Draw(MushafStyle::Day(), c.Height, c.Ratio);
        // The ink below the title's line lies in the boxes of the words.
        int inside = 0;
        for (const MushafWord& word : Page.Words())
            inside += word.Line > 1 ? InkIn(surface, WordBox(surface, word.Key()), Qt::white).Pixels : 0;
        const QRectF text(PageTextLeft, DefaultStartRow(2), PageTextWidth,
                          PagePictureHeight - DefaultStartRow(2));
        const int all = InkIn(surface, DeviceBox(surface, text), Qt::white).Pixels;
        EXPECT_GT(inside, 0);
        EXPECT_GE(inside, 0.97 * all);
    }
}

TEST_F(MushafPainter, HitTestFindsTheWordAndAyehUnderAPoint) {
    const MushafWord& first = Item(Page, {2, 1, 1});
    const MushafWord& second = Item(Page, {2, 1, 2});
    const MushafWord& last = Item(Page, {2, 2, 3});
    const MushafWord& title = Item(Page, {2, 0, 0});
    const double line2 = DefaultStartRow(2) + 20;
    const struct {
        const char* Name;
        QPointF Point;
        std::optional<WordKey> Word;
        std::optional<AyehKey> Ayeh;
    } cases[] = {
        {"inside a word", {(first.Left + first.Right) / 2, line2}, WordKey{2, 1, 1}, AyehKey{2, 1}},
        {"the band's first row",
         {(first.Left + first.Right) / 2, double(DefaultStartRow(2))},
         WordKey{2, 1, 1},
         AyehKey{2, 1}},
        {"just right of the gap's middle",
         {(first.Left + second.Right) / 2 + 0.5, line2},
         WordKey{2, 1, 1},
         AyehKey{2, 1}},
        {"just left of the gap's middle",
         {(first.Left + second.Right) / 2 - 0.5, line2},
         WordKey{2, 1, 2},
         AyehKey{2, 1}},
        {"an end sign",
         {(Item(Page, {2, 1, 3}).Left + Item(Page, {2, 1, 3}).Right) / 2, line2},
         WordKey{2, 1, 3},
         AyehKey{2, 1}},
        {"the title", {(title.Left + title.Right) / 2, 23}, WordKey{2, 0, 0}, std::nullopt},
        {"beyond a short line's end", {last.Left - 5, DefaultStartRow(3) + 20.0}, std::nullopt, std::nullopt},
        {"right of the text", {PagePictureWidth - 3.0, line2}, std::nullopt, std::nullopt},
        {"a line without text",
         {PagePictureWidth / 2.0, DefaultStartRow(9) + 20.0},
         std::nullopt,
         std::nullopt},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.Name);
        const MushafWord* word = Page.WordAt(c.Point);
        ASSERT_EQ(word != nullptr, c.Word.has_value());
        if (word) {
            EXPECT_EQ(word->Key(), *c.Word);
        }
        EXPECT_EQ(Page.AyehAt(c.Point), c.Ayeh);
    }
}

TEST_F(MushafPainter, AnAyehHasARectangleOnEachOfItsLines) {
    EXPECT_EQ(Page.Ayehs(), (std::vector<AyehKey>{{2, 1}, {2, 2}}));
    const std::vector<QRectF> rects = Page.AyehRects({2, 2});
    ASSERT_EQ(rects.size(), 2u);
    EXPECT_EQ(rects[0].top(), DefaultStartRow(2));
    EXPECT_EQ(rects[1].top(), DefaultStartRow(3));
    // Each covers its words there, and the ayeh before it keeps the rest of line 2.
    EXPECT_TRUE(rects[0].contains(Page.HitBox(Item(Page, {2, 2, 1}))));
    EXPECT_FALSE(rects[0].intersects(Page.AyehRects({2, 1}).at(0)));
    EXPECT_NEAR(rects[1].left(), Item(Page, {2, 2, 3}).Left, 1e-9);
    EXPECT_TRUE(Page.AyehRects({3, 1}).empty());
}

} // namespace
