// The memorisation windows reached from the main window: a sitting chosen with Ctrl+H and
// graded by keys, hiding its passage in the Mushaf view, a note written from the page's menu
// and shown in the ayeh's tooltip, and the progress window opening a page.
#include "content/ContentKeys.h"
#include "learning/LearnerData.h"
#include "mainwindow/MemoriseCommands.h"
#include "mainwindow/MushafViewLink.h"
#include "mainwindow/PracticeDialog.h"
#include "memorise/MemoriseCaptions.h"
#include "memorise/NoteDialog.h"
#include "memorise/ProgressMapView.h"
#include "memorise/ProgressWindow.h"
#include "memorise/SittingPanel.h"
#include "model/Utility.h"
#include "mushafview/MushafViewWindow.h"
#include "tests/mainwindow/ReaderContent.h"

#include <QComboBox>
#include <QContextMenuEvent>
#include <QHelpEvent>
#include <QMenu>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QSettings>
#include <QTest>
#include <QToolTip>
#include <algorithm>
#include <gtest/gtest.h>

namespace {

using Ayeh = std::pair<int, int>;

QString Rec(int ghari, int soureh, int ayeh) {
    return TQuran::SoundFileName(ghari, soureh, ayeh);
}

class MemoriseTest : public ReaderTest {
protected:
    void Open() {
        OpenForm();
        Form->activateWindow();
        ASSERT_TRUE(QTest::qWaitForWindowActive(Form.get()));
    }
    TMemoriseCommands& Commands() const { return *Form->findChild<TMemoriseCommands*>(); }
    void Choose(const QPoint& at, const QString& caption) {
        QContextMenuEvent event(QContextMenuEvent::Mouse, at, Form->TntImage1->mapToGlobal(at));
        QApplication::sendEvent(Form->TntImage1, &event);
        auto* menu = qobject_cast<QMenu*>(QApplication::activePopupWidget());
        ASSERT_NE(menu, nullptr);
        QAction* chosen = nullptr;
        for (QAction* action : menu->actions())
            if (action->text().section(u'\t', 0, 0) == caption)
                chosen = action;
        ASSERT_NE(chosen, nullptr) << caption.toStdString();
        menu->close();
        chosen->trigger();
    }
    // The learner's grades as another reader would read them.
    std::vector<Ayeh> Graded() const {
        const SystemLearningClock clock;
        LearnerOpening opening = LearnerData::Open(LearnerDatabasePath(), clock);
        std::vector<Ayeh> graded;
        if (opening.Data)
            for (const GradeRecord& grade : opening.Data->Grades())
                graded.emplace_back(grade.SourehID, grade.AyehID);
        return graded;
    }
};

TEST_F(MemoriseTest, CtrlHChoosesThePassageToThePagesEndAndKeysGradeAyehAfterAyeh) {
    Open();
    ChooseSoureh(2);
    ChooseAyeh(2);
    Form->TntComboBoxGhariList->setFocus();
    QTest::keyClick(Form->TntComboBoxGhariList, Qt::Key_H, Qt::ControlModifier);
    auto* chooser = Form->findChild<TPracticeDialog*>();
    ASSERT_TRUE(chooser && chooser->isVisible());
    EXPECT_EQ(chooser->Plan().FromAyeh, 2);
    // Ayehs 2:1 to 2:3 are on page 2, 2:4 on page 3.
    EXPECT_EQ(Ayeh(chooser->Plan().ToSoureh, chooser->Plan().ToAyeh), Ayeh(2, 3));
    chooser->StartButton->click();

    QPointer<TSittingPanel> panel = Commands().Panel();
    ASSERT_TRUE(panel && panel->isVisible());
    EXPECT_EQ(Ayeh(ListedSoureh(), ListedAyeh()), Ayeh(2, 2));
    QTest::keyClick(panel, Qt::Key_Space);
    QTest::keyClick(panel, Qt::Key_3);
    EXPECT_EQ(Ayeh(ListedSoureh(), ListedAyeh()), Ayeh(2, 3));
    QTest::keyClick(panel, Qt::Key_1);
    EXPECT_EQ(Graded(), (std::vector<Ayeh>{{2, 2}, {2, 3}}));
    QTest::keyClick(panel, Qt::Key_Escape);
    EXPECT_TRUE(!panel || !panel->isVisible());
}

TEST_F(MemoriseTest, TheSittingHidesThePassageInTheMushafViewWordByWordAndPlaysTheRevealedAyeh) {
    {
        QSettings settings(QString::fromLatin1(SettingsOrganisation),
                           QString::fromLatin1(SettingsApplication));
        WriteSittingOptions(settings, {SittingHint::Nothing, true});
    }
    Open();
    ChooseSoureh(1);
    ChooseAyeh(1);
    QTest::keyClick(Form.get(), Qt::Key_H, Qt::ControlModifier);
    auto* chooser = Form->findChild<TPracticeDialog*>();
    ASSERT_TRUE(chooser && chooser->isVisible());
    chooser->StartButton->click();
    QPointer<TSittingPanel> panel = Commands().Panel();
    ASSERT_TRUE(panel && panel->isVisible());
    TMushafViewWindow* view = Form->findChild<TMushafViewLink*>()->View();
    ASSERT_TRUE(view && view->isVisible());
    const TMushafPageView& pages = *view->Pages();

    const int words = panel->Sitting().Current().Words;
    ASSERT_GT(words, 1);
    for (int word = 1; word <= words; ++word) {
        SCOPED_TRACE(word);
        EXPECT_EQ(pages.HiddenWords().count({1, 1, word}), 1u);
        EXPECT_NE(Loaded(), Rec(1, 1, 1));
        QTest::keyClick(panel, Qt::Key_Space);
        Settle();
        EXPECT_EQ(pages.HiddenWords().count({1, 1, word}), 0u);
        EXPECT_EQ(pages.HiddenWords().count({1, 2, 1}), 1u);
    }
    EXPECT_EQ(Loaded(), Rec(1, 1, 1));
    const auto gradesOfFirst = [this] { return std::ranges::count(Graded(), Ayeh(1, 1)); };
    const auto before = gradesOfFirst();
    QTest::keyClick(panel, Qt::Key_3);
    EXPECT_EQ(gradesOfFirst(), before + 1);
    QTest::keyClick(panel, Qt::Key_Escape);
    EXPECT_TRUE(pages.HiddenWords().empty());
}

TEST_F(MemoriseTest, ANoteFromTheMenuIsShownUnderTheTranslationInTheTooltip) {
    Open();
    const QPoint at = ReaderContent::PointIn(1, 4);
    Choose(at, CaptionNoteMenu);
    auto* dialog = Form->findChild<TNoteDialog*>();
    ASSERT_NE(dialog, nullptr);
    const QString note = QStringLiteral("قلقله رعایت نشد");
    dialog->Text->setPlainText(note);
    ASSERT_TRUE(dialog->Save());

    QTest::mouseMove(Form->TntImage1, at);
    QHelpEvent help(QEvent::ToolTip, at, Form->TntImage1->mapToGlobal(at));
    QApplication::sendEvent(Form->TntImage1, &help);
    EXPECT_EQ(QToolTip::text(), AyehTooltip(ReaderContent::Translation(1, 4), note));
    QToolTip::hideText();
}

TEST_F(MemoriseTest, AClickOnAPageOfTheProgressMapOpensIt) {
    Open();
    Choose(ReaderContent::PointIn(1, 1), CaptionProgressMenu);
    TProgressWindow* window = Commands().ProgressWindow();
    ASSERT_TRUE(window && window->isVisible());
    QTest::mouseClick(window->Map, Qt::LeftButton, {}, window->Map->CellRect(3).center());
    EXPECT_EQ(GlobalQuran->Page->PageID, 3);
    EXPECT_EQ(Form->txtPageNo->text(), QStringLiteral("3"));
}

} // namespace
