// The main window's commands: the user's choices of reciter and soureh, recite, pause and
// continue, a click on an ayeh, the translation tooltip, the jump to a page, the information
// windows, and the per-user settings of the last position.
//
// Every command that needs the book returns at once while there is none (the book could not
// be built, or the window has been closed), and none acts on an empty list.
#include "audio/AudioPlayer.h"
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
#include <stdexcept>

namespace {

// The failures of the window's own commands, shown in the standard error box.
class CommandError : public std::runtime_error {
public:
    explicit CommandError(const QString& message) : std::runtime_error(message.toStdString()) {}
};

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
    if (!Reading->HasBook())
        return;
    TReadingPosition position;
    try {
        position = Settings.ReadLastPosition();
    } catch (const ReaderSettingsError& error) {
        // Shown, and then the reader starts at the beginning rather than with empty lists.
        const QPointer<TTntMainForm> self(this);
        ShowStandardError(QString::fromStdString(error.what()));
        if (!self || !Reading->HasBook())
            return;
        position = {};
    }
    Reading->ShowStartPosition(position.SourehID, position.AyehID);
}

void TTntMainForm::SaveLastPosition() {
    if (!Reading->HasBook() || !GlobalQuran->Soureh->Ayeh)
        return;
    Settings.WriteLastPosition(GlobalQuran->Soureh->SourehID, GlobalQuran->Soureh->Ayeh->AyehID);
}

// --- Commands ---

void TTntMainForm::TntComboBoxGhariListChange(QObject*) {
    Reading->SetReciter(ChosenGhariID());
}

void TTntMainForm::TntComboBoxSourehsListChange(QObject*) {
    Reading->SourehChosen();
}

void TTntMainForm::TntSpeedButtonPlayClick(QObject*) {
    Reading->ReciteChosen();
}

void TTntMainForm::TntSpeedButton1Click(QObject*) {
    // The click has flipped the button; when there is nothing to pause or continue it is
    // set up again and keeps its caption.
    if (!Reading->PauseOrContinue())
        TntSpeedButton1->setChecked(false);
}

void TTntMainForm::TntSpeedButtonCloseClick(QObject*) {
    close();
}

void TTntMainForm::TntImage1MouseDown(QObject*, Qt::MouseButton, Qt::KeyboardModifiers, int X, int Y) {
    ClickOnPosition(X, Y);
}

void TTntMainForm::ClickOnPosition(int X, int Y) {
    if (!Reading->HasBook() || !GlobalQuran->Page || !GlobalQuran->Page->HasAyehAt(Y, X))
        return;
    int sourehId = 0;
    int ayehId = 0;
    QString translation;
    GlobalQuran->Page->GetAyehAt(Y, X, sourehId, ayehId, translation);
    Reading->ReciteAyeh(sourehId, ayehId);
}

void TTntMainForm::TntImage1MouseMove(QObject*, Qt::KeyboardModifiers, int X, int Y) {
    if (Reading->HasBook() && GlobalQuran->Page && GlobalQuran->Page->HasAyehAt(Y, X)) {
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
    if (!Reading->HasBook())
        return;
    const QString text = txtPageNo->text();
    int pageId = 0;
    if (!ReadPageNumber(text, pageId))
        throw CommandError(QStringLiteral("'%1' is not a valid integer value").arg(text));
    if (!Reading->GoToPage(pageId) && frmMessageBox)
        frmMessageBox->exec();
}

void TTntMainForm::BitBtn1Click(QObject*) {
    if (frmDonateFunds)
        frmDonateFunds->exec();
}

void TTntMainForm::BitBtn2Click(QObject*) {
    if (frmAboutVelsorHost)
        frmAboutVelsorHost->exec();
}
