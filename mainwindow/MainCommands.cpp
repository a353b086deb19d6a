// The main window's commands: the user's choices of reciter and soureh, recite, pause and
// continue, a click on an ayeh, the translation tooltip, the jump to a page, the information
// windows, and the per-user settings of the last position.
//
// TODO(commands): every body below is still a stub.
#include "mainwindow/Main.h"

#include "mainwindow/ShellWindows.h"

void TTntMainForm::TntComboBoxGhariListChange(QObject*) {}

void TTntMainForm::TntComboBoxSourehsListChange(QObject*) {}

void TTntMainForm::TntSpeedButtonPlayClick(QObject*) {}

void TTntMainForm::TntSpeedButton1Click(QObject*) {}

void TTntMainForm::TntSpeedButtonCloseClick(QObject*) { close(); }

void TTntMainForm::TntImage1MouseDown(QObject*, Qt::MouseButton, Qt::KeyboardModifiers, int, int) {}

void TTntMainForm::TntImage1MouseMove(QObject*, Qt::KeyboardModifiers, int, int) {}

void TTntMainForm::txtPageNoKeyPress(QObject*, QChar Key) {
    if (Key == QChar(13))
        TntBitBtnGoToPage->click();
}

void TTntMainForm::TntBitBtnGoToPageClick(QObject*) {}

void TTntMainForm::BitBtn1Click(QObject*) {
    if (frmDonateFunds)
        frmDonateFunds->exec();
}

void TTntMainForm::BitBtn2Click(QObject*) {
    if (frmAboutVelsorHost)
        frmAboutVelsorHost->exec();
}

void TTntMainForm::ClickOnPosition(int, int) {}

void TTntMainForm::SaveLastPosition() {}

void TTntMainForm::RestoreLastPosition() {}

void TTntMainForm::ClearSoundCache(TQuran*) {}

void TTntMainForm::DeleteFiles(const QString&, const QString&) {}

void TTntMainForm::SetHintPause(int) {}

void TTntMainForm::ShowTranslation() {}

void TTntMainForm::ResetPauseButton() {}

void TTntMainForm::RefillAyehList(int) {}
