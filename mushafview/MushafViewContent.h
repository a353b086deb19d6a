#pragma once
// What the Mushaf view reads from quran.dat: each page's typeset glyphs (or, for content made
// before the glyph tables existed, its picture), the juz and soureh its margins name, and each
// ayeh's translation, Arabic text and tajweed spans. No widgets.

#include "mushaf/MushafFont.h"
#include "mushaf/MushafPage.h"
#include "mushaf/MushafStore.h"
#include "tajweed/TajweedRules.h"

#include <QColor>
#include <QImage>
#include <QString>
#include <map>
#include <memory>
#include <optional>
#include <vector>

class Connection;

// One page as the view shows it.
struct MushafViewPage {
    int PageID = 0;
    MushafPage Glyphs; // empty when the view shows pictures
    QImage Picture;    // only when the view shows pictures; null for a page the content lacks
    int Juz = 0;       // 0 when the content does not say
    int Soureh = 0;    // the soureh the page starts in; 0 for a page without ayehs
};

class TMushafViewContent final {
public:
    // Borrows quran, which must outlive this object. Reads the fonts, the sourehs' names and
    // every ayeh's translation and text once. Content without the glyph tables, or whose
    // fonts cannot be loaded, is shown as pictures, and Note() says why. Throws ContentError
    // when the content cannot be read.
    explicit TMushafViewContent(const Connection& quran);
    ~TMushafViewContent();

    bool DrawsGlyphs() const { return Fonts.has_value(); }
    // A one-line Persian note for the reader when the view shows pictures; empty otherwise.
    const QString& Note() const { return PictureNote; }
    // Only while DrawsGlyphs().
    const MushafFonts& GlyphFonts() const { return *Fonts; }

    // Reads a page. Throws ContentError or MushafError for damaged content.
    MushafViewPage Page(int pageId) const;

    QString SourehName(int soureh) const;
    QString Translation(AyehKey ayeh) const;
    // The ayeh's text as the print sets it; empty where the content has none.
    QString ArabicText(AyehKey ayeh) const;
    // The tajweed colour of an ayeh's characters [start, end), in code points of its text:
    // the colour of the first rule span that meets them; none outside every span.
    std::optional<QColor> TajweedColour(AyehKey ayeh, int start, int end) const;

private:
    struct AyehTexts {
        QString Translation;
        QString Text;
    };
    const AyehTexts* Find(AyehKey ayeh) const;

    const Connection& Quran;
    std::unique_ptr<MushafStore> Store;
    std::optional<MushafFonts> Fonts;
    QString PictureNote;
    std::vector<QString> SourehNames; // by soureh - 1
    std::map<AyehKey, AyehTexts> Ayehs;
    mutable std::map<AyehKey, std::vector<TajweedSpan>> Spans; // computed at first use
};
