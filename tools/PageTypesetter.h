#pragma once
// Typesets one page of the Mushaf into the reader's page picture and the geometry that the
// reader's hit test and highlight read from the database.
//
// The picture is 462 x 690, 8 bits per pixel, grey palette (index = grey level), dark ink on
// a white page. It has fifteen line bands of 46 rows; line i owns rows 46(i-1) to 46i
// (line 15 ends at row 689), the bounds the reader uses when it has no Lines row. Ink of
// line i stays strictly inside, in rows 46(i-1)+1 to 46i-1, so the row two neighbouring
// bands share is always blank: the highlight, which paints a band with both ends included,
// then never catches ink of the next line, and the hit test, which takes the end row as the
// next line's, never misses ink of this one. Everything drawn besides the text (frames,
// ornaments) is lighter than 130 in every channel, the level from which the highlight paints.

#include "content/PageGeometry.h"
#include "tools/QuranSources.h"

#include <QImage>
#include <vector>

struct AyehPlacement {
    int Soureh = 0;
    int Ayeh = 0;
    int StartLine = 0;
    int StartCol = 0; // right end of the ayeh's first glyph
    int EndLine = 0;
    int EndCol = 0; // left end of its last glyph, the end-of-ayeh sign included
};

struct LineBand {
    int LineId = 0;
    int StartRow = 0;
    int EndRow = 0;
};

struct TypesetPage {
    int PageId = 0;
    QImage Picture;                   // QImage::Format_Indexed8
    double FontSize = 0;              // pixels per em
    std::vector<AyehPlacement> Ayehs; // in reading order
    std::vector<LineBand> Lines;      // every band the page uses
};

class PageTypesetter final {
public:
    // Font sizes, in pixels per em, between which a page's size is chosen.
    static constexpr double SmallestFontSize = 12.0;
    static constexpr double LargestFontSize = 18.0;

    // Loads the Amiri Quran font. Throws ToolError when it is not installed.
    explicit PageTypesetter(const QuranSources& sources);

    // Lays out the page's ayehs at the largest size that fits its lines and draws them.
    // Safe to call from several threads at once. Throws ToolError when even the smallest
    // size does not fit.
    TypesetPage Typeset(int pageId) const;

    static QString FontPath();

private:
    const QuranSources& Sources;
    QString Family;
};
