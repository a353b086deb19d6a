// The main window as it is laid out: window properties, every control's place, size, text,
// font and colours, the focus order, the latching buttons and the close chain. The working
// folder holds no content, so the book cannot be built and the create handler's error shows
// in the standard error box while the window opens all the same.
#include "mainwindow/Main.h"
#include "mainwindow/ShellWindows.h"
#include "model/Utility.h"
#include "tests/mainwindow/ModalWatcher.h"
#include "tests/support/FakeAudioPlayer.h"

#include <QDir>
#include <QScreen>
#include <QScrollBar>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTest>
#include <functional>
#include <gtest/gtest.h>
#include <memory>

namespace {

const QString MainCaption = QString::fromUtf16(
    u"\u0646\u0631\u0645 \u0627\u0641\u0632\u0627\u0631 \u0642\u0631\u0622\u0646\u064A "
    u"\u06AF\u0644\u0648\u0627\u0631 "
    u"3/3 ( \u0622\u0645\u0648\u0632\u0634 \u0686\u0646\u062F \u0631\u0633\u0627\u0646\u0647 \u0627\u064A "
    u"\u0642\u0631\u0622\u0646 \u0643\u0631\u064A\u0645 )");
const QString PauseCaption = QString::fromUtf16(u"\u0645\u0643\u062B");

const QColor Peach(249, 230, 215);
const QColor DarkGreen(3, 117, 0);

// Runs each test in an empty working folder, with the error box of the failed book closed
// and recorded.
class MainWindowTest : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(Dir.isValid());
        Previous = QDir::currentPath();
        QDir::setCurrent(Dir.path());
        Form = std::make_unique<TTntMainForm>(std::make_unique<FakeAudioPlayer>());
    }
    void TearDown() override {
        Form.reset();
        GlobalQuran.reset();
        formSplash = nullptr;
        QDir::setCurrent(Previous);
    }

    QTemporaryDir Dir;
    QString Previous;
    ModalWatcher Watcher;
    std::unique_ptr<TTntMainForm> Form;
};

TEST_F(MainWindowTest, IsAFixedAlwaysOnTopRightToLeftWindowThatMinimisesButDoesNotMaximise) {
    EXPECT_EQ(Form->windowTitle(), MainCaption);
    EXPECT_EQ(Form->size(), QSize(800, 600));
    EXPECT_EQ(Form->minimumSize(), QSize(800, 600));
    EXPECT_EQ(Form->maximumSize(), QSize(800, 600));
    const Qt::WindowFlags flags = Form->windowFlags();
    EXPECT_TRUE(flags & Qt::WindowStaysOnTopHint);
    EXPECT_TRUE(flags & Qt::WindowMinimizeButtonHint);
    EXPECT_TRUE(flags & Qt::WindowCloseButtonHint);
    EXPECT_TRUE(flags & Qt::WindowSystemMenuHint);
    EXPECT_FALSE(flags & Qt::WindowMaximizeButtonHint);
    EXPECT_EQ(Form->layoutDirection(), Qt::RightToLeft);
    EXPECT_EQ(Form->palette().color(QPalette::Window), Peach);
}

TEST_F(MainWindowTest, ErrorOfTheCreateHandlerIsShownAndTheWindowOpensAllTheSame) {
    ASSERT_EQ(Watcher.Boxes().size(), 1);
    const ModalWatcher::Box box = Watcher.Boxes().front();
    EXPECT_EQ(box.Title, QStringLiteral("Golvar Holy Quran Learning"));
    EXPECT_FALSE(box.Text.isEmpty());
    EXPECT_TRUE(box.Text.endsWith(QLatin1Char('.')));
    EXPECT_TRUE(box.HasOnlyOk);
    EXPECT_EQ(GlobalQuran, nullptr);
    Form->show();
    EXPECT_TRUE(Form->isVisible());
    EXPECT_EQ(Form->size(), QSize(800, 600));
}

struct ControlCase {
    const char* Name;
    std::function<QWidget*(TTntMainForm&)> Control;
    QRect Geometry;
};

class MainWindowControlTest : public MainWindowTest, public ::testing::WithParamInterface<ControlCase> {};

TEST_P(MainWindowControlTest, LiesAtItsPlaceWithItsSize) {
    const ControlCase& c = GetParam();
    QWidget* control = c.Control(*Form);
    ASSERT_NE(control, nullptr);
    Form->show();
    EXPECT_EQ(control->geometry(), c.Geometry) << c.Name;
}

#define CONTROL(name, x, y, w, h)                                                                            \
    ControlCase {                                                                                            \
#name, [](TTntMainForm & f) -> QWidget* { return f.name; }, QRect(x, y, w, h)                        \
    }

INSTANTIATE_TEST_SUITE_P(
    Controls, MainWindowControlTest,
    ::testing::Values(CONTROL(Image1, 0, 0, 800, 600), CONTROL(TntMemo1, 151, 40, 376, 105),
                      CONTROL(TntComboBoxGhariList, 644, 145, 116, 24),
                      CONTROL(TntComboBoxSourehsList, 644, 174, 116, 24),
                      CONTROL(TntComboBoxAyehsList, 712, 202, 48, 24),
                      CONTROL(SpinEditReadingCount, 645, 202, 40, 26), CONTROL(ScrollBox1, 97, 255, 481, 274),
                      CONTROL(TntImage1, 0, 0, 462, 690), CONTROL(BitBtn1, 640, 272, 146, 39),
                      CONTROL(BitBtn2, 640, 312, 146, 39), CONTROL(TntSpeedButtonPlay, 678, 506, 75, 22),
                      CONTROL(TntSpeedButton1, 678, 530, 75, 22),
                      CONTROL(TntSpeedButtonClose, 678, 554, 75, 22), CONTROL(txtPageNo, 2, 525, 36, 27),
                      CONTROL(TntBitBtnGoToPage, 3, 553, 36, 25)),
    [](const ::testing::TestParamInfo<ControlCase>& testCase) { return std::string(testCase.param.Name); });

#undef CONTROL

struct TextCase {
    const char* Name;
    std::function<QString(TTntMainForm&)> Text;
    const char16_t* Expected;
};

class MainWindowTextTest : public MainWindowTest, public ::testing::WithParamInterface<TextCase> {};

TEST_P(MainWindowTextTest, ReadsExactlyAsTheProductShowsIt) {
    const TextCase& c = GetParam();
    EXPECT_EQ(c.Text(*Form), QString::fromUtf16(c.Expected)) << c.Name;
}

#define TEXT(name, expected)                                                                                 \
    TextCase {                                                                                               \
#name, [](TTntMainForm & f) { return f.name->text(); }, expected                                     \
    }

INSTANTIATE_TEST_SUITE_P(
    Captions, MainWindowTextTest,
    ::testing::Values(TEXT(TntSpeedButtonPlay, u"\u0642\u0631\u0627\u0626\u062A \u0622\u064A\u0647"),
                      TEXT(TntSpeedButton1, u"\u0645\u0643\u062B"),
                      TEXT(TntSpeedButtonClose, u"\u062E\u0631\u0648\u062C"),
                      TEXT(TntLabel1, u"\u0635\u0641\u062D\u0647"), TEXT(TntLabel2, u"\u0622\u064A\u0647"),
                      TEXT(TntLabel3, u"\u062A\u0643\u0631\u0627\u0631"),
                      TEXT(TntLabel4, u"\u0628\u0631\u0627\u064A \u0642\u0631\u0627\u0626\u062A \u0647\u0631 "
                                      u"\u0622\u064A\u0647 \u0631\u0648\u064A \u0622\u0646 \u062F\u0631 "
                                      u"\u0635\u0641\u062D\u0647 \u0632\u064A\u0631 \u0643\u0644\u064A\u0643 "
                                      u"\u0643\u0646\u064A\u062F."),
                      TEXT(TntBitBtnGoToPage, u"\u0628\u0631\u0648"), TEXT(txtPageNo, u"1"),
                      TEXT(BitBtn1, u""), TEXT(BitBtn2, u"")),
    [](const ::testing::TestParamInfo<TextCase>& testCase) { return std::string(testCase.param.Name); });

#undef TEXT

struct LabelCase {
    const char* Name;
    std::function<QLabel*(TTntMainForm&)> Label;
    QPoint Place;
};

class MainWindowLabelTest : public MainWindowTest, public ::testing::WithParamInterface<LabelCase> {};

TEST_P(MainWindowLabelTest, StartsAtItsPlaceSizedToItsTextInTheLabelStyle) {
    const LabelCase& c = GetParam();
    QLabel* label = c.Label(*Form);
    // The baseline lies where an 11-pixel design font with its ascent of 11 puts it.
    EXPECT_EQ(label->x(), c.Place.x());
    EXPECT_EQ(label->y() + label->fontMetrics().ascent(), c.Place.y() + 11);
    EXPECT_EQ(label->size(), label->sizeHint());
    EXPECT_FALSE(label->autoFillBackground());
    EXPECT_EQ(label->font().pixelSize(), 11);
    EXPECT_FALSE(label->font().bold());
    EXPECT_EQ(label->palette().color(QPalette::WindowText), DarkGreen);
}

#define LABEL(name, x, y)                                                                                    \
    LabelCase {                                                                                              \
#name, [](TTntMainForm & f) { return f.name; }, QPoint(x, y)                                         \
    }

INSTANTIATE_TEST_SUITE_P(Labels, MainWindowLabelTest,
                         ::testing::Values(LABEL(TntLabel1, 7, 512), LABEL(TntLabel2, 761, 207),
                                           LABEL(TntLabel3, 687, 207), LABEL(TntLabel4, 42, 187)),
                         [](const ::testing::TestParamInfo<LabelCase>& testCase) {
                             return std::string(testCase.param.Name);
                         });

#undef LABEL

struct StyleCase {
    const char* Name;
    std::function<QWidget*(TTntMainForm&)> Control;
    int PixelSize;
    bool Bold;
};

class MainWindowStyleTest : public MainWindowTest, public ::testing::WithParamInterface<StyleCase> {};

TEST_P(MainWindowStyleTest, ShowsDarkGreenOnPeachInItsFont) {
    const StyleCase& c = GetParam();
    QWidget* control = c.Control(*Form);
    EXPECT_EQ(control->font().pixelSize(), c.PixelSize);
    EXPECT_EQ(control->font().bold(), c.Bold);
    EXPECT_EQ(control->palette().color(QPalette::Text), DarkGreen);
    EXPECT_EQ(control->palette().color(QPalette::Base), Peach);
}

#define STYLE(name, size, bold)                                                                              \
    StyleCase {                                                                                              \
#name, [](TTntMainForm & f) -> QWidget* { return f.name; }, size, bold                               \
    }

INSTANTIATE_TEST_SUITE_P(
    Styles, MainWindowStyleTest,
    ::testing::Values(STYLE(TntComboBoxGhariList, 13, false), STYLE(TntComboBoxSourehsList, 13, false),
                      STYLE(TntComboBoxAyehsList, 13, false), STYLE(TntMemo1, 13, true),
                      STYLE(SpinEditReadingCount, 13, false), STYLE(txtPageNo, 16, false)),
    [](const ::testing::TestParamInfo<StyleCase>& testCase) { return std::string(testCase.param.Name); });

#undef STYLE

TEST_F(MainWindowTest, FlatButtonsShowOnlyTheirCaptionAndNeverTakeTheFocus) {
    for (QToolButton* button : {Form->TntSpeedButtonPlay, Form->TntSpeedButton1, Form->TntSpeedButtonClose}) {
        EXPECT_TRUE(button->autoRaise());
        EXPECT_EQ(button->focusPolicy(), Qt::NoFocus);
        EXPECT_EQ(button->font().pixelSize(), 13);
        EXPECT_EQ(button->palette().color(QPalette::ButtonText), DarkGreen);
    }
    EXPECT_FALSE(Form->TntSpeedButtonPlay->isCheckable());
    EXPECT_TRUE(Form->TntSpeedButton1->isCheckable());
    EXPECT_TRUE(Form->TntSpeedButtonClose->isCheckable());
}

TEST_F(MainWindowTest, LatchingButtonsOfGroupOneAreNeverBothDownButMayBothBeUp) {
    QToolButton* pause = Form->TntSpeedButton1;
    QToolButton* exit = Form->TntSpeedButtonClose;
    pause->setChecked(true);
    exit->setChecked(true);
    EXPECT_FALSE(pause->isChecked());
    pause->setChecked(true);
    EXPECT_FALSE(exit->isChecked());
    pause->setChecked(false);
    EXPECT_FALSE(pause->isChecked());
    EXPECT_FALSE(exit->isChecked());
}

TEST_F(MainWindowTest, ExitButtonReleasesThePauseButtonAndClosesTheWindowToTheSplash) {
    QWidget splash;
    formSplash = &splash;
    splash.show();
    Form->show();
    // Pressed, as the pause command leaves it while a recording is paused.
    Form->TntSpeedButton1->setChecked(true);
    QTest::mouseClick(Form->TntSpeedButtonClose, Qt::LeftButton);
    EXPECT_FALSE(Form->TntSpeedButton1->isChecked());
    EXPECT_FALSE(Form->isVisible());
    // The splash window was asked to close.
    EXPECT_FALSE(splash.isVisible());
}

TEST_F(MainWindowTest, ListsAreForChoosingOnlyAndTheReciterListHoldsFiveNamesWithTheFirstSelected) {
    for (QComboBox* list :
         {Form->TntComboBoxGhariList, Form->TntComboBoxSourehsList, Form->TntComboBoxAyehsList})
        EXPECT_FALSE(list->isEditable());
    ASSERT_EQ(Form->TntComboBoxGhariList->count(), 5);
    EXPECT_EQ(Form->TntComboBoxGhariList->currentIndex(), 0);
    EXPECT_EQ(Form->TntComboBoxSourehsList->count(), 0);
}

TEST_F(MainWindowTest, TranslationBoxIsAReadOnlyBorderlessWrappingBoxWithPublisherLines) {
    QPlainTextEdit* memo = Form->TntMemo1;
    EXPECT_TRUE(memo->isReadOnly());
    EXPECT_EQ(memo->frameShape(), QFrame::NoFrame);
    EXPECT_EQ(memo->verticalScrollBarPolicy(), Qt::ScrollBarAlwaysOn);
    EXPECT_EQ(memo->lineWrapMode(), QPlainTextEdit::WidgetWidth);
    EXPECT_GE(memo->document()->blockCount(), 2);
    EXPECT_FALSE(memo->toPlainText().trimmed().isEmpty());
}

TEST_F(MainWindowTest, PictureButtonsShowTheirPictureWithTheHandPointer) {
    for (QPushButton* button : {Form->BitBtn1, Form->BitBtn2}) {
        EXPECT_EQ(button->cursor().shape(), Qt::PointingHandCursor);
        EXPECT_EQ(button->iconSize(), QSize(138, 31));
    }
    EXPECT_FALSE(Form->TntBitBtnGoToPage->icon().isNull());
}

TEST_F(MainWindowTest, ScrollBoxHostsThePagePictureWithAClientHeightOf274) {
    Form->show();
    EXPECT_EQ(Form->ScrollBox1->widget(), Form->TntImage1);
    EXPECT_EQ(Form->ScrollBox1->viewport()->height(), 274);
    EXPECT_EQ(Form->ScrollBox1->ClientHeight(), 274);
    EXPECT_EQ(Form->ScrollBox1->verticalScrollBar()->singleStep(), 46);
    Form->ScrollBox1->SetVertPosition(5000);
    EXPECT_EQ(Form->ScrollBox1->VertPosition(), 416);
    EXPECT_EQ(Form->ScrollBox1->verticalScrollBar()->maximum(), 416);
}

TEST_F(MainWindowTest, FocusRunsThroughTheControlsInOrderStartingAtTheReciterList) {
    const std::vector<QWidget*> expected = {Form->TntComboBoxGhariList,
                                            Form->TntComboBoxSourehsList,
                                            Form->TntComboBoxAyehsList,
                                            Form->SpinEditReadingCount,
                                            Form->TntMemo1,
                                            Form->ScrollBox1,
                                            Form->BitBtn1,
                                            Form->BitBtn2,
                                            Form->txtPageNo,
                                            Form->TntBitBtnGoToPage};
    EXPECT_EQ(Form->focusWidget(), Form->TntComboBoxGhariList);

    // The window's own controls that tabbing reaches, in chain order; a control's inner
    // widgets (the spin box's edit, the memo's viewport) count as the control.
    auto controlOf = [this](QWidget* w) -> QWidget* {
        while (w && w->parentWidget() != Form.get() && w->parentWidget() != Form->ScrollBox1->viewport())
            w = w->parentWidget();
        return w;
    };
    std::vector<QWidget*> reached;
    QWidget* w = Form->TntComboBoxGhariList;
    do {
        if ((w->focusPolicy() & Qt::TabFocus) && w->isEnabled()) {
            QWidget* control = controlOf(w);
            if (control && (reached.empty() || reached.back() != control))
                reached.push_back(control);
        }
        w = w->nextInFocusChain();
    } while (w != Form->TntComboBoxGhariList);
    EXPECT_EQ(reached, expected);
}

TEST_F(MainWindowTest, IsCentredWhenFirstShownOnAScreenNoLargerThanIt) {
    // The headless screen is 800 x 600: the window goes to its top-left corner.
    Form->move(123, 45);
    Form->show();
    const QRect screen = Form->screen()->geometry();
    if (screen.width() <= 800 && screen.height() <= 600) {
        EXPECT_EQ(Form->pos(), screen.topLeft());
    } else {
        EXPECT_EQ(Form->pos(), CentredPosition(screen, Form->frameGeometry().size()));
    }
}

} // namespace
