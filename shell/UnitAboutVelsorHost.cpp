#include "shell/UnitAboutVelsorHost.h"

#include "artwork/Artwork.h"
#include "shell/ShellCaptions.h"

TfrmAboutVelsorHost::TfrmAboutVelsorHost(QWidget* parent)
    : TPictureWindow(CaptionAboutVelsorHost, QString::fromLatin1(PublisherPicture), parent) {}
