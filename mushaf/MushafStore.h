#pragma once
// The typeset glyphs in quran.dat, read through the content layer. build-text writes two
// tables beside the reader's own:
//
//   MushafFont  (FontID INTEGER, FileName TEXT, Sha256 TEXT, PixelSize REAL, Format INTEGER):
//               the fonts the book was set in, FontID 0 its own and the others those a
//               character it lacks was taken from; each file's name and the SHA-256 of the
//               file (lower-case hex), the size the glyphs were shaped at in page pixels per
//               em, and the glyph blobs' format.
//   MushafWords (PageID, Position, LineID, Kind, SourehID, AyehID, WordID, CharStart,
//               CharEnd, Text, Glyphs): one row per printed item in reading order
//               (Position from 1 on each page); the columns are the fields of MushafWord,
//               Glyphs the blob below.
//
// Content made before these tables existed has neither; the view then shows the pictures.

#include "content/Database.h"
#include "mushaf/MushafPage.h"

#include <QByteArray>
#include <QString>
#include <vector>

// The glyph blob's layout: little-endian, the item's Left and Right, then per glyph its font
// (8 bits), its id, x and y and its character range (8 bits each). Lengths are 16 bits in
// 64ths of a pixel, the precision the shaper places glyphs at; the page fits in them.
inline constexpr int MushafGlyphFormat = 1;

// Throws MushafError when a value does not fit the blob.
QByteArray EncodeGlyphs(const MushafWord& word);
// Fills the word's Left, Right and Glyphs. Throws MushafError when the blob is damaged.
void DecodeGlyphs(const QByteArray& blob, MushafWord& word);

struct MushafFontInfo {
    QString FileName; // e.g. "AmiriQuran.ttf"
    QString Sha256;   // of the whole file, lower-case hex
    double PixelSize = 0;
};

class MushafStore final {
public:
    // Whether the content has the glyph tables at all. Throws ContentError.
    static bool HasGlyphs(const Connection& quran);

    // Reads the fonts. Borrows the connection, which must outlive the store. Throws
    // MushafError when the tables are missing or name fonts that this library cannot draw
    // with.
    explicit MushafStore(const Connection& quran);

    // By FontID, from 0.
    const std::vector<MushafFontInfo>& Fonts() const { return FontList; }
    // A page's items; a page without rows gives an empty page. Throws MushafError for a
    // damaged row, ContentError for the engine's failures.
    MushafPage Page(int pageId) const;

private:
    const Connection& Quran;
    std::vector<MushafFontInfo> FontList;
};
