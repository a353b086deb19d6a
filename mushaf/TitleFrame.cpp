#include "mushaf/TitleFrame.h"

#include "content/PageGeometry.h"

#include <QPainter>

void DrawTitleFrame(QPainter& painter, int line, const TitleFrameColours& colours) {
    // Inside the band's rows that ink may take, clear of the row it shares with the next.
    const QRectF frame(PageTextLeft + 0.5, DefaultStartRow(line) + 5.5, PageTextWidth - 1,
                       DefaultLineHeight - 11);
    painter.save();
    painter.setPen(QPen(colours.Outline, 1.2));
    painter.setBrush(colours.Fill);
    painter.drawRoundedRect(frame, 9, 9);
    painter.setPen(QPen(colours.Inner, 1));
    painter.setBrush(Qt::NoBrush);
    painter.drawRoundedRect(frame.adjusted(3, 3, -3, -3), 7, 7);
    // A small diamond at each end.
    for (const double x : {frame.left() + 16, frame.right() - 16}) {
        const QPointF centre(x, frame.center().y());
        const QPointF diamond[] = {centre + QPointF(0, -7), centre + QPointF(7, 0), centre + QPointF(0, 7),
                                   centre + QPointF(-7, 0)};
        painter.setPen(QPen(colours.Outline, 1));
        painter.setBrush(colours.Inner);
        painter.drawPolygon(diamond, 4);
    }
    painter.restore();
}
