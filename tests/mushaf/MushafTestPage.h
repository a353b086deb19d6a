#pragma once
// A small page set in the book's font for the tests of the painter and the hit test: each
// word's letters as their glyphs, unshaped, right to left on its line's baseline.

#include "mushaf/MushafFont.h"
#include "mushaf/MushafPage.h"

#include <optional>

// The book's font as build-text names it; none when it is not installed.
MushafFontInfo BookFontInfo();
std::optional<MushafFonts> BookFont();

// Line 1: the title of soureh 2. Line 2: ayeh 2:1 (two words and its end sign), then the
// first word of 2:2. Line 3: the rest of 2:2 (one word and its end sign), a short line that
// ends well before the left edge.
MushafPage TestPage(const QRawFont& font);

// Where an item of the test page is.
const MushafWord& Item(const MushafPage& page, WordKey key);
