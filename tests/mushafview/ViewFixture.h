#pragma once
// Content for the Mushaf view's tests: the fixture book (pictures only), and the same book with
// page 2 set in glyphs of the book's font, each letter one glyph, unshaped, right to left: the
// title of soureh 2 on line 1, then ayehs 2:1, 2:2 and 2:3 on lines 2, 3 and 4, each followed
// by its end sign. Page 3 has no glyph rows.

#include "content/Database.h"
#include "mushaf/MushafPage.h"

#include <QString>
#include <QTemporaryDir>
#include <memory>
#include <optional>

class ViewFixture final {
public:
    // Writes the content into a folder of its own; glyphs false leaves the glyph tables out.
    explicit ViewFixture(bool glyphs);
    const Connection& Quran() const { return *Open; }

    static QString ArabicText(AyehKey ayeh);

private:
    QTemporaryDir Dir;
    std::unique_ptr<Connection> Open;
};

// Whether the book's font is installed; the glyph tests are skipped without it.
bool HasBookFont();
