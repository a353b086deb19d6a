#include "tests/mushafview/ViewFixture.h"

#include "content/PageGeometry.h"
#include "mushaf/MushafStore.h"
#include "tests/mushaf/MushafTestPage.h"
#include "tests/support/FixtureBook.h"

#include <QFileInfo>
#include <QStringList>

namespace {

constexpr int GlyphPage = 2;
const AyehKey PageAyehs[] = {{2, 1}, {2, 2}, {2, 3}};

// One item of the page: its glyphs one per character of text, from x leftwards.
MushafWord Typeset(const QRawFont& font, MushafItemKind kind, int line, AyehKey ayeh, int number,
                   const QString& text, int charStart, double& x) {
    MushafWord word;
    word.Kind = kind;
    word.Line = line;
    word.Soureh = ayeh.Soureh;
    word.Ayeh = ayeh.Ayeh;
    word.Number = number;
    word.CharStart = charStart;
    word.CharEnd = kind == MushafItemKind::Word ? charStart + int(text.size()) : charStart;
    word.Text = text;
    word.Right = x;
    for (int i = 0; i < int(text.size()); ++i) {
        const quint32 id = font.glyphIndexesForString(text.mid(i, 1)).value(0);
        x -= font.advancesForGlyphIndexes({id}).value(0).x();
        word.Glyphs.push_back({0, quint16(id), QPointF(x, DefaultStartRow(line) + 32), i, i + 1});
    }
    word.Left = x;
    x -= 12;
    return word;
}

} // namespace

QString ViewFixture::ArabicText(AyehKey ayeh) {
    switch (ayeh.Ayeh) {
    case 1:
        return QStringLiteral("ٱلْحَمْدُ لِلَّهِ");
    case 2:
        return QStringLiteral("مِن رَّبِّهِمْ");
    default:
        return QStringLiteral("قُلْ هُوَ");
    }
}

bool HasBookFont() {
    return QFileInfo::exists(InstalledMushafFontPath());
}

ViewFixture::ViewFixture(bool glyphs) {
    FixtureBook::Create(Dir.path(), [glyphs](FixtureDatabase& quran, FixtureDatabase&) {
        CreateAyehTextTable(quran);
        for (const AyehKey ayeh : PageAyehs)
            quran.Insert("AyehText",
                         {{"SourehID", ayeh.Soureh}, {"AyehID", ayeh.Ayeh}, {"Text", ArabicText(ayeh)}});
        if (!glyphs)
            return;
        CreateMushafTables(quran);
        const MushafFontInfo info = BookFontInfo();
        quran.Insert("MushafFont", {{"FontID", 0},
                                    {"FileName", info.FileName},
                                    {"Sha256", info.Sha256},
                                    {"PixelSize", QString::number(info.PixelSize)},
                                    {"Format", MushafGlyphFormat}});
        const std::optional<MushafFonts> fonts = BookFont();
        const QRawFont& font = fonts->Raw(0);
        std::vector<MushafWord> items;
        double x = PageTextLeft + PageTextWidth;
        items.push_back(
            Typeset(font, MushafItemKind::SourehTitle, 1, {2, 0}, 0, QStringLiteral("سورة البقرة"), 0, x));
        int line = 2;
        for (const AyehKey ayeh : PageAyehs) {
            x = PageTextLeft + PageTextWidth;
            const QString text = ArabicText(ayeh);
            int start = 0;
            int number = 0;
            for (const QString& word : text.split(u' ')) {
                items.push_back(Typeset(font, MushafItemKind::Word, line, ayeh, ++number, word, start, x));
                start += int(word.size()) + 1;
            }
            items.push_back(Typeset(font, MushafItemKind::AyehEnd, line, ayeh, ++number,
                                    QStringLiteral("\u06dd") + QChar(0x0660 + ayeh.Ayeh), int(text.size()),
                                    x));
            ++line;
        }
        int position = 0;
        for (const MushafWord& item : items)
            quran.Insert("MushafWords", {{"PageID", GlyphPage},
                                         {"Position", ++position},
                                         {"LineID", item.Line},
                                         {"Kind", int(item.Kind)},
                                         {"SourehID", item.Soureh},
                                         {"AyehID", item.Ayeh},
                                         {"WordID", item.Number},
                                         {"CharStart", item.CharStart},
                                         {"CharEnd", item.CharEnd},
                                         {"Text", item.Text},
                                         {"Glyphs", EncodeGlyphs(item)}});
    });
    Open = std::make_unique<Connection>(
        FixtureConnectionString(Dir.filePath(QStringLiteral("quran.dat")), QuranKey));
}
