#pragma once
// One page of the Mushaf as the typesetter placed it: every printed item of the page (the
// words of the ayehs, the ayeh-end signs, the soureh titles and the Bismillah lines) with its
// glyphs, and the hit test that maps a point of the page to a word and an ayeh.
//
// Coordinates are page pixels at the book's size: the page is PagePictureWidth x
// PagePictureHeight, the size of the page pictures, and its lines are the default bands of
// PageGeometry.h.

#include <QPointF>
#include <QRectF>
#include <QString>
#include <QtGlobal>
#include <compare>
#include <optional>
#include <stdexcept>
#include <vector>

// Every failure of the Mushaf library: damaged glyph rows, a missing or different font.
class MushafError : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

// What a printed item is. The numbers are stored in the content.
enum class MushafItemKind {
    Word = 1,        // a word of an ayeh
    AyehEnd = 2,     // the end-of-ayeh sign with the ayeh's number
    SourehTitle = 3, // a soureh's title line
    Bismillah = 4,   // the Bismillah line before a soureh (not soureh 1's, which is its ayeh 1)
};

struct AyehKey {
    int Soureh = 0;
    int Ayeh = 0;
    // NOLINTNEXTLINE(modernize-use-nullptr): a false finding on a defaulted comparison
    auto operator<=>(const AyehKey&) const = default;
};

// A word of an ayeh by its number, from 1; the ayeh's end sign follows its last word.
struct WordKey {
    int Soureh = 0;
    int Ayeh = 0;
    int Word = 0;
    // NOLINTNEXTLINE(modernize-use-nullptr): a false finding on a defaulted comparison
    auto operator<=>(const WordKey&) const = default;
};

struct MushafGlyph {
    int Font = 0;     // which of the content's fonts: 0 the book's, others where it has no glyph
    quint16 Id = 0;   // glyph index in that font
    QPointF Position; // origin on the baseline
    // The characters of the item's text the glyph comes from, in code points from the
    // text's start: a ligature spans several letters, a letter with its marks is one
    // cluster drawn by several glyphs. A kashida the typesetter drew inside a word takes
    // the characters of the letter it lengthens. A word's CharStart added to these gives
    // the characters in its ayeh's AyehText text, which the tajweed spans count in.
    int CharStart = 0;
    int CharEnd = 0;
};

struct MushafWord {
    MushafItemKind Kind = MushafItemKind::Word;
    int Line = 0; // 1 to 15
    int Soureh = 0;
    int Ayeh = 0;   // 0 for a title or a Bismillah
    int Number = 0; // the word's number in its ayeh; the end sign's is one past the last word
    // Where a word's characters lie in its ayeh's AyehText text, in code points, end
    // excluded; the end sign has the empty range at the text's end; titles and Bismillah
    // lines have 0 and 0.
    int CharStart = 0;
    int CharEnd = 0;
    QString Text;    // as printed, without the kashidas of a justified line
    double Left = 0; // the horizontal extent of the glyphs' advances
    double Right = 0;
    std::vector<MushafGlyph> Glyphs; // in the order of the text

    WordKey Key() const { return {Soureh, Ayeh, Number}; }
    bool InAyeh() const { return Kind == MushafItemKind::Word || Kind == MushafItemKind::AyehEnd; }
};

class MushafPage final {
public:
    MushafPage() = default;
    // `words` in reading order.
    MushafPage(int pageId, std::vector<MushafWord> words);

    int PageId() const { return Id; }
    const std::vector<MushafWord>& Words() const { return Items; }
    bool Empty() const { return Items.empty(); }

    // The item under a point: each line's band is covered from its first item to its last,
    // the space between two items split halfway. Null outside every item's box.
    const MushafWord* WordAt(QPointF point) const;
    // The ayeh of the item under a point; none on a title, a Bismillah line or off the text.
    std::optional<AyehKey> AyehAt(QPointF point) const;
    // The ayehs of the page in reading order.
    std::vector<AyehKey> Ayehs() const;
    // An ayeh's part of each line it takes, top to bottom; empty when it is not on the page.
    std::vector<QRectF> AyehRects(AyehKey ayeh) const;
    // The box the hit test gives an item (its band's rows, its share of the line).
    QRectF HitBox(const MushafWord& word) const;

private:
    int Id = 0;
    std::vector<MushafWord> Items;
    std::vector<QRectF> Boxes; // parallel to Items
};
