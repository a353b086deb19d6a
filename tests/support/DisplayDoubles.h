#pragma once
// Plain stand-ins for the window's controls that the reading model draws on: a page picture,
// the scroll box around it, the page number field and the error box. The model tests check
// what they hold; the benchmarks run the model on them without a window.

#include "model/Display.h"

#include <QImage>
#include <QString>
#include <functional>

// A picture with pixels of its own, the size of a page, that starts out a colour no page has.
class FakePageImage final : public IPageImage {
public:
    static constexpr QRgb Untouched = 0xff00ff00; // green

    FakePageImage();
    void DrawBitmap(const QImage& bitmap, int x, int y) override;
    // A pixel outside the page is a fault of the model: it fails the running test.
    void SetPixel(int x, int y, QRgb colour) override;
    bool IsRed(int x, int y) const { return Canvas.pixel(x, y) == qRgb(255, 0, 0); }
    int RedCount() const;

    QImage Canvas;
    int Draws = 0;
};

// A scroll box hosting a page-high picture.
class FakeScrollBox final : public IScrollBox {
public:
    int VertPosition() const override { return Position; }
    void SetVertPosition(int position) override;
    int ClientHeight() const override { return Height; }

    int Position = 0;
    int Height = 274;
    int ContentHeight;

    FakeScrollBox();
};

class FakePageNoEdit final : public IPageNoEdit {
public:
    QString Text() const override { return Value; }
    void SetText(const QString& text) override { Value = text; }
    QString Value;
};

class FakeErrorBox final : public IErrorBox {
public:
    void ShowError(const QString& title, const QString& text) override;
    int Shown = 0;
    QString Title;
    QString Text;
    // Runs as handlers would while the box is open.
    std::function<void()> WhileShown;
};
