#pragma once
// Draws a Mushaf page from its glyphs at any size and device pixel ratio. The painter draws
// the page's paper, the soureh titles' frames and the text; the margins around the page (the
// soureh's name, the juz, the page number) are the view's.

#include "mushaf/MushafFont.h"
#include "mushaf/MushafPage.h"
#include "mushaf/TitleFrame.h"

#include <QColor>
#include <QRectF>
#include <QTransform>
#include <functional>
#include <optional>
#include <set>

class QPainter;

struct MushafStyle {
    QColor Paper;
    QColor Ink;
    QColor Current; // the current ayeh's ink
    TitleFrameColours TitleFrame;

    std::optional<AyehKey> CurrentAyeh;
    // Items left out, by key (an ayeh's end sign is the word after its last).
    std::set<WordKey> Hidden;
    // A colour of the caller's for a glyph, chosen from its item and its characters (for
    // tajweed); none leaves the glyph in the ink. The current ayeh's red wins over it.
    std::function<std::optional<QColor>(const MushafWord&, const MushafGlyph&)> GlyphColour;

    // Dark ink on white paper, as the page pictures.
    static MushafStyle Day();
    // Light ink on a dark page, with a lighter red that keeps its contrast there.
    static MushafStyle Night();
};

// Maps page pixels into `target`: the whole page, scaled to fit with its proportions kept,
// centred.
QTransform MushafPageTransform(const QRectF& target);

// Draws `page` into `target` of the painter's device (in its logical coordinates; a device
// with a device pixel ratio gets its full resolution).
void DrawMushafPage(QPainter& painter, const QRectF& target, const MushafPage& page, const MushafFonts& fonts,
                    const MushafStyle& style);
