#include "mainwindow/MushafViewLink.h"

#include "audio/AudioPlayer.h"
#include "mainwindow/ErrorBox.h"
#include "mainwindow/Main.h"
#include "mainwindow/ReadingAids.h"
#include "model/Utility.h"
#include "mushafview/MushafViewCaptions.h"
#include "mushafview/MushafViewContent.h"
#include "mushafview/MushafViewWindow.h"

#include <QEvent>
#include <QKeySequence>
#include <QMenu>
#include <QScopedValueRollback>
#include <QShortcut>

TMushafViewLink::TMushafViewLink(TTntMainForm* form) : QObject(form), Form(form) {
    auto* key = new QShortcut(QKeySequence(Qt::Key_F11), Form);
    key->setContext(Qt::WindowShortcut);
    connect(key, &QShortcut::activated, this, [this] { RunHandler([this] { Open(); }); });
    // The view shows the ayeh and the page the reading moves to, by whatever command.
    connect(Form->Reading, &TReadingController::CurrentAyehChanged, this, &TMushafViewLink::Follow);
    connect(Form->Reading, &TReadingController::PageChanged, this, &TMushafViewLink::Follow);
    // The page's menu ends with the entry that opens the view.
    if (auto* aids = Form->findChild<TReadingAids*>(QString(), Qt::FindDirectChildrenOnly))
        connect(aids, &TReadingAids::PageMenuMade, this, [this](QMenu* menu, int, int) {
            menu->addSeparator();
            QAction* entry = menu->addAction(CaptionMushafView + u'\t' +
                                             QKeySequence(Qt::Key_F11).toString(QKeySequence::NativeText));
            entry->setEnabled(Form->Reading->HasBook());
            connect(entry, &QAction::triggered, this, [this] { RunHandler([this] { Open(); }); });
        });
    // The view reads from the book: it goes before the book does.
    Form->installEventFilter(this);
}

TMushafViewLink::~TMushafViewLink() {
    delete Window;
}

bool TMushafViewLink::eventFilter(QObject* watched, QEvent* event) {
    if (watched == Form && event->type() == QEvent::Close && Window) {
        Window->disconnect(this);
        delete Window;
    }
    return QObject::eventFilter(watched, event);
}

void TMushafViewLink::Open(bool fullScreen) {
    if (!Form->Reading->HasBook() || !GlobalQuran->Page)
        return;
    if (Window) {
        Window->raise();
        Window->activateWindow();
        return;
    }
    const auto book = GlobalQuran->Watch();
    if (!Content || ContentBook.owner_before(book) || book.owner_before(ContentBook)) {
        Content = std::make_unique<TMushafViewContent>(*GlobalQuran->QuranConnection);
        ContentBook = book;
    }
    Window = new TMushafViewWindow(*Content, GlobalQuran->Page->PageID);
    // Carried out once the view's own event is over: reciting runs events, in which the view
    // may be closed.
    connect(
        Window, &TMushafViewWindow::AyehActivated, this,
        [this](int s, int a) { RunHandler([&] { ReciteAyeh(s, a); }); }, Qt::QueuedConnection);
    connect(
        Window, &TMushafViewWindow::PageRequested, this,
        [this](int page) { RunHandler([&] { GoToPage(page); }); }, Qt::QueuedConnection);
    connect(Window, &TMushafViewWindow::PauseRequested, this,
            [this] { RunHandler([&] { PauseOrContinue(); }); });
    connect(
        Window, &TMushafViewWindow::ViewClosed, this,
        [this](int s, int a, int page) { RunHandler([&] { ViewClosed(s, a, page); }); },
        Qt::QueuedConnection);

    // The window's Ctrl keys work in the view too, but for those the view has of its own.
    const QKeySequence pause(Qt::CTRL | Qt::Key_Space);
    for (QShortcut* shortcut : Form->findChildren<QShortcut*>(Qt::FindDirectChildrenOnly)) {
        const QKeySequence key = shortcut->key();
        if (key == pause || !(key[0].keyboardModifiers() & Qt::ControlModifier))
            continue;
        auto* copy = new QShortcut(key, Window);
        copy->setContext(Qt::WindowShortcut);
        connect(copy, &QShortcut::activated, shortcut, &QShortcut::activated);
    }

    Window->Pages()->SetHiddenWords(Hidden);
    Follow();
    if (fullScreen)
        Window->showFullScreen();
    else
        Window->show();
    Window->activateWindow();
}

void TMushafViewLink::SetHiddenWords(std::set<WordKey> words) {
    Hidden = std::move(words);
    if (Window)
        Window->Pages()->SetHiddenWords(Hidden);
}

void TMushafViewLink::Follow() {
    if (!Window || !Form->Reading->HasBook() || !GlobalQuran->Page)
        return;
    const int page = GlobalQuran->Page->PageID;
    const TAyeh* ayeh = GlobalQuran->Soureh->Ayeh.get();
    if (ayeh)
        Window->ShowAyeh(GlobalQuran->Soureh->SourehID, ayeh->AyehID, page);
    else
        Window->ShowPage(page);
}

void TMushafViewLink::ReciteAyeh(int soureh, int ayeh) {
    // As a click on the ayeh in the window's own page.
    Form->Reading->ReciteAyeh(soureh, ayeh);
}

void TMushafViewLink::GoToPage(int page) {
    if (!Form->Reading->HasBook() || (GlobalQuran->Page && GlobalQuran->Page->PageID == page))
        return;
    Form->Reading->GoToPage(page);
}

void TMushafViewLink::PauseOrContinue() {
    // The pause button follows the controller's pause state.
    Form->Reading->PauseOrContinue();
}

void TMushafViewLink::ViewClosed(int soureh, int ayeh, int page) {
    Form->activateWindow();
    if (!Form->Reading->HasBook())
        return;
    const TAyeh* current = GlobalQuran->Soureh->Ayeh.get();
    const bool sameAyeh = current && GlobalQuran->Soureh->SourehID == soureh && current->AyehID == ayeh;
    if (soureh >= 1 && ayeh >= 1 && !sameAyeh) {
        Form->Reading->ShowAyeh(soureh, ayeh);
    } else if (!GlobalQuran->Page || GlobalQuran->Page->PageID != page) {
        GoToPage(page);
    }
}
