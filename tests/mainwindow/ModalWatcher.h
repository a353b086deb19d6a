#pragma once
// Closes the modal message boxes that appear while it lives and records what they said, so
// that a test can drive code that shows the standard error box without blocking.

#include <QApplication>
#include <QMessageBox>
#include <QString>
#include <QStringList>
#include <QTimer>

class ModalWatcher final {
public:
    struct Box {
        QString Title;
        QString Text;
        bool HasOnlyOk = false;
    };

    ModalWatcher() {
        Timer.setInterval(10);
        QObject::connect(&Timer, &QTimer::timeout, [this] { CloseBoxes(); });
        Timer.start();
    }

    const QList<Box>& Boxes() const { return Seen; }

private:
    void CloseBoxes() {
        auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
        if (!box || !box->isVisible())
            return;
        Seen.append({box->windowTitle(), box->text(), box->standardButtons() == QMessageBox::Ok});
        box->done(QMessageBox::Ok);
    }

    QTimer Timer;
    QList<Box> Seen;
};
