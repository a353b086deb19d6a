#pragma once
// A picture control that shows a compiled-in image at its natural size and reports clicks.
// A missing image leaves the control empty.

#include <QLabel>
#include <QString>

class TPicture final : public QLabel {
    Q_OBJECT
public:
    TPicture(const QString& resource, QWidget* parent);

Q_SIGNALS:
    void Clicked();

protected:
    void mousePressEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;

private:
    bool Pressed = false;
};
