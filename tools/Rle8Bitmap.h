#pragma once
// Windows bitmap files of 8 bits per pixel compressed with run-length encoding (BI_RLE8).
// The page pictures are mostly blank runs, which this encoding stores in two bytes each.

#include <QByteArray>
#include <QImage>

// The bitmap file of an 8-bit indexed image (QImage::Format_Indexed8): its colour table
// becomes the palette, rows are stored bottom-up as the format wants, and the resolution is
// the image's dots per metre. Throws ToolError for any other pixel format.
QByteArray EncodeRle8Bitmap(const QImage& image);
