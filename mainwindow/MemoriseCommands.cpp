#include "mainwindow/MemoriseCommands.h"

#include "content/ContentKeys.h"
#include "content/MushafCounts.h"
#include "mainwindow/CommandSteps.h"
#include "mainwindow/ErrorBox.h"
#include "mainwindow/Main.h"
#include "mainwindow/MushafViewLink.h"
#include "mainwindow/PracticeDialog.h"
#include "mainwindow/ReadingAids.h"
#include "memorise/AyehWords.h"
#include "memorise/DueDialog.h"
#include "memorise/MemoriseCaptions.h"
#include "memorise/NoteDialog.h"
#include "memorise/ProgressWindow.h"
#include "memorise/SittingPanel.h"
#include "model/AyehSearch.h"
#include "model/Utility.h"

#include <QComboBox>
#include <QEvent>
#include <QFileInfo>
#include <QFormLayout>
#include <QHelpEvent>
#include <QKeySequence>
#include <QMenu>
#include <QPushButton>
#include <QSettings>
#include <QShortcut>
#include <QSpinBox>
#include <QToolTip>
#include <functional>

namespace {

const QKeySequence MemoriseKey(Qt::CTRL | Qt::Key_H);

} // namespace

TMemoriseCommands::TMemoriseCommands(TTntMainForm* form, TReadingAids* aids)
    : QObject(form), Form(form), Aids(aids) {
    auto* shortcut = new QShortcut(MemoriseKey, Form);
    shortcut->setContext(Qt::WindowShortcut);
    connect(shortcut, &QShortcut::activated, this, [this] { RunHandler([this] { ChoosePassage(); }); });
    connect(Aids, &TReadingAids::PageMenuMade, this, &TMemoriseCommands::AddMenuEntries);
    Form->TntImage1->installEventFilter(this);
    Form->installEventFilter(this);
}

TMemoriseCommands::~TMemoriseCommands() {
    // The windows borrow the data and the pages held here.
    delete Sitting.data();
    delete Progress.data();
    delete Due.data();
}

TSittingPanel* TMemoriseCommands::Panel() const {
    return Sitting;
}

TProgressWindow* TMemoriseCommands::ProgressWindow() const {
    return Progress;
}

TDueDialog* TMemoriseCommands::DueDialog() const {
    return Due;
}

bool TMemoriseCommands::eventFilter(QObject* watched, QEvent* event) {
    if (watched == Form && event->type() == QEvent::Hide && !event->spontaneous()) {
        for (QWidget* window : {static_cast<QWidget*>(Sitting.data()), static_cast<QWidget*>(Progress.data()),
                                static_cast<QWidget*>(Due.data()), static_cast<QWidget*>(Chooser.data())})
            if (window)
                window->close();
    }
    // The type first: the window's own hide comes while it is being destroyed, when its
    // controls are no longer to be reached.
    if (event->type() == QEvent::ToolTip && watched == Form->TntImage1)
        return ShowNoteTip(event);
    return QObject::eventFilter(watched, event);
}

bool TMemoriseCommands::ShowNoteTip(QEvent* event) {
    // The page's own tooltip goes on as it is; an ayeh with a note gets it below.
    const auto* help = static_cast<QHelpEvent*>(event);
    if (!Form->TntImage1->ShowHint() || Form->TntImage1->Hint().isEmpty())
        return false;
    // Resting the pointer on the page makes no learner's file where there is none yet.
    if (!Opening && !QFileInfo::exists(LearnerDatabasePath()))
        return false;
    const std::optional<TReadingAids::TPageAyeh> ayeh = Aids->AyehAt(help->pos());
    LearnerData* data = ayeh ? Learner(true) : nullptr;
    if (!data)
        return false;
    QString note;
    try {
        note = data->Note(ayeh->SourehID, ayeh->AyehID);
    } catch (const std::exception&) {
        return false;
    }
    if (note.trimmed().isEmpty())
        return false;
    QToolTip::showText(help->globalPos(), AyehTooltip(Form->TntImage1->Hint(), note), Form->TntImage1);
    return true;
}

LearnerData* TMemoriseCommands::Learner(bool quiet) {
    if (!Opening)
        Opening = LearnerData::Open(LearnerDatabasePath(), Clock);
    if (!quiet)
        TellOpening();
    return Opening->Data.get();
}

void TMemoriseCommands::TellOpening() {
    // A file moved aside is told of once; missing data at every command that needs it.
    if (Opening->Data) {
        if (!Told && !Opening->Message.isEmpty())
            ShowStandardError(Opening->Message);
        Told = true;
        return;
    }
    ShowStandardError(Opening->Message.isEmpty() ? CaptionNoLearnerData : Opening->Message);
}

const AyehPages* TMemoriseCommands::Pages() {
    if (!HasBook())
        return nullptr;
    const auto book = GlobalQuran->Watch();
    if (!PagesRead || PagesBook.owner_before(book) || book.owner_before(PagesBook)) {
        BookPages = ReadAyehPages(*GlobalQuran->QuranConnection);
        PagesBook = book;
        PagesRead = true;
    }
    return &BookPages;
}

QStringList TMemoriseCommands::SourehNames() const {
    QStringList names;
    for (int i = 0; i < Form->TntComboBoxSourehsList->count(); ++i)
        names << Form->TntComboBoxSourehsList->itemText(i);
    return names;
}

WordCounts TMemoriseCommands::Words() {
    const AyehPages* pages = Pages();
    if (!pages)
        return [](int, int) { return 0; };
    return TypesetWordCounts(*GlobalQuran->QuranConnection, *pages, [this](int sourehId, int ayehId) {
        const TAyehIndex* index = Aids->Index();
        const TAyehText* ayeh = index ? index->Find(sourehId, ayehId) : nullptr;
        return ayeh ? ayeh->Text : QString();
    });
}

void TMemoriseCommands::AddMenuEntries(QMenu* menu, int sourehId, int ayehId) {
    const auto add = [this, menu](const QString& text, std::function<void()> command) {
        QAction* action = menu->addAction(text);
        action->setEnabled(HasBook());
        connect(action, &QAction::triggered, this, [command = std::move(command)] {
            const std::function<void()> run = command;
            RunHandler(run);
        });
    };
    menu->addSeparator();
    if (sourehId > 0 && ayehId > 0) {
        add(CaptionMemoriseMenu + u'\t' + MemoriseKey.toString(QKeySequence::NativeText),
            [this, sourehId, ayehId] { ChoosePassage(sourehId, ayehId); });
        add(CaptionNoteMenu, [this, sourehId, ayehId] { EditNote(sourehId, ayehId); });
    }
    add(CaptionDueMenu, [this] { ShowDue(); });
    add(CaptionProgressMenu, [this] { ShowProgress(); });
}

void TMemoriseCommands::ChoosePassage(int fromSoureh, int fromAyeh) {
    if (!HasBook())
        return;
    if (fromSoureh < 1 || fromAyeh < 1) {
        // The selection lives in the lists.
        fromSoureh = Form->TntComboBoxSourehsList->currentIndex() + 1;
        fromAyeh = Form->TntComboBoxAyehsList->currentIndex() + 1;
        if (fromSoureh < 1 || fromAyeh < 1)
            return;
    }
    const AyehPages* pages = Pages();
    if (!Chooser) {
        // The practice's chooser of a passage, without its rounds and pause.
        Chooser = new TPracticeDialog(
            Form, Form->TntComboBoxSourehsList->font(), SourehNames(),
            [](int sourehId) { return NumberOfAyehs(sourehId); },
            [this](const PracticePlan& plan) { StartPassage(plan); }, [] {});
        Chooser->setWindowTitle(CaptionSittingTitle);
        Chooser->StartButton->setText(CaptionMemoriseStart);
        Chooser->StopButton->hide();
        if (auto* form = Chooser->findChild<QFormLayout*>()) {
            form->setRowVisible(Chooser->Rounds, false);
            for (int row = 0; row < form->rowCount(); ++row) {
                QLayoutItem* field = form->itemAt(row, QFormLayout::FieldRole);
                if (field && field->layout() && field->layout()->indexOf(Chooser->Pause) >= 0)
                    form->setRowVisible(row, false);
            }
        }
    }
    PracticePlan plan;
    plan.FromSoureh = plan.ToSoureh = fromSoureh;
    plan.FromAyeh = plan.ToAyeh = fromAyeh;
    // To the end of the page, within the soureh: memorising goes page by page.
    const int page = pages ? pages->PageOf(fromSoureh, fromAyeh) : 0;
    while (plan.ToAyeh < NumberOfAyehs(fromSoureh) && pages &&
           pages->PageOf(fromSoureh, plan.ToAyeh + 1) == page)
        ++plan.ToAyeh;
    Chooser->Show(plan);
}

void TMemoriseCommands::StartPassage(const PracticePlan& plan) {
    const AyehPages* pages = Pages();
    if (!pages)
        return;
    StartSitting(PassageAyehs(plan.FromSoureh, plan.FromAyeh, plan.ToSoureh, plan.ToAyeh, *pages, Words()));
}

void TMemoriseCommands::StartDue(const std::vector<DuePage>& due) {
    StartSitting(DueAyehs(due, Words()));
}

void TMemoriseCommands::StartSitting(std::vector<SittingAyeh> ayehs) {
    if (ayehs.empty() || !HasBook())
        return;
    LearnerData* data = Learner();
    if (Sitting)
        Sitting->End();
    SittingOptions options;
    {
        const QSettings settings(QString::fromLatin1(SettingsOrganisation),
                                 QString::fromLatin1(SettingsApplication));
        options = ReadSittingOptions(settings);
    }
    Sitting = new TSittingPanel(Form, std::move(ayehs), options.Hint, data, SourehNames());
    Sitting->setAttribute(Qt::WA_DeleteOnClose);
    // The sitting shows where it is: its ayeh chosen and painted on its page, which the
    // Mushaf view follows, with the words not yet revealed left out.
    connect(Sitting, &TSittingPanel::AyehChanged, this,
            [this](int sourehId, int ayehId, int) { RunHandler([&] { Aids->GoToAyeh(sourehId, ayehId); }); });
    auto* view = Form->findChild<TMushafViewLink*>(QString(), Qt::FindDirectChildrenOnly);
    if (view) {
        const QPointer<TSittingPanel> panel = Sitting;
        const auto hide = [view, panel] {
            if (panel)
                view->SetHiddenWords(panel->HiddenWords());
        };
        connect(Sitting, &TSittingPanel::RevealedChanged, view, hide);
        connect(Sitting, &TSittingPanel::AyehChanged, view, hide);
        connect(Sitting, &TSittingPanel::Ended, view, [view] { view->SetHiddenWords({}); });
        hide();
    }
    if (options.PlayRevealed) {
        // An ayeh the learner has just revealed to its last word is recited, once the panel's
        // key is over (reciting runs events, in which the panel may close).
        const QPointer<TSittingPanel> panel = Sitting;
        connect(Sitting, &TSittingPanel::RevealedChanged, this,
                [this, panel, last = AyehKey{}, lastShown = 0](int sourehId, int ayehId, int shown) mutable {
                    const bool more = AyehKey{sourehId, ayehId} == last && shown > lastShown;
                    last = {sourehId, ayehId};
                    lastShown = shown;
                    if (!more || !panel || panel->Sitting().Ended() ||
                        shown < panel->Sitting().Current().Words)
                        return;
                    QMetaObject::invokeMethod(
                        this,
                        [this, sourehId, ayehId] {
                            RunHandler([&] { Form->Reading->ReciteAyeh(sourehId, ayehId); });
                        },
                        Qt::QueuedConnection);
                });
    }
    connect(Sitting, &TSittingPanel::Ended, this, [this] {
        if (Progress)
            Progress->Refresh();
    });
    if (view)
        view->Open(false); // beside the panel, which keeps the keys
    Sitting->show();
    Sitting->raise();
    Sitting->activateWindow();
}

void TMemoriseCommands::ShowDue() {
    const AyehPages* pages = Pages();
    LearnerData* data = Learner();
    if (!pages || !data)
        return;
    if (Due)
        Due->close();
    Due = new TDueDialog(Form, DueToday(data->Reviews(), *pages, data->Today()), SourehNames());
    Due->setAttribute(Qt::WA_DeleteOnClose);
    connect(Due, &TDueDialog::StartRequested, this,
            [this](const std::vector<DuePage>& due) { RunHandler([&] { StartDue(due); }); });
    Due->show();
}

void TMemoriseCommands::EditNote(int sourehId, int ayehId) {
    LearnerData* data = Learner();
    if (!data)
        return;
    const QStringList names = SourehNames();
    auto* dialog = new TNoteDialog(Form, *data, sourehId, ayehId,
                                   sourehId <= names.size() ? names[sourehId - 1] : PersianNumber(sourehId));
    dialog->setAttribute(Qt::WA_DeleteOnClose);
    connect(dialog, &QDialog::accepted, this, [this] {
        if (Progress)
            Progress->Refresh();
    });
    dialog->open();
}

void TMemoriseCommands::ShowProgress() {
    const AyehPages* pages = Pages();
    // Without data the window itself says why.
    LearnerData* data = Learner(true);
    if (data)
        TellOpening();
    if (!pages)
        return;
    if (!Progress) {
        Progress = new TProgressWindow(Form, data, *pages, SourehNames(),
                                       data ? QString() : (Opening ? Opening->Message : QString()));
        Progress->setAttribute(Qt::WA_DeleteOnClose);
        connect(Progress, &TProgressWindow::OpenPage, this, [this](int pageId) {
            RunHandler([&] {
                Form->txtPageNo->setText(QString::number(pageId));
                Form->TntBitBtnGoToPageClick(Form->TntBitBtnGoToPage);
            });
        });
        connect(Progress, &TProgressWindow::OpenAyeh, this,
                [this](int sourehId, int ayehId) { RunHandler([&] { Aids->GoToAyeh(sourehId, ayehId); }); });
    } else {
        Progress->Refresh();
    }
    Progress->show();
    Progress->raise();
    Progress->activateWindow();
}
