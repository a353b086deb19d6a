#pragma once
// The main window's way into the Mushaf view: F11 and the page's context menu open it; the view
// follows the window's current ayeh and page, and what the view asks for (recite an ayeh, turn
// to a page, pause) is carried out by the window's own handlers and steps. When the view
// closes, the window shows the page and ayeh it ended on.

#include "mushafview/MushafViewWindow.h"

#include <QObject>
#include <QPointer>
#include <memory>
#include <set>

class TMushafViewContent;
class TTntMainForm;

class TMushafViewLink final : public QObject {
    Q_OBJECT
public:
    // Sets up F11 and the page menu's entry on form, which owns this object; after the form's
    // reading aids exist.
    explicit TMushafViewLink(TTntMainForm* form);
    ~TMushafViewLink() override;

    // Opens the view on the window's page (shows it again when it is open already), filling
    // the screen. `fullScreen` false leaves it at its own size.
    void Open(bool fullScreen = true);
    TMushafViewWindow* View() const { return Window; }
    // Words the view leaves out while a memorisation sitting runs, kept for a view opened
    // later; empty shows the pages whole.
    void SetHiddenWords(std::set<WordKey> words);

    // The view's requests, carried out as the window's commands.
    void ReciteAyeh(int soureh, int ayeh);
    void GoToPage(int page);
    void PauseOrContinue();
    void ViewClosed(int soureh, int ayeh, int page);

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    // Tells the view the window's current ayeh and page.
    void Follow();

    TTntMainForm* Form;
    std::unique_ptr<TMushafViewContent> Content;
    std::weak_ptr<const void> ContentBook; // the book Content reads from
    // A window of its own (no Qt parent, so that it is activated as one): freed here, when the
    // main window closes, or by itself when closed.
    QPointer<TMushafViewWindow> Window;
    std::set<WordKey> Hidden;
};
