#include "shell/UnitAboutVelsorHost.h"

#include "shell/ShellCaptions.h"

TfrmAboutVelsorHost::TfrmAboutVelsorHost(QWidget* parent)
    : TPictureWindow(CaptionAboutVelsorHost, QStringLiteral(":/artwork/publisher.jpg"), parent) {}
