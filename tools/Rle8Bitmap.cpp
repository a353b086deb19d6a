#include "tools/Rle8Bitmap.h"

#include "tools/ImportSupport.h"

#include <QtEndian>

namespace {

constexpr int FileHeaderSize = 14;
constexpr int InfoHeaderSize = 40;
constexpr quint32 BiRle8 = 1;

void AppendRow(QByteArray& out, const uchar* row, int width) {
    int x = 0;
    while (x < width) {
        int run = 1;
        while (x + run < width && run < 255 && row[x + run] == row[x])
            ++run;
        if (run >= 2) {
            out.append(char(run));
            out.append(char(row[x]));
            x += run;
            continue;
        }
        // Absolute mode: a literal stretch that ends where a run of two or more begins.
        // It needs at least three bytes (counts 1 and 2 are escape codes).
        int literal = 1;
        while (x + literal < width && literal < 255 &&
               !(x + literal + 1 < width && row[x + literal] == row[x + literal + 1]))
            ++literal;
        if (literal < 3) {
            for (int i = 0; i < literal; ++i) {
                out.append(char(1));
                out.append(char(row[x + i]));
            }
        } else {
            out.append(char(0));
            out.append(char(literal));
            out.append(reinterpret_cast<const char*>(row + x), literal);
            if (literal % 2 != 0)
                out.append(char(0)); // each absolute stretch ends on a 16-bit boundary
        }
        x += literal;
    }
}

} // namespace

QByteArray EncodeRle8Bitmap(const QImage& image) {
    if (image.format() != QImage::Format_Indexed8 || image.isNull())
        throw ToolError(QStringLiteral("only 8-bit indexed pictures are stored as RLE8 bitmaps"));
    const QList<QRgb> colours = image.colorTable();
    const int width = image.width();
    const int height = image.height();

    QByteArray pixels;
    pixels.reserve(width * height / 8);
    for (int y = height - 1; y >= 0; --y) {
        AppendRow(pixels, image.constScanLine(y), width);
        pixels.append(char(0));
        pixels.append(char(y == 0 ? 1 : 0)); // end of line, or end of bitmap after the top row
    }

    const int paletteSize = int(colours.size()) * 4;
    const int pixelOffset = FileHeaderSize + InfoHeaderSize + paletteSize;
    QByteArray file(pixelOffset, '\0');
    auto* data = reinterpret_cast<uchar*>(file.data());
    data[0] = 'B';
    data[1] = 'M';
    qToLittleEndian<quint32>(quint32(pixelOffset + pixels.size()), data + 2);
    qToLittleEndian<quint32>(quint32(pixelOffset), data + 10);
    uchar* info = data + FileHeaderSize;
    qToLittleEndian<quint32>(InfoHeaderSize, info);
    qToLittleEndian<qint32>(width, info + 4);
    qToLittleEndian<qint32>(height, info + 8); // positive: bottom-up, which RLE requires
    qToLittleEndian<quint16>(1, info + 12);
    qToLittleEndian<quint16>(8, info + 14);
    qToLittleEndian<quint32>(BiRle8, info + 16);
    qToLittleEndian<quint32>(quint32(pixels.size()), info + 20);
    qToLittleEndian<qint32>(image.dotsPerMeterX(), info + 24);
    qToLittleEndian<qint32>(image.dotsPerMeterY(), info + 28);
    qToLittleEndian<quint32>(quint32(colours.size()), info + 32);
    qToLittleEndian<quint32>(0, info + 36);
    uchar* palette = info + InfoHeaderSize;
    for (const QRgb colour : colours) {
        palette[0] = uchar(qBlue(colour));
        palette[1] = uchar(qGreen(colour));
        palette[2] = uchar(qRed(colour));
        palette[3] = 0;
        palette += 4;
    }
    return file + pixels;
}
