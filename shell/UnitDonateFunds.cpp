#include "shell/UnitDonateFunds.h"

#include "shell/ShellCaptions.h"

TfrmDonateFunds::TfrmDonateFunds(QWidget* parent)
    : TPictureWindow(CaptionDonateFunds, QStringLiteral(":/artwork/donate.jpg"), parent) {}
