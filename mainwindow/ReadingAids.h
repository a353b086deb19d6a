#pragma once
// What the main window offers beyond its controls, without moving or changing one of them:
// keys, the page's context menu, finding an ayeh by its words, copying and bookmarks.
//
// Every command goes through the window's own handlers and steps: a page turn types the
// number into the page box and presses the go button, pause presses the pause button, going
// to an ayeh chooses it in the soureh and ayeh lists. Each runs inside RunHandler, so an
// error reaches the standard error box and the window goes on.

#include "mainwindow/AidsDialogs.h"
#include "mainwindow/PracticeDialog.h"

#include <QObject>
#include <QPoint>
#include <QPointer>
#include <QString>
#include <memory>
#include <optional>

class QMenu;
class TAyehIndex;
class TTntMainForm;

class TReadingAids final : public QObject {
    Q_OBJECT
public:
    // Sets up the keys and the page's context menu of form, which owns this object.
    explicit TReadingAids(TTntMainForm* form);
    ~TReadingAids() override;

    // --- The keys ---
    void FindAyeh();         // Ctrl+F: the search dialog
    void FocusPageBox();     // Ctrl+G: the page box, its text selected
    void PauseOrContinue();  // Ctrl+Space: as a click on the pause button
    void TurnPage(int step); // Ctrl+Page Down, Ctrl+Page Up: as typing the number and pressing go
    void StepAyeh(int step); // Ctrl+Down, Ctrl+Up: the next or previous ayeh, across sourehs
    void ShowBookmarks();    // Ctrl+B: the bookmark dialog
    // Ctrl+R: the practice dialog with the plan kept last time; from the page's menu, with
    // the passage starting at the ayeh clicked (its end kept when not before it, else the
    // last ayeh of that soureh).
    void ShowPractice(int fromSoureh = 0, int fromAyeh = 0);

    // Chooses the soureh and then the ayeh in the lists as the user does, then paints the ayeh
    // red on its page, scrolls it into view and shows its translation. Nothing is recited.
    void GoToAyeh(int sourehId, int ayehId);

    // The ayeh under a point of the page picture.
    struct TPageAyeh {
        int SourehID = 0;
        int AyehID = 0;
        int PageID = 0;
        QPoint At;
    };
    std::optional<TPageAyeh> AyehAt(const QPoint& at) const;

    // The page's context menu for a point of the page picture, built but not shown; it deletes
    // itself when closed. Entries that need an ayeh are there only where the point has one.
    QMenu* PageMenu(const QPoint& at);

    // The context menu's commands.
    void ReciteAt(const TPageAyeh& ayeh);
    void CopyAyeh(int sourehId, int ayehId);
    void CopyTranslation(int sourehId, int ayehId);
    void ToggleBookmark(int sourehId, int ayehId);

    // The texts of the open book for search and copy, read at first use; null without a book.
    const TAyehIndex* Index();

    // The dialogs, once they have been opened.
    TSearchDialog* SearchDialog() const { return Search; }
    TBookmarksDialog* BookmarksDialog() const { return Marks; }
    TPracticeDialog* PracticeDialog() const { return Practice; }

Q_SIGNALS:
    // The page's menu is built, for the ayeh at the point or 0 and 0: others may add to it.
    void PageMenuMade(QMenu* menu, int sourehId, int ayehId);

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    // What the dialogs are given: the texts and the way to an ayeh.
    IndexSource Texts();
    GoToCommand GoingTo();

    TTntMainForm* Form;
    std::unique_ptr<TAyehIndex> LoadedIndex;
    std::weak_ptr<const void> IndexBook;
    QPointer<TSearchDialog> Search;
    QPointer<TBookmarksDialog> Marks;
    QPointer<TPracticeDialog> Practice;
};
