#include "tools/VerifyGlyphs.h"

#include "content/ContentKeys.h"
#include "content/Database.h"
#include "content/PageGeometry.h"
#include "mushaf/MushafPainter.h"
#include "mushaf/MushafStore.h"
#include "tools/PrintedMushaf.h"
#include "tools/VerifyFindings.h"

#include <QDir>
#include <QImage>
#include <QPainter>
#include <map>
#include <optional>

namespace {

// What an item is known by on its page: its kind and its place in the text.
struct ItemKey {
    MushafItemKind Kind;
    int Soureh, Ayeh, Number;
    // NOLINTNEXTLINE(modernize-use-nullptr): a false finding on a defaulted comparison
    auto operator<=>(const ItemKey&) const = default;
};

ItemKey KeyOf(const MushafWord& word) {
    return {word.Kind, word.Soureh, word.Ayeh, word.Number};
}

QString Name(const ItemKey& key) {
    switch (key.Kind) {
    case MushafItemKind::SourehTitle:
        return QStringLiteral("the title of soureh %1").arg(key.Soureh);
    case MushafItemKind::Bismillah:
        return QStringLiteral("the Bismillah of soureh %1").arg(key.Soureh);
    case MushafItemKind::AyehEnd:
        return QStringLiteral("the end sign of ayeh %1:%2").arg(key.Soureh).arg(key.Ayeh);
    case MushafItemKind::Word:
        break;
    }
    return QStringLiteral("word %3 of ayeh %1:%2").arg(key.Soureh).arg(key.Ayeh).arg(key.Number);
}

// An item as the page should hold it.
struct Expected {
    ItemKey Key;
    QString Text; // empty where it is not known
    int CharStart = 0;
    int CharEnd = 0;
    int Line = 0; // 0 where it is not known
};

// The words of an ayeh's text with where each lies in code points: runs of characters
// between spaces.
std::vector<Expected> WordsOfAyeh(int soureh, int ayeh, const QString& text) {
    std::vector<Expected> words;
    const QList<uint> points = text.toUcs4();
    int start = -1;
    for (int i = 0; i <= int(points.size()); ++i) {
        const bool space = i == int(points.size()) || points[i] == ' ' || points[i] == 0xa0;
        if (!space && start < 0)
            start = i;
        if (space && start >= 0) {
            const QList<uint> word = points.mid(start, i - start);
            words.push_back(
                {{MushafItemKind::Word, soureh, ayeh, int(words.size()) + 1},
                 QString::fromUcs4(reinterpret_cast<const char32_t*>(word.constData()), word.size()),
                 start,
                 i,
                 0});
            start = -1;
        }
    }
    const int length = int(points.size());
    words.push_back(
        {{MushafItemKind::AyehEnd, soureh, ayeh, int(words.size()) + 1}, QString(), length, length, 0});
    return words;
}

// The line of each item in the print, and the title and Bismillah lines' text.
void AddPrintedLines(const PrintedMushaf& print, int pageId, std::vector<Expected>& expected) {
    std::map<ItemKey, std::pair<int, QString>> printed;
    std::map<std::pair<int, int>, int> numbers;
    const std::vector<PrintedLine>& lines = print.Page(pageId);
    for (size_t index = 0; index < lines.size(); ++index) {
        const PrintedLine& line = lines[index];
        const int band = PrintedMushaf::BandOf(int(lines.size()), int(index));
        if (line.Type != PrintedLine::Kind::Text) {
            const MushafItemKind kind = line.Type == PrintedLine::Kind::Title ? MushafItemKind::SourehTitle
                                                                              : MushafItemKind::Bismillah;
            printed[{kind, line.Soureh, 0, 0}] = {band, line.Text};
            continue;
        }
        for (const PrintedPiece& piece : line.Pieces) {
            int& number = numbers[{piece.Soureh, piece.Ayeh}];
            for (qsizetype w = 0; w < PrintedMushaf::WordsOf(piece.Text).size(); ++w)
                printed[{MushafItemKind::Word, piece.Soureh, piece.Ayeh, ++number}] = {band, QString()};
            if (piece.EndsAyeh)
                printed[{MushafItemKind::AyehEnd, piece.Soureh, piece.Ayeh, ++number}] = {band, QString()};
        }
    }
    for (Expected& item : expected) {
        if (const auto found = printed.find(item.Key); found != printed.end()) {
            item.Line = found->second.first;
            if (!found->second.second.isEmpty())
                item.Text = found->second.second;
        }
    }
}

// Dark as the reader's highlight sees it: every channel below its level.
bool Dark(QRgb pixel) {
    return qRed(pixel) < HighlightLevel && qGreen(pixel) < HighlightLevel && qBlue(pixel) < HighlightLevel;
}

// `picture` has 8 bits per pixel, `drawn` 32.
double InkAgreement(const QImage& picture, const QImage& drawn) {
    bool darkIndex[256] = {};
    for (int i = 0; i < picture.colorCount() && i < 256; ++i)
        darkIndex[i] = Dark(picture.color(i));
    qint64 both = 0;
    qint64 either = 0;
    for (int y = 0; y < PagePictureHeight; ++y) {
        const auto* row = reinterpret_cast<const QRgb*>(drawn.constScanLine(y));
        const uchar* index = picture.constScanLine(y);
        for (int x = 0; x < PagePictureWidth; ++x) {
            const bool a = darkIndex[index[x]];
            const bool b = Dark(row[x]);
            both += a && b ? 1 : 0;
            either += a || b ? 1 : 0;
        }
    }
    return either == 0 ? 1.0 : double(both) / double(either);
}

std::string ReadOnlyConnectionString(const QString& path) {
    QString quoted = path;
    quoted.replace(QLatin1Char('"'), QStringLiteral("\"\""));
    return "Provider=Microsoft.Jet.OLEDB.4.0;Data Source=\"" + quoted.toStdString() +
           "\";Mode=Read;Jet OLEDB:Database Password=" + QuranDatabaseKey;
}

} // namespace

struct GlyphChecks::State {
    std::unique_ptr<Connection> Quran;
    std::unique_ptr<MushafStore> Store;
    std::optional<MushafFonts> Fonts;
    double LeastAgreement = 2;
    int LeastPage = 0;
};

GlyphChecks::GlyphChecks(const QString& path, Findings& findings)
    : Report(findings), D(std::make_unique<State>()) {
    try {
        D->Quran = std::make_unique<Connection>(ReadOnlyConnectionString(path));
        if (!MushafStore::HasGlyphs(*D->Quran)) {
            Report.Note(
                QStringLiteral("%1 has no typeset glyphs (it was made by an older golvar-content), so "
                               "they are not checked; the Mushaf view shows the page pictures")
                    .arg(QDir::toNativeSeparators(path)));
            D->Quran.reset();
            return;
        }
        D->Store = std::make_unique<MushafStore>(*D->Quran);
    } catch (const std::exception& error) {
        Report.Fault(
            QStringLiteral("glyphs"),
            QStringLiteral("the typeset glyphs cannot be read: %1").arg(QString::fromUtf8(error.what())));
        D->Store.reset();
        return;
    }
    try {
        D->Fonts = MushafFonts::Load(D->Store->Fonts());
    } catch (const MushafError& error) {
        Report.Fault(QStringLiteral("glyph fonts"),
                     QStringLiteral("the glyphs cannot be drawn to compare with the "
                                    "pictures: %1")
                         .arg(QString::fromUtf8(error.what())));
    }
}

GlyphChecks::~GlyphChecks() = default;

void GlyphChecks::CheckPage(int pageId, const QImage& picture, const PrintedMushaf* print) {
    if (!D->Store)
        return;
    const QString page = QStringLiteral("page %1").arg(pageId);
    MushafPage glyphs;
    std::vector<Expected> expected;
    try {
        glyphs = D->Store->Page(pageId);
        ResultSet sourehs(*D->Quran, "SELECT SourehID FROM Soureh WHERE PageID = " + std::to_string(pageId) +
                                         " ORDER BY SourehID");
        std::vector<int> opening;
        for (sourehs.First(); !sourehs.Eof(); sourehs.Next())
            opening.push_back(sourehs.FieldByName("SourehID").AsInteger());
        ResultSet ayehs(*D->Quran, "SELECT a.SourehID, a.AyehID, t.Text FROM Ayeh a LEFT JOIN AyehText t "
                                   "ON t.SourehID = a.SourehID AND t.AyehID = a.AyehID WHERE a.PageID = " +
                                       std::to_string(pageId) + " ORDER BY a.SourehID, a.AyehID");
        for (ayehs.First(); !ayehs.Eof(); ayehs.Next()) {
            const int soureh = ayehs.FieldByName("SourehID").AsInteger();
            const int ayeh = ayehs.FieldByName("AyehID").AsInteger();
            if (ayeh == 1 && std::find(opening.begin(), opening.end(), soureh) != opening.end()) {
                expected.push_back({{MushafItemKind::SourehTitle, soureh, 0, 0}, QString(), 0, 0, 0});
                if (soureh != 1 && soureh != 9)
                    expected.push_back({{MushafItemKind::Bismillah, soureh, 0, 0}, QString(), 0, 0, 0});
            }
            if (ayehs.FieldByName("Text").IsNull()) {
                Report.Fault(QStringLiteral("glyphs"),
                             QStringLiteral("%1: ayeh %2:%3 has no AyehText row to place its words by")
                                 .arg(page)
                                 .arg(soureh)
                                 .arg(ayeh));
                continue;
            }
            for (Expected& word : WordsOfAyeh(soureh, ayeh, ayehs.FieldByName("Text").AsString()))
                expected.push_back(std::move(word));
        }
    } catch (const std::exception& error) {
        Report.Fault(
            QStringLiteral("glyphs"),
            QStringLiteral("%1: the glyphs cannot be read: %2").arg(page, QString::fromUtf8(error.what())));
        return;
    }
    if (print)
        AddPrintedLines(*print, pageId, expected);

    // Every item placed once, in reading order, as and where the print has it.
    std::map<ItemKey, std::vector<const MushafWord*>> placed;
    for (const MushafWord& word : glyphs.Words())
        placed[KeyOf(word)].push_back(&word);
    std::map<ItemKey, size_t> order;
    for (const Expected& item : expected) {
        order[item.Key] = order.size();
        const auto found = placed.find(item.Key);
        const size_t count = found == placed.end() ? 0 : found->second.size();
        if (count != 1) {
            Report.Fault(QStringLiteral("word placement"),
                         QStringLiteral("%1: %2 is placed %3 times instead of once")
                             .arg(page, Name(item.Key))
                             .arg(count));
            continue;
        }
        const MushafWord& word = *found->second.front();
        if ((!item.Text.isEmpty() && word.Text != item.Text) || word.CharStart != item.CharStart ||
            word.CharEnd != item.CharEnd)
            Report.Fault(
                QStringLiteral("word text"),
                QStringLiteral("%1: %2 reads «%3» at characters %4..%5 of its ayeh, not «%6» at %7..%8")
                    .arg(page, Name(item.Key), word.Text)
                    .arg(word.CharStart)
                    .arg(word.CharEnd)
                    .arg(item.Text)
                    .arg(item.CharStart)
                    .arg(item.CharEnd));
        if (item.Line != 0 && word.Line != item.Line)
            Report.Fault(QStringLiteral("word line"),
                         QStringLiteral("%1: %2 stands on line %3, printed on line %4")
                             .arg(page, Name(item.Key))
                             .arg(word.Line)
                             .arg(item.Line));
    }
    size_t last = 0;
    for (const MushafWord& word : glyphs.Words()) {
        const auto found = order.find(KeyOf(word));
        if (found == order.end()) {
            Report.Fault(
                QStringLiteral("word placement"),
                QStringLiteral("%1: %2 is placed here but is not on this page").arg(page, Name(KeyOf(word))));
            continue;
        }
        if (found->second < last)
            Report.Fault(QStringLiteral("word order"),
                         QStringLiteral("%1: %2 comes out of reading order").arg(page, Name(KeyOf(word))));
        last = std::max(last, found->second);

        // Each character drawn by some glyph, each glyph from characters of the item.
        std::vector<bool> covered(size_t(word.Text.toUcs4().size()), false);
        bool inside = !word.Glyphs.empty();
        for (const MushafGlyph& glyph : word.Glyphs) {
            if (glyph.CharStart < 0 || glyph.CharStart >= glyph.CharEnd ||
                glyph.CharEnd > int(covered.size())) {
                inside = false;
                continue;
            }
            std::fill(covered.begin() + glyph.CharStart, covered.begin() + glyph.CharEnd, true);
        }
        if (!inside || std::find(covered.begin(), covered.end(), false) != covered.end())
            Report.Fault(QStringLiteral("glyph clusters"),
                         QStringLiteral("%1: the glyphs of %2 do not come each from its characters and cover "
                                        "them all")
                             .arg(page, Name(KeyOf(word))));
    }

    // The glyphs drawn at the picture's size give the picture's ink.
    if (!D->Fonts || picture.isNull())
        return;
    QImage drawn(PagePictureWidth, PagePictureHeight, QImage::Format_RGB32);
    {
        QPainter painter(&drawn);
        DrawMushafPage(painter, QRectF(0, 0, PagePictureWidth, PagePictureHeight), glyphs, *D->Fonts,
                       MushafStyle::Day());
    }
    const double agreement = InkAgreement(picture, drawn);
    if (agreement < D->LeastAgreement) {
        D->LeastAgreement = agreement;
        D->LeastPage = pageId;
    }
    if (agreement < LeastInkAgreement)
        Report.Fault(
            QStringLiteral("glyph ink"),
            QStringLiteral("%1: the glyphs drawn at the picture's size share %2 of their ink with the "
                           "picture (intersection over union), less than %3")
                .arg(page)
                .arg(agreement, 0, 'f', 4)
                .arg(LeastInkAgreement));
}

void GlyphChecks::Close() {
    if (D->LeastPage != 0)
        Report.Note(QStringLiteral("the glyphs share at least %1 of their ink with the pictures (page %2)")
                        .arg(D->LeastAgreement, 0, 'f', 4)
                        .arg(D->LeastPage));
}
