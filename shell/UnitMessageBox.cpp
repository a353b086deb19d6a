#include "shell/UnitMessageBox.h"

#include "mainwindow/Controls.h"
#include "mainwindow/ErrorBox.h"
#include "shell/ShellCaptions.h"

TfrmMessageBox::TfrmMessageBox(QWidget* parent) : TInfoWindow(CaptionMessageBox, parent) {
    setFixedSize(384, 117);
    setFont(UiFont(QStringLiteral("Tahoma"), 11));
    QPalette face = palette();
    face.setColor(QPalette::Window, face.color(QPalette::Button));
    setPalette(face);
    setAutoFillBackground(true);

    // Not sized to its text; only made tall enough for the font's glyphs.
    lblMessage = new QLabel(CaptionPageRange, this);
    lblMessage->setGeometry(56, 32, 296, std::max(13, lblMessage->fontMetrics().height()));

    TntButton1 = new QPushButton(CaptionAccept, this);
    TntButton1->setGeometry(144, 80, 75, 25);
    TntButton1->setAutoDefault(false);
    TntButton1->setFocus();
    connect(TntButton1, &QPushButton::clicked, this,
            [this] { RunHandler([this] { TntButton1Click(TntButton1); }); });
}

void TfrmMessageBox::TntButton1Click(QObject*) {
    close();
}

QPoint TfrmMessageBox::FirstPlace(const QSize& outer) const {
    return CentredOnScreen(this, outer);
}
