#include "mushaf/MushafStore.h"

#include "content/MushafCounts.h"
#include "content/PageGeometry.h"

#include <QtEndian>
#include <cmath>

namespace {

constexpr qsizetype HeaderBytes = 4;
constexpr qsizetype GlyphBytes = 9;
constexpr double Units = 64; // per pixel

void PutLength(char*& at, double value) {
    const double units = std::round(value * Units);
    if (!(units >= 0 && units <= 0xffff))
        throw MushafError("a glyph at " + std::to_string(value) + " lies outside the page");
    qToLittleEndian(quint16(units), at);
    at += 2;
}

double TakeLength(const char*& at) {
    const double value = qFromLittleEndian<quint16>(at) / Units;
    at += 2;
    return value;
}

QString ItemName(int pageId, const MushafWord& word) {
    return QStringLiteral("page %1, line %2, %3:%4 word %5")
        .arg(pageId)
        .arg(word.Line)
        .arg(word.Soureh)
        .arg(word.Ayeh)
        .arg(word.Number);
}

} // namespace

QByteArray EncodeGlyphs(const MushafWord& word) {
    QByteArray blob(HeaderBytes + GlyphBytes * qsizetype(word.Glyphs.size()), Qt::Uninitialized);
    char* at = blob.data();
    PutLength(at, word.Left);
    PutLength(at, word.Right);
    for (const MushafGlyph& glyph : word.Glyphs) {
        if (glyph.CharStart < 0 || glyph.CharEnd > 255 || glyph.CharStart > glyph.CharEnd || glyph.Font < 0 ||
            glyph.Font > 255)
            throw MushafError("a glyph of font " + std::to_string(glyph.Font) + " from characters " +
                              std::to_string(glyph.CharStart) + ".." + std::to_string(glyph.CharEnd) +
                              " cannot be stored");
        *at++ = char(glyph.Font);
        qToLittleEndian(glyph.Id, at);
        at += 2;
        PutLength(at, glyph.Position.x());
        PutLength(at, glyph.Position.y());
        *at++ = char(glyph.CharStart);
        *at++ = char(glyph.CharEnd);
    }
    return blob;
}

void DecodeGlyphs(const QByteArray& blob, MushafWord& word) {
    if (blob.size() < HeaderBytes || (blob.size() - HeaderBytes) % GlyphBytes != 0)
        throw MushafError("a glyph blob of " + std::to_string(blob.size()) + " bytes is damaged");
    const char* at = blob.constData();
    word.Left = TakeLength(at);
    word.Right = TakeLength(at);
    word.Glyphs.resize(size_t((blob.size() - HeaderBytes) / GlyphBytes));
    for (MushafGlyph& glyph : word.Glyphs) {
        glyph.Font = static_cast<unsigned char>(*at++);
        glyph.Id = qFromLittleEndian<quint16>(at);
        at += 2;
        const double x = TakeLength(at);
        glyph.Position = QPointF(x, TakeLength(at));
        glyph.CharStart = static_cast<unsigned char>(*at++);
        glyph.CharEnd = static_cast<unsigned char>(*at++);
    }
}

bool MushafStore::HasGlyphs(const Connection& quran) {
    ResultSet tables(quran, Statements::MushafTables());
    return tables.FieldByName("Tables").AsInteger() == 2;
}

MushafStore::MushafStore(const Connection& quran) : Quran(quran) {
    if (!HasGlyphs(quran))
        throw MushafError("quran.dat has no typeset glyphs: it was made by an older golvar-content; "
                          "build it again with golvar-content build-text");
    ResultSet fonts(quran, Statements::MushafFont());
    for (fonts.First(); !fonts.Eof(); fonts.Next()) {
        if (const int format = fonts.FieldByName("Format").AsInteger(); format != MushafGlyphFormat)
            throw MushafError("quran.dat stores its glyphs in format " + std::to_string(format) +
                              ", which this reader cannot draw (it draws format " +
                              std::to_string(MushafGlyphFormat) + ")");
        MushafFontInfo info;
        info.FileName = fonts.FieldByName("FileName").AsString();
        info.Sha256 = fonts.FieldByName("Sha256").AsString();
        bool number = false;
        info.PixelSize = fonts.FieldByName("PixelSize").AsString().toDouble(&number);
        if (fonts.FieldByName("FontID").AsInteger() != int(FontList.size()) || !number ||
            info.PixelSize <= 0 || info.FileName.isEmpty())
            throw MushafError("quran.dat names the fonts of its glyphs wrongly");
        FontList.push_back(std::move(info));
    }
    if (FontList.empty())
        throw MushafError("quran.dat names no font for its glyphs");
}

MushafPage MushafStore::Page(int pageId) const {
    ResultSet rows(Quran, Statements::MushafWords(pageId));
    std::vector<MushafWord> words;
    words.reserve(size_t(rows.RecordCount()));
    for (rows.First(); !rows.Eof(); rows.Next()) {
        MushafWord word;
        word.Line = rows.FieldByName("LineID").AsInteger();
        const int kind = rows.FieldByName("Kind").AsInteger();
        word.Kind = MushafItemKind(kind);
        word.Soureh = rows.FieldByName("SourehID").AsInteger();
        word.Ayeh = rows.FieldByName("AyehID").AsInteger();
        word.Number = rows.FieldByName("WordID").AsInteger();
        word.CharStart = rows.FieldByName("CharStart").AsInteger();
        word.CharEnd = rows.FieldByName("CharEnd").AsInteger();
        word.Text = rows.FieldByName("Text").AsString();
        if (kind < int(MushafItemKind::Word) || kind > int(MushafItemKind::Bismillah) || word.Line < 1 ||
            word.Line > LinesPerPage || word.Soureh < 1 || word.Soureh > SourehCount)
            throw MushafError(ItemName(pageId, word).toStdString() + ": a glyph row out of range (kind " +
                              std::to_string(kind) + ")");
        try {
            DecodeGlyphs(rows.FieldByName("Glyphs").AsBytes(), word);
        } catch (const MushafError& error) {
            throw MushafError(ItemName(pageId, word).toStdString() + ": " + error.what());
        }
        for (const MushafGlyph& glyph : word.Glyphs) {
            if (glyph.Font >= int(FontList.size()))
                throw MushafError(ItemName(pageId, word).toStdString() + ": a glyph of font " +
                                  std::to_string(glyph.Font) + ", which quran.dat does not name");
        }
        words.push_back(std::move(word));
    }
    return MushafPage(pageId, std::move(words));
}
