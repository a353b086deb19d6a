#pragma once
// One page of the book: its picture, its line bands, its reading positions and the hit test
// that finds the ayeh at a point.

#include "content/Database.h"
#include "content/PageGeometry.h"
#include "model/Display.h"

#include <QImage>
#include <QString>
#include <memory>
#include <stdexcept>

// Failures of the reading model itself: a page picture that cannot be decoded, a pixel row
// asked for outside the picture.
class ModelError : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

class TQuran;

// Decodes a Pages.PageBMP blob, framed or not, into the page picture at its stored size,
// format and palette; an empty blob gives a null picture. Throws ModelError("Bitmap image is
// not valid") for anything but a whole Windows bitmap, one cut short included.
QImage DecodePagePicture(const QByteArray& blob);
// Converts picture in place to 24 bits per pixel, blue, green, red in each row.
void ConvertPagePictureTo24Bits(QImage& picture);

// One page: its picture, its line bands and the ayehs on it.
class TQuranPage final {
public:
    // A page the database does not hold still yields an object, with an empty bitmap.
    // Throws ModelError("Bitmap image is not valid") for a picture that is no Windows bitmap.
    TQuranPage(TQuran* quran, int pageId);
    ~TQuranPage();
    TQuranPage(const TQuranPage&) = delete;
    TQuranPage& operator=(const TQuranPage&) = delete;

    int FirstSourehID = 0;
    int FirstAyehID = 0;
    std::unique_ptr<ResultSet> AyehQuery;
    std::unique_ptr<ResultSet> LinesQuery;
    int PageID = 0;
    TQuran* Quran = nullptr;

    // The page picture: stored size, format and palette until ConvertTo24Bits.
    const QImage& Bitmap() const { return Picture; }
    int Width() const { return Picture.width(); }
    int Height() const { return Picture.height(); }
    // Converts the picture in place to 24 bits per pixel, blue, green, red in each row.
    void ConvertTo24Bits();
    // Pixel row y; throws ModelError("Scan line index out of range") outside the picture.
    const uchar* ScanLine(int y) const;

    int PositionOf(int line, int x) const;
    // The line whose half-open band [StartRow, EndRow) holds row y, or 0.
    int LineAt(int y);
    // Bounds from the page's Lines row, else DefaultLineRows; a line outside 1 to 15 without
    // a row is an empty band (end before start) just above or below the picture.
    int StartRow(int line);
    int EndRow(int line);
    bool HasAyehAt(int y, int x);
    // Reports the ayeh at (y, x); where there is none, 0, 0 and an empty text.
    void GetAyehAt(int y, int x, int& sourehId, int& ayehId, QString& translation);
    void Show();

private:
    void ApplyFilter(int position);
    void OpenAyehQuery();
    void OpenLinesQuery();
    void LoadFirstAyeh();

    QImage Picture;
};
