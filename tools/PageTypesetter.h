#pragma once
// Typesets one page of the Mushaf, line for line as printed, into the reader's page picture
// and the geometry that the reader's hit test and highlight read from the database.
//
// The picture is 462 x 690, 8 bits per pixel, grey palette (index = grey level), dark ink on
// a white page. It has fifteen line bands of 46 rows; line i owns rows 46(i-1) to 46i
// (line 15 ends at row 689), the bounds the reader uses when it has no Lines row. Ink of
// line i stays strictly inside, in rows 46(i-1)+1 to 46i-1 (to 687 on line 15), so the row
// two neighbouring bands share is always blank: the highlight, which paints a band with both
// ends included, then never catches ink of the next line, and the hit test, which takes the
// end row as the next line's, never misses ink of this one. Everything drawn besides the text
// (frames, ornaments) is lighter than 130 in every channel, the level from which the
// highlight paints.
//
// Every printed line gets a band of its own, at one type size for the whole book: the largest
// at which every line of the print fits the text width and its band. Ayeh lines are
// justified to the text width, the short ones centred.

#include "content/PageGeometry.h"
#include "mushaf/MushafPage.h"
#include "tools/PrintedMushaf.h"

#include <QImage>
#include <QRawFont>
#include <map>
#include <mutex>
#include <vector>

// An ayeh line whose natural width at the book's size is below this share of the text width
// is centred instead of justified (the lines of pages 1 and 2 are centred whatever their
// width). Chosen by looking at the pages: the lines below it are the last lines of the final
// sourehs, two to four words that stretched to the full width would stand a hand's breadth
// apart; the narrowest lines inside a soureh start at about 0.39 and, justified as in print
// with kashidas and wider spaces, still read as one line of text.
inline constexpr double CentreBelowShare = 0.37;

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
    std::vector<MushafWord> Words;    // every printed item with its glyphs, in reading order
    double GlyphSize = 0;             // the pixels per em the glyphs were shaped at
    std::vector<QString> FontFiles;   // what the glyphs' Font indexes name, the book's font first
};

class PageTypesetter final {
public:
    // Loads the Amiri Quran font and measures every printed line for the book's type size.
    // Throws ToolError when the font is not installed or a line cannot fit at any size.
    explicit PageTypesetter(const PrintedMushaf& print);

    // Sets the page's printed lines, draws them and keeps where each item's glyphs went.
    // Safe to call from several threads at once. Throws ToolError when a line's ink does not
    // fit its band.
    TypesetPage Typeset(int pageId) const;

    // The book's type size, in pixels per em.
    double FontSize() const { return Size; }

    static QString FontPath();

private:
    // The file of a font Qt fell back to, found once for all pages.
    QString FallbackFile(const QRawFont& font) const;

    const PrintedMushaf& Print;
    QString Family;
    double Size = 0;
    mutable std::mutex FallbackMutex;
    mutable std::map<QString, QString> FallbackFiles;
};
