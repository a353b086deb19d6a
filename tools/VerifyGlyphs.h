#pragma once
// The checks of quran.dat's typeset glyphs that `golvar-content verify` runs: every printed
// item of a page placed once, as and where the print has it, with glyphs for each of its
// characters, and the glyphs drawn at the picture's size giving the picture's ink.

#include <QImage>
#include <QString>
#include <memory>

class Findings;
class PrintedMushaf;

// The least share of ink the glyphs and a page picture must have in common: intersection
// over union of their dark pixels.
inline constexpr double LeastInkAgreement = 0.97;

class GlyphChecks final {
public:
    // Opens the glyph tables and fonts of the file at `path`. Content without the tables gets
    // a note, and the checks are left out; fonts that cannot be loaded are a fault, and the
    // ink is then not compared.
    GlyphChecks(const QString& path, Findings& findings);
    ~GlyphChecks();
    GlyphChecks(const GlyphChecks&) = delete;
    GlyphChecks& operator=(const GlyphChecks&) = delete;

    // `picture` is the page's picture as stored (8 bits per pixel), null when it has faults of
    // its own. With `print`, each item must stand on its printed line.
    void CheckPage(int pageId, const QImage& picture, const PrintedMushaf* print);
    // Notes the least ink agreement found.
    void Close();

    struct State;

private:
    Findings& Report;
    std::unique_ptr<State> D;
};
