#include "artwork/generate/Pictures.h"

#include "artwork/generate/Drawing.h"

#include <QLinearGradient>
#include <QLocale>
#include <QPainterPath>
#include <QRadialGradient>
#include <cmath>
#include <numbers>
#include <span>

namespace {

constexpr Qt::Alignment RightAligned = Qt::AlignRight | Qt::AlignAbsolute | Qt::AlignVCenter;

QImage Canvas(QSize size) {
    QImage image(size, QImage::Format_ARGB32_Premultiplied);
    image.fill(Qt::transparent);
    return image;
}

void Prepare(QPainter& painter) {
    painter.setRenderHint(QPainter::Antialiasing);
    painter.setRenderHint(QPainter::TextAntialiasing);
    painter.setRenderHint(QPainter::SmoothPixmapTransform);
}

// A stem of white flowers with leaves, spreading from the top-left corner.
void DrawFlowerSpray(QPainter& painter) {
    painter.save();
    QPainterPath stem;
    stem.moveTo(-4, 196);
    stem.cubicTo(30, 150, 8, 90, 44, 40);
    stem.cubicTo(56, 22, 70, 12, 92, 6);
    QPainterPath twig;
    twig.moveTo(27, 118);
    twig.cubicTo(48, 112, 62, 118, 74, 132);
    QPainterPath sprig;
    sprig.moveTo(40, 50);
    sprig.cubicTo(32, 36, 18, 30, 6, 32);
    painter.setBrush(Qt::NoBrush);
    painter.setPen(QPen(QColor(104, 120, 64), 2.4, Qt::SolidLine, Qt::RoundCap));
    painter.drawPath(stem);
    painter.setPen(QPen(QColor(104, 120, 64), 1.6, Qt::SolidLine, Qt::RoundCap));
    painter.drawPath(twig);
    painter.drawPath(sprig);

    const QColor leaf = Ink::Leaf;
    DrawLeaf(painter, {20, 160}, {46, 176}, 6, leaf);
    DrawLeaf(painter, {18, 140}, {0, 122}, 5.5, leaf);
    DrawLeaf(painter, {30, 96}, {56, 92}, 6, leaf);
    DrawLeaf(painter, {35, 72}, {12, 64}, 5.5, leaf);
    DrawLeaf(painter, {54, 122}, {60, 146}, 5, leaf);
    DrawLeaf(painter, {58, 24}, {66, 44}, 5, leaf);
    DrawLeaf(painter, {76, 10}, {92, 22}, 4.5, leaf);
    DrawLeaf(painter, {20, 32}, {14, 14}, 4.5, leaf);

    DrawFlower(painter, {38, 40}, 21, 10);
    DrawFlower(painter, {76, 134}, 14, 40);
    DrawFlower(painter, {14, 104}, 16, -20);
    DrawFlower(painter, {84, 58}, 12, 70);
    DrawFlower(painter, {8, 30}, 11, 25);
    DrawFlower(painter, {24, 172}, 10, 5);
    DrawFlower(painter, {96, 8}, 8, 50);
    DrawFlower(painter, {60, 98}, 9, 15);
    DrawFlower(painter, {46, 150}, 8, 60);
    // Buds.
    painter.setPen(QPen(QColor(196, 176, 168), 0.8));
    painter.setBrush(QColor(252, 250, 248));
    painter.drawEllipse(QPointF(64, 120), 4, 5.5);
    painter.drawEllipse(QPointF(4, 150), 4, 5.5);
    painter.restore();
}

// A cartouche of light ground with a medallion at each corner, for a group of controls.
void DrawControlPanel(QPainter& painter, const QRectF& box, double medallion) {
    DrawPanel(painter, box, QColor(253, 244, 234, 215), 6);
    for (const QPointF corner : {box.topLeft(), box.topRight(), box.bottomLeft(), box.bottomRight()})
        DrawMedallion(painter, corner, medallion);
}

void DrawTitle(QPainter& painter, const QRectF& box, double nameSize, double lineSize) {
    const QString title = QStringLiteral("گلوار");
    const QRectF name(box.left(), box.top(), box.width(), box.height() * 0.62);
    DrawHaloText(painter, InkCentred(name, title, AmiriFont(nameSize, true)), title,
                 AmiriFont(nameSize, true), Ink::Lapis, Ink::LightGold, 2.2);
    DrawGoldRule(painter, QPointF(box.center().x(), box.top() + box.height() * 0.64), box.width() * 0.8);
    const QRectF line(box.left(), box.top() + box.height() * 0.66, box.width(), box.height() * 0.34);
    DrawText(painter, line, QStringLiteral("آموزش چند رسانه ای قرآن کریم"), AmiriFont(lineSize, true),
             Ink::DarkRed);
}

// A ground with an illuminated border all round and a calm field inside it.
void DrawBorderedSheet(QPainter& painter, QSize size, double border, const QColor& field, unsigned seed) {
    painter.drawImage(0, 0, PaperGround(size, field, seed));
    const QRectF outer(4, 4, size.width() - 8, size.height() - 8);
    const QRectF inner = outer.adjusted(border, border, -border, -border);
    DrawIlluminatedFrame(painter, outer, inner);
    for (const QPointF corner : {inner.topLeft(), inner.topRight(), inner.bottomLeft(), inner.bottomRight()})
        DrawMedallion(painter, corner, 9);
}

// A faint gilt sunburst behind a title: a sixteen-pointed star in rings of fading gold.
void DrawSunburst(QPainter& painter, QPointF centre, double radius) {
    painter.save();
    painter.setOpacity(0.22);
    DrawStar(painter, centre, radius, radius * 0.72, 16, 0, QColor(247, 222, 140), Ink::Gold);
    DrawStar(painter, centre, radius * 0.8, radius * 0.6, 16, 11.25, QColor(255, 240, 200), Ink::Gold);
    painter.setPen(QPen(Ink::Gold, 1.2));
    painter.setBrush(QColor(255, 250, 236));
    painter.drawEllipse(centre, radius * 0.58, radius * 0.58);
    painter.restore();
}

struct BlankField {
    const char16_t* Field;
    const char16_t* Blank; // what the publisher fills in, shown in brackets
};

// A light panel with a heading and one row per field: its name, then the blank to fill in
// over a dotted line.
void DrawFieldPanel(QPainter& painter, const QRectF& box, const QString& heading,
                    std::span<const BlankField> fields, double rowHeight) {
    DrawPanel(painter, box, QColor(255, 251, 242), 8);
    DrawText(painter, QRectF(box.left(), box.top() + 7, box.width(), 26), heading, NaskhFont(16, true),
             Ink::DarkRed);
    double y = box.top() + 36;
    for (const BlankField& field : fields) {
        DrawText(painter, QRectF(box.right() - 130, y, 110, 24),
                 QString::fromUtf16(field.Field) + QStringLiteral(":"), NaskhFont(14, true), Ink::DarkGreen,
                 RightAligned);
        DrawText(painter, QRectF(box.left() + 30, y, box.width() - 170, 24), QString::fromUtf16(field.Blank),
                 NaskhFont(14), QColor(110, 100, 90), RightAligned);
        painter.setPen(QPen(QColor(200, 170, 110), 0.8, Qt::DotLine));
        painter.drawLine(QPointF(box.left() + 30, y + 23), QPointF(box.right() - 140, y + 23));
        y += rowHeight;
    }
}

void DrawPartMedallions(QPainter& painter, QPointF centre) {
    // The thirty parts of the book, two rows of fifteen numbered medallions.
    constexpr int PerRow = 15;
    constexpr double Spacing = 27, Radius = 11.5;
    for (int part = 1; part <= 30; ++part) {
        const int row = (part - 1) / PerRow, column = (part - 1) % PerRow;
        // Numbered from the right, as the text reads.
        const QPointF c(centre.x() + (PerRow / 2.0 - 0.5 - column) * Spacing, centre.y() + row * 28 - 14);
        painter.save();
        painter.setPen(QPen(Ink::DarkGold, 1));
        QRadialGradient gilt(c - QPointF(3, 3), Radius * 1.5);
        gilt.setColorAt(0, Ink::LightGold);
        gilt.setColorAt(1, Ink::Gold);
        painter.setBrush(gilt);
        painter.drawEllipse(c, Radius, Radius);
        painter.setBrush(QColor(255, 252, 240));
        painter.setPen(QPen(Ink::Lapis, 0.8));
        painter.drawEllipse(c, Radius * 0.74, Radius * 0.74);
        painter.restore();
        DrawText(painter, QRectF(c.x() - Radius, c.y() - Radius - 1, 2 * Radius, 2 * Radius),
                 QLocale(QLocale::Persian, QLocale::Iran).toString(part), SansFont(11, true), Ink::Lapis);
    }
}

} // namespace

QImage DrawBackground() {
    QImage image = WoodGround({800, 600}, Ink::Peach, 11);
    QPainter painter(&image);
    Prepare(painter);

    // Translation frame; the field inside is the text box's own peach so that it blends in.
    const QRectF translationOuter(95, 15, 485, 150);
    const QRectF translationField(109, 31, 455, 118);
    DrawIlluminatedFrame(painter, translationOuter, translationField);
    painter.fillRect(translationField, Ink::Peach);
    DrawMedallion(painter, {130, 90}, 15);
    DrawMedallion(painter, {545.5, 90}, 15);
    DrawMedallion(painter, {337.5, 15}, 9);
    DrawMedallion(painter, {337.5, 165}, 9);

    // Page frame; its opening holds the scroll box, whose ivory the margin continues.
    const QRectF pageOuter(40, 201, 595, 389);
    const QRectF pageOpening(97, 255, 481, 274);
    const QRectF pageMargin = pageOpening.adjusted(-9, -9, 9, 9);
    DrawIlluminatedFrame(painter, pageOuter, pageMargin);
    painter.fillRect(pageMargin, Ink::Ivory);
    painter.setPen(QPen(Ink::Gold, 1));
    painter.setBrush(Qt::NoBrush);
    painter.drawRect(pageOpening.adjusted(-3.5, -3.5, 3.5, 3.5));
    DrawMedallion(painter, {337.5, 201}, 12);
    DrawMedallion(painter, {40, 395}, 11);
    DrawMedallion(painter, {635, 395}, 11);

    DrawFlowerSpray(painter);
    DrawTitle(painter, QRectF(590, 12, 206, 120), 58, 17);

    // Reciter, soureh, ayeh and repeat controls; then the three flat buttons.
    DrawControlPanel(painter, QRectF(636, 137, 148, 99), 7.5);
    DrawControlPanel(painter, QRectF(668, 499, 95, 84), 7);

    // A short note between the two groups.
    DrawGoldRule(painter, {720, 380}, 130);
    DrawText(painter, QRectF(648, 386, 144, 64),
             QStringLiteral("قاری، سوره و آیه را برگزینید\nو «قرائت آیه» را بزنید"), NaskhFont(13, true),
             Ink::DarkRed);
    DrawGoldRule(painter, {720, 458}, 130);
    painter.end();
    return image;
}

QImage DrawSplash() {
    const QSize size(760, 438);
    QImage image(size, QImage::Format_RGB32);
    QPainter painter(&image);
    Prepare(painter);
    DrawBorderedSheet(painter, size, 34, QColor(253, 246, 232), 21);

    DrawSunburst(painter, {380, 118}, 96);
    for (const double x : {250.0, 510.0})
        DrawMedallion(painter, {x, 122}, 15);
    DrawText(painter, QRectF(0, 40, 760, 34), QStringLiteral("بسم الله الرحمن الرحيم"), AmiriFont(22),
             Ink::DarkRed);
    const QString title = QStringLiteral("گلوار");
    DrawHaloText(painter, InkCentred(QRectF(0, 76, 760, 80), title, AmiriFont(66, true)), title,
                 AmiriFont(66, true), Ink::Lapis, Ink::LightGold, 2.6);
    DrawText(painter, QRectF(0, 160, 760, 30), QStringLiteral("نرم افزار آموزش چند رسانه ای قرآن کریم"),
             NaskhFont(20, true), Ink::DarkGreen);
    DrawGoldRule(painter, {380, 196}, 300);
    DrawText(painter, QRectF(0, 198, 760, 24), QStringLiteral("نسخه 3/3"), NaskhFont(15, true), Ink::Red);

    DrawText(painter, QRectF(0, 226, 760, 24), QStringLiteral("سی جزء کامل قرآن کریم"), NaskhFont(15, true),
             Ink::DeepBlue);
    DrawPartMedallions(painter, {380, 281});
    DrawText(painter, QRectF(0, 312, 760, 26),
             QStringLiteral("تلاوت آیه به آیه با صدای پنج قاری، همراه با ترجمه فارسی"), NaskhFont(15, true),
             Ink::DeepBlue);
    DrawGoldRule(painter, {380, 346}, 420);
    DrawPublisherMark(painter, {380, 375}, 38, Ink::DeepBlue);
    painter.end();
    return image;
}

QImage DrawFarewell() {
    const QSize size(602, 480);
    QImage image(size, QImage::Format_RGB32);
    QPainter painter(&image);
    Prepare(painter);
    // The window's blue shows as a deep ground round the illuminated sheet.
    QRadialGradient ground(QPointF(301, 240), 420);
    ground.setColorAt(0, QColor(34, 118, 214));
    ground.setColorAt(1, QColor(12, 64, 140));
    painter.fillRect(QRectF(0, 0, 602, 480), ground);
    const QRectF sheet(22, 22, 558, 436);
    painter.drawImage(sheet.topLeft(), PaperGround(sheet.size().toSize(), QColor(253, 246, 232), 31));
    DrawIlluminatedFrame(painter, sheet, sheet.adjusted(30, 30, -30, -30));
    for (const QPointF corner : {sheet.topLeft(), sheet.topRight(), sheet.bottomLeft(), sheet.bottomRight()})
        DrawMedallion(painter, corner, 14);
    DrawMedallion(painter, {301, 22}, 12);
    DrawMedallion(painter, {301, 458}, 12);

    DrawHaloText(painter, QRectF(0, 58, 602, 80), QStringLiteral("گلوار"), AmiriFont(62, true), Ink::Lapis,
                 Ink::LightGold, 2.2);
    DrawText(painter, QRectF(0, 134, 602, 26),
             QStringLiteral("نرم افزار آموزش چند رسانه ای قرآن کریم — نسخه 3/3"), NaskhFont(16, true),
             Ink::DarkGreen);
    DrawGoldRule(painter, {301, 170}, 340);

    const struct {
        const char16_t* Role;
        const char16_t* Who;
    } credits[] = {
        {u"طراحی و برنامه نویسی", u"گروه نرم افزاری ولسورهاست"},
        {u"تذهیب و طراحی گرافیک", u"گروه هنری ولسورهاست"},
        {u"ضبط و تدوین صدا", u"واحد صدای ولسورهاست"},
        {u"نظارت بر محتوا", u"شورای علمی ولسورهاست"},
    };
    double y = 184;
    for (const auto& credit : credits) {
        DrawText(painter, QRectF(301 + 8, y, 200, 30), QString::fromUtf16(credit.Role) + QStringLiteral(":"),
                 NaskhFont(15, true), Ink::DarkRed, Qt::AlignLeft | Qt::AlignAbsolute | Qt::AlignVCenter);
        DrawText(painter, QRectF(301 - 8 - 200, y, 200, 30), QString::fromUtf16(credit.Who), NaskhFont(15),
                 Ink::DeepBlue, RightAligned);
        y += 34;
    }
    DrawGoldRule(painter, {301, 332}, 340);
    DrawText(painter, QRectF(0, 340, 602, 30), QStringLiteral("از همراهی شما سپاسگزاریم"),
             AmiriFont(22, true), Ink::DarkGreen);
    DrawPublisherMark(painter, {301, 398}, 34, Ink::DeepBlue);
    painter.end();
    return image;
}

QImage DrawDonate() {
    const QSize size(681, 481);
    QImage image(size, QImage::Format_RGB32);
    QPainter painter(&image);
    Prepare(painter);
    DrawBorderedSheet(painter, size, 30, QColor(253, 246, 232), 41);

    DrawHaloText(painter, QRectF(0, 40, 681, 56), QStringLiteral("همیاری"), AmiriFont(42, true), Ink::Lapis,
                 Ink::LightGold, 2);
    DrawGoldRule(painter, {340.5, 100}, 320);
    DrawText(painter, QRectF(70, 108, 541, 100),
             QStringLiteral("کاربر گرامی، نرم افزار گلوار با همت گروهی از دوستداران قرآن کریم فراهم شده است. "
                            "شما می توانید با کمک های نقدی خود ما را در تهیه نسخه های تازه و رساندن رایگان "
                            "آن به دست همگان یاری کنید."),
             NaskhFont(15), Ink::DeepBlue, Qt::AlignJustify | Qt::AlignVCenter);

    const BlankField account[] = {
        {u"نام بانک", u"[نام بانک]"},   {u"شماره حساب", u"[شماره حساب]"}, {u"شماره کارت", u"[شماره کارت]"},
        {u"شماره شبا", u"[شماره شبا]"}, {u"به نام", u"[نام صاحب حساب]"},
    };
    DrawFieldPanel(painter, QRectF(130, 204, 421, 166), QStringLiteral("مشخصات حساب"), account, 25);
    DrawText(painter, QRectF(0, 374, 681, 24), QStringLiteral("خداوند به شما پاداش نیک دهد"),
             AmiriFont(18, true), Ink::DarkRed);
    DrawPublisherMark(painter, {340.5, 420}, 28, Ink::DeepBlue);
    painter.end();
    return image;
}

QImage DrawPublisher() {
    const QSize size(681, 481);
    QImage image(size, QImage::Format_RGB32);
    QPainter painter(&image);
    Prepare(painter);
    DrawBorderedSheet(painter, size, 30, QColor(253, 246, 232), 51);

    DrawPublisherMark(painter, {340.5, 78}, 60, Ink::Lapis);
    DrawText(painter, QRectF(0, 118, 681, 28), QStringLiteral("پدیدآورنده نرم افزارهای فرهنگی و آموزشی"),
             NaskhFont(16, true), Ink::DarkGreen);
    DrawGoldRule(painter, {340.5, 150}, 360);

    const char16_t* services[] = {
        u"تولید نرم افزارهای چندرسانه ای قرآنی و آموزشی",
        u"طراحی و ساخت وبگاه و خدمات میزبانی",
        u"تولید محتوای صوتی و تصویری",
        u"پشتیبانی و به روز رسانی نرم افزارهای خود",
    };
    DrawText(painter, QRectF(70, 154, 541, 24), QStringLiteral("خدمات ما"), NaskhFont(16, true), Ink::DarkRed,
             RightAligned);
    double y = 180;
    for (const char16_t* service : services) {
        DrawStar(painter, {603, y + 12}, 5, 2.4, 8, 0, Ink::Gold, Ink::DarkGold);
        DrawText(painter, QRectF(70, y, 521, 24), QString::fromUtf16(service), NaskhFont(14), Ink::DeepBlue,
                 RightAligned);
        y += 25;
    }

    const BlankField contact[] = {
        {u"نشانی", u"[نشانی دفتر]"},
        {u"تلفن", u"[شماره تلفن]"},
        {u"وبگاه", u"[نشانی وبگاه]"},
        {u"رایانامه", u"[نشانی رایانامه]"},
    };
    DrawFieldPanel(painter, QRectF(130, 290, 421, 128), QStringLiteral("راه های ارتباط"), contact, 22);
    DrawText(painter, QRectF(0, 421, 681, 20), QStringLiteral("برای بستن این پنجره روی آن کلیک کنید"),
             NaskhFont(11), QColor(120, 100, 80));
    painter.end();
    return image;
}

QImage DrawButtonPicture(const QString& words) {
    QImage image = Canvas({138, 31});
    QPainter painter(&image);
    Prepare(painter);
    const QRectF bar(0.5, 0.5, 137, 30);
    QLinearGradient red(bar.topLeft(), bar.bottomLeft());
    red.setColorAt(0, QColor(222, 62, 58));
    red.setColorAt(0.5, QColor(186, 30, 34));
    red.setColorAt(1, QColor(128, 14, 20));
    painter.setPen(QPen(QColor(100, 10, 14), 1));
    painter.setBrush(red);
    painter.drawRoundedRect(bar, 9, 9);
    // Gloss on the upper half and a gold hairline inside the edge.
    QLinearGradient gloss(bar.topLeft(), QPointF(0, 15));
    gloss.setColorAt(0, QColor(255, 255, 255, 90));
    gloss.setColorAt(1, QColor(255, 255, 255, 10));
    painter.setPen(Qt::NoPen);
    painter.setBrush(gloss);
    painter.drawRoundedRect(QRectF(3, 2, 132, 13), 6, 6);
    painter.setBrush(Qt::NoBrush);
    painter.setPen(QPen(QColor(247, 222, 140, 170), 0.9));
    painter.drawRoundedRect(bar.adjusted(2.5, 2.5, -2.5, -2.5), 7, 7);
    DrawText(painter, bar.translated(0.8, 1.2), words, NaskhFont(16, true), QColor(90, 0, 0, 150));
    DrawText(painter, bar, words, NaskhFont(16, true), Qt::white);
    painter.end();
    return image;
}

QImage DrawIcon(int size) {
    QImage image = Canvas({size, size});
    QPainter painter(&image);
    Prepare(painter);
    const double s = size;
    const QPointF c(s / 2, s / 2);
    const QRectF tile(s * 0.04, s * 0.04, s * 0.92, s * 0.92);
    QLinearGradient blue(tile.topLeft(), tile.bottomRight());
    blue.setColorAt(0, QColor(52, 96, 186));
    blue.setColorAt(1, Ink::DeepBlue);
    painter.setBrush(blue);
    painter.setPen(QPen(Ink::Gold, std::max(1.0, s * 0.035)));
    painter.drawRoundedRect(tile, s * 0.2, s * 0.2);

    // The eight-pointed star of two squares, an ivory disc, and a red book in it.
    const double half = s * 0.27;
    QPainterPath square;
    square.addRect(QRectF(-half, -half, 2 * half, 2 * half));
    const QPainterPath star = square.united(QTransform().rotate(45).map(square)).translated(c);
    painter.setPen(QPen(Ink::DarkGold, std::max(0.6, s * 0.014)));
    painter.setBrush(Ink::Gold);
    painter.drawPath(star);
    painter.setBrush(Ink::Ivory);
    painter.setPen(QPen(Ink::DarkGold, std::max(0.5, s * 0.01)));
    painter.drawEllipse(c, s * 0.22, s * 0.22);
    if (size >= 24) {
        const double w = s * 0.14, h = s * 0.1;
        QPainterPath book;
        book.moveTo(c + QPointF(0, -h * 0.55));
        book.quadTo(c + QPointF(-w * 0.5, -h * 0.95), c + QPointF(-w, -h * 0.7));
        book.lineTo(c + QPointF(-w, h * 0.8));
        book.quadTo(c + QPointF(-w * 0.5, h * 0.55), c + QPointF(0, h * 0.95));
        book.quadTo(c + QPointF(w * 0.5, h * 0.55), c + QPointF(w, h * 0.8));
        book.lineTo(c + QPointF(w, -h * 0.7));
        book.quadTo(c + QPointF(w * 0.5, -h * 0.95), c + QPointF(0, -h * 0.55));
        painter.setBrush(Ink::Red);
        painter.setPen(QPen(Ink::DarkRed, std::max(0.6, s * 0.01)));
        painter.drawPath(book);
        painter.setPen(QPen(Ink::LightGold, std::max(0.6, s * 0.012)));
        painter.drawLine(c + QPointF(0, -h * 0.5), c + QPointF(0, h * 0.9));
    } else {
        painter.setBrush(Ink::Red);
        painter.setPen(Qt::NoPen);
        painter.drawEllipse(c, s * 0.1, s * 0.1);
    }
    painter.end();
    return image;
}
