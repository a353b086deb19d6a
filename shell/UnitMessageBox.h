#pragma once
// The notice that a page number lies outside the book's pages. First shown centred on the
// screen.

#include "shell/InfoWindow.h"

#include <QLabel>
#include <QPushButton>

class TfrmMessageBox final : public TInfoWindow {
    Q_OBJECT
public:
    explicit TfrmMessageBox(QWidget* parent = nullptr);

    QLabel* lblMessage = nullptr;
    QPushButton* TntButton1 = nullptr;

    void TntButton1Click(QObject* Sender);

protected:
    QPoint FirstPlace(const QSize& outer) const override;
};
