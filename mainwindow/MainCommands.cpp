// The main window's commands: the user's choices of reciter and soureh, recite, pause and
// continue, a click on an ayeh, the translation tooltip, the jump to a page, the information
// windows, and the per-user settings of the last position.
//
// Every command that needs the book returns at once while there is none (the book could not
// be built, or the window has been closed), and none acts on an empty list.
#include "audio/AudioPlayer.h"
#include "content/ContentKeys.h"
#include "content/MushafCounts.h"
#include "mainwindow/CommandSteps.h"
#include "mainwindow/Main.h"
#include "mainwindow/MainCaptions.h"
#include "mainwindow/ShellWindows.h"
#include "model/Utility.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QPointer>
#include <QProxyStyle>
#include <QRegularExpression>
#include <QSettings>
#include <algorithm>
#include <stdexcept>

namespace {

// The failures of the window's own commands, shown in the standard error box.
class CommandError : public std::runtime_error {
public:
    explicit CommandError(const QString& message) : std::runtime_error(message.toStdString()) {}
};

bool IsPlaying() {
    return GlobalQuran->Player->Mode() == pmPlaying;
}

// One stored position value. A value that is there but is not a whole 32-bit number is of
// another type.
int ReadStoredInteger(const QSettings& settings, const QString& name) {
    const QVariant value = settings.value(name);
    if (!value.isValid())
        throw CommandError(QStringLiteral("Failed to get data for '%1'").arg(name));
    bool ok = false;
    int number = 0;
    switch (value.typeId()) {
    case QMetaType::Int:
        number = value.toInt(&ok);
        break;
    case QMetaType::QString: {
        static const QRegularExpression integer(QStringLiteral("^-?[0-9]+$"));
        const QString text = value.toString();
        if (integer.match(text).hasMatch())
            number = text.toInt(&ok);
        break;
    }
    default:
        break;
    }
    if (!ok)
        throw CommandError(QStringLiteral("Invalid data type for '%1'").arg(name));
    return number;
}

// Whether the store holds only what the reader keeps beside the position (bookmarks, the
// practice): then no position has been stored yet, as after a first run that ended before
// its window was closed.
bool HoldsOnlyReadingAids(const QSettings& settings) {
    const QStringList keys = settings.allKeys();
    const QString bookmarks = QString::fromLatin1(BookmarksGroup) + u'/';
    const QString practice = QString::fromLatin1(PracticeGroup) + u'/';
    return !keys.isEmpty() && std::all_of(keys.begin(), keys.end(), [&](const QString& key) {
        return key.startsWith(bookmarks) || key.startsWith(practice);
    });
}

// The stored position; soureh 1, ayeh 1 when nothing has been stored or the store cannot be
// read at all. Throws CommandError for a missing value or one of another type.
void ReadLastPosition(int& sourehId, int& ayehId) {
    sourehId = 1;
    ayehId = 1;
    const QSettings settings(QString::fromLatin1(SettingsOrganisation),
                             QString::fromLatin1(SettingsApplication));
    if (!QFileInfo::exists(settings.fileName()) || settings.status() != QSettings::NoError ||
        HoldsOnlyReadingAids(settings))
        return;
    sourehId = ReadStoredInteger(settings, QString::fromLatin1(LastSourehValue));
    ayehId = ReadStoredInteger(settings, QString::fromLatin1(LastAyehValue));
}

// A page number as a person types it: Western, Persian or Arabic-Indic digits, with a minus
// sign where meant, and spaces around it ignored.
bool ReadPageNumber(const QString& text, int& number) {
    return ParseDecimal(text.trimmed(), number);
}

// The tooltip delay of the widget it is set on.
class THintPauseStyle final : public QProxyStyle {
public:
    explicit THintPauseStyle(int milliseconds) : Pause(milliseconds) {}
    void SetPause(int milliseconds) { Pause = milliseconds; }
    int styleHint(StyleHint hint, const QStyleOption* option, const QWidget* widget,
                  QStyleHintReturn* returnData) const override {
        if (hint == QStyle::SH_ToolTip_WakeUpDelay)
            return Pause;
        return QProxyStyle::styleHint(hint, option, widget, returnData);
    }

private:
    int Pause;
};

} // namespace

// --- Shared steps ---

void TTntMainForm::ShowTranslation() {
    TAyeh* ayeh = HasBook() ? GlobalQuran->Soureh->Ayeh.get() : nullptr;
    TntMemo1->setPlainText(ayeh ? ayeh->FarsiTranslation : QString());
}

void TTntMainForm::ResetPauseButton() {
    TntSpeedButton1->setChecked(false);
    TntSpeedButton1->setText(CaptionPause);
}

void TTntMainForm::RefillAyehList(int SourehID) {
    const std::optional<QStringList> ayehs = GlobalQuran->SelectSoureh(SourehID)->GetAyehList();
    TntComboBoxAyehsList->clear();
    if (ayehs)
        TntComboBoxAyehsList->addItems(*ayehs);
}

// --- Lifecycle helpers ---

void TTntMainForm::EnableBookCommands() {
    const bool ready = GlobalQuran && GlobalQuran->Player == MediaPlayer1;
    for (QWidget* command : std::initializer_list<QWidget*>{TntSpeedButtonPlay, TntSpeedButton1, TntImage1})
        command->setEnabled(ready);
}

void TTntMainForm::ClearSoundCache(TQuran* Quran) {
    Quran->Sounds->RemoveStale();
}

void TTntMainForm::SetHintPause(int Milliseconds) {
    // Only the page picture has a tooltip. Qt takes the delay from the style of the widget
    // under the pointer.
    if (auto* style = dynamic_cast<THintPauseStyle*>(TntImage1->style())) {
        style->SetPause(Milliseconds);
        return;
    }
    auto* style = new THintPauseStyle(Milliseconds);
    style->setParent(TntImage1);
    TntImage1->setStyle(style);
}

// --- Per-user settings ---

void TTntMainForm::RestoreLastPosition() {
    if (!HasBook())
        return;
    int sourehId = 1;
    int ayehId = 1;
    try {
        ReadLastPosition(sourehId, ayehId);
    } catch (const CommandError& error) {
        // Shown, and then the reader starts at the beginning rather than with empty lists.
        const QPointer<TTntMainForm> self(this);
        ShowStandardError(QString::fromStdString(error.what()));
        if (!self || !HasBook())
            return;
        sourehId = 1;
        ayehId = 1;
    }

    TntComboBoxSourehsList->clear();
    if (const std::optional<QStringList> sourehs = GlobalQuran->GetSourehList())
        TntComboBoxSourehsList->addItems(*sourehs);
    if (TntComboBoxSourehsList->count() == 0)
        return;
    // A hand-edited store may name a soureh or ayeh the book does not have.
    if (sourehId < 1 || sourehId > TntComboBoxSourehsList->count()) {
        sourehId = 1;
        ayehId = 1;
    }
    TntComboBoxSourehsList->setCurrentIndex(sourehId - 1);
    RefillAyehList(sourehId);
    if (ayehId < 1 || ayehId > TntComboBoxAyehsList->count()) {
        if (sourehId != 1) {
            sourehId = 1;
            TntComboBoxSourehsList->setCurrentIndex(0);
            RefillAyehList(sourehId);
        }
        ayehId = 1;
    }
    if (TntComboBoxAyehsList->count() == 0)
        return;
    TntComboBoxAyehsList->setCurrentIndex(ayehId - 1);
    SelectAyeh(sourehId, ayehId)->Highlight();
}

void TTntMainForm::SaveLastPosition() {
    if (!HasBook() || !GlobalQuran->Soureh->Ayeh)
        return;
    // A store that cannot be written is passed over in silence.
    QSettings settings(SettingsOrganisation, SettingsApplication);
    settings.setValue(LastSourehValue, GlobalQuran->Soureh->SourehID);
    settings.setValue(LastAyehValue, GlobalQuran->Soureh->Ayeh->AyehID);
    settings.sync();
}

// --- Commands ---

void TTntMainForm::TntComboBoxGhariListChange(QObject*) {
    if (GlobalQuran)
        GlobalQuran->GhariID = ChosenGhariID();
    FollowingChanged();
}

void TTntMainForm::TntComboBoxSourehsListChange(QObject*) {
    if (!HasBook() || TntComboBoxSourehsList->currentIndex() < 0)
        return;
    EndPractice();
    if (IsPlaying())
        GlobalQuran->Player->Stop();
    RefillAyehList(TntComboBoxSourehsList->currentIndex() + 1);
    TntComboBoxAyehsList->setCurrentIndex(0);
}

void TTntMainForm::TntSpeedButtonPlayClick(QObject*) {
    if (!HasBook())
        return;
    EndPractice();
    ResetPauseButton();
    if (IsPlaying())
        GlobalQuran->Player->Pause();
    const int sourehId = TntComboBoxSourehsList->currentIndex() + 1;
    const int ayehId = TntComboBoxAyehsList->currentIndex() + 1;
    if (sourehId < 1 || ayehId < 1)
        return;
    ReciteAndShow(*this, SelectAyeh(sourehId, ayehId), RepeatCount(*this));
}

void TTntMainForm::TntSpeedButton1Click(QObject*) {
    const PlayerMode mode = HasBook() ? GlobalQuran->Player->Mode() : pmNotReady;
    if (mode != pmPlaying && mode != pmPaused && mode != pmOpen) {
        TntSpeedButton1->setChecked(false);
        return;
    }
    if (TntSpeedButton1->text() == CaptionPause) {
        TntSpeedButton1->setText(CaptionContinue);
        GlobalQuran->Player->Pause();
        // Paused as it began from the queue, the queued recording is what was heard: it stays.
        if (GlobalQuran->Player->QueuedFile().isEmpty())
            GlobalQuran->DropQueuedSound();
    } else {
        TntSpeedButton1->setText(CaptionPause);
        GlobalQuran->Player->Play();
        FollowOn();
    }
}

void TTntMainForm::TntSpeedButtonCloseClick(QObject*) {
    close();
}

void TTntMainForm::TntImage1MouseDown(QObject*, Qt::MouseButton, Qt::KeyboardModifiers, int X, int Y) {
    ClickOnPosition(X, Y);
}

void TTntMainForm::ClickOnPosition(int X, int Y) {
    if (!HasBook() || !GlobalQuran->Page || !GlobalQuran->Page->HasAyehAt(Y, X))
        return;
    EndPractice();
    ResetPauseButton();
    if (IsPlaying())
        GlobalQuran->Player->Pause();
    int sourehId = 0;
    int ayehId = 0;
    QString translation;
    GlobalQuran->Page->GetAyehAt(Y, X, sourehId, ayehId, translation);
    if (sourehId < 1 || sourehId > TntComboBoxSourehsList->count())
        return;
    TntComboBoxSourehsList->setCurrentIndex(sourehId - 1);
    RefillAyehList(TntComboBoxSourehsList->currentIndex() + 1);
    TntComboBoxAyehsList->setCurrentIndex(ayehId - 1);
    const int count = RepeatCount(*this);
    ReciteAndShow(*this, SelectAyeh(sourehId, ayehId), count);
}

void TTntMainForm::TntImage1MouseMove(QObject*, Qt::KeyboardModifiers, int X, int Y) {
    if (HasBook() && GlobalQuran->Page && GlobalQuran->Page->HasAyehAt(Y, X)) {
        int sourehId = 0;
        int ayehId = 0;
        QString translation;
        GlobalQuran->Page->GetAyehAt(Y, X, sourehId, ayehId, translation);
        TntImage1->SetShowHint(false);
        TntImage1->SetHint(translation);
        TntImage1->SetShowHint(true);
        TntImage1->setCursor(Qt::PointingHandCursor);
    } else {
        TntImage1->SetHint(QString());
        TntImage1->SetShowHint(false);
        TntImage1->setCursor(Qt::ArrowCursor);
    }
}

void TTntMainForm::txtPageNoKeyPress(QObject*, QChar Key) {
    if (Key == QChar(13))
        TntBitBtnGoToPage->click();
}

void TTntMainForm::TntBitBtnGoToPageClick(QObject*) {
    if (!HasBook())
        return;
    const QString text = txtPageNo->text();
    int pageId = 0;
    if (!ReadPageNumber(text, pageId))
        throw CommandError(QStringLiteral("'%1' is not a valid integer value").arg(text));
    if (pageId < FirstPageID || pageId > LastPageID) {
        if (frmMessageBox)
            frmMessageBox->exec();
        return;
    }
    GlobalQuran->GoToPage(pageId);
    ScrollBox1->SetVertPosition(0);
    const int sourehId = GlobalQuran->Page->FirstSourehID;
    const int ayehId = GlobalQuran->Page->FirstAyehID;
    // A page without ayehs is shown, and the selection stays where it was.
    if (sourehId < 1 || sourehId > TntComboBoxSourehsList->count() || ayehId < 1)
        return;
    TntComboBoxSourehsList->setCurrentIndex(sourehId - 1);
    RefillAyehList(sourehId);
    TntComboBoxAyehsList->setCurrentIndex(ayehId - 1);
    SelectAyeh(sourehId, ayehId)->Highlight();
    ShowTranslation();
}

void TTntMainForm::BitBtn1Click(QObject*) {
    if (frmDonateFunds)
        frmDonateFunds->exec();
}

void TTntMainForm::BitBtn2Click(QObject*) {
    if (frmAboutVelsorHost)
        frmAboutVelsorHost->exec();
}
