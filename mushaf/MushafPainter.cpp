#include "mushaf/MushafPainter.h"

#include "content/PageGeometry.h"

#include <QGlyphRun>
#include <QPainter>
#include <map>
#include <vector>

namespace {

// The glyphs of one font and colour, drawn as one run.
struct Run {
    QList<quint32> Ids;
    QList<QPointF> Positions;
};

} // namespace

MushafStyle MushafStyle::Day() {
    MushafStyle style;
    style.Paper = QColor(255, 255, 255);
    style.Ink = QColor(0, 0, 0);
    style.Current = QColor(200, 0, 0);
    style.TitleFrame = {QColor(150, 150, 150), QColor(238, 238, 238), QColor(200, 200, 200)};
    return style;
}

MushafStyle MushafStyle::Night() {
    MushafStyle style;
    style.Paper = QColor(24, 24, 27);
    style.Ink = QColor(226, 222, 210);
    style.Current = QColor(255, 110, 100);
    style.TitleFrame = {QColor(110, 110, 116), QColor(40, 40, 44), QColor(75, 75, 80)};
    return style;
}

QTransform MushafPageTransform(const QRectF& target) {
    const double scale = std::min(target.width() / PagePictureWidth, target.height() / PagePictureHeight);
    const QPointF offset(target.left() + (target.width() - scale * PagePictureWidth) / 2,
                         target.top() + (target.height() - scale * PagePictureHeight) / 2);
    return QTransform::fromTranslate(offset.x(), offset.y()).scale(scale, scale);
}

void DrawMushafPage(QPainter& painter, const QRectF& target, const MushafPage& page, const MushafFonts& fonts,
                    const MushafStyle& style) {
    painter.save();
    painter.setTransform(MushafPageTransform(target), true);
    painter.setRenderHints(QPainter::Antialiasing | QPainter::TextAntialiasing);
    painter.fillRect(QRectF(0, 0, PagePictureWidth, PagePictureHeight), style.Paper);

    std::map<std::pair<int, QRgb>, Run> runs;
    int titleLine = 0;
    for (const MushafWord& word : page.Words()) {
        if (word.Kind == MushafItemKind::SourehTitle && word.Line != titleLine) {
            DrawTitleFrame(painter, word.Line, style.TitleFrame);
            titleLine = word.Line;
        }
        if (style.Hidden.count(word.Key()) != 0)
            continue;
        const bool current =
            word.InAyeh() && style.CurrentAyeh && *style.CurrentAyeh == AyehKey{word.Soureh, word.Ayeh};
        for (const MushafGlyph& glyph : word.Glyphs) {
            QColor colour = current ? style.Current : style.Ink;
            if (!current && style.GlyphColour) {
                if (const std::optional<QColor> chosen = style.GlyphColour(word, glyph))
                    colour = *chosen;
            }
            Run& run = runs[{glyph.Font, colour.rgba()}];
            run.Ids.append(glyph.Id);
            run.Positions.append(glyph.Position);
        }
    }
    for (const auto& [key, run] : runs) {
        const auto [font, rgba] = key;
        QGlyphRun glyphs;
        glyphs.setRawFont(fonts.Raw(font));
        glyphs.setGlyphIndexes(run.Ids);
        glyphs.setPositions(run.Positions);
        painter.setPen(QColor::fromRgba(rgba));
        painter.drawGlyphRun(QPointF(0, 0), glyphs);
    }
    painter.restore();
}
