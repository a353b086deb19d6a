#include "artwork/generate/Drawing.h"

#include <QFontMetricsF>
#include <QLinearGradient>
#include <QPainterPath>
#include <QPolygonF>
#include <QRadialGradient>
#include <QTextOption>
#include <algorithm>
#include <cmath>
#include <numbers>

namespace {

constexpr double Pi = std::numbers::pi;

// Integer hash noise in [0, 1]; the grounds are made of it, so it must not depend on any
// library's random generator.
double Hash(int x, int y, unsigned seed) {
    quint32 h = quint32(x) * 374761393u + quint32(y) * 668265263u + seed * 2246822519u;
    h = (h ^ (h >> 13)) * 1274126177u;
    h ^= h >> 16;
    return double(h & 0xffffffu) / double(0xffffffu);
}

double ValueNoise(double x, double y, unsigned seed) {
    const double fx = std::floor(x), fy = std::floor(y);
    const int ix = int(fx), iy = int(fy);
    const double tx = x - fx, ty = y - fy;
    const double sx = tx * tx * (3 - 2 * tx), sy = ty * ty * (3 - 2 * ty);
    const double top = Hash(ix, iy, seed) + (Hash(ix + 1, iy, seed) - Hash(ix, iy, seed)) * sx;
    const double bottom = Hash(ix, iy + 1, seed) + (Hash(ix + 1, iy + 1, seed) - Hash(ix, iy + 1, seed)) * sx;
    return top + (bottom - top) * sy;
}

// Fractal noise in [0, 1].
double Fbm(double x, double y, unsigned seed, int octaves = 4) {
    double sum = 0, amplitude = 0.5, total = 0;
    for (int i = 0; i < octaves; ++i) {
        sum += amplitude * ValueNoise(x, y, seed + unsigned(i) * 101u);
        total += amplitude;
        x *= 2.03;
        y *= 2.03;
        amplitude *= 0.5;
    }
    return sum / total;
}

int Channel(double value) {
    return std::clamp(int(std::lround(value)), 0, 255);
}

QPointF Polar(QPointF centre, double radius, double degrees) {
    const double a = degrees * Pi / 180.0;
    return centre + QPointF(radius * std::cos(a), radius * std::sin(a));
}

QFont MakeFont(const QString& family, double pixelSize, bool bold) {
    QFont font(family);
    font.setPixelSize(int(std::lround(pixelSize)));
    font.setBold(bold);
    font.setHintingPreference(QFont::PreferNoHinting);
    font.setStyleStrategy(QFont::PreferAntialias);
    return font;
}

QTextOption RightToLeftOption(Qt::Alignment alignment) {
    QTextOption option(alignment);
    option.setTextDirection(Qt::RightToLeft);
    option.setWrapMode(QTextOption::WordWrap);
    return option;
}

// A diamond of half-diagonals rx (across) and ry (along y).
QPolygonF Diamond(QPointF c, double rx, double ry) {
    return QPolygonF({c + QPointF(0, -ry), c + QPointF(rx, 0), c + QPointF(0, ry), c + QPointF(-rx, 0)});
}

// One motif of the frame band, centred on `c`, fitting a band `h` thick; `vertical` turns it
// to run along a side band.
void DrawBandMotif(QPainter& painter, QPointF c, double h, bool vertical) {
    const double along = h * 0.46, across = h * 0.34;
    const double rx = vertical ? across : along, ry = vertical ? along : across;
    painter.setPen(QPen(Ink::DarkGold, 0.8));
    painter.setBrush(Ink::Gold);
    painter.drawPolygon(Diamond(c, rx, ry));
    painter.setPen(Qt::NoPen);
    painter.setBrush(Ink::Red);
    painter.drawPolygon(Diamond(c, rx * 0.55, ry * 0.55));
    painter.setBrush(Ink::LightGold);
    painter.drawEllipse(c, h * 0.07, h * 0.07);
}

void DrawBandDot(QPainter& painter, QPointF c, double h) {
    painter.setPen(Qt::NoPen);
    painter.setBrush(Ink::LightGold);
    painter.drawEllipse(c, h * 0.09, h * 0.09);
    painter.setBrush(QColor(255, 255, 255, 160));
    for (const double a : {0.0, 90.0, 180.0, 270.0})
        painter.drawEllipse(Polar(c, h * 0.2, a + 45), h * 0.035, h * 0.035);
}

// Motifs spread evenly from `from` to `to` along one side of the band.
void DrawBandRun(QPainter& painter, QPointF from, QPointF to, double h, bool vertical) {
    const double length = QLineF(from, to).length();
    const int count = std::max(1, int(length / (h * 1.35)));
    const QPointF step = (to - from) / count;
    for (int i = 0; i < count; ++i) {
        DrawBandMotif(painter, from + step * (i + 0.5), h, vertical);
        if (i > 0)
            DrawBandDot(painter, from + step * i, h);
    }
}

} // namespace

QFont NaskhFont(double pixelSize, bool bold) {
    return MakeFont(QStringLiteral("Noto Naskh Arabic"), pixelSize, bold);
}
QFont SansFont(double pixelSize, bool bold) {
    return MakeFont(QStringLiteral("Noto Sans Arabic"), pixelSize, bold);
}
QFont AmiriFont(double pixelSize, bool bold) {
    return MakeFont(QStringLiteral("Amiri"), pixelSize, bold);
}

QImage WoodGround(QSize size, const QColor& base, unsigned seed) {
    QImage image(size, QImage::Format_RGB32);
    for (int y = 0; y < size.height(); ++y) {
        auto* line = reinterpret_cast<QRgb*>(image.scanLine(y));
        for (int x = 0; x < size.width(); ++x) {
            // Growth rings run along x and wander with a slow warp; fibres are streaks
            // stretched along x; a broad mottle keeps the ground from looking printed.
            const double warp =
                Fbm(x * 0.004, y * 0.018, seed) * 10.0 + Fbm(x * 0.0015, y * 0.003, seed + 7) * 7.0;
            const double rings = 0.5 + 0.5 * std::sin(y * 0.21 + warp);
            const double ringLine = std::pow(rings, 14.0) + 0.35 * std::pow(rings, 3.0);
            const double fibre = ValueNoise(x * 0.04, y * 1.1, seed + 13);
            const double mottle = Fbm(x * 0.008, y * 0.011, seed + 29) - 0.5;
            const double dark = 12.0 * ringLine + 5.0 * fibre * fibre + 6.0 * mottle;
            line[x] = qRgb(Channel(base.red() - dark * 0.75), Channel(base.green() - dark * 1.0),
                           Channel(base.blue() - dark * 1.2));
        }
    }
    return image;
}

QImage PaperGround(QSize size, const QColor& base, unsigned seed) {
    QImage image(size, QImage::Format_RGB32);
    const double cx = size.width() / 2.0, cy = size.height() / 2.0;
    for (int y = 0; y < size.height(); ++y) {
        auto* line = reinterpret_cast<QRgb*>(image.scanLine(y));
        for (int x = 0; x < size.width(); ++x) {
            const double dx = (x - cx) / cx, dy = (y - cy) / cy;
            const double edge = 9.0 * (dx * dx + dy * dy) / 2.0;
            const double mottle = 6.0 * (Fbm(x * 0.012, y * 0.012, seed) - 0.5) + 1.5 * Hash(x, y, seed + 3);
            const double dark = edge + mottle;
            line[x] = qRgb(Channel(base.red() - dark * 0.8), Channel(base.green() - dark),
                           Channel(base.blue() - dark * 1.2));
        }
    }
    return image;
}

void DrawText(QPainter& painter, const QRectF& box, const QString& text, const QFont& font,
              const QColor& colour, Qt::Alignment alignment) {
    painter.save();
    painter.setLayoutDirection(Qt::RightToLeft);
    painter.setFont(font);
    painter.setPen(colour);
    painter.drawText(box, text, RightToLeftOption(alignment));
    painter.restore();
}

QRectF InkCentred(const QRectF& box, const QString& text, const QFont& font) {
    const QFontMetricsF metrics(font);
    const QRectF ink = metrics.tightBoundingRect(text);
    const double baseline = box.center().y() - metrics.height() / 2 + metrics.ascent();
    return box.translated(0, box.center().y() - (baseline + ink.center().y()));
}

void DrawHaloText(QPainter& painter, const QRectF& box, const QString& text, const QFont& font,
                  const QColor& colour, const QColor& halo, double haloWidth, Qt::Alignment alignment) {
    const int steps = 24;
    for (int i = 0; i < steps; ++i) {
        const QPointF offset = Polar(QPointF(), haloWidth, 360.0 * i / steps);
        DrawText(painter, box.translated(offset), text, font, halo, alignment);
    }
    DrawText(painter, box, text, font, colour, alignment);
}

void DrawStar(QPainter& painter, QPointF centre, double outer, double inner, int points, double angle,
              const QColor& fill, const QColor& edge) {
    QPolygonF star;
    for (int i = 0; i < points * 2; ++i)
        star << Polar(centre, i % 2 == 0 ? outer : inner, angle - 90 + 180.0 * i / points);
    painter.save();
    painter.setPen(edge.isValid() ? QPen(edge, std::max(0.6, outer * 0.06)) : QPen(Qt::NoPen));
    painter.setBrush(fill);
    painter.drawPolygon(star);
    painter.restore();
}

void DrawMedallion(QPainter& painter, QPointF centre, double radius) {
    painter.save();
    painter.setPen(Qt::NoPen);
    painter.setBrush(QColor(60, 30, 0, 50));
    painter.drawEllipse(centre + QPointF(0.8, 1.2), radius + 0.5, radius + 0.5);

    QRadialGradient rim(centre - QPointF(radius * 0.3, radius * 0.3), radius * 1.4);
    rim.setColorAt(0, Ink::LightGold);
    rim.setColorAt(0.6, Ink::Gold);
    rim.setColorAt(1, Ink::DarkGold);
    painter.setBrush(rim);
    painter.setPen(QPen(Ink::DarkGold, std::max(0.6, radius * 0.06)));
    painter.drawEllipse(centre, radius, radius);

    QRadialGradient field(centre, radius * 0.8);
    field.setColorAt(0, QColor(52, 92, 180));
    field.setColorAt(1, Ink::DeepBlue);
    painter.setBrush(field);
    painter.setPen(Qt::NoPen);
    painter.drawEllipse(centre, radius * 0.76, radius * 0.76);

    DrawStar(painter, centre, radius * 0.66, radius * 0.36, 8, 22.5, Ink::Gold, Ink::LightGold);
    painter.setBrush(Ink::Red);
    painter.drawEllipse(centre, radius * 0.26, radius * 0.26);
    painter.setBrush(Ink::LightGold);
    painter.drawEllipse(centre, radius * 0.09, radius * 0.09);
    if (radius >= 10) {
        painter.setBrush(Ink::DeepBlue);
        for (int i = 0; i < 12; ++i)
            painter.drawEllipse(Polar(centre, radius * 0.88, 30.0 * i), radius * 0.045, radius * 0.045);
    }
    painter.restore();
}

void DrawRosette(QPainter& painter, QPointF centre, double radius, int petals, const QColor& petal,
                 const QColor& heart) {
    painter.save();
    painter.setPen(QPen(petal.darker(150), std::max(0.5, radius * 0.05)));
    painter.setBrush(petal);
    for (int i = 0; i < petals; ++i) {
        painter.save();
        painter.translate(centre);
        painter.rotate(360.0 * i / petals);
        QPainterPath leaf;
        leaf.moveTo(0, 0);
        leaf.cubicTo(radius * 0.45, -radius * 0.42, radius * 0.9, -radius * 0.18, radius, 0);
        leaf.cubicTo(radius * 0.9, radius * 0.18, radius * 0.45, radius * 0.42, 0, 0);
        painter.drawPath(leaf);
        painter.restore();
    }
    painter.setBrush(heart);
    painter.drawEllipse(centre, radius * 0.3, radius * 0.3);
    painter.restore();
}

void DrawFlower(QPainter& painter, QPointF centre, double radius, double angle) {
    painter.save();
    painter.translate(centre);
    painter.rotate(angle);
    QPainterPath petal;
    petal.moveTo(0, 0);
    petal.cubicTo(radius * 0.15, -radius * 0.55, radius * 0.85, -radius * 0.5, radius, -radius * 0.05);
    petal.cubicTo(radius * 1.02, radius * 0.02, radius * 0.98, radius * 0.08, radius * 0.92, radius * 0.12);
    petal.cubicTo(radius * 0.7, radius * 0.5, radius * 0.15, radius * 0.5, 0, 0);
    QPainterPath flower;
    for (int i = 0; i < 5; ++i)
        flower.addPath(QTransform().rotate(72.0 * i).map(petal));
    flower.setFillRule(Qt::WindingFill);
    painter.setPen(Qt::NoPen);
    painter.setBrush(QColor(90, 50, 20, 45));
    painter.drawPath(flower.translated(radius * 0.08, radius * 0.1));

    QRadialGradient white(QPointF(), radius);
    white.setColorAt(0, QColor(236, 226, 222));
    white.setColorAt(0.35, QColor(255, 255, 255));
    white.setColorAt(1, QColor(250, 250, 250));
    painter.setBrush(white);
    painter.setPen(QPen(QColor(196, 176, 168), std::max(0.6, radius * 0.04)));
    for (int i = 0; i < 5; ++i)
        painter.drawPath(QTransform().rotate(72.0 * i).map(petal));
    painter.setPen(QPen(QColor(222, 208, 204), std::max(0.5, radius * 0.03)));
    for (int i = 0; i < 5; ++i)
        painter.drawLine(Polar(QPointF(), radius * 0.25, 72.0 * i + 12),
                         Polar(QPointF(), radius * 0.7, 72.0 * i + 12));

    painter.setPen(Qt::NoPen);
    painter.setBrush(QColor(200, 140, 30));
    painter.drawEllipse(QPointF(), radius * 0.22, radius * 0.22);
    painter.setBrush(QColor(250, 208, 80));
    for (int i = 0; i < 8; ++i)
        painter.drawEllipse(Polar(QPointF(), radius * 0.17, 45.0 * i), radius * 0.05, radius * 0.05);
    painter.restore();
}

void DrawLeaf(QPainter& painter, QPointF base, QPointF tip, double width, const QColor& colour) {
    const QPointF axis = tip - base;
    const QPointF normal(-axis.y(), axis.x());
    const double length = std::hypot(axis.x(), axis.y());
    const QPointF side = normal / length * width;
    QPainterPath leaf;
    leaf.moveTo(base);
    leaf.cubicTo(base + axis * 0.25 + side, base + axis * 0.7 + side * 0.8, tip);
    leaf.cubicTo(base + axis * 0.7 - side * 0.8, base + axis * 0.25 - side, base);
    painter.save();
    QLinearGradient shade(base + side, base - side);
    shade.setColorAt(0, colour.lighter(125));
    shade.setColorAt(1, colour.darker(125));
    painter.setBrush(shade);
    painter.setPen(QPen(colour.darker(160), 0.7));
    painter.drawPath(leaf);
    painter.setPen(QPen(colour.lighter(150), 0.8));
    painter.drawLine(base, base + axis * 0.85);
    painter.restore();
}

void DrawIlluminatedFrame(QPainter& painter, const QRectF& outer, const QRectF& inner) {
    painter.save();
    QPainterPath ringOnly;
    ringOnly.addRect(outer.adjusted(-4, -4, 4, 4));
    ringOnly.addRect(inner);
    painter.setClipPath(ringOnly); // Qt::OddEvenFill: everything but the inner rectangle
    painter.setPen(Qt::NoPen);
    const double left = inner.left() - outer.left(), right = outer.right() - inner.right();
    const double top = inner.top() - outer.top(), bottom = outer.bottom() - inner.bottom();
    const double thinnest = std::min({left, right, top, bottom});
    const bool wide = thinnest >= 36;

    // Drop shadow, then layers from the outside in; each fill is covered by the next,
    // leaving a ring of its colour.
    painter.setBrush(QColor(80, 40, 0, 40));
    painter.drawRect(outer.translated(1.5, 2));
    QRectF ring = outer;
    auto layer = [&](double inset, const QBrush& brush) {
        ring = ring.adjusted(inset, inset, -inset, -inset);
        painter.setBrush(brush);
        painter.drawRect(ring);
    };
    painter.setBrush(Ink::DarkGold);
    painter.drawRect(ring);
    QLinearGradient gilt(outer.topLeft(), outer.bottomRight());
    gilt.setColorAt(0, Ink::LightGold);
    gilt.setColorAt(0.5, Ink::Gold);
    gilt.setColorAt(1, QColor(232, 196, 100));
    layer(1, gilt);
    layer(wide ? 3 : 2, Ink::DarkGold);
    if (wide) {
        layer(1, Ink::Red);
        layer(5, Ink::DarkGold);
        layer(1, gilt);
        layer(2, Ink::DarkGold);
    }
    layer(1, Ink::Lapis);
    const QRectF bandOuter = ring;

    // Inner gold border around the opening.
    const double innerGold = wide ? 4 : 3;
    const QRectF bandInner = inner.adjusted(-innerGold, -innerGold, innerGold, innerGold);
    painter.setBrush(Ink::DarkGold);
    painter.drawRect(bandInner.adjusted(-1, -1, 1, 1));
    painter.setBrush(gilt);
    painter.drawRect(bandInner);
    painter.setBrush(Ink::DarkGold);
    painter.drawRect(bandInner.adjusted(innerGold - 1, innerGold - 1, 1 - innerGold, 1 - innerGold));

    // Hairlines of light gold inside the band edges.
    painter.setBrush(Qt::NoBrush);
    painter.setPen(QPen(QColor(214, 170, 72, 170), 0.8));
    painter.drawRect(bandOuter.adjusted(2.5, 2.5, -2.5, -2.5));
    painter.drawRect(bandInner.adjusted(-3.5, -3.5, 3.5, 3.5));

    // Motifs along the four sides and rosettes in the corners.
    const double hTop = bandInner.top() - 1 - bandOuter.top(),
                 hBottom = bandOuter.bottom() - bandInner.bottom() - 1;
    const double wLeft = bandInner.left() - 1 - bandOuter.left(),
                 wRight = bandOuter.right() - bandInner.right() - 1;
    const double yTop = bandOuter.top() + hTop / 2, yBottom = bandOuter.bottom() - hBottom / 2;
    const double xLeft = bandOuter.left() + wLeft / 2, xRight = bandOuter.right() - wRight / 2;
    DrawBandRun(painter, {bandOuter.left() + wLeft, yTop}, {bandOuter.right() - wRight, yTop}, hTop, false);
    DrawBandRun(painter, {bandOuter.left() + wLeft, yBottom}, {bandOuter.right() - wRight, yBottom}, hBottom,
                false);
    DrawBandRun(painter, {xLeft, bandOuter.top() + hTop}, {xLeft, bandOuter.bottom() - hBottom}, wLeft, true);
    DrawBandRun(painter, {xRight, bandOuter.top() + hTop}, {xRight, bandOuter.bottom() - hBottom}, wRight,
                true);
    const QPointF corners[] = {{xLeft, yTop}, {xRight, yTop}, {xLeft, yBottom}, {xRight, yBottom}};
    const double cornerSizes[] = {std::min(wLeft, hTop), std::min(wRight, hTop), std::min(wLeft, hBottom),
                                  std::min(wRight, hBottom)};
    for (int i = 0; i < 4; ++i) {
        DrawRosette(painter, corners[i], cornerSizes[i] * 0.46, 8, Ink::Gold, Ink::Red);
        painter.setPen(Qt::NoPen);
        painter.setBrush(Ink::LightGold);
        painter.drawEllipse(corners[i], cornerSizes[i] * 0.06, cornerSizes[i] * 0.06);
    }
    painter.restore();
}

void DrawGoldRule(QPainter& painter, QPointF centre, double width) {
    painter.save();
    QLinearGradient fade(centre - QPointF(width / 2, 0), centre + QPointF(width / 2, 0));
    fade.setColorAt(0, QColor(214, 170, 72, 0));
    fade.setColorAt(0.3, Ink::Gold);
    fade.setColorAt(0.7, Ink::Gold);
    fade.setColorAt(1, QColor(214, 170, 72, 0));
    painter.setPen(QPen(QBrush(fade), 1.2));
    painter.drawLine(centre - QPointF(width / 2, 0), centre + QPointF(width / 2, 0));
    painter.setPen(QPen(Ink::DarkGold, 0.7));
    painter.setBrush(Ink::Gold);
    painter.drawPolygon(Diamond(centre, 6, 4));
    painter.setPen(Qt::NoPen);
    painter.setBrush(Ink::Red);
    painter.drawPolygon(Diamond(centre, 2.6, 1.8));
    painter.restore();
}

void DrawPanel(QPainter& painter, const QRectF& box, const QColor& fill, double radius) {
    painter.save();
    painter.setPen(Qt::NoPen);
    painter.setBrush(QColor(90, 50, 10, 28));
    painter.drawRoundedRect(box.translated(1, 1.5), radius, radius);
    painter.setBrush(fill);
    painter.setPen(QPen(Ink::Gold, 1.2));
    painter.drawRoundedRect(box, radius, radius);
    painter.setBrush(Qt::NoBrush);
    painter.setPen(QPen(QColor(214, 170, 72, 110), 0.8));
    painter.drawRoundedRect(box.adjusted(3, 3, -3, -3), std::max(0.0, radius - 3), std::max(0.0, radius - 3));
    painter.restore();
}

void DrawPublisherMark(QPainter& painter, QPointF centre, double height, const QColor& text) {
    const QFont nameFont = NaskhFont(height * 0.42, true);
    const QFont latinFont = SansFont(height * 0.24);
    const QString name = QStringLiteral("ولسورهاست");
    const QString latin = QStringLiteral("VelsorHost");
    const double textWidth = std::max(QFontMetricsF(nameFont).horizontalAdvance(name),
                                      QFontMetricsF(latinFont).horizontalAdvance(latin));
    const double gap = height * 0.2;
    const double total = height + gap + textWidth;
    const double left = centre.x() - total / 2;
    const QPointF emblem(left + textWidth + gap + height / 2, centre.y());
    const double r = height / 2;

    painter.save();
    painter.setPen(Qt::NoPen);
    painter.setBrush(QColor(0, 0, 0, 45));
    painter.drawEllipse(emblem + QPointF(1, 1.5), r, r);
    QRadialGradient field(emblem - QPointF(r * 0.3, r * 0.4), r * 1.3);
    field.setColorAt(0, QColor(70, 120, 210));
    field.setColorAt(1, Ink::DeepBlue);
    painter.setBrush(field);
    painter.setPen(QPen(Ink::Gold, std::max(1.0, r * 0.1)));
    painter.drawEllipse(emblem, r, r);
    // Two leaves rising into a V, a star above them.
    const QPointF foot = emblem + QPointF(0, r * 0.5);
    DrawLeaf(painter, foot, emblem + QPointF(-r * 0.5, -r * 0.35), r * 0.2, QColor(240, 240, 232));
    DrawLeaf(painter, foot, emblem + QPointF(r * 0.5, -r * 0.35), r * 0.2, QColor(240, 240, 232));
    DrawStar(painter, emblem + QPointF(0, -r * 0.42), r * 0.22, r * 0.1, 8, 0, Ink::LightGold, QColor());
    painter.restore();

    const QRectF textBox(left, centre.y() - height / 2, textWidth, height);
    DrawText(painter, textBox.adjusted(0, -height * 0.08, 0, -height * 0.35), name, nameFont, text,
             Qt::AlignRight | Qt::AlignAbsolute | Qt::AlignVCenter);
    DrawText(painter, textBox.adjusted(0, height * 0.62, 0, 0), latin, latinFont, text,
             Qt::AlignRight | Qt::AlignAbsolute | Qt::AlignTop);
}
