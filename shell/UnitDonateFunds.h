#pragma once
// The donation appeal.

#include "shell/InfoWindow.h"

class TfrmDonateFunds final : public TPictureWindow {
    Q_OBJECT
public:
    explicit TfrmDonateFunds(QWidget* parent = nullptr);
};
