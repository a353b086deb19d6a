#include "mainwindow/ErrorBox.h"

#include <QApplication>
#include <QMessageBox>
#include <QWidget>

QString StandardErrorText(const QString& message) {
    if (!message.isEmpty() && message.back() > QLatin1Char('.'))
        return message + QLatin1Char('.');
    return message;
}

namespace {

// Parented to the active window, so that the box stays above an always-on-top window.
void ShowBox(QMessageBox::Icon icon, const QString& title, const QString& text) {
    QMessageBox box(icon, title, text, QMessageBox::Ok, QApplication::activeWindow());
    // Laid out in the reading order of its own text: the engine's messages are English.
    box.setLayoutDirection(text.isRightToLeft() ? Qt::RightToLeft : Qt::LeftToRight);
    box.exec();
}

} // namespace

void ShowStandardError(const QString& message) {
    ShowBox(QMessageBox::Critical, QString::fromLatin1(ApplicationTitle), StandardErrorText(message));
}

void TErrorBox::ShowError(const QString& title, const QString& text) {
    ShowBox(QMessageBox::Critical, title, text);
}
