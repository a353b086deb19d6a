#include "shell/UnitAboutVelsorHost.h"

#include "shell/Captions.h"

TfrmAboutVelsorHost::TfrmAboutVelsorHost(QWidget* parent)
    : TPictureWindow(CaptionAboutVelsorHost, QStringLiteral(":/artwork/publisher.jpg"), parent) {}
