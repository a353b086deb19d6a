// The Mushaf view opened from the main window: it follows the window's recitation, and what
// it asks for (recite an ayeh, turn a page, pause) is done by the window's own commands; closed,
// it leaves the window on the page and ayeh it ended on.
#include "mainwindow/MushafViewLink.h"
#include "mainwindow/ReadingAids.h"
#include "model/Utility.h"
#include "mushafview/MushafViewCaptions.h"
#include "mushafview/MushafViewWindow.h"
#include "tests/mainwindow/ReaderContent.h"

#include <QMenu>
#include <QTest>
#include <gtest/gtest.h>

namespace {

QString Rec(int ghari, int soureh, int ayeh) {
    return TQuran::SoundFileName(ghari, soureh, ayeh);
}

class MushafViewLinkTest : public OpenReaderTest {
protected:
    TMushafViewLink& Link() const { return *Form->findChild<TMushafViewLink*>(); }
    // F11 in the main window, or the entry of the page's context menu.
    TMushafViewWindow* OpenView(bool byMenu = false) {
        Form->activateWindow();
        EXPECT_TRUE(QTest::qWaitForWindowActive(Form.get()));
        if (byMenu) {
            QMenu* menu = Form->findChild<TReadingAids*>()->PageMenu(QPoint(10, 10));
            for (QAction* action : menu->actions())
                if (action->text().section(u'\t', 0, 0) == CaptionMushafView)
                    action->trigger();
            delete menu;
        } else {
            QTest::keyClick(Form.get(), Qt::Key_F11);
        }
        TMushafViewWindow* view = Link().View();
        if (view) {
            view->activateWindow();
            EXPECT_TRUE(QTest::qWaitForWindowActive(view));
        }
        return view;
    }
    std::optional<AyehKey> Red(const TMushafViewWindow* view) const { return view->Pages()->CurrentAyeh(); }
};

TEST_F(MushafViewLinkTest, AClickInTheViewRecitesAndTheViewFollowsTheRecitation) {
    SetCount(1);
    TMushafViewWindow* view = OpenView();
    ASSERT_NE(view, nullptr);
    EXPECT_EQ(view->Page(), GlobalQuran->Page->PageID);

    Q_EMIT view->AyehActivated(2, 3);
    Settle();
    EXPECT_EQ(Loaded(), Rec(1, 2, 3));
    EXPECT_EQ(CurrentAyeh(), 3);
    EXPECT_EQ(Red(view), (AyehKey{2, 3}));
    EXPECT_TRUE(view->Pages()->Spread().Holds(ReaderContent::PageOf(2, 3)));

    // The recitation goes on to the next page, and the view with it.
    EndRecording();
    EXPECT_EQ(Loaded(), Rec(1, 2, 4));
    EXPECT_EQ(Red(view), (AyehKey{2, 4}));
    EXPECT_TRUE(view->Pages()->Spread().Holds(ReaderContent::PageOf(2, 4)));

    QTest::keyClick(view, Qt::Key_Space, Qt::ControlModifier);
    Settle();
    EXPECT_EQ(Mode(), pmPaused);
}

TEST_F(MushafViewLinkTest, APageTurnedInTheViewIsTheWindowsAndClosingLeavesItThere) {
    TMushafViewWindow* view = OpenView(true);
    ASSERT_NE(view, nullptr);
    const int start = view->Page();
    QTest::keyClick(view, Qt::Key_Left);
    Settle();
    ASSERT_NE(view->Page(), start);
    EXPECT_EQ(GlobalQuran->Page->PageID, view->Page());
    const std::optional<AyehKey> red = Red(view);
    ASSERT_TRUE(red.has_value());
    EXPECT_EQ(CurrentSoureh(), red->Soureh);
    EXPECT_EQ(CurrentAyeh(), red->Ayeh);

    const int page = view->Page();
    QTest::keyClick(view, Qt::Key_Escape);
    Settle();
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    EXPECT_EQ(Link().View(), nullptr);
    EXPECT_EQ(GlobalQuran->Page->PageID, page);
    EXPECT_TRUE(IsRed(red->Soureh, red->Ayeh));
}

} // namespace
