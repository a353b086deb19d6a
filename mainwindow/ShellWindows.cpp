#include "mainwindow/ShellWindows.h"

QPointer<QWidget> formSplash;
QPointer<QDialog> frmAboutVelsorHost;
QPointer<QDialog> frmDonateFunds;
QPointer<QDialog> frmMessageBox;
