#include "tests/mushaf/MushafTestPage.h"

#include "content/PageGeometry.h"

#include <QFileInfo>
#include <gtest/gtest.h>

MushafFontInfo BookFontInfo() {
    return {QFileInfo(InstalledMushafFontPath()).fileName(), FileSha256(InstalledMushafFontPath()), 16};
}

std::optional<MushafFonts> BookFont() {
    if (!QFileInfo::exists(InstalledMushafFontPath()))
        return std::nullopt;
    return MushafFonts::Load({BookFontInfo()});
}

MushafPage TestPage(const QRawFont& font) {
    struct Entry {
        MushafItemKind Kind;
        int Line, Ayeh, Number;
        const char* Text;
    };
    const Entry entries[] = {
        {MushafItemKind::SourehTitle, 1, 0, 0, "سورة البقرة"},
        {MushafItemKind::Word, 2, 1, 1, "الم"},
        {MushafItemKind::Word, 2, 1, 2, "ذلك"},
        {MushafItemKind::AyehEnd, 2, 1, 3, "\u06dd\u0661"},
        {MushafItemKind::Word, 2, 2, 1, "الكتاب"},
        {MushafItemKind::Word, 3, 2, 2, "لا"},
        {MushafItemKind::AyehEnd, 3, 2, 3, "\u06dd\u0662"},
    };
    std::vector<MushafWord> words;
    double x = 0;
    int line = 0;
    for (const Entry& entry : entries) {
        if (entry.Line != line) {
            line = entry.Line;
            x = PageTextLeft + PageTextWidth;
        }
        MushafWord word;
        word.Kind = entry.Kind;
        word.Line = entry.Line;
        word.Soureh = 2;
        word.Ayeh = entry.Ayeh;
        word.Number = entry.Number;
        word.Text = QString::fromUtf8(entry.Text);
        word.Right = x;
        const QList<quint32> ids = font.glyphIndexesForString(word.Text);
        const QList<QPointF> advances = font.advancesForGlyphIndexes(ids);
        for (qsizetype i = 0; i < ids.size(); ++i) {
            x -= advances[i].x();
            word.Glyphs.push_back(
                {0, quint16(ids[i]), QPointF(x, DefaultStartRow(line) + 32), int(i), int(i) + 1});
        }
        word.Left = x;
        x -= 12; // the space to the next word
        words.push_back(std::move(word));
    }
    return MushafPage(1, std::move(words));
}

const MushafWord& Item(const MushafPage& page, WordKey key) {
    for (const MushafWord& word : page.Words()) {
        if (word.Key() == key)
            return word;
    }
    ADD_FAILURE() << "no item " << key.Soureh << ":" << key.Ayeh << ":" << key.Word;
    return page.Words().front();
}
