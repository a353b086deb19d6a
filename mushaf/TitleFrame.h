#pragma once
// The frame a soureh's title stands in, drawn alike on the page pictures and by the painter.

#include <QColor>

class QPainter;

struct TitleFrameColours {
    QColor Outline; // the outer rounded frame and the diamonds' edges
    QColor Fill;    // inside the frame
    QColor Inner;   // the inner frame and the diamonds
};

// Draws the frame in line `line`'s band (1 to 15) of a page in page pixels.
void DrawTitleFrame(QPainter& painter, int line, const TitleFrameColours& colours);
