#pragma once
// The common ground of the small modal information windows: dialog borders (caption bar with
// a close button; no sizing, minimise or maximise), right-to-left layout, shown modally with
// exec(), hidden again on closing. The first showing places the window; later showings keep
// it where it was left.

#include <QDialog>
#include <QString>

class TPicture;

class TInfoWindow : public QDialog {
    Q_OBJECT
public:
    TInfoWindow(const QString& caption, QWidget* parent);

protected:
    // Where the window goes when first shown, for its outer size.
    virtual QPoint FirstPlace(const QSize& outer) const = 0;
    void showEvent(QShowEvent* event) override;

private:
    bool Placed = false;
};

// A window that is exactly its 681 x 481 picture; a click on the picture closes it. It is
// first shown centred over the splash window, the application's first window.
class TPictureWindow : public TInfoWindow {
    Q_OBJECT
public:
    static constexpr int PictureWidth = 681;
    static constexpr int PictureHeight = 481;

    TPictureWindow(const QString& caption, const QString& picture, QWidget* parent);

    TPicture* Image1 = nullptr;

    void TntFormCreate(QObject* Sender);
    void Image1Click(QObject* Sender);

protected:
    QPoint FirstPlace(const QSize& outer) const override;
};
