#pragma once
// The publisher's presentation.

#include "shell/InfoWindow.h"

class TfrmAboutVelsorHost final : public TPictureWindow {
    Q_OBJECT
public:
    explicit TfrmAboutVelsorHost(QWidget* parent = nullptr);
};
