#include "shell/UnitDonateFunds.h"

#include "artwork/Artwork.h"
#include "shell/ShellCaptions.h"

TfrmDonateFunds::TfrmDonateFunds(QWidget* parent)
    : TPictureWindow(CaptionDonateFunds, QString::fromLatin1(DonatePicture), parent) {}
