// The RLE8 bitmap writer: what it writes must decode, pixel for pixel, in Qt's reader, which
// is the reader the application decodes page pictures with.
#include "tools/ImportSupport.h"
#include "tools/Rle8Bitmap.h"

#include <QImage>
#include <QRandomGenerator>
#include <QtEndian>
#include <functional>
#include <gtest/gtest.h>

namespace {

QImage GreyImage(int width, int height, const std::function<int(int, int)>& level) {
    QImage image(width, height, QImage::Format_Indexed8);
    QList<QRgb> palette;
    for (int i = 0; i < 256; ++i)
        palette.append(qRgb(i, i, i));
    image.setColorTable(palette);
    image.setDotsPerMeterX(2835);
    image.setDotsPerMeterY(2835);
    for (int y = 0; y < height; ++y)
        for (int x = 0; x < width; ++x)
            image.scanLine(y)[x] = uchar(level(x, y));
    return image;
}

struct PatternCase {
    const char* Name;
    int Width;
    int Height;
    std::function<int(int, int)> Level;
};

TEST(Rle8Bitmap, DecodesInQtToTheSamePixels) {
    QRandomGenerator random(7);
    std::vector<int> noise(64 * 9);
    for (int& value : noise)
        value = int(random.bounded(256));
    const PatternCase cases[] = {
        {"blank page", 462, 690, [](int, int) { return 255; }},
        {"runs longer than 255", 700, 3, [](int x, int) { return x < 600 ? 10 : 200; }},
        {"alternating pixels (literal stretches)", 33, 4, [](int x, int y) { return (x + y) % 2 ? 0 : 255; }},
        {"pairs (runs of two)", 20, 2, [](int x, int) { return (x / 2) % 2 ? 0 : 255; }},
        {"one odd pixel between runs", 9, 3, [](int x, int) { return x == 4 ? 0 : 255; }},
        {"two odd pixels between runs", 10, 3, [](int x, int) { return x == 4   ? 1
                                                                       : x == 5 ? 2
                                                                                : 255; }},
        {"three-pixel literal at the end", 8, 2, [](int x, int) { return x < 5 ? 255 : x; }},
        {"literal longer than 255", 600, 2, [](int x, int y) { return (x * 7 + y) % 251; }},
        {"noise", 64, 9, [&](int x, int y) { return noise[size_t(y * 64 + x)]; }},
        {"one column", 1, 5, [](int, int y) { return y * 40; }},
        {"odd width", 7, 7, [](int x, int y) { return x == y ? 0 : 128; }},
    };
    for (const PatternCase& c : cases) {
        SCOPED_TRACE(c.Name);
        const QImage original = GreyImage(c.Width, c.Height, c.Level);
        const QByteArray file = EncodeRle8Bitmap(original);
        const QImage decoded = QImage::fromData(file, "BMP");
        ASSERT_FALSE(decoded.isNull());
        ASSERT_EQ(decoded.size(), original.size());
        ASSERT_EQ(decoded.format(), QImage::Format_Indexed8);
        for (int y = 0; y < c.Height; ++y)
            for (int x = 0; x < c.Width; ++x)
                ASSERT_EQ(decoded.pixel(x, y), original.pixel(x, y)) << "at " << x << ", " << y;
    }
}

TEST(Rle8Bitmap, HeaderDeclaresRle8BottomUpWithPaletteAndResolution) {
    const QByteArray file = EncodeRle8Bitmap(GreyImage(462, 690, [](int x, int) { return x % 256; }));
    const auto* data = reinterpret_cast<const uchar*>(file.constData());
    ASSERT_GE(file.size(), 54 + 1024);
    EXPECT_EQ(file.left(2), QByteArray("BM"));
    EXPECT_EQ(qFromLittleEndian<quint32>(data + 2), quint32(file.size()));
    EXPECT_EQ(qFromLittleEndian<quint32>(data + 10), 54u + 1024u);
    EXPECT_EQ(qFromLittleEndian<qint32>(data + 18), 462);
    EXPECT_EQ(qFromLittleEndian<qint32>(data + 22), 690); // positive: bottom-up, as RLE requires
    EXPECT_EQ(qFromLittleEndian<quint16>(data + 28), 8);
    EXPECT_EQ(qFromLittleEndian<quint32>(data + 30), 1u); // BI_RLE8
    EXPECT_EQ(qFromLittleEndian<qint32>(data + 38), 2835);
    EXPECT_EQ(qFromLittleEndian<quint32>(data + 46), 256u);
    // Grey palette entries are blue, green, red, reserved.
    EXPECT_EQ(data[54 + 4 * 200], 200);
    EXPECT_EQ(data[54 + 4 * 200 + 2], 200);
}

TEST(Rle8Bitmap, KeepsAMostlyBlankPageSmall) {
    const QImage page =
        GreyImage(462, 690, [](int x, int y) { return (y % 46 > 10 && y % 46 < 30 && x % 9 < 3) ? 0 : 255; });
    EXPECT_LT(EncodeRle8Bitmap(page).size(), 462 * 690 / 4);
}

TEST(Rle8Bitmap, RefusesPicturesThatAreNotEightBitIndexed) {
    QImage colour(4, 4, QImage::Format_RGB32);
    colour.fill(Qt::white);
    EXPECT_THROW(EncodeRle8Bitmap(colour), ToolError);
    EXPECT_THROW(EncodeRle8Bitmap(QImage()), ToolError);
}

} // namespace
