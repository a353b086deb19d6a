// The main window's keys, the page's context menu, the search and bookmark dialogs, on
// complete fixture content: each key wherever the focus is, the page and ayeh keys at the
// ends of the book, search by any spelling going where the lists go, copying, and bookmarks
// kept across a restart with a damaged entry skipped.
#include "content/ContentKeys.h"
#include "mainwindow/AidsDialogs.h"
#include "mainwindow/MainCaptions.h"
#include "mainwindow/PracticeDialog.h"
#include "mainwindow/ReadingAids.h"
#include "mainwindow/ReadingAidsCaptions.h"
#include "memorise/MemoriseCaptions.h"
#include "model/AyehSearch.h"
#include "model/Utility.h"
#include "mushafview/MushafViewCaptions.h"
#include "tests/mainwindow/ReaderContent.h"

#include <QClipboard>
#include <QComboBox>
#include <QContextMenuEvent>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QMenu>
#include <QPushButton>
#include <QSettings>
#include <QSpinBox>
#include <QTemporaryDir>
#include <QTest>
#include <gtest/gtest.h>

namespace {

using Ayeh = std::pair<int, int>;

QString Rec(int ghari, int soureh, int ayeh) {
    return TQuran::SoundFileName(ghari, soureh, ayeh);
}

// Types text as a keyboard would, one character after another.
void Type(QWidget* widget, const QString& text) {
    for (const QChar c : text) {
        QKeyEvent press(QEvent::KeyPress, Qt::Key_unknown, Qt::NoModifier, QString(c));
        QApplication::sendEvent(widget, &press);
        QKeyEvent release(QEvent::KeyRelease, Qt::Key_unknown, Qt::NoModifier, QString(c));
        QApplication::sendEvent(widget, &release);
    }
}

// The captions of a menu's entries, without the keys shown beside them.
QStringList Entries(const QMenu* menu) {
    QStringList captions;
    for (const QAction* action : menu->actions())
        if (!action->isSeparator())
            captions << action->text().section(u'\t', 0, 0);
    return captions;
}

QAction* EntryOf(const QMenu* menu, const QString& caption) {
    for (QAction* action : menu->actions())
        if (action->text().section(u'\t', 0, 0) == caption)
            return action;
    return nullptr;
}

// A point of page 1 below its last ayeh.
const QPoint NoAyehOnPage1{230, 530};

class AidsTest : public ReaderTest {
protected:
    void Open() {
        OpenForm();
        Activate();
    }
    void Activate() {
        Form->activateWindow();
        ASSERT_TRUE(QTest::qWaitForWindowActive(Form.get()));
    }
    TReadingAids& Aids() const { return *Form->findChild<TReadingAids*>(); }
    // Ctrl with key, the focus in widget.
    void Key(QWidget* widget, Qt::Key key) {
        widget->setFocus();
        ASSERT_EQ(QApplication::focusWidget(), widget);
        QTest::keyClick(widget, key, Qt::ControlModifier);
    }
    int Page() const { return GlobalQuran->Page->PageID; }
    QString Memo() const { return Form->TntMemo1->toPlainText(); }

    // The ayeh is shown as choosing it in the lists and reciting it with a count of 0 shows
    // it, without a sound.
    void ExpectShown(int sourehId, int ayehId) {
        EXPECT_EQ(Page(), ReaderContent::PageOf(sourehId, ayehId));
        EXPECT_EQ(Form->txtPageNo->text(), QString::number(Page()));
        EXPECT_EQ(Ayeh(ListedSoureh(), ListedAyeh()), Ayeh(sourehId, ayehId));
        EXPECT_EQ(Ayeh(CurrentSoureh(), CurrentAyeh()), Ayeh(sourehId, ayehId));
        EXPECT_TRUE(IsRed(sourehId, ayehId));
        EXPECT_EQ(Memo(), ReaderContent::Translation(sourehId, ayehId));
        EXPECT_NE(Mode(), pmPlaying);
    }

    QMenu* MenuAt(const QPoint& at) {
        QContextMenuEvent event(QContextMenuEvent::Mouse, at, Form->TntImage1->mapToGlobal(at));
        QApplication::sendEvent(Form->TntImage1, &event);
        return qobject_cast<QMenu*>(QApplication::activePopupWidget());
    }
    void Choose(const QPoint& at, const QString& caption) {
        QMenu* menu = MenuAt(at);
        ASSERT_NE(menu, nullptr);
        QAction* action = EntryOf(menu, caption);
        ASSERT_NE(action, nullptr) << caption.toStdString();
        ASSERT_TRUE(action->isEnabled());
        menu->close();
        action->trigger();
    }

    TSearchDialog* Search(const QString& words) {
        Activate();
        Key(Form->TntComboBoxGhariList, Qt::Key_F);
        TSearchDialog* dialog = Aids().SearchDialog();
        EXPECT_TRUE(dialog && dialog->isVisible());
        if (dialog) {
            dialog->Box->clear();
            Type(dialog->Box, words);
        }
        return dialog;
    }

    QStringList BookmarkRows() {
        Activate();
        Key(Form->TntComboBoxGhariList, Qt::Key_B);
        TBookmarksDialog* dialog = Aids().BookmarksDialog();
        QStringList rows;
        if (!dialog || !dialog->isVisible())
            return {QStringLiteral("no dialog")};
        for (int i = 0; i < dialog->List->count(); ++i)
            rows << dialog->List->item(i)->text().section(QStringLiteral(u" — "), 0, 0);
        return rows;
    }
};

// --- Keys ---

// Every control that takes the focus, in the window's focus order.
std::vector<std::pair<const char*, QWidget*>> FocusTargets(const TTntMainForm& f) {
    return {{"ReciterList", f.TntComboBoxGhariList},
            {"SourehList", f.TntComboBoxSourehsList},
            {"AyehList", f.TntComboBoxAyehsList},
            {"RepeatBox", f.SpinEditReadingCount},
            {"Translation", f.TntMemo1},
            {"Page", f.ScrollBox1},
            {"Support", f.BitBtn1},
            {"About", f.BitBtn2},
            {"PageBox", f.txtPageNo},
            {"GoButton", f.TntBitBtnGoToPage}};
}

TEST_F(AidsTest, KeysTurnPagesStepAyehsAndOpenTheBoxAndDialogsWhereverTheFocusIs) {
    Open();
    for (const auto& [name, focus] : FocusTargets(*Form)) {
        SCOPED_TRACE(name);
        Key(focus, Qt::Key_PageDown);
        ExpectShown(2, 1);
        Key(focus, Qt::Key_Down);
        ExpectShown(2, 2);
        EXPECT_FALSE(IsRed(2, 1));
        Key(focus, Qt::Key_Up);
        ExpectShown(2, 1);
        Key(focus, Qt::Key_PageUp);
        ExpectShown(1, 1);
        EXPECT_EQ(Loaded(), QString());

        Key(focus, Qt::Key_G);
        EXPECT_EQ(QApplication::focusWidget(), Form->txtPageNo);
        EXPECT_EQ(Form->txtPageNo->selectedText(), QStringLiteral("1"));

        Key(focus, Qt::Key_F);
        ASSERT_NE(Aids().SearchDialog(), nullptr);
        EXPECT_TRUE(Aids().SearchDialog()->isVisible());
        Aids().SearchDialog()->reject();
        Activate();
        Key(focus, Qt::Key_B);
        ASSERT_NE(Aids().BookmarksDialog(), nullptr);
        EXPECT_TRUE(Aids().BookmarksDialog()->isVisible());
        Aids().BookmarksDialog()->reject();
        Activate();
    }
}

TEST_F(AidsTest, WithoutABookTheKeysDoNothing) {
    QTemporaryDir empty;
    ASSERT_TRUE(empty.isValid());
    Cwd.reset();
    Cwd.emplace(empty.path());
    Open();
    ASSERT_EQ(GlobalQuran, nullptr);
    const qsizetype boxes = Boxes.Boxes().size();
    for (const Qt::Key key :
         {Qt::Key_F, Qt::Key_Space, Qt::Key_PageDown, Qt::Key_PageUp, Qt::Key_Down, Qt::Key_Up, Qt::Key_B})
        Key(Form->TntComboBoxGhariList, key);
    EXPECT_EQ(Boxes.Boxes().size(), boxes);
    EXPECT_EQ(Aids().SearchDialog(), nullptr);
    EXPECT_EQ(Aids().BookmarksDialog(), nullptr);
    EXPECT_EQ(Notices.Shown(), 0);
}

TEST_F(AidsTest, PageKeysStopAtTheFirstAndTheLastPage) {
    Open();
    Key(Form->TntComboBoxGhariList, Qt::Key_PageUp);
    EXPECT_EQ(Page(), 1);
    GoToPage(QStringLiteral("604"));
    ASSERT_EQ(Page(), 604);
    Key(Form->TntComboBoxGhariList, Qt::Key_PageDown);
    EXPECT_EQ(Page(), 604);
    EXPECT_EQ(Form->txtPageNo->text(), QStringLiteral("604"));
    EXPECT_EQ(Notices.Shown(), 0);
    EXPECT_TRUE(Boxes.Boxes().isEmpty());
}

TEST_F(AidsTest, PageDownAloneScrollsWithinThePage) {
    Open();
    Form->ScrollBox1->setFocus();
    QTest::keyClick(Form->ScrollBox1, Qt::Key_PageDown);
    EXPECT_GT(Form->ScrollBox1->VertPosition(), 0);
    EXPECT_EQ(Page(), 1);
    EXPECT_EQ(Ayeh(CurrentSoureh(), CurrentAyeh()), Ayeh(1, 1));
}

TEST_F(AidsTest, AyehKeysCrossSourehEndsAndStopAtTheEndsOfTheBook) {
    Open();
    Key(Form->TntComboBoxGhariList, Qt::Key_Up);
    EXPECT_EQ(Ayeh(CurrentSoureh(), CurrentAyeh()), Ayeh(1, 1));
    EXPECT_EQ(Memo(), TTntMainForm::PublisherText());
    for (int ayeh = 2; ayeh <= 7; ++ayeh)
        Key(Form->TntComboBoxGhariList, Qt::Key_Down);
    ExpectShown(1, 7);
    Key(Form->TntComboBoxGhariList, Qt::Key_Down);
    ExpectShown(2, 1);
    Key(Form->TntComboBoxGhariList, Qt::Key_Up);
    ExpectShown(1, 7);

    ChooseSoureh(114);
    for (int ayeh = 1; ayeh <= ReaderContent::NumberOfAyeh(114); ++ayeh)
        Key(Form->TntComboBoxGhariList, Qt::Key_Down);
    ExpectShown(114, ReaderContent::NumberOfAyeh(114));
    EXPECT_EQ(Loaded(), QString());
}

TEST_F(AidsTest, CtrlSpaceActsAsThePauseButtonWhereverTheFocusIs) {
    Open();
    Recite(ReaderContent::LongSoureh, 2, 1);
    ASSERT_TRUE(WaitFor([&] { return Mode() == pmPlaying; }));
    Key(Form->TntComboBoxSourehsList, Qt::Key_Space);
    EXPECT_EQ(Mode(), pmPaused);
    EXPECT_TRUE(Form->TntSpeedButton1->isChecked());
    EXPECT_EQ(Form->TntSpeedButton1->text(), CaptionContinue);
    Key(Form->txtPageNo, Qt::Key_Space);
    EXPECT_EQ(Mode(), pmPlaying);
    EXPECT_FALSE(Form->TntSpeedButton1->isChecked());
    EXPECT_EQ(Form->TntSpeedButton1->text(), CaptionPause);
    EXPECT_EQ(Loaded(), Rec(1, ReaderContent::LongSoureh, 2));
}

// --- Search ---

TEST_F(AidsTest, SearchFindsTheAyehInEverySpellingAndEnterShowsItAsTheListsDo) {
    Open();
    for (const char16_t* words : {u"الكرسي", u"الکرسی", u"ٱلۡكُرۡسِيُّ"}) {
        const QString query = QString::fromUtf16(words);
        SCOPED_TRACE(query.toStdString());
        GoToPage(QStringLiteral("1"));
        TSearchDialog* dialog = Search(query);
        ASSERT_NE(dialog, nullptr);
        ASSERT_EQ(dialog->Results->count(), 1);
        EXPECT_EQ(dialog->Results->item(0)->data(Qt::AccessibleTextRole).toString(),
                  QStringLiteral(u"البقرة، آیه ۴"));
        QTest::keyClick(dialog->Box, Qt::Key_Return);
        EXPECT_FALSE(dialog->isVisible());
        ExpectShown(ReaderContent::ThroneSoureh, ReaderContent::ThroneAyeh);
        EXPECT_EQ(Loaded(), QString());
    }
}

TEST_F(AidsTest, TheListFollowsEveryKeystrokeUpToItsLimit) {
    Open();
    TSearchDialog* dialog = Search(QStringLiteral(u"ت"));
    ASSERT_NE(dialog, nullptr);
    // Every translation has the letter: the list holds as many as it shows, the note says how
    // many there are.
    EXPECT_EQ(dialog->Results->count(), TAyehIndex::DefaultLimit);
    EXPECT_TRUE(dialog->Note->text().contains(PersianNumber(dialog->Results->count())));
    Type(dialog->Box, QStringLiteral(u"رجمه ۲:۳"));
    ASSERT_GE(dialog->Results->count(), 1);
    EXPECT_EQ(dialog->Results->item(0)->data(Qt::AccessibleTextRole).toString(),
              QStringLiteral(u"البقرة، آیه ۳"));
    Type(dialog->Box, QStringLiteral(u" ژ"));
    EXPECT_EQ(dialog->Results->count(), 0);
    EXPECT_FALSE(dialog->Note->text().isEmpty());
}

TEST_F(AidsTest, AResultMarksTheMatchedWordsOfTheTextAndTheTranslation) {
    Open();
    TSearchDialog* dialog = Search(QStringLiteral(u"الکرسی"));
    ASSERT_NE(dialog, nullptr);
    ASSERT_EQ(dialog->Results->count(), 1);
    // The marked word stands alone in an element of its own; the unmarked one does not.
    const QString html = dialog->Results->item(0)->data(HtmlRole).toString();
    EXPECT_TRUE(html.contains(QStringLiteral(u">كُرۡسِيُّهُ<"))) << html.toStdString();
    EXPECT_FALSE(html.contains(QStringLiteral(u">وَسِعَ<"))) << html.toStdString();
    EXPECT_TRUE(html.contains(ReaderContent::Translation(2, 4).toHtmlEscaped()));
}

TEST_F(AidsTest, WordsTypedAtOnceAfterCtrlFReachTheSearchBoxNotTheWindow) {
    Open();
    Activate();
    const int reciter = Form->TntComboBoxGhariList->currentIndex();
    Key(Form->TntComboBoxGhariList, Qt::Key_F);
    TSearchDialog* dialog = Aids().SearchDialog();
    ASSERT_NE(dialog, nullptr);
    // The window system has not yet given the dialog the keyboard: the keys still come to the
    // widget that had the focus, the reciter list, which chooses a reciter by its letters.
    Type(Form->TntComboBoxGhariList, QStringLiteral(u"الكرسي"));
    QTest::keyClick(Form->TntComboBoxGhariList, Qt::Key_Return);
    EXPECT_FALSE(dialog->isVisible());
    ExpectShown(ReaderContent::ThroneSoureh, ReaderContent::ThroneAyeh);
    EXPECT_EQ(Form->TntComboBoxGhariList->currentIndex(), reciter);
}

TEST_F(AidsTest, EscapeClosesTheSearchAndChangesNothing) {
    Open();
    TSearchDialog* dialog = Search(QStringLiteral(u"الكرسي"));
    ASSERT_NE(dialog, nullptr);
    QTest::keyClick(dialog->Box, Qt::Key_Escape);
    EXPECT_FALSE(dialog->isVisible());
    EXPECT_EQ(Page(), 1);
    EXPECT_EQ(Ayeh(CurrentSoureh(), CurrentAyeh()), Ayeh(1, 1));
    EXPECT_EQ(Memo(), TTntMainForm::PublisherText());
}

TEST_F(AidsTest, ADoubleClickOnAResultGoesToIt) {
    Open();
    TSearchDialog* dialog = Search(QStringLiteral(u"ترجمه ۹"));
    ASSERT_NE(dialog, nullptr);
    ASSERT_GE(dialog->Results->count(), 2);
    const QListWidgetItem* second = dialog->Results->item(1);
    const int soureh = second->data(SourehRole).toInt();
    const int ayeh = second->data(AyehRole).toInt();
    const QRect place = dialog->Results->visualItemRect(second);
    // A double click is a press and a release, then the second press that the widget set
    // reports as a double click.
    QTest::mouseClick(dialog->Results->viewport(), Qt::LeftButton, {}, place.center());
    QTest::mouseDClick(dialog->Results->viewport(), Qt::LeftButton, {}, place.center());
    EXPECT_FALSE(dialog->isVisible());
    ExpectShown(soureh, ayeh);
}

// --- The page's context menu ---

TEST_F(AidsTest, TheMenuOffersTheAyehsCommandsOnAnAyehAndOnlyTheOthersElsewhere) {
    Open();
    QMenu* menu = MenuAt(ReaderContent::PointIn(1, 2));
    ASSERT_NE(menu, nullptr);
    EXPECT_EQ(Entries(menu),
              (QStringList{CaptionReciteAyeh, CaptionPracticeMenu, CaptionCopyAyeh, CaptionCopyTranslation,
                           CaptionAddBookmark, CaptionFindMenu, CaptionBookmarksMenu, CaptionMemoriseMenu,
                           CaptionNoteMenu, CaptionDueMenu, CaptionProgressMenu, CaptionMushafView}));
    for (const QAction* action : menu->actions())
        EXPECT_TRUE(action->isEnabled()) << action->text().toStdString();
    menu->close();

    menu = MenuAt(NoAyehOnPage1);
    ASSERT_NE(menu, nullptr);
    EXPECT_EQ(Entries(menu), (QStringList{CaptionFindMenu, CaptionBookmarksMenu, CaptionDueMenu,
                                          CaptionProgressMenu, CaptionMushafView}));
    menu->close();
}

TEST_F(AidsTest, ReciteInTheMenuIsAClickOnTheAyeh) {
    Open();
    Choose(ReaderContent::PointIn(1, 3), CaptionReciteAyeh);
    EXPECT_EQ(Loaded(), Rec(1, 1, 3));
    EXPECT_EQ(Ayeh(ListedSoureh(), ListedAyeh()), Ayeh(1, 3));
    EXPECT_TRUE(IsRed(1, 3));
    EXPECT_EQ(Memo(), ReaderContent::Translation(1, 3));
}

TEST_F(AidsTest, CopyGivesTheAyehWithItsSourehAndNumberOrItsTranslation) {
    Open();
    GoToPage(QString::number(ReaderContent::PageOf(2, 4)));
    Choose(ReaderContent::PointIn(2, 4), CaptionCopyAyeh);
    EXPECT_EQ(QGuiApplication::clipboard()->text(),
              ReaderContent::ArabicText(2, 4) + QStringLiteral(u" (البقرة، آیه ۴)"));
    Choose(ReaderContent::PointIn(2, 4), CaptionCopyTranslation);
    EXPECT_EQ(QGuiApplication::clipboard()->text(), ReaderContent::Translation(2, 4));
}

TEST_F(AidsTest, WithoutArabicTextOnlyTheTranslationIsSearchedAndCopyOfTheAyehIsOff) {
    QTemporaryDir folder;
    ASSERT_TRUE(folder.isValid());
    FixtureBook::Create(folder.path());
    Cwd.reset();
    Cwd.emplace(folder.path());
    Open();
    TSearchDialog* dialog = Search(QStringLiteral(u"ترجمه 2:3"));
    ASSERT_NE(dialog, nullptr);
    EXPECT_EQ(dialog->Results->count(), 1);
    EXPECT_FALSE(dialog->Note->text().isEmpty());
    dialog->Box->clear();
    Type(dialog->Box, ReaderContent::ArabicText(1, 1));
    EXPECT_EQ(dialog->Results->count(), 0);
    dialog->reject();
    Activate();

    QMenu* menu = MenuAt(ReaderContent::PointIn(1, 2));
    ASSERT_NE(menu, nullptr);
    EXPECT_FALSE(EntryOf(menu, CaptionCopyAyeh)->isEnabled());
    EXPECT_TRUE(EntryOf(menu, CaptionCopyTranslation)->isEnabled());
    menu->close();
}

// --- Bookmarks ---

TEST_F(AidsTest, BookmarksAreListedNewestFirstKeptAcrossARestartAndRemoved) {
    Open();
    Choose(ReaderContent::PointIn(1, 2), CaptionAddBookmark);
    Choose(ReaderContent::PointIn(1, 5), CaptionAddBookmark);
    const QStringList both{QStringLiteral(u"الفاتحة، آیه ۵"), QStringLiteral(u"الفاتحة، آیه ۲")};
    EXPECT_EQ(BookmarkRows(), both);
    Form->close();
    Form.reset();

    Open();
    EXPECT_EQ(BookmarkRows(), both);
    Aids().BookmarksDialog()->reject();
    Activate();
    QMenu* menu = MenuAt(ReaderContent::PointIn(1, 5));
    ASSERT_NE(menu, nullptr);
    EXPECT_EQ(EntryOf(menu, CaptionAddBookmark), nullptr);
    menu->close();
    Choose(ReaderContent::PointIn(1, 5), CaptionRemoveBookmark);
    EXPECT_EQ(BookmarkRows(), QStringList{QStringLiteral(u"الفاتحة، آیه ۲")});

    // Enter goes to the bookmark as a search result does.
    QTest::keyClick(Aids().BookmarksDialog()->List, Qt::Key_Return);
    EXPECT_FALSE(Aids().BookmarksDialog()->isVisible());
    ExpectShown(1, 2);
    EXPECT_TRUE(Boxes.Boxes().isEmpty());
}

TEST_F(AidsTest, ADamagedBookmarkIsSkippedWithoutAnError) {
    {
        QDir().mkpath(QFileInfo(SettingsFile()).path());
        QFile file(SettingsFile());
        ASSERT_TRUE(file.open(QIODevice::WriteOnly));
        file.write("[General]\nLastSoureh=1\nLastAyeh=1\n\n[Bookmarks]\n"
                   "1\\SourehID=2\n1\\AyehID=3\n1\\Added=2024-05-01T10:00:00.000Z\n"
                   "2\\SourehID=2\n2\\AyehID=\xff\xfe\n2\\Added=2024-05-02T10:00:00.000Z\n"
                   "3\\SourehID=2\n3\\AyehID=99\n3\\Added=2024-05-03T10:00:00.000Z\nsize=3\n");
    }
    Open();
    EXPECT_EQ(BookmarkRows(), QStringList{QStringLiteral(u"البقرة، آیه ۳")});
    EXPECT_TRUE(Boxes.Boxes().isEmpty());
}

TEST_F(AidsTest, ABookmarkThatCannotBeStoredIsReported) {
    // A folder where the settings file should be: nobody can write it.
    struct Folder {
        Folder() { QDir().mkpath(SettingsFile()); }
        ~Folder() { QDir(SettingsFile()).removeRecursively(); }
    } inTheWay;
    Open();
    Choose(ReaderContent::PointIn(1, 2), CaptionAddBookmark);
    ASSERT_EQ(Boxes.Boxes().size(), 1);
    EXPECT_EQ(Boxes.Boxes().front().Text, CaptionBookmarkNotSaved);
}

// --- The practice dialog ---

// The passage, rounds and pause the dialog shows.
PracticePlan Shown(const TPracticeDialog& dialog) {
    return dialog.Plan();
}

TEST_F(AidsTest, APracticeSetFromTheMenuRunsAndIsOfferedAgainWithCtrlRAfterARestart) {
    Open();
    Choose(ReaderContent::PointIn(1, 3), CaptionPracticeMenu);
    TPracticeDialog* dialog = Aids().PracticeDialog();
    ASSERT_TRUE(dialog && dialog->isVisible());
    EXPECT_EQ(dialog->layoutDirection(), Qt::RightToLeft);
    EXPECT_EQ(Ayeh(dialog->FromSoureh->currentIndex() + 1, dialog->FromAyeh->currentIndex() + 1), Ayeh(1, 3));
    dialog->ToAyeh->setCurrentIndex(4);
    dialog->Rounds->setValue(2);
    dialog->Pause->setCurrentIndex(int(PracticePause::Fixed));
    dialog->PauseSeconds->setValue(7);
    const PracticePlan set = Shown(*dialog);
    dialog->StartButton->click();
    EXPECT_FALSE(dialog->isVisible());
    EXPECT_TRUE(Form->Practicing());
    EXPECT_EQ(Loaded(), Rec(1, 1, 3));
    EXPECT_EQ(Mode(), pmPlaying);

    // The next day: a new window, and Ctrl+R.
    Form.reset();
    GlobalQuran.reset();
    Open();
    Key(Form->TntComboBoxGhariList, Qt::Key_R);
    dialog = Aids().PracticeDialog();
    ASSERT_TRUE(dialog && dialog->isVisible());
    const PracticePlan offered = Shown(*dialog);
    EXPECT_EQ(Ayeh(offered.FromSoureh, offered.FromAyeh), Ayeh(1, 3));
    EXPECT_EQ(Ayeh(offered.ToSoureh, offered.ToAyeh), Ayeh(1, 5));
    EXPECT_TRUE(offered == set);
    dialog->StopButton->click();
    EXPECT_FALSE(Form->Practicing());
}

TEST_F(AidsTest, ThePassagesEndIsNeverBeforeItsStart) {
    Open();
    Key(Form->TntComboBoxGhariList, Qt::Key_R);
    TPracticeDialog* dialog = Aids().PracticeDialog();
    ASSERT_NE(dialog, nullptr);
    dialog->FromSoureh->setCurrentIndex(1);
    Q_EMIT dialog->FromSoureh->activated(1);
    PracticePlan plan = Shown(*dialog);
    EXPECT_EQ(Ayeh(plan.ToSoureh, plan.ToAyeh), Ayeh(2, 1));
    dialog->ToSoureh->setCurrentIndex(0);
    Q_EMIT dialog->ToSoureh->activated(0);
    plan = Shown(*dialog);
    EXPECT_EQ(Ayeh(plan.FromSoureh, plan.FromAyeh), Ayeh(plan.ToSoureh, plan.ToAyeh));
    EXPECT_EQ(plan.ToSoureh, 1);
}

} // namespace
