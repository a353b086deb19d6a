#include "mainwindow/MushafViewLink.h"

#include "audio/AudioPlayer.h"
#include "content/MushafCounts.h"
#include "mainwindow/CommandSteps.h"
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
    // Every change of the current ayeh shows its translation, every page shown its number.
    connect(Form->TntMemo1, &QPlainTextEdit::textChanged, this, &TMushafViewLink::Follow);
    connect(Form->txtPageNo, &QLineEdit::textChanged, this, &TMushafViewLink::Follow);
    // The page's menu ends with the entry that opens the view.
    if (auto* aids = Form->findChild<TReadingAids*>(QString(), Qt::FindDirectChildrenOnly))
        connect(aids, &TReadingAids::PageMenuMade, this, [this](QMenu* menu, int, int) {
            menu->addSeparator();
            QAction* entry = menu->addAction(CaptionMushafView + u'\t' +
                                             QKeySequence(Qt::Key_F11).toString(QKeySequence::NativeText));
            entry->setEnabled(HasBook());
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
    if (!HasBook() || !GlobalQuran->Page)
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

    Follow();
    if (fullScreen)
        Window->showFullScreen();
    else
        Window->show();
    Window->activateWindow();
}

void TMushafViewLink::Follow() {
    if (!Window || !HasBook() || !GlobalQuran->Page)
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
    if (!HasBook() || soureh < 1 || soureh > Form->TntComboBoxSourehsList->count())
        return;
    Form->EndPractice();
    Form->ResetPauseButton();
    if (GlobalQuran->Player->Mode() == pmPlaying)
        GlobalQuran->Player->Pause();
    Form->TntComboBoxSourehsList->setCurrentIndex(soureh - 1);
    Form->RefillAyehList(soureh);
    if (ayeh < 1 || ayeh > Form->TntComboBoxAyehsList->count())
        return;
    Form->TntComboBoxAyehsList->setCurrentIndex(ayeh - 1);
    ReciteAndShow(*Form, SelectAyeh(soureh, ayeh), RepeatCount(*Form));
}

void TMushafViewLink::GoToPage(int page) {
    if (!HasBook() || page < FirstPageID || page > LastPageID ||
        (GlobalQuran->Page && GlobalQuran->Page->PageID == page))
        return;
    // As a page number typed into the page box and confirmed.
    Form->txtPageNo->SetText(QString::number(page));
    Form->TntBitBtnGoToPageClick(Form->TntBitBtnGoToPage);
}

void TMushafViewLink::PauseOrContinue() {
    // As the pause button's own handler after a press has flipped it.
    Form->TntSpeedButton1->setChecked(!Form->TntSpeedButton1->isChecked());
    Form->TntSpeedButton1Click(Form->TntSpeedButton1);
}

void TMushafViewLink::ViewClosed(int soureh, int ayeh, int page) {
    Form->activateWindow();
    if (!HasBook())
        return;
    const TAyeh* current = GlobalQuran->Soureh->Ayeh.get();
    const bool sameAyeh = current && GlobalQuran->Soureh->SourehID == soureh && current->AyehID == ayeh;
    if (soureh >= 1 && ayeh >= 1 && !sameAyeh) {
        if (auto* aids = Form->findChild<TReadingAids*>())
            aids->GoToAyeh(soureh, ayeh);
    } else if (!GlobalQuran->Page || GlobalQuran->Page->PageID != page) {
        GoToPage(page);
    }
}
