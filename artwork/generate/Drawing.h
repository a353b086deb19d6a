#pragma once
// Drawing helpers shared by the pictures: the palette of the illumination, a wood-grain and a
// paper ground, right-to-left text, and the ornaments (frames, medallions, stars, flowers).
// Everything here is deterministic: the same build draws the same pixels.

#include <QColor>
#include <QFont>
#include <QImage>
#include <QPainter>
#include <QPointF>
#include <QRectF>
#include <QString>

namespace Ink {
inline const QColor Peach(249, 230, 215);
inline const QColor Ivory(255, 255, 239);
inline const QColor DarkGreen(3, 117, 0);
inline const QColor Lapis(30, 62, 140);
inline const QColor DeepBlue(16, 36, 96);
inline const QColor Gold(214, 170, 72);
inline const QColor LightGold(247, 222, 140);
inline const QColor DarkGold(140, 98, 28);
inline const QColor Red(180, 32, 36);
inline const QColor DarkRed(120, 18, 22);
inline const QColor Leaf(88, 140, 70);
} // namespace Ink

// Fonts by family, sized in pixels. Naskh is the body face, Amiri the calligraphic one.
QFont NaskhFont(double pixelSize, bool bold = false);
QFont SansFont(double pixelSize, bool bold = false);
QFont AmiriFont(double pixelSize, bool bold = false);

// A ground of pale wood: fine grain running roughly along x, on `base`, never darker than
// about a tenth below it so that text stays readable anywhere on it.
QImage WoodGround(QSize size, const QColor& base, unsigned seed);
// A smooth paper ground with a faint mottle, lighter towards the centre.
QImage PaperGround(QSize size, const QColor& base, unsigned seed);

// Right-to-left text in `box`, shaped and joined.
void DrawText(QPainter& painter, const QRectF& box, const QString& text, const QFont& font,
              const QColor& colour, Qt::Alignment alignment = Qt::AlignCenter);
// `box` moved up or down so that the ink of `text` (not its line, whose ascent calligraphic
// faces make very tall) sits centred in it.
QRectF InkCentred(const QRectF& box, const QString& text, const QFont& font);
// The same text with a halo of `haloWidth` pixels in `halo` around the letters.
void DrawHaloText(QPainter& painter, const QRectF& box, const QString& text, const QFont& font,
                  const QColor& colour, const QColor& halo, double haloWidth,
                  Qt::Alignment alignment = Qt::AlignCenter);

// A star of `points` points (outer radius `outer`, inner `inner`), rotated by `angle` degrees.
void DrawStar(QPainter& painter, QPointF centre, double outer, double inner, int points, double angle,
              const QColor& fill, const QColor& edge);
// A round medallion: gold rim, lapis field, gold eight-pointed star, red heart.
void DrawMedallion(QPainter& painter, QPointF centre, double radius);
// A rosette of petals, for corners and bands.
void DrawRosette(QPainter& painter, QPointF centre, double radius, int petals, const QColor& petal,
                 const QColor& heart);
// A white five-petalled flower with a golden heart, turned by `angle` degrees.
void DrawFlower(QPainter& painter, QPointF centre, double radius, double angle);
// A leaf from `base` pointing at `tip`.
void DrawLeaf(QPainter& painter, QPointF base, QPointF tip, double width, const QColor& colour);

// An illuminated frame filling the ring between `outer` and `inner`: gold rules, a lapis
// band with a running gold and red motif, rosettes at the corners. `inner` is left untouched.
void DrawIlluminatedFrame(QPainter& painter, const QRectF& outer, const QRectF& inner);
// A thin gold rule with a small diamond at its middle, across `width` centred on `centre`.
void DrawGoldRule(QPainter& painter, QPointF centre, double width);
// A soft, light panel with a gold hairline, to set controls or text apart from a ground.
void DrawPanel(QPainter& painter, const QRectF& box, const QColor& fill, double radius);
// The publisher's mark: the round emblem with its name beside it, centred on `centre`.
void DrawPublisherMark(QPainter& painter, QPointF centre, double height, const QColor& text);
