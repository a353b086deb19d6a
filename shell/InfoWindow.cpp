#include "shell/InfoWindow.h"

#include "mainwindow/Controls.h"
#include "mainwindow/ErrorBox.h"
#include "mainwindow/ShellWindows.h"
#include "shell/Picture.h"

#include <QScreen>
#include <QShowEvent>

TInfoWindow::TInfoWindow(const QString& caption, QWidget* parent) : QDialog(parent) {
    // Above the always-on-top main window that opens it, or the modal window would hide
    // behind it.
    setWindowFlags(Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint | Qt::WindowSystemMenuHint |
                   Qt::WindowCloseButtonHint | Qt::WindowStaysOnTopHint);
    setWindowTitle(caption);
    setLayoutDirection(Qt::RightToLeft);
    setModal(true);
}

void TInfoWindow::showEvent(QShowEvent* event) {
    PlaceOnFirstShow(this, event, Placed, [this](const QSize& outer) { return FirstPlace(outer); });
    QDialog::showEvent(event);
}

TPictureWindow::TPictureWindow(const QString& caption, const QString& picture, QWidget* parent)
    : TInfoWindow(caption, parent) {
    resize(912, 499);
    Image1 = new TPicture(picture, this);
    Image1->setGeometry(0, 0, PictureWidth, PictureHeight);
    Image1->setCursor(Qt::ArrowCursor);
    connect(Image1, &TPicture::Clicked, this, [this] { RunHandler([this] { Image1Click(Image1); }); });
    RunHandler([this] { TntFormCreate(this); });
}

void TPictureWindow::TntFormCreate(QObject*) {
    setFixedSize(PictureWidth, PictureHeight);
}

void TPictureWindow::Image1Click(QObject*) {
    close();
}

QPoint TPictureWindow::FirstPlace(const QSize& outer) const {
    if (!formSplash)
        return CentredOnScreen(this, outer);
    const QScreen* shown = screen();
    return CentredOver(formSplash->frameGeometry(), outer, shown ? shown->geometry().topLeft() : QPoint());
}
