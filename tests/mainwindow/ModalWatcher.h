#pragma once
// Closes the modal message boxes that appear while it lives and records what they said, so
// that a test can drive code that shows the standard error box without blocking. WhileShown,
// when set, runs inside each box's event loop before the box is closed, as a handler would
// (and may itself lead to further boxes, which are closed in turn).

#include <QApplication>
#include <QMessageBox>
#include <QMetaObject>
#include <QPointer>
#include <QString>
#include <QStringList>
#include <QTimer>
#include <functional>

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
    std::function<void(const Box&)> WhileShown;

private:
    void CloseBoxes() {
        auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
        if (!box || !box->isVisible())
            return;
        if (box != Current) {
            Current = box;
            Seen.append({box->windowTitle(), box->text(), box->standardButtons() == QMessageBox::Ok});
            if (WhileShown) {
                // Outside this timer's handler, which Qt does not enter again while it runs,
                // and the box is closed at a later tick.
                QMetaObject::invokeMethod(
                    box, [this, shown = Seen.back()] { WhileShown(shown); }, Qt::QueuedConnection);
                return;
            }
        }
        box->done(QMessageBox::Ok);
    }

    QTimer Timer;
    QList<Box> Seen;
    QPointer<QMessageBox> Current;
};
