#include "shell/UnitDonateFunds.h"

#include "shell/Captions.h"

TfrmDonateFunds::TfrmDonateFunds(QWidget* parent)
    : TPictureWindow(CaptionDonateFunds, QStringLiteral(":/artwork/donate.jpg"), parent) {}
