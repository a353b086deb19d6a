#include "shell/Picture.h"

#include <QMouseEvent>
#include <QPixmap>

TPicture::TPicture(const QString& resource, QWidget* parent) : QLabel(parent) {
    const QPixmap picture(resource);
    setPixmap(picture);
    setAlignment(Qt::AlignLeft | Qt::AlignTop);
    if (!picture.isNull())
        resize(picture.size());
}

void TPicture::mousePressEvent(QMouseEvent* event) {
    Pressed = event->button() == Qt::LeftButton;
    QLabel::mousePressEvent(event);
}

// A click is a left press and release over the picture.
void TPicture::mouseReleaseEvent(QMouseEvent* event) {
    const bool click =
        Pressed && event->button() == Qt::LeftButton && rect().contains(event->position().toPoint());
    Pressed = false;
    QLabel::mouseReleaseEvent(event);
    if (click)
        Q_EMIT Clicked();
}
