#include "tests/support/DisplayDoubles.h"

#include "content/PageGeometry.h"

#include <QPainter>
#include <algorithm>
#include <gtest/gtest.h>

FakePageImage::FakePageImage() : Canvas(PagePictureWidth, PagePictureHeight, QImage::Format_RGB32) {
    Canvas.fill(Untouched);
}

void FakePageImage::DrawBitmap(const QImage& bitmap, int x, int y) {
    QPainter painter(&Canvas);
    painter.drawImage(x, y, bitmap);
    ++Draws;
}

void FakePageImage::SetPixel(int x, int y, QRgb colour) {
    if (!Canvas.rect().contains(x, y)) {
        ADD_FAILURE() << "pixel " << x << "," << y << " outside the page";
        return;
    }
    Canvas.setPixel(x, y, colour);
}

int FakePageImage::RedCount() const {
    int count = 0;
    for (int y = 0; y < Canvas.height(); ++y)
        for (int x = 0; x < Canvas.width(); ++x)
            count += IsRed(x, y) ? 1 : 0;
    return count;
}

FakeScrollBox::FakeScrollBox() : ContentHeight(PagePictureHeight) {}

void FakeScrollBox::SetVertPosition(int position) {
    Position = std::clamp(position, 0, std::max(ContentHeight - Height, 0));
}

void FakeErrorBox::ShowError(const QString& title, const QString& text) {
    ++Shown;
    Title = title;
    Text = text;
    if (WhileShown)
        WhileShown();
}
