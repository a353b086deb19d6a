// The main window's own controls and helpers: stored colours, placement, fonts, the page
// picture, the scroll box and the repeat box.
#include "mainwindow/Controls.h"
#include "mainwindow/ErrorBox.h"

#include <QApplication>
#include <QFocusEvent>
#include <QFontDatabase>
#include <QKeyEvent>
#include <QLineEdit>
#include <QScrollBar>
#include <QSignalSpy>
#include <QTest>
#include <climits>
#include <gtest/gtest.h>

namespace {

struct ColourCase {
    quint32 Stored;
    int Red, Green, Blue;
};

class StoredColourTest : public ::testing::TestWithParam<ColourCase> {};

TEST_P(StoredColourTest, ReadsRedFromTheLowestByte) {
    const ColourCase c = GetParam();
    const QColor colour = StoredColour(c.Stored);
    EXPECT_EQ(colour.red(), c.Red);
    EXPECT_EQ(colour.green(), c.Green);
    EXPECT_EQ(colour.blue(), c.Blue);
}

INSTANTIATE_TEST_SUITE_P(WindowColours, StoredColourTest,
                         ::testing::Values(ColourCase{14149369, 249, 230, 215}, ColourCase{29955, 3, 117, 0},
                                           ColourCase{15728639, 255, 255, 239},
                                           ColourCase{0x0000FF, 255, 0, 0}));

struct PlaceCase {
    QRect Screen;
    QSize Window;
    QPoint Expected;
};

class CentredPositionTest : public ::testing::TestWithParam<PlaceCase> {};

TEST_P(CentredPositionTest, HalvesRoundDownAndNeverGoOffTheTopLeft) {
    const PlaceCase c = GetParam();
    EXPECT_EQ(CentredPosition(c.Screen, c.Window), c.Expected);
}

INSTANTIATE_TEST_SUITE_P(
    Screens, CentredPositionTest,
    ::testing::Values(PlaceCase{QRect(0, 0, 1024, 768), QSize(800, 600), QPoint(112, 84)},
                      // Odd differences round down.
                      PlaceCase{QRect(0, 0, 1366, 768), QSize(801, 601), QPoint(282, 83)},
                      // A screen the window's size or smaller puts it at the top-left corner.
                      PlaceCase{QRect(0, 0, 800, 600), QSize(800, 600), QPoint(0, 0)},
                      PlaceCase{QRect(0, 0, 640, 480), QSize(808, 627), QPoint(0, 0)},
                      PlaceCase{QRect(0, 0, 799, 1000), QSize(800, 600), QPoint(0, 200)},
                      // A second screen counts from its own corner.
                      PlaceCase{QRect(1920, 0, 1280, 1024), QSize(800, 600), QPoint(2160, 212)}));

TEST(CentredOverTest, CentresOverAWindowAndMayRiseAboveItButNotOffTheScreen) {
    // A 681 x 481 window over a 760 x 438 one: 39 to the right of it, 22 above it.
    EXPECT_EQ(CentredOver(QRect(100, 100, 760, 438), QSize(681, 481), QPoint(0, 0)), QPoint(139, 78));
    EXPECT_EQ(CentredOver(QRect(0, 10, 760, 438), QSize(681, 481), QPoint(0, 0)), QPoint(39, 0));
}

struct DecimalCase {
    const char16_t* Text;
    bool Valid;
    int Value;
};

class ParseDecimalTest : public ::testing::TestWithParam<DecimalCase> {};

TEST_P(ParseDecimalTest, ReadsWesternPersianAndArabicIndicDigits) {
    const DecimalCase c = GetParam();
    int value = 12345;
    EXPECT_EQ(ParseDecimal(QString::fromUtf16(c.Text), value), c.Valid);
    if (c.Valid) {
        EXPECT_EQ(value, c.Value);
    }
}

INSTANTIATE_TEST_SUITE_P(
    Texts, ParseDecimalTest,
    ::testing::Values(DecimalCase{u"604", true, 604}, DecimalCase{u"\u06F6\u06F0\u06F4", true, 604},
                      DecimalCase{u"\u0666\u0660\u0664", true, 604}, DecimalCase{u"-3", true, -3},
                      DecimalCase{u"007", true, 7}, DecimalCase{u"-2147483648", true, INT_MIN},
                      DecimalCase{u"", false, 0}, DecimalCase{u"-", false, 0}, DecimalCase{u"abc", false, 0},
                      DecimalCase{u"12a", false, 0}, DecimalCase{u" 5", false, 0},
                      DecimalCase{u"2147483648", false, 0}));

struct ErrorTextCase {
    const char16_t* Message;
    const char16_t* Shown;
};

class StandardErrorTextTest : public ::testing::TestWithParam<ErrorTextCase> {};

TEST_P(StandardErrorTextTest, AddsAFullStopUnlessTheMessageEndsInOne) {
    const ErrorTextCase c = GetParam();
    EXPECT_EQ(StandardErrorText(QString::fromUtf16(c.Message)), QString::fromUtf16(c.Shown));
}

INSTANTIATE_TEST_SUITE_P(Messages, StandardErrorTextTest,
                         ::testing::Values(ErrorTextCase{u"'abc' is not a valid integer value",
                                                         u"'abc' is not a valid integer value."},
                                           ErrorTextCase{u"Done.", u"Done."}, ErrorTextCase{u"", u""},
                                           ErrorTextCase{u"trailing space ", u"trailing space "},
                                           ErrorTextCase{u"\u062E\u0637\u0627", u"\u062E\u0637\u0627."}));

TEST(UiFontTest, TakesTheNamedFamilyOrAPersianCapableFallbackAtTheCharacterHeight) {
    const QStringList installed = QFontDatabase::families();
    const QFont font = UiFont(QStringLiteral("Tahoma"), 13, true);
    if (installed.contains(QStringLiteral("Tahoma"))) {
        EXPECT_EQ(font.family(), QStringLiteral("Tahoma"));
    } else if (installed.contains(QStringLiteral("Noto Sans Arabic"))) {
        EXPECT_EQ(font.family(), QStringLiteral("Noto Sans Arabic"));
    }
    EXPECT_EQ(font.pixelSize(), 13);
    EXPECT_TRUE(font.bold());
    // The fallback must have the letters the captions use.
    const QFontMetrics metrics(font);
    for (char16_t letter : {u'\u0622', u'\u064A', u'\u0643', u'\u06AF', u'\u067E'})
        EXPECT_TRUE(metrics.inFont(QChar(letter))) << int(letter);
}

// --- Page picture ---

TEST(PageImageTest, KeepsWhatIsDrawnAndSetOnItsOwnSurface) {
    TPageImage image;
    ASSERT_EQ(image.Surface().size(), QSize(462, 690));
    QImage bitmap(10, 5, QImage::Format_BGR888);
    bitmap.fill(QColor(0, 0, 200));
    image.DrawBitmap(bitmap, 100, 200);
    image.SetPixel(3, 4, qRgb(255, 0, 0));
    image.SetPixel(-1, 4, qRgb(0, 255, 0));  // outside: ignored
    image.SetPixel(462, 0, qRgb(0, 255, 0)); // outside: ignored

    EXPECT_EQ(image.Surface().pixel(100, 200), qRgb(0, 0, 200));
    EXPECT_EQ(image.Surface().pixel(109, 204), qRgb(0, 0, 200));
    EXPECT_EQ(image.Surface().pixel(110, 204), qRgb(255, 255, 255));
    EXPECT_EQ(image.Surface().pixel(3, 4), qRgb(255, 0, 0));
    EXPECT_EQ(image.Surface().pixel(0, 4), qRgb(255, 255, 255));
}

TEST(PageImageTest, ShowsItsSurfaceOnScreen) {
    TPageImage image;
    image.SetPixel(5, 6, qRgb(255, 0, 0));
    const QImage shown = image.grab().toImage();
    EXPECT_EQ(shown.pixelColor(5, 6), QColor(255, 0, 0));
    EXPECT_EQ(shown.pixelColor(6, 6), QColor(255, 255, 255));
}

TEST(PageImageTest, ReportsPressesOfEveryButtonAndMovesInPictureCoordinates) {
    TPageImage image;
    image.show();
    QSignalSpy downs(&image, &TPageImage::MouseDown);
    QSignalSpy moves(&image, &TPageImage::MouseMove);
    QTest::mousePress(&image, Qt::RightButton, Qt::ShiftModifier, QPoint(40, 300));
    QTest::mouseRelease(&image, Qt::RightButton, Qt::ShiftModifier, QPoint(40, 300));
    QTest::mousePress(&image, Qt::MiddleButton, {}, QPoint(7, 8));
    QTest::mouseRelease(&image, Qt::MiddleButton, {}, QPoint(7, 8));
    QTest::mouseMove(&image, QPoint(120, 650));

    ASSERT_EQ(downs.size(), 2);
    EXPECT_EQ(downs[0][0].value<Qt::MouseButton>(), Qt::RightButton);
    EXPECT_TRUE(downs[0][1].value<Qt::KeyboardModifiers>() & Qt::ShiftModifier);
    EXPECT_EQ(downs[0][2].toInt(), 40);
    EXPECT_EQ(downs[0][3].toInt(), 300);
    EXPECT_EQ(downs[1][0].value<Qt::MouseButton>(), Qt::MiddleButton);
    ASSERT_FALSE(moves.isEmpty());
    EXPECT_EQ(moves.last()[1].toInt(), 120);
    EXPECT_EQ(moves.last()[2].toInt(), 650);
}

TEST(PageImageTest, TheSecondPressOfADoubleClickIsAPressToo) {
    TPageImage image;
    image.show();
    QSignalSpy downs(&image, &TPageImage::MouseDown);
    // Widgets receive the second press of a double click as the double-click event alone.
    QTest::mouseDClick(&image, Qt::LeftButton, {}, QPoint(10, 12));
    ASSERT_EQ(downs.size(), 1);
    EXPECT_EQ(downs[0][3].toInt(), 12);
}

TEST(PageImageTest, HintTextIsTheTooltipAndCanBeSwitchedOff) {
    TPageImage image;
    image.SetHint(QStringLiteral("translation"));
    EXPECT_EQ(image.toolTip(), QStringLiteral("translation"));
    image.SetShowHint(false);
    EXPECT_FALSE(image.ShowHint());
    image.SetHint(QString());
    EXPECT_TRUE(image.toolTip().isEmpty());
}

// --- Scroll box ---

struct ScrollCase {
    int Asked;
    int Expected;
};

class PageScrollBoxTest : public ::testing::TestWithParam<ScrollCase> {};

TEST_P(PageScrollBoxTest, ClampsThePositionToThePictureBelowTheClientHeight) {
    QWidget window;
    auto* box = new TPageScrollBox(&window);
    box->setGeometry(97, 255, 481, 274);
    box->setWidget(new TPageImage);
    // Before and after the first showing alike.
    box->SetVertPosition(GetParam().Asked);
    EXPECT_EQ(box->VertPosition(), GetParam().Expected);
    window.show();
    box->SetVertPosition(0);
    box->SetVertPosition(GetParam().Asked);
    EXPECT_EQ(box->VertPosition(), GetParam().Expected);
    EXPECT_EQ(box->ClientHeight(), 274);
    EXPECT_EQ(box->viewport()->height(), 274);
}

INSTANTIATE_TEST_SUITE_P(Positions, PageScrollBoxTest,
                         ::testing::Values(ScrollCase{0, 0}, ScrollCase{46, 46}, ScrollCase{416, 416},
                                           ScrollCase{417, 416}, ScrollCase{100000, 416}, ScrollCase{-1, 0}));

TEST(PageScrollBoxTest, StepsByALineAndHasNoHorizontalBar) {
    QWidget window;
    auto* box = new TPageScrollBox(&window);
    box->setGeometry(0, 0, 481, 274);
    box->setWidget(new TPageImage);
    window.show();
    QScrollBar* bar = box->verticalScrollBar();
    bar->triggerAction(QAbstractSlider::SliderSingleStepAdd);
    EXPECT_EQ(box->VertPosition(), 46);
    EXPECT_TRUE(bar->hasTracking());
    EXPECT_EQ(box->horizontalScrollBarPolicy(), Qt::ScrollBarAlwaysOff);
    EXPECT_EQ(box->frameWidth(), 0);
    EXPECT_EQ(box->viewport()->palette().color(QPalette::Window), QColor(255, 255, 239));
}

// --- Repeat box ---

class RepeatBoxFixture : public ::testing::Test {
protected:
    void SetUp() override {
        Window.resize(200, 100);
        Box = new TRepeatSpinBox(&Window);
        Other = new QLineEdit(&Window);
        Other->move(0, 50);
        Window.show();
    }
    QString Text() const { return Box->findChild<QLineEdit*>()->text(); }
    void Type(const QString& text) {
        Box->findChild<QLineEdit*>()->clear();
        // Key events carrying the character, as a Persian keyboard layout sends them.
        for (QChar c : text) {
            QKeyEvent press(QEvent::KeyPress, 0, Qt::NoModifier, QString(c));
            QApplication::sendEvent(Box, &press);
        }
    }
    void Leave() {
        QFocusEvent out(QEvent::FocusOut, Qt::TabFocusReason);
        QApplication::sendEvent(Box, &out);
    }

    QWidget Window;
    TRepeatSpinBox* Box = nullptr;
    QLineEdit* Other = nullptr;
};

TEST_F(RepeatBoxFixture, StartsAtOne) {
    EXPECT_EQ(Box->Value(), 1);
    EXPECT_EQ(Text(), QStringLiteral("1"));
}

struct TypedCase {
    const char16_t* Typed;
    int ReadWhileTyped;
    const char16_t* ShownAfterLeaving;
    int ReadAfterLeaving;
};

class RepeatBoxTypingTest : public RepeatBoxFixture, public ::testing::WithParamInterface<TypedCase> {};

TEST_P(RepeatBoxTypingTest, KeepsZeroToTenWhenLeftAndReadsNonNumbersAsZero) {
    const TypedCase c = GetParam();
    Type(QString::fromUtf16(c.Typed));
    EXPECT_EQ(Box->Value(), c.ReadWhileTyped);
    Leave();
    EXPECT_EQ(Text(), QString::fromUtf16(c.ShownAfterLeaving));
    EXPECT_EQ(Box->Value(), c.ReadAfterLeaving);
}

INSTANTIATE_TEST_SUITE_P(Typed, RepeatBoxTypingTest,
                         ::testing::Values(TypedCase{u"25", 25, u"10", 10}, TypedCase{u"7", 7, u"7", 7},
                                           TypedCase{u"0", 0, u"0", 0}, TypedCase{u"10", 10, u"10", 10},
                                           TypedCase{u"", 0, u"", 0}, TypedCase{u"-3", -3, u"0", 0},
                                           TypedCase{u"-", 0, u"-", 0}, TypedCase{u"\u06F5", 5, u"\u06F5", 5},
                                           // Letters cannot be typed at all.
                                           TypedCase{u"ab", 0, u"", 0}));

struct StepCase {
    const char16_t* Start;
    Qt::Key Key;
    int Expected;
};

class RepeatBoxStepTest : public RepeatBoxFixture, public ::testing::WithParamInterface<StepCase> {};

TEST_P(RepeatBoxStepTest, ArrowsStepByOneWithinZeroToTen) {
    const StepCase c = GetParam();
    Type(QString::fromUtf16(c.Start));
    QTest::keyClick(Box, c.Key);
    EXPECT_EQ(Box->Value(), c.Expected);
    EXPECT_EQ(Text(), QString::number(c.Expected));
}

INSTANTIATE_TEST_SUITE_P(Steps, RepeatBoxStepTest,
                         ::testing::Values(StepCase{u"1", Qt::Key_Up, 2}, StepCase{u"1", Qt::Key_Down, 0},
                                           StepCase{u"9", Qt::Key_Up, 10}, StepCase{u"25", Qt::Key_Down, 10},
                                           StepCase{u"", Qt::Key_Up, 1}));

TEST_F(RepeatBoxFixture, ArrowsStopAtTheEnds) {
    Box->SetValue(10);
    QTest::keyClick(Box, Qt::Key_Up);
    EXPECT_EQ(Box->Value(), 10);
    Box->SetValue(0);
    QTest::keyClick(Box, Qt::Key_Down);
    EXPECT_EQ(Box->Value(), 0);
}

TEST_F(RepeatBoxFixture, ValuesWrittenOutsideTheRangeAreShownClamped) {
    Box->SetValue(25);
    EXPECT_EQ(Box->Value(), 10);
    Box->SetValue(-4);
    EXPECT_EQ(Box->Value(), 0);
    Box->SetValue(4);
    EXPECT_EQ(Text(), QStringLiteral("4"));
}

} // namespace
