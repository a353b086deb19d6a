#pragma once
// What the reading model needs of the window: the page picture it draws on, the scroll box
// that hosts it and the box that shows the page number. The main window implements these
// with widgets; tests implement them with plain classes.

#include <QColor>
#include <QImage>
#include <QString>

// A drawing surface with pixels of its own: what is drawn or set stays until painted over.
class IPageImage {
public:
    virtual ~IPageImage() = default;
    virtual void DrawBitmap(const QImage& bitmap, int x, int y) = 0;
    virtual void SetPixel(int x, int y, QRgb colour) = 0;
};

// The vertical scroll position of the box that hosts the page picture.
class IScrollBox {
public:
    virtual ~IScrollBox() = default;
    virtual int VertPosition() const = 0;
    // Clamps to 0 .. content height - client height.
    virtual void SetVertPosition(int position) = 0;
    virtual int ClientHeight() const = 0;
};

class IPageNoEdit {
public:
    virtual ~IPageNoEdit() = default;
    virtual QString Text() const = 0;
    virtual void SetText(const QString& text) = 0;
};

// The modal message box the sound cache shows when a recording cannot be written. Showing it
// runs a nested event loop, so handlers may run before it returns.
class IErrorBox {
public:
    virtual ~IErrorBox() = default;
    virtual void ShowError(const QString& title, const QString& text) = 0;
};
