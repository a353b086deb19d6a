#include "mainwindow/ReadingAids.h"

#include "mainwindow/AidsDialogs.h"
#include "mainwindow/CommandSteps.h"
#include "mainwindow/ErrorBox.h"
#include "mainwindow/Main.h"
#include "mainwindow/ReadingAidsCaptions.h"
#include "model/AyehSearch.h"
#include "model/Utility.h"

#include <QClipboard>
#include <QDateTime>
#include <QEvent>
#include <QGuiApplication>
#include <QKeySequence>
#include <QMenu>
#include <QShortcut>
#include <functional>

namespace {

// The keys of the two dialogs, also shown in the page's menu.
const QKeySequence FindKey(Qt::CTRL | Qt::Key_F);
const QKeySequence BookmarksKey(Qt::CTRL | Qt::Key_B);
const QKeySequence PracticeKey(Qt::CTRL | Qt::Key_R);

} // namespace

TReadingAids::TReadingAids(TTntMainForm* form) : QObject(form), Form(form) {
    // The keys work wherever the focus is in the window.
    const std::pair<QKeySequence, std::function<void()>> keys[] = {
        {FindKey, [this] { FindAyeh(); }},
        {QKeySequence(Qt::CTRL | Qt::Key_G), [this] { FocusPageBox(); }},
        {QKeySequence(Qt::CTRL | Qt::Key_Space), [this] { PauseOrContinue(); }},
        {QKeySequence(Qt::CTRL | Qt::Key_PageDown), [this] { TurnPage(1); }},
        {QKeySequence(Qt::CTRL | Qt::Key_PageUp), [this] { TurnPage(-1); }},
        {QKeySequence(Qt::CTRL | Qt::Key_Down), [this] { StepAyeh(1); }},
        {QKeySequence(Qt::CTRL | Qt::Key_Up), [this] { StepAyeh(-1); }},
        {BookmarksKey, [this] { ShowBookmarks(); }},
        {PracticeKey, [this] { ShowPractice(); }},
    };
    for (const auto& key : keys) {
        auto* shortcut = new QShortcut(key.first, Form);
        shortcut->setContext(Qt::WindowShortcut);
        connect(shortcut, &QShortcut::activated, this, [command = key.second] { RunHandler(command); });
    }

    Form->TntImage1->setContextMenuPolicy(Qt::CustomContextMenu);
    connect(Form->TntImage1, &QWidget::customContextMenuRequested, this, [this](const QPoint& at) {
        RunHandler([&] { PageMenu(at)->popup(Form->TntImage1->mapToGlobal(at)); });
    });
    // The dialogs go when the window is closed (not when it is minimised).
    Form->installEventFilter(this);
}

TReadingAids::~TReadingAids() = default;

bool TReadingAids::eventFilter(QObject* watched, QEvent* event) {
    if (watched == Form && event->type() == QEvent::Hide && !event->spontaneous()) {
        if (Search)
            Search->reject();
        if (Marks)
            Marks->reject();
        if (Practice)
            Practice->reject();
    }
    return QObject::eventFilter(watched, event);
}

const TAyehIndex* TReadingAids::Index() {
    if (!HasBook())
        return nullptr;
    const auto book = GlobalQuran->Watch();
    if (!LoadedIndex || IndexBook.owner_before(book) || book.owner_before(IndexBook)) {
        LoadedIndex = TAyehIndex::Load(*GlobalQuran->QuranConnection);
        IndexBook = book;
    }
    return LoadedIndex.get();
}

// --- The keys ---

void TReadingAids::FindAyeh() {
    if (!HasBook())
        return;
    if (!Search)
        Search = new TSearchDialog(Form, Form->TntComboBoxSourehsList->font(), Texts(), GoingTo());
    Search->Open();
}

void TReadingAids::ShowBookmarks() {
    if (!HasBook())
        return;
    if (!Marks)
        Marks = new TBookmarksDialog(Form, Form->TntComboBoxSourehsList->font(), Form->Settings, Texts(),
                                     GoingTo());
    Marks->Open();
}

void TReadingAids::ShowPractice(int fromSoureh, int fromAyeh) {
    if (!HasBook())
        return;
    if (!Practice) {
        QStringList sourehs;
        for (int i = 0; i < Form->TntComboBoxSourehsList->count(); ++i)
            sourehs << Form->TntComboBoxSourehsList->itemText(i);
        Practice = new TPracticeDialog(
            Form, Form->TntComboBoxSourehsList->font(), sourehs,
            [this](int sourehId) { return Form->Reading->NumberOfAyehOf(sourehId); },
            [this](const PracticePlan& plan) { Form->StartPractice(plan); },
            [this] { Form->StopPractice(); });
    }
    PracticePlan plan = Form->Settings.ReadPracticePlan();
    if (fromSoureh >= 1 && fromAyeh >= 1) {
        plan.FromSoureh = fromSoureh;
        plan.FromAyeh = fromAyeh;
        if (!IsValidPassage(plan.FromSoureh, plan.FromAyeh, plan.ToSoureh, plan.ToAyeh)) {
            plan.ToSoureh = fromSoureh;
            plan.ToAyeh = Form->Reading->NumberOfAyehOf(fromSoureh);
        }
    }
    Practice->Show(plan);
}

IndexSource TReadingAids::Texts() {
    return [this] { return Index(); };
}

GoToCommand TReadingAids::GoingTo() {
    return [this](int sourehId, int ayehId) { GoToAyeh(sourehId, ayehId); };
}

void TReadingAids::FocusPageBox() {
    Form->txtPageNo->setFocus(Qt::ShortcutFocusReason);
    Form->txtPageNo->selectAll();
}

void TReadingAids::PauseOrContinue() {
    // As the pause button: with nothing to pause or continue it stands up.
    if (!Form->Reading->PauseOrContinue())
        Form->TntSpeedButton1->setChecked(false);
}

void TReadingAids::TurnPage(int step) {
    Form->Reading->TurnPage(step);
}

void TReadingAids::StepAyeh(int step) {
    Form->Reading->StepAyeh(step);
}

void TReadingAids::GoToAyeh(int sourehId, int ayehId) {
    Form->Reading->ShowAyeh(sourehId, ayehId);
}

// --- The page's context menu ---

std::optional<TReadingAids::TPageAyeh> TReadingAids::AyehAt(const QPoint& at) const {
    if (!HasBook() || !GlobalQuran->Page || !GlobalQuran->Page->HasAyehAt(at.y(), at.x()))
        return std::nullopt;
    TPageAyeh ayeh;
    QString translation;
    GlobalQuran->Page->GetAyehAt(at.y(), at.x(), ayeh.SourehID, ayeh.AyehID, translation);
    ayeh.PageID = GlobalQuran->Page->PageID;
    ayeh.At = at;
    return ayeh;
}

QMenu* TReadingAids::PageMenu(const QPoint& at) {
    auto* menu = new QMenu(Form);
    menu->setAttribute(Qt::WA_DeleteOnClose);
    DressLikeMainWindow(menu, Form->TntComboBoxSourehsList->font());
    // One entry: its caption, the key that does the same (shown beside it), whether it can be
    // chosen, and what it does. The command runs after the menu has closed.
    const auto add = [this, menu](const QString& caption, const QKeySequence& key, bool enabled,
                                  std::function<void()> command) {
        const QString text =
            key.isEmpty() ? caption : caption + u'\t' + key.toString(QKeySequence::NativeText);
        QAction* action = menu->addAction(text);
        action->setEnabled(enabled);
        // Run from a copy: reciting lets events run, in which the menu and its entries may go.
        connect(action, &QAction::triggered, this, [command = std::move(command)] {
            const std::function<void()> run = command;
            RunHandler(run);
        });
    };

    if (const std::optional<TPageAyeh> ayeh = AyehAt(at)) {
        const int s = ayeh->SourehID;
        const int a = ayeh->AyehID;
        const TAyehIndex* index = Index();
        add(CaptionReciteAyeh, {}, true, [this, target = *ayeh] { ReciteAt(target); });
        add(CaptionPracticeMenu, {}, true, [this, s, a] { ShowPractice(s, a); });
        add(CaptionCopyAyeh, {}, index && index->HasArabicText(), [this, s, a] { CopyAyeh(s, a); });
        add(CaptionCopyTranslation, {}, true, [this, s, a] { CopyTranslation(s, a); });
        add(Form->Settings.IsBookmarked(s, a) ? CaptionRemoveBookmark : CaptionAddBookmark, {}, true,
            [this, s, a] { ToggleBookmark(s, a); });
        menu->addSeparator();
    }
    add(CaptionFindMenu, FindKey, HasBook(), [this] { FindAyeh(); });
    add(CaptionBookmarksMenu, BookmarksKey, HasBook(), [this] { ShowBookmarks(); });
    const std::optional<TPageAyeh> ayeh = AyehAt(at);
    Q_EMIT PageMenuMade(menu, ayeh ? ayeh->SourehID : 0, ayeh ? ayeh->AyehID : 0);
    return menu;
}

void TReadingAids::ReciteAt(const TPageAyeh& ayeh) {
    // Reciting shows the ayeh's page, also when the recitation has turned the page since the
    // menu opened.
    Form->Reading->ReciteAyeh(ayeh.SourehID, ayeh.AyehID);
}

void TReadingAids::CopyAyeh(int sourehId, int ayehId) {
    const TAyehIndex* index = Index();
    const TAyehText* ayeh = index ? index->Find(sourehId, ayehId) : nullptr;
    if (!ayeh || ayeh->Text.isEmpty())
        return;
    QGuiApplication::clipboard()->setText(
        CaptionCitation.arg(ayeh->Text, index->SourehName(sourehId), PersianNumber(ayehId)));
}

void TReadingAids::CopyTranslation(int sourehId, int ayehId) {
    const TAyehIndex* index = Index();
    if (const TAyehText* ayeh = index ? index->Find(sourehId, ayehId) : nullptr)
        QGuiApplication::clipboard()->setText(ayeh->Translation);
}

void TReadingAids::ToggleBookmark(int sourehId, int ayehId) {
    if (!Form->Settings.ToggleBookmark(sourehId, ayehId, QDateTime::currentDateTimeUtc()))
        ShowStandardError(CaptionBookmarkNotSaved);
    if (Marks && Marks->isVisible())
        Marks->Refresh();
}
