#include "mainwindow/ReciterCommands.h"

#include "audio/AudioPlayer.h"
#include "content/ContentKeys.h"
#include "content/MushafCounts.h"
#include "mainwindow/CommandSteps.h"
#include "mainwindow/Main.h"
#include "model/Utility.h"
#include "recordings/RecitationImport.h"
#include "recordings/UserContent.h"

#include <QDir>
#include <QFileDialog>
#include <QFileInfo>
#include <QInputDialog>
#include <QLocale>
#include <QMenu>
#include <QMessageBox>
#include <QProgressDialog>
#include <QPushButton>
#include <QTextEdit>
#include <QThread>
#include <optional>

namespace {

const QString CaptionImportRecitation = QStringLiteral(u"وارد کردن تلاوت برای این قاری…");
const QString CaptionRenameReciter = QStringLiteral(u"تغییر نام قاری…");
const QString TitleImport = QStringLiteral(u"وارد کردن تلاوت");
const QString TitleRename = QStringLiteral(u"تغییر نام قاری");
const QString TitleFolder = QStringLiteral(u"پوشهٔ تلاوت را برگزینید (هر آیه یک پرونده: 001001.mp3 …)");
const QString LabelName = QStringLiteral(u"نام قاری در فهرست:");
const QString CaptionOk = QStringLiteral(u"تأیید");
const QString CaptionCancel = QStringLiteral(u"انصراف");
const QString TextPreparing = QStringLiteral(u"آماده‌سازی…");
const QString TextCancelling = QStringLiteral(u"لغو…");
const QString TextSavingName = QStringLiteral(u"ذخیرهٔ نام قاری…");
const QString TextImportFailed = QStringLiteral(
    u"وارد کردن تلاوت انجام نشد؛ تلاوت‌ها همان‌اند که بودند.");
const QString TextRenameFailed = QStringLiteral(u"تغییر نام قاری انجام نشد؛ چیزی تغییر نکرد.");
const QString TextCancelled = QStringLiteral(
    u"وارد کردن تلاوت لغو شد؛ تلاوت‌ها همان‌اند که بودند.");
const QString TextRunningElsewhere =
    QStringLiteral(u"تلاوت‌ها در پنجرهٔ دیگری در حال تغییرند؛ ") +
    QStringLiteral(u"پس از آن دوباره بکوشید.");
const QString TextNotYours =
    QStringLiteral(
        u"تلاوت‌هایی که اکنون می‌شنوید از آنِ شما نیست؛ ") +
    QStringLiteral(
        u"این تغییر در تلاوت‌های خودتان در %1 نگه‌داری می‌شود.");
const QString TextUndecodable = QStringLiteral(u"%1 پرونده خوانده نشد:");
const QString TextMoreFiles = QStringLiteral(u"و %1 پروندهٔ دیگر (همه در «جزئیات»)");
const QString CaptionShowDetails = QStringLiteral(u"جزئیات…");
const QString CaptionHideDetails = QStringLiteral(u"پنهان کردن جزئیات");
// The failure box names this many files; the rest are counted.
constexpr int FilesNamed = 5;

QString Persian(qint64 number) {
    QLocale persian(QLocale::Persian, QLocale::Iran);
    persian.setNumberOptions(QLocale::OmitGroupSeparator);
    return persian.toString(number);
}

// The window's own font and colours, right to left.
void DressLikeWindow(QWidget* widget) {
    widget->setLayoutDirection(Qt::RightToLeft);
    widget->setFont(UiFont(QStringLiteral("Tahoma"), 13));
    SetColours(widget, StoredColour(ColourDarkGreen), StoredColour(ColourPeach));
}

// Left-to-right text (paths, ayeh ranges) kept whole inside a right-to-left line.
QString LeftToRight(const QString& text) {
    return QChar(0x202A) + text + QChar(0x202C);
}

// A box dressed like the window that goes away by itself once closed; open() shows it
// window-modal.
QMessageBox* MakeBox(QWidget* parent, QMessageBox::Icon icon, const QString& title, const QString& text) {
    auto* box = new QMessageBox(icon, title, text, QMessageBox::Ok, parent);
    box->button(QMessageBox::Ok)->setText(CaptionOk);
    DressLikeWindow(box);
    box->setAttribute(Qt::WA_DeleteOnClose);
    return box;
}

void ShowBox(QWidget* parent, QMessageBox::Icon icon, const QString& title, const QString& text) {
    MakeBox(parent, icon, title, text)->open();
}

// A failure box whose details hold every file that could not be decoded, one per line, to
// be selected and copied; the box itself names the first few, so that it fits any screen.
void ShowFailure(QWidget* parent, const QString& title, const QString& text,
                 const std::vector<UndecodableRecordings::File>& files) {
    if (files.empty()) {
        ShowBox(parent, QMessageBox::Critical, title, text);
        return;
    }
    QStringList named;
    QStringList all;
    for (const UndecodableRecordings::File& file : files) {
        all << file.Message;
        if (named.size() == FilesNamed)
            continue;
        // The decoder's message begins with the file's path: the name alone is enough here.
        QString why = file.Message;
        const QString path = QDir::toNativeSeparators(file.Path) + QStringLiteral(": ");
        if (why.startsWith(path))
            why = why.mid(path.size());
        named << QStringLiteral(u"• ") +
                     LeftToRight(QFileInfo(file.Path).fileName() + QStringLiteral(": ") + why);
    }
    QString summary = text + QStringLiteral("\n\n") + TextUndecodable.arg(Persian(qint64(files.size()))) +
                      u'\n' + named.join(u'\n');
    if (files.size() > size_t(FilesNamed))
        summary += u'\n' + TextMoreFiles.arg(Persian(qint64(files.size()) - FilesNamed));
    QMessageBox* box = MakeBox(parent, QMessageBox::Critical, title, summary);
    box->setDetailedText(all.join(u'\n'));
    // The details button is Qt's own, captioned in English each time it is clicked.
    for (QAbstractButton* button : box->findChildren<QAbstractButton*>()) {
        if (box->buttonRole(button) != QMessageBox::ActionRole)
            continue;
        const auto caption = [box, button] {
            const auto* details = box->findChild<QTextEdit*>();
            button->setText(details && details->isVisible() ? CaptionHideDetails : CaptionShowDetails);
        };
        caption();
        QObject::connect(button, &QAbstractButton::clicked, box, caption);
    }
    box->open();
}

// "m:ss", in Persian digits.
QString Duration(qint64 seconds) {
    return Persian(seconds / 60) + u':' + (seconds % 60 < 10 ? Persian(0) : QString()) +
           Persian(seconds % 60);
}

QString Summary(const QString& name, const QString& folder, const ImportOutcome& outcome) {
    QString text =
        QStringLiteral(
            u"تلاوت «%1» وارد شد و در پوشهٔ %2 نگه‌داری می‌شود.\n")
            .arg(name, QDir::toNativeSeparators(folder));
    text += QStringLiteral(u"اکنون %1 آیه از %2 آیه تلاوت دارد، %3.")
                .arg(Persian(outcome.AyehCount()), Persian(TotalAyehCount),
                     outcome.HasBismillah() ? QStringLiteral(u"با بسم‌الله")
                                            : QStringLiteral(u"بی بسم‌الله"));
    const std::vector<std::pair<int, int>> missing = outcome.Missing();
    if (!missing.empty())
        text += QStringLiteral(u"\nبی‌تلاوت (%1): %2")
                    .arg(Persian(qint64(missing.size())),
                         LeftToRight(DescribeAyehRanges(missing, 20, QStringLiteral(u"بسم‌الله"))));
    if (!outcome.Ignored.isEmpty())
        text += QStringLiteral(u"\nنادیده، چون نام آیه‌ای نیست: %1")
                    .arg(LeftToRight(outcome.Ignored.join(QStringLiteral(", "))));
    return text;
}

} // namespace

struct TReciterCommands::Change {
    bool Import = true; // else a renaming
    int GhariID = 0;
    QString Name;
    QString Folder;
    QString Source;
    QString Target;
    QString UserFolder;
    // The text and farewell sound in use, which the per-user folder links to.
    QString QuranFile;
    QString FarewellFile;
};

struct TReciterCommands::Result {
    // The change ready to replace the user's snd.wav.
    std::optional<PreparedChange> Prepared;
    QString Failure;
    std::vector<UndecodableRecordings::File> Undecodable;
    bool Cancelled = false;
};

TReciterCommands::TReciterCommands(TTntMainForm* form) : QObject(form), Form(form) {
    QComboBox* list = Form->TntComboBoxGhariList;
    list->setContextMenuPolicy(Qt::CustomContextMenu);
    connect(list, &QWidget::customContextMenuRequested, this,
            [this](const QPoint& pos) { RunHandler([&] { TntComboBoxGhariListContextPopup(pos); }); });
}

TReciterCommands::~TReciterCommands() {
    if (!Worker)
        return;
    CancelRequested->store(true);
    Worker->wait();
    delete Worker;
    // A change the worker had made ready is dropped with its result: nothing changes.
}

QInputDialog* TReciterCommands::NameDialog(const QString& title, const QString& current) {
    auto* dialog = new QInputDialog(Form);
    dialog->setWindowTitle(title);
    QString label = LabelName;
    if (HasBook() && !IsUserSound(GlobalQuran->SoundConnection->FilePath()))
        label = TextNotYours.arg(LeftToRight(QDir::toNativeSeparators(UserContentFolder()))) + u'\n' + label;
    dialog->setLabelText(label);
    dialog->setTextValue(current);
    dialog->setOkButtonText(CaptionOk);
    dialog->setCancelButtonText(CaptionCancel);
    DressLikeWindow(dialog);
    dialog->setAttribute(Qt::WA_DeleteOnClose);
    return dialog;
}

void TReciterCommands::TntComboBoxGhariListContextPopup(const QPoint& pos) {
    QComboBox* list = Form->TntComboBoxGhariList;
    auto* menu = new QMenu(list);
    DressLikeWindow(menu);
    menu->setAttribute(Qt::WA_DeleteOnClose);
    const bool usable = HasBook() && !Worker && list->currentIndex() >= 0;
    QAction* import = menu->addAction(CaptionImportRecitation);
    QAction* rename = menu->addAction(CaptionRenameReciter);
    import->setEnabled(usable);
    rename->setEnabled(usable);
    connect(import, &QAction::triggered, this, [this] { RunHandler([this] { ImportRecitationClick(); }); });
    connect(rename, &QAction::triggered, this, [this] { RunHandler([this] { RenameReciterClick(); }); });
    menu->popup(list->mapToGlobal(pos));
}

void TReciterCommands::ImportRecitationClick() {
    auto* dialog = new QFileDialog(Form, TitleFolder, QDir::homePath());
    dialog->setOption(QFileDialog::DontUseNativeDialog);
    dialog->setOption(QFileDialog::ShowDirsOnly);
    dialog->setFileMode(QFileDialog::Directory);
    dialog->setLabelText(QFileDialog::LookIn, QStringLiteral(u"در:"));
    dialog->setLabelText(QFileDialog::FileName, QStringLiteral(u"پوشه:"));
    dialog->setLabelText(QFileDialog::FileType, QStringLiteral(u"نوع:"));
    dialog->setLabelText(QFileDialog::Accept, QStringLiteral(u"برگزیدن"));
    dialog->setLabelText(QFileDialog::Reject, CaptionCancel);
    DressLikeWindow(dialog);
    dialog->setAttribute(Qt::WA_DeleteOnClose);
    connect(dialog, &QFileDialog::fileSelected, this,
            [this](const QString& folder) { RunHandler([&] { AskName(folder); }); });
    dialog->open();
}

void TReciterCommands::AskName(const QString& folder) {
    if (!HasBook() || Worker)
        return;
    auto change = std::make_shared<Change>();
    change->Import = true;
    change->GhariID = Form->TntComboBoxGhariList->currentIndex() + 1;
    change->Folder = folder;
    QInputDialog* dialog = NameDialog(TitleImport, Form->TntComboBoxGhariList->currentText());
    connect(dialog, &QInputDialog::textValueSelected, this, [this, change](const QString& name) {
        RunHandler([&] {
            change->Name = name.trimmed();
            Start(change);
        });
    });
    dialog->open();
}

void TReciterCommands::RenameReciterClick() {
    auto change = std::make_shared<Change>();
    change->Import = false;
    change->GhariID = Form->TntComboBoxGhariList->currentIndex() + 1;
    const QString current = Form->TntComboBoxGhariList->currentText();
    QInputDialog* dialog = NameDialog(TitleRename, current);
    connect(dialog, &QInputDialog::textValueSelected, this, [this, change, current](const QString& name) {
        RunHandler([&] {
            change->Name = name.trimmed();
            if (!change->Name.isEmpty() && change->Name != current)
                Start(change);
        });
    });
    dialog->open();
}

void TReciterCommands::Start(const std::shared_ptr<Change>& change) {
    if (!HasBook() || Worker)
        return;
    change->UserFolder = UserContentFolder();
    change->Source = GlobalQuran->SoundConnection->FilePath();
    change->Target = UserSoundFile();
    change->QuranFile = GlobalQuran->QuranConnection->FilePath();
    change->FarewellFile = QDir::current().absoluteFilePath(QString::fromLatin1(FarewellSoundFile));
    if (!QDir().mkpath(change->UserFolder))
        throw ToolError(
            QStringLiteral("cannot make the folder %1").arg(QDir::toNativeSeparators(change->UserFolder)));
    // Held until the new file is in place: another reader's change waits for this one, and
    // this one starts from the file as it is now, not as it was when the reader started.
    try {
        Lock = std::make_unique<ChangeLock>(change->Target);
    } catch (const ChangeRunningElsewhere&) {
        ShowBox(Form, QMessageBox::Information, change->Import ? TitleImport : TitleRename,
                TextRunningElsewhere);
        return;
    }

    // The recitation stops until the change is over: a notice still on its way finds the
    // player closed and disabled, so the continuous recitation does not go on.
    Form->Reading->ResetPause();
    GlobalQuran->Player->Close();
    GlobalQuran->Player->SetEnabled(false);

    Running = change;
    Outcome = std::make_shared<Result>();
    CancelRequested = std::make_shared<std::atomic<bool>>(false);
    Progress = new QProgressDialog(change->Import ? TextPreparing : TextSavingName, QString(), 0, 0, Form);
    Progress->setWindowTitle(change->Import ? TitleImport : TitleRename);
    // Cancelling waits for the import to stop; the dialog stays until then. A renaming is
    // over in moments and cannot be cancelled.
    if (change->Import) {
        CancelButton = new QPushButton(CaptionCancel, Progress);
        Progress->setCancelButton(CancelButton);
    } else {
        Progress->setCancelButton(nullptr);
    }
    disconnect(Progress, &QProgressDialog::canceled, Progress, &QProgressDialog::cancel);
    connect(Progress, &QProgressDialog::canceled, this, [this] { CancelClick(); });
    Progress->setAutoClose(false);
    Progress->setAutoReset(false);
    Progress->setMinimumDuration(0);
    Progress->setWindowModality(Qt::WindowModal);
    Progress->setMinimumWidth(360);
    DressLikeWindow(Progress);
    Progress->show();

    const std::shared_ptr<Result> result = Outcome;
    const std::shared_ptr<std::atomic<bool>> cancel = CancelRequested;
    const ChangeLock* lock = Lock.get();
    Worker = QThread::create([this, change, result, cancel, lock] {
        try {
            // Read under the lock: a change another reader made meanwhile is kept.
            const QString source = ChangeSource(change->Source);
            if (change->Import) {
                RecitationImportRequest request;
                request.Folder = change->Folder;
                request.SourceDatabase = source;
                request.TargetDatabase = change->Target;
                request.TargetLock = lock;
                // The reader itself has the source open; it opens the new file afterwards.
                request.WhenOpenElsewhere = OpenElsewhere::Allow;
                request.GhariID = change->GhariID;
                request.Name = change->Name;
                // The destructor waits for this thread, so this object outlives every report.
                const auto advanced = [this](qint64 done, qint64 total) {
                    QMetaObject::invokeMethod(
                        this, [this, done, total] { ShowProgress(done, total); }, Qt::QueuedConnection);
                };
                result->Prepared =
                    PrepareRecitationImport(request, {advanced, [cancel] { return cancel->load(); }});
            } else {
                result->Prepared =
                    PrepareRename(*lock, source, OpenElsewhere::Allow, change->GhariID, change->Name);
            }
        } catch (const ImportCancelled&) {
            result->Cancelled = true;
        } catch (const UndecodableRecordings& error) {
            result->Failure = QString::fromUtf8(error.what());
            result->Undecodable = error.Files;
        } catch (const std::exception& error) {
            result->Failure = QString::fromUtf8(error.what());
        }
    });
    connect(Worker, &QThread::finished, this, [this] { RunHandler([this] { Finished(); }); });
    Clock.start();
    Worker->start();
}

void TReciterCommands::ShowProgress(qint64 done, qint64 total) {
    if (!Progress || CancelRequested->load())
        return;
    if (done == 0)
        Clock.restart();
    // Every line opens with a Persian word, so that each reads right to left.
    QString text = QStringLiteral(u"پرونده‌ها: %1 از %2").arg(Persian(done), Persian(total));
    if (!Running->Name.isEmpty())
        text = QStringLiteral(u"قاری: «%1»\n").arg(Running->Name) + text;
    if (done > 0 && done < total) {
        const qint64 left = Clock.elapsed() * (total - done) / done / 1000;
        text += QStringLiteral(u"\nزمان باقی‌مانده: %1").arg(Duration(left));
    }
    Progress->setLabelText(text);
    Progress->setMaximum(int(total));
    // Last: a modal progress dialog runs pending events here, the end of the change among them.
    Progress->setValue(int(done));
}

void TReciterCommands::CancelClick() {
    if (!CancelButton)
        return;
    CancelRequested->store(true);
    CancelButton->setEnabled(false);
    Progress->setLabelText(TextCancelling);
}

void TReciterCommands::Finished() {
    Worker->wait();
    delete std::exchange(Worker, nullptr);
    // Not deleted at once: a modal progress dialog runs pending events inside setValue, where
    // this may be reached.
    Progress->hide();
    std::exchange(Progress, nullptr)->deleteLater();
    CancelButton = nullptr;
    const std::shared_ptr<Change> change = std::exchange(Running, nullptr);
    const std::shared_ptr<Result> result = std::exchange(Outcome, nullptr);
    // A cancel clicked after the worker made the change ready still wins: the copy is dropped.
    if (result->Prepared && CancelRequested->load())
        result->Cancelled = true;
    if (result->Prepared && !result->Cancelled) {
        try {
            result->Prepared->Change->Commit();
        } catch (const std::exception& error) {
            result->Failure = QString::fromUtf8(error.what());
        }
    }
    std::optional<ImportOutcome> imported;
    if (result->Prepared)
        imported = result->Prepared->Imported;
    result->Prepared.reset(); // an uncommitted copy goes with it
    Lock.reset();
    if (HasBook())
        GlobalQuran->Player->SetEnabled(true);
    const QString title = change->Import ? TitleImport : TitleRename;
    if (result->Cancelled || !result->Failure.isEmpty())
        QDir().rmdir(change->UserFolder); // only when a first change left it empty
    if (result->Cancelled) {
        ShowBox(Form, QMessageBox::Information, title, TextCancelled);
        return;
    }
    if (!result->Failure.isEmpty()) {
        ShowFailure(Form, title,
                    (change->Import ? TextImportFailed : TextRenameFailed) +
                        (result->Undecodable.empty() ? QStringLiteral("\n\n") + result->Failure : QString()),
                    result->Undecodable);
        return;
    }
    UseUserContent(*change);
    if (change->Import) {
        const QString name =
            change->Name.isEmpty() ? Form->TntComboBoxGhariList->itemText(change->GhariID - 1) : change->Name;
        ShowBox(Form, QMessageBox::Information, title, Summary(name, change->UserFolder, *imported));
    }
}

void TReciterCommands::UseUserContent(const Change& change) {
    PrepareUserContentFolder(change.UserFolder, change.QuranFile, change.FarewellFile);
    if (!HasBook())
        return; // the window was closed meanwhile: the next start finds the folder
    const QString previous = QDir::currentPath();
    if (!QDir::setCurrent(change.UserFolder))
        throw ToolError(QStringLiteral("cannot enter %1").arg(QDir::toNativeSeparators(change.UserFolder)));
    try {
        GlobalQuran->ReopenSoundDatabase();
    } catch (...) {
        QDir::setCurrent(previous);
        throw;
    }
    Form->LoadReciterNames();
}
