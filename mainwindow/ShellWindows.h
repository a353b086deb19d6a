#pragma once
// The application shell's windows that the main window opens or asks to close. The shell
// creates them at start and fills these references; they stay empty where no shell runs.

#include <QDialog>
#include <QPointer>
#include <QWidget>

extern QPointer<QWidget> formSplash;
extern QPointer<QDialog> frmAboutVelsorHost;
extern QPointer<QDialog> frmDonateFunds;
extern QPointer<QDialog> frmMessageBox;
