// The Mushaf view on fixture content, headless: keys turning pages the way the book opens, a
// click asking for its ayeh, the night page's colours, words left out for a learner, the tajweed colour of a
// drawn glyph, the choices kept, what screen readers see, and the pictures of content without glyphs.
#include "content/ContentKeys.h"
#include "content/ViewSettingsKeys.h"
#include "mushafview/MushafViewCaptions.h"
#include "mushafview/MushafViewWindow.h"
#include "tajweed/TajweedLegend.h"
#include "tests/mushafview/ViewFixture.h"
#include "tests/support/FixtureBook.h"

#include <QAccessible>
#include <QApplication>
#include <QHelpEvent>
#include <QLabel>
#include <QMenu>
#include <QPointer>
#include <QSettings>
#include <QSignalSpy>
#include <QTest>
#include <QToolTip>
#include <algorithm>
#include <cmath>
#include <gtest/gtest.h>
#include <set>

namespace {

const QSize Wide(1400, 900);
const QSize Tall(700, 1000);

double Luminance(const QColor& c) {
    const auto channel = [](double v) {
        v /= 255;
        return v <= 0.03928 ? v / 12.92 : std::pow((v + 0.055) / 1.055, 2.4);
    };
    return 0.2126 * channel(c.red()) + 0.7152 * channel(c.green()) + 0.0722 * channel(c.blue());
}

double Contrast(const QColor& a, const QColor& b) {
    const double la = Luminance(a);
    const double lb = Luminance(b);
    return (std::max(la, lb) + 0.05) / (std::min(la, lb) + 0.05);
}

int Distance(const QColor& a, const QColor& b) {
    return std::abs(a.red() - b.red()) + std::abs(a.green() - b.green()) + std::abs(a.blue() - b.blue());
}

// The pixel of a box that stands out most from the paper.
QColor StrongestIn(const QImage& image, const QRectF& box, const QColor& paper) {
    QColor best = paper;
    const QRect area = box.toAlignedRect() & image.rect();
    for (int y = area.top(); y <= area.bottom(); ++y) {
        for (int x = area.left(); x <= area.right(); ++x) {
            const QColor pixel = image.pixelColor(x, y);
            if (Distance(pixel, paper) > Distance(best, paper))
                best = pixel;
        }
    }
    return best;
}

class MushafViewTest : public ::testing::Test {
protected:
    void SetUp() override {
        QSettings(QString::fromLatin1(SettingsOrganisation), QString::fromLatin1(SettingsApplication))
            .remove(QString::fromLatin1(MushafViewGroup));
    }
    void TearDown() override { delete Window; }

    // Opens the view on page of content with or without glyphs, active, at size.
    void Open(bool glyphs, QSize size = Tall, int page = 2) {
        if (glyphs && !HasBookFont())
            GTEST_SKIP() << "the book's font is not installed (scripts/setup.sh)";
        if (!Fixture)
            Fixture = std::make_unique<ViewFixture>(glyphs);
        if (!Content)
            Content = std::make_unique<TMushafViewContent>(Fixture->Quran());
        Reopen(size, page);
    }
    void Reopen(QSize size = Tall, int page = 2) {
        delete Window;
        Window = new TMushafViewWindow(*Content, page);
        Window->resize(size);
        Window->show();
        Window->activateWindow();
        ASSERT_TRUE(QTest::qWaitForWindowActive(Window));
    }

    TMushafPageView& Pages() const { return *Window->Pages(); }
    QImage Picture() const { return Pages().grab().toImage().convertToFormat(QImage::Format_RGB32); }
    const TMushafPageView::PageSlot& SlotOf(int pageId) {
        Slots = Pages().Slots();
        for (const TMushafPageView::PageSlot& slot : Slots)
            if (slot.PageID == pageId)
                return slot;
        ADD_FAILURE() << "page " << pageId << " is not shown";
        return Slots.front();
    }
    QPointF CentreOf(AyehKey ayeh) const {
        const std::vector<QRectF> rects = Pages().AyehRects(2, ayeh);
        return rects.empty() ? QPointF() : rects.front().center();
    }

    std::unique_ptr<ViewFixture> Fixture;
    std::unique_ptr<TMushafViewContent> Content;
    QPointer<TMushafViewWindow> Window;
    std::vector<TMushafPageView::PageSlot> Slots;
};

struct KeyCase {
    QSize Size;
    int Page;
    Qt::Key Key;
    MushafSpread Expected;
    int Requested; // 0: no turn asked for
};

class MushafViewKeys : public MushafViewTest, public ::testing::WithParamInterface<KeyCase> {};

TEST_P(MushafViewKeys, TurnThePagesAsTheBookOpens) {
    const KeyCase& c = GetParam();
    Open(false, c.Size, c.Page);
    const QSignalSpy requests(Window, &TMushafViewWindow::PageRequested);
    QTest::keyClick(Window, c.Key);
    EXPECT_EQ(Pages().Spread(), c.Expected);
    if (c.Requested == 0) {
        EXPECT_EQ(requests.count(), 0);
    } else {
        ASSERT_EQ(requests.count(), 1);
        EXPECT_EQ(requests.at(0).at(0).toInt(), c.Requested);
    }
}

INSTANTIATE_TEST_SUITE_P(Keys, MushafViewKeys,
                         ::testing::Values(KeyCase{Wide, 1, Qt::Key_Left, {3, 4}, 3},
                                           KeyCase{Wide, 2, Qt::Key_PageDown, {3, 4}, 3},
                                           KeyCase{Wide, 4, Qt::Key_Right, {1, 2}, 1},
                                           KeyCase{Wide, 5, Qt::Key_PageUp, {3, 4}, 3},
                                           KeyCase{Wide, 2, Qt::Key_Right, {1, 2}, 0},
                                           KeyCase{Tall, 2, Qt::Key_Left, {3, 0}, 3},
                                           KeyCase{Tall, 2, Qt::Key_Right, {1, 0}, 1},
                                           KeyCase{Tall, 604, Qt::Key_Left, {604, 0}, 0}));

TEST_F(MushafViewTest, ZoomKeysGrowAndShrinkThePagesAndCtrlZeroFitsThemAgain) {
    Open(false);
    const int fitted = Pages().height();
    ASSERT_GT(fitted, 0);
    QTest::keyClick(Window, Qt::Key_Plus, Qt::ControlModifier);
    EXPECT_GT(Pages().height(), fitted);
    QTest::keyClick(Window, Qt::Key_0, Qt::ControlModifier);
    EXPECT_EQ(Pages().height(), fitted);
    QTest::keyClick(Window, Qt::Key_Minus, Qt::ControlModifier);
    EXPECT_LT(Pages().height(), fitted);
}

TEST_F(MushafViewTest, ClickAsksForTheAyehAndRestShowsItsTranslation) {
    Open(true);
    QSignalSpy activated(Window, &TMushafViewWindow::AyehActivated);
    for (const AyehKey ayeh : {AyehKey{2, 1}, AyehKey{2, 2}, AyehKey{2, 3}}) {
        SCOPED_TRACE(ayeh.Ayeh);
        const QPoint at = CentreOf(ayeh).toPoint();
        QTest::mouseClick(&Pages(), Qt::LeftButton, {}, at);
        ASSERT_EQ(activated.count(), 1);
        EXPECT_EQ(activated.at(0).at(0).toInt(), ayeh.Soureh);
        EXPECT_EQ(activated.at(0).at(1).toInt(), ayeh.Ayeh);
        activated.clear();
        QHelpEvent rest(QEvent::ToolTip, at, Pages().mapToGlobal(at));
        QApplication::sendEvent(&Pages(), &rest);
        EXPECT_EQ(QToolTip::text(), FixtureBook::FindAyeh(ayeh.Soureh, ayeh.Ayeh).Translation());
    }
    // The margin and the soureh's title hold no ayeh.
    QTest::mouseClick(&Pages(), Qt::LeftButton, {}, (SlotOf(2).Sheet.topLeft() + QPointF(4, 4)).toPoint());
    const std::vector<QRectF> title = Pages().AyehRects(2, {2, 1});
    QTest::mouseClick(&Pages(), Qt::LeftButton, {},
                      (title.front().center() - QPointF(0, title.front().height())).toPoint());
    EXPECT_EQ(activated.count(), 0);
}

TEST_F(MushafViewTest, NightPageIsDarkWithLightInkAndARedThatKeepsItsContrast) {
    Open(true);
    Window->ShowAyeh(2, 2, 2);
    for (const bool night : {false, true}) {
        SCOPED_TRACE(night);
        Window->SetNight(night);
        const QImage image = Picture();
        const QColor paper = image.pixelColor((SlotOf(2).Sheet.topLeft() + QPointF(3, 3)).toPoint());
        EXPECT_EQ(Luminance(paper) < 0.05, night);
        const QColor ink = StrongestIn(image, Pages().AyehRects(2, {2, 1}).front(), paper);
        EXPECT_GE(Contrast(ink, paper), 7);
        const QColor red = StrongestIn(image, Pages().AyehRects(2, {2, 2}).front(), paper);
        EXPECT_GT(red.red(), red.green() + 100);
        EXPECT_GT(red.red(), red.blue() + 100);
        EXPECT_GE(Contrast(red, paper), 4.5);
    }
}

TEST_F(MushafViewTest, TajweedColoursAGlyphByTheRuleOfItsCharacters) {
    Open(true);
    Window->ShowAyeh(2, 3, 2); // the red of the current ayeh is elsewhere
    const AyehKey ayeh{2, 2};
    const std::vector<TajweedSpan> spans = FindTajweedSpans(ViewFixture::ArabicText(ayeh));
    ASSERT_FALSE(spans.empty());
    // The glyph drawn for the first character of the first span, in the widget.
    const MushafPage& page = Pages().ShownPage(2)->Glyphs;
    const MushafWord* word = nullptr;
    for (const MushafWord& item : page.Words())
        if (item.Soureh == ayeh.Soureh && item.Ayeh == ayeh.Ayeh && item.Kind == MushafItemKind::Word &&
            item.CharStart <= spans.front().Start && spans.front().Start < item.CharEnd)
            word = &item;
    ASSERT_NE(word, nullptr);
    const MushafGlyph& glyph = word->Glyphs.at(size_t(spans.front().Start - word->CharStart));
    const QRectF box =
        Content->GlyphFonts().Raw(glyph.Font).boundingRect(glyph.Id).translated(glyph.Position);
    const QRectF onScreen = MushafPageTransform(SlotOf(2).Text).mapRect(box);

    for (const bool coloured : {false, true}) {
        SCOPED_TRACE(coloured);
        Window->SetTajweedColours(coloured);
        const MushafStyle style = Pages().Style();
        const QColor ink = StrongestIn(Picture(), onScreen, style.Paper);
        const QColor expected =
            coloured ? QColor::fromRgb(QRgb(TajweedLegendOf(spans.front().Rule).Colour)) : style.Ink;
        EXPECT_LE(Distance(ink, expected), 60)
            << ink.name().toStdString() << " " << expected.name().toStdString();
    }
}

struct HideCase {
    const char* Name;
    std::set<WordKey> Hidden;
    std::vector<std::pair<WordKey, bool>> Inked; // a word of page 2, and whether it has ink
};

void PrintTo(const HideCase& c, std::ostream* out) {
    *out << c.Name;
}

class MushafViewHiding : public MushafViewTest, public ::testing::WithParamInterface<HideCase> {};

TEST_P(MushafViewHiding, HiddenWordsLeaveNoInk) {
    Open(true);
    Window->ShowAyeh(2, 3, 2);
    Pages().SetHiddenWords(GetParam().Hidden);
    const QImage image = Picture();
    const QColor paper = Pages().Style().Paper;
    const QTransform toView = MushafPageTransform(SlotOf(2).Text);
    for (const auto& [key, inked] : GetParam().Inked) {
        SCOPED_TRACE(testing::Message() << key.Soureh << ":" << key.Ayeh << ":" << key.Word);
        QRectF box;
        for (const MushafWord& word : Pages().ShownPage(2)->Glyphs.Words())
            if (word.Key() == key && word.InAyeh())
                for (const MushafGlyph& glyph : word.Glyphs)
                    box |= Content->GlyphFonts()
                               .Raw(glyph.Font)
                               .boundingRect(glyph.Id)
                               .translated(glyph.Position);
        ASSERT_FALSE(box.isEmpty());
        const int strongest = Distance(StrongestIn(image, toView.mapRect(box), paper), paper);
        if (inked)
            EXPECT_GT(strongest, 200);
        else
            EXPECT_LE(strongest, 30);
    }
}

INSTANTIATE_TEST_SUITE_P(
    Hiding, MushafViewHiding,
    ::testing::Values(
        HideCase{"AnAyehHiddenKeepsItsEndSignAndTheOthers",
                 {{2, 2, 1}, {2, 2, 2}},
                 {{{2, 2, 1}, false}, {{2, 2, 2}, false}, {{2, 2, 3}, true}, {{2, 1, 1}, true}}},
        HideCase{"ARevealedWordHasInkAndTheNextNone", {{2, 2, 2}}, {{{2, 2, 1}, true}, {{2, 2, 2}, false}}},
        HideCase{"NothingHiddenShowsThePageWhole", {}, {{{2, 2, 1}, true}, {{2, 2, 2}, true}}}),
    [](const auto& row) { return std::string(row.param.Name); });

TEST_F(MushafViewTest, ChoicesAreKeptForTheNextView) {
    Open(false);
    QTest::keyClick(Window, Qt::Key_T);
    QMenu* menu = Window->ContextMenu();
    for (QAction* action : menu->actions())
        if (action->text().section(u'\t', 0, 0) == CaptionNightPage)
            action->trigger();
    delete menu;
    Reopen();
    EXPECT_TRUE(Pages().TajweedColours());
    EXPECT_TRUE(Pages().Night());
    QTest::keyClick(Window, Qt::Key_T);
    Reopen();
    EXPECT_FALSE(Pages().TajweedColours());
}

TEST_F(MushafViewTest, ScreenReadersFindThePageAndEachAyehWithItsTexts) {
    Open(true);
    QAccessibleInterface* view = QAccessible::queryAccessibleInterface(&Pages());
    ASSERT_NE(view, nullptr);
    ASSERT_EQ(view->childCount(), 1);
    QAccessibleInterface* page = view->child(0);
    EXPECT_TRUE(page->text(QAccessible::Name).contains(PersianDigits(2)));
    ASSERT_EQ(page->childCount(), 3);
    for (int i = 0; i < page->childCount(); ++i) {
        SCOPED_TRACE(i);
        const AyehKey ayeh{2, i + 1};
        const QAccessibleInterface* element = page->child(i);
        EXPECT_EQ(element->parent(), page);
        const QString name = element->text(QAccessible::Name);
        EXPECT_TRUE(name.contains(FixtureBook::Sourehs()[1].Name)) << name.toStdString();
        EXPECT_TRUE(name.contains(PersianDigits(ayeh.Ayeh))) << name.toStdString();
        const QString description = element->text(QAccessible::Description);
        EXPECT_TRUE(description.contains(ViewFixture::ArabicText(ayeh)));
        EXPECT_TRUE(description.contains(FixtureBook::FindAyeh(2, ayeh.Ayeh).Translation()));
        EXPECT_TRUE(element->rect().contains(Pages().mapToGlobal(CentreOf(ayeh).toPoint())));
    }
}

TEST_F(MushafViewTest, ContentWithoutGlyphsShowsThePicturesWithANote) {
    Open(false);
    EXPECT_FALSE(Content->DrawsGlyphs());
    const QList<QLabel*> labels = Window->findChildren<QLabel*>();
    ASSERT_FALSE(Content->Note().isEmpty());
    EXPECT_TRUE(std::any_of(labels.begin(), labels.end(), [&](const QLabel* label) {
        return label->isVisible() && label->text() == Content->Note();
    }));
    const QImage image = Picture();
    const QTransform toView = MushafPageTransform(SlotOf(2).Text);
    const std::vector<QRect> ink = FixtureBook::InkOf(2);
    ASSERT_FALSE(ink.empty());
    for (const QRect& rect : ink)
        EXPECT_LT(Luminance(image.pixelColor(toView.map(QPointF(rect.center())).toPoint())), 0.1);
    EXPECT_GT(Luminance(image.pixelColor(toView.map(QPointF(2, 2)).toPoint())), 0.8);
}

} // namespace
