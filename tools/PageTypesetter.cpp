#include "tools/PageTypesetter.h"

#include "content/MushafCounts.h"
#include "mushaf/MushafFont.h"
#include "mushaf/TitleFrame.h"
#include "tools/FontFiles.h"
#include "tools/ImportSupport.h"

#include <QFileInfo>
#include <QFont>
#include <QFontDatabase>
#include <QGlyphRun>
#include <QPainter>
#include <QRawFont>
#include <QTextLayout>
#include <QtConcurrent/QtConcurrentMap>
#include <algorithm>
#include <cmath>
#include <cstring>
#include <functional>
#include <map>
#include <memory>

namespace {

constexpr double SizeStep = 0.25;
// Lines are measured at this size; unhinted outlines scale linearly from it.
constexpr double ReferenceSize = 18.0;
// How far the ink of a line of Uthmani text with its marks usually reaches above and below
// the baseline in Amiri Quran, in ems (measured over the whole text): lines sit on a common
// baseline that centres this span in the band.
constexpr double InkAbove = 1.8;
constexpr double InkBelow = 0.55;
// Ink is what is darker than this: anti-aliasing lighter than it may be clipped at a band's
// edge without a mark losing its shape, as the highlight, which paints from the same level,
// never sees it.
constexpr int InkLevel = HighlightLevel;
// A justified line widens its word spaces by up to this much (in ems) before kashidas take
// the rest of the stretch, one place in a word and at most this many there (about 2.5 ems,
// the long strokes the print draws in its sparsest lines).
constexpr double KashidaFromSpace = 0.35;
constexpr int MostKashidasPerWord = 12;
// The title's text stays clear of the diamonds at the ends of its frame.
constexpr int TitleMargin = 34;

constexpr int PaperGrey = 255;
constexpr int InkGrey = 0;
constexpr int OuterFrameGrey = 150;
constexpr int InnerFrameGrey = 200;
constexpr int HeaderFillGrey = 238;
static_assert(OuterFrameGrey >= HighlightLevel && InnerFrameGrey >= HighlightLevel &&
                  HeaderFillGrey >= HighlightLevel,
              "decorations must stay out of the highlight's reach");

const QChar AyehEndSign(0x06DD);
const QChar Tatweel(0x0640);

QString ArabicIndicNumber(int number) {
    QString digits = QString::number(number);
    for (QChar& c : digits)
        c = QChar(0x0660 + c.digitValue());
    return digits;
}

QColor Grey(int level) {
    return QColor(level, level, level);
}

// Fonts are measured against this resolution: 72 dots per inch, so a point is a pixel.
constexpr int DotsPerMetre = 2835;

QImage NewCanvas(int width, int height) {
    QImage image(width, height, QImage::Format_ARGB32_Premultiplied);
    image.setDotsPerMeterX(DotsPerMetre);
    image.setDotsPerMeterY(DotsPerMetre);
    return image;
}

QFont PageFont(const QString& family, double size, double wordSpacing = 0) {
    QFont font(family);
    font.setPointSizeF(size);
    // Unhinted outlines scale linearly, so widths measured at one size hold at every size.
    font.setHintingPreference(QFont::PreferNoHinting);
    font.setWordSpacing(wordSpacing);
    return font;
}

// One line of right-to-left text, shaped whole; its glyphs start at x = 0.
std::unique_ptr<QTextLayout> LayOutLine(const QString& text, const QFont& font, QPaintDevice* device) {
    auto layout = std::make_unique<QTextLayout>(text, font, device);
    QTextOption option(Qt::AlignLeft | Qt::AlignAbsolute);
    option.setTextDirection(Qt::RightToLeft);
    option.setWrapMode(QTextOption::NoWrap);
    layout->setTextOption(option);
    layout->beginLayout();
    QTextLine line = layout->createLine();
    line.setLineWidth(1e6);
    line.setPosition(QPointF(0, 0));
    layout->endLayout();
    return layout;
}

double NaturalWidth(const QTextLayout& layout) {
    return layout.lineAt(0).naturalTextWidth();
}

QRectF InkBox(const QTextLayout& layout, int from, int length) {
    QRectF box;
    for (const QGlyphRun& run : layout.glyphRuns(from, length))
        box |= run.boundingRect();
    return box;
}

// The rows of a band that ink may take: all but the ones it shares with its neighbours and
// the picture's last row.
int InnerTop(int band) {
    return DefaultStartRow(band) + 1;
}
int InnerBottom(int band) {
    return std::min(DefaultEndRow(band), PagePictureHeight - 1) - 1;
}
int InnerRows(int band) {
    return InnerBottom(band) - InnerTop(band) + 1;
}

// Where a line's ink lies: rows relative to its baseline, columns relative to its layout's
// left end. Glyph boxes are too generous for this (the marks' boxes reach well beyond their
// ink, and side bearings leave a line's ink short of its advance), so the line is drawn once
// on a scratch strip and its pixels are measured.
struct Ink {
    int Top = 0;
    int Bottom = -1;
    int Left = 0;
    int Right = -1;
    int Height() const { return Bottom - Top + 1; }
    int Width() const { return Right - Left + 1; }
};

Ink MeasureInk(const QTextLayout& layout) {
    constexpr int Baseline = 2 * DefaultLineHeight;
    constexpr int Margin = 40;
    QImage strip = NewCanvas(int(NaturalWidth(layout)) + 2 * Margin, 4 * DefaultLineHeight);
    strip.fill(Qt::white);
    {
        QPainter painter(&strip);
        painter.setPen(Qt::black);
        layout.draw(&painter, QPointF(Margin, Baseline - layout.lineAt(0).ascent()));
    }
    Ink ink{strip.height(), -1, strip.width(), -1};
    // Most rows are blank; a whole-row comparison passes over them quickly.
    const QByteArray blank(int(strip.bytesPerLine()), char(0xff));
    for (int y = 0; y < strip.height(); ++y) {
        if (std::memcmp(strip.constScanLine(y), blank.constData(), size_t(blank.size())) == 0)
            continue;
        const auto* pixels = reinterpret_cast<const QRgb*>(strip.constScanLine(y));
        for (int x = 0; x < strip.width(); ++x) {
            if (qGray(pixels[x]) < InkLevel) {
                ink.Top = std::min(ink.Top, y);
                ink.Bottom = y;
                ink.Left = std::min(ink.Left, x);
                ink.Right = std::max(ink.Right, x);
            }
        }
    }
    return {ink.Top - Baseline, ink.Bottom - Baseline, ink.Left - Margin, ink.Right - Margin};
}

// The baseline of a line in its band: the common one, moved where the line's own ink would
// leave the band on one side while room is left on the other.
int BaselineFor(int band, double size, const Ink& ink) {
    const int top = InnerTop(band);
    const int bottom = InnerBottom(band);
    int baseline =
        top + int(std::lround(InkAbove * size + (InnerRows(band) - (InkAbove + InkBelow) * size) / 2));
    const int over = top - (baseline + ink.Top);
    const int under = baseline + ink.Bottom - bottom;
    if (over > 0 && under < 0)
        baseline += std::min(over, -under);
    else if (under > 0 && over < 0)
        baseline -= std::min(under, -over);
    return baseline;
}

// The bands fill the picture's height, so the frame's top and bottom take its first and last
// rows, which no ink reaches, and only its sides are doubled.
void DrawPageFrame(QPainter& painter) {
    painter.setBrush(Qt::NoBrush);
    painter.setPen(QPen(Grey(OuterFrameGrey), 1));
    painter.drawRect(QRectF(4.5, 0.5, PagePictureWidth - 9, PagePictureHeight - 1));
    painter.setPen(QPen(Grey(InnerFrameGrey), 1));
    for (const double x : {8.5, PagePictureWidth - 8.5})
        painter.drawLine(QPointF(x, 0.5), QPointF(x, PagePictureHeight - 0.5));
}

// Where a kashida may lengthen a word: before its last letter that joins the one before it,
// or after a seen or sad, where the print likes to stretch. Never inside lam-alef or the
// name of God, whose ligatures it would break. -1 when the word has no such place.
int KashidaPlace(const QString& word) {
    if (word.contains(Tatweel))
        return -1;
    const auto joinsForward = [](QChar c) {
        return c.joiningType() == QChar::Joining_Dual || c.joiningType() == QChar::Joining_Causing;
    };
    const auto joinsBack = [](QChar c) {
        return c.joiningType() == QChar::Joining_Dual || c.joiningType() == QChar::Joining_Right ||
               c.joiningType() == QChar::Joining_Causing;
    };
    const auto isAlef = [](QChar c) {
        return c == QChar(0x0627) || c == QChar(0x0623) || c == QChar(0x0625) || c == QChar(0x0622) ||
               c == QChar(0x0671);
    };
    const QChar lam(0x0644);
    const QChar heh(0x0647);
    int last = -1;
    int previous = -1; // index of the last letter seen, skipping marks
    for (int i = 0; i < word.size(); ++i) {
        const QChar c = word.at(i);
        if (c.joiningType() == QChar::Joining_Transparent)
            continue;
        if (previous >= 0) {
            const QChar before = word.at(previous);
            const bool ligature = before == lam && (isAlef(c) || c == lam || c == heh);
            if (joinsForward(before) && joinsBack(c) && !ligature) {
                const char16_t b = before.unicode();
                if (b == 0x0633 || b == 0x0634 || b == 0x0635 || b == 0x0636)
                    return i;
                last = i;
            }
        }
        previous = i;
    }
    return last;
}

// A word of an ayeh line, or an ayeh's end sign with its number: what spaces separate.
struct Word {
    QString Text;
    int Piece = 0;      // the ayeh part of the line it belongs to
    int KashidaAt = -1; // where a kashida may go in Text, -1 for nowhere
    int Kashidas = 0;
    bool EndSign = false;
};

std::vector<Word> WordsOf(const PrintedLine& line) {
    std::vector<Word> words;
    for (size_t p = 0; p < line.Pieces.size(); ++p) {
        const PrintedPiece& piece = line.Pieces[p];
        for (const QString& text : PrintedMushaf::WordsOf(piece.Text))
            words.push_back({text, int(p), KashidaPlace(text), 0});
        if (piece.EndsAyeh)
            words.push_back({AyehEndSign + ArabicIndicNumber(piece.Ayeh), int(p), -1, 0, true});
    }
    return words;
}

// A line's text with its kashidas, and the span of each ayeh part and of each word in it.
struct ComposedLine {
    QString Text;
    std::vector<std::pair<int, int>> Pieces; // From and Length
    std::vector<std::pair<int, int>> Words;  // From and Length, the kashidas included
};

ComposedLine Compose(const std::vector<Word>& words, size_t pieceCount) {
    ComposedLine line;
    line.Pieces.assign(pieceCount, {-1, 0});
    for (const Word& word : words) {
        if (!line.Text.isEmpty())
            line.Text += QLatin1Char(' ');
        auto& span = line.Pieces[size_t(word.Piece)];
        if (span.first < 0)
            span.first = int(line.Text.size());
        const int from = int(line.Text.size());
        if (word.Kashidas > 0)
            line.Text += word.Text.left(word.KashidaAt) + QString(word.Kashidas, Tatweel) +
                         word.Text.mid(word.KashidaAt);
        else
            line.Text += word.Text;
        span.second = int(line.Text.size()) - span.first;
        // An aggregate: emplace_back would need parenthesised aggregate initialisation.
        // NOLINTNEXTLINE(modernize-use-emplace)
        line.Words.push_back({from, int(line.Text.size()) - from});
    }
    return line;
}

// A line as set before any stretching: what the book's size is measured on.
QString NaturalText(const PrintedLine& line) {
    if (line.Type != PrintedLine::Kind::Text)
        return line.Text;
    return Compose(WordsOf(line), line.Pieces.size()).Text;
}

double AvailableWidth(const PrintedLine& line) {
    return line.Type == PrintedLine::Kind::Title ? PageTextWidth - 2 * TitleMargin : PageTextWidth;
}

// Stretches an ayeh line to the text width: kashidas where the word spaces would grow wide,
// then the word spaces take what is left.
std::unique_ptr<QTextLayout> Justify(std::vector<Word>& words, size_t pieceCount, double natural,
                                     const QString& family, double size, double kashidaWidth,
                                     QPaintDevice* device, ComposedLine& composed, double& spacing) {
    const int gaps = int(words.size()) - 1;
    const double budget = PageTextWidth - natural - gaps * KashidaFromSpace * size;
    std::vector<size_t> order;
    for (size_t i = 0; i < words.size(); ++i) {
        if (words[i].KashidaAt >= 0)
            order.push_back(i);
    }
    // The longest words take theirs first.
    std::stable_sort(order.begin(), order.end(),
                     [&](size_t a, size_t b) { return words[a].Text.size() > words[b].Text.size(); });
    std::vector<size_t> given;
    if (budget > 0 && !order.empty()) {
        int count = std::min(int(budget / kashidaWidth), int(order.size()) * MostKashidasPerWord);
        for (int round = 0; count > 0; ++round) {
            for (size_t i = 0; i < order.size() && count > 0; ++i, --count) {
                ++words[order[i]].Kashidas;
                given.push_back(order[i]);
            }
        }
    }
    const QFont plain = PageFont(family, size);
    std::unique_ptr<QTextLayout> layout;
    for (;;) {
        composed = Compose(words, pieceCount);
        layout = LayOutLine(composed.Text, plain, device);
        natural = NaturalWidth(*layout);
        // Kashidas can break ligatures and come out wider than measured: give back the last.
        if (natural <= PageTextWidth || given.empty())
            break;
        --words[given.back()].Kashidas;
        given.pop_back();
    }
    spacing = gaps > 0 ? (PageTextWidth - natural) / gaps : 0;
    if (spacing > 0)
        layout = LayOutLine(composed.Text, PageFont(family, size, spacing), device);
    return layout;
}

struct Portion {
    int Piece = 0;
    int TightLeft = 0;
    int TightRight = 0;
    int Left = 0;
    int Right = 0;
};

// The columns each ayeh's part of a line covers: the ink boxes of its glyphs, widened by a
// pixel on each side for anti-aliasing, split between neighbours where widening met.
void AssignColumns(std::vector<Portion>& portions) {
    for (Portion& portion : portions) {
        portion.Left = std::max(0, portion.TightLeft - 1);
        portion.Right = std::min(PagePictureWidth - 1, portion.TightRight + 1);
    }
    // Reading order runs right to left: each portion stands left of the one before it.
    for (size_t i = 1; i < portions.size(); ++i) {
        Portion& right = portions[i - 1];
        Portion& left = portions[i];
        if (left.Right >= right.Left) {
            const int boundary = (left.TightRight + right.TightLeft) / 2;
            left.Right = std::min(left.Right, boundary);
            right.Left = std::max(right.Left, boundary + 1);
        }
    }
}

QImage ToGreyIndexed(const QImage& canvas) {
    QImage picture(canvas.size(), QImage::Format_Indexed8);
    QList<QRgb> palette;
    for (int level = 0; level < 256; ++level)
        palette.append(qRgb(level, level, level));
    picture.setColorTable(palette);
    picture.setDotsPerMeterX(DotsPerMetre);
    picture.setDotsPerMeterY(DotsPerMetre);
    for (int y = 0; y < canvas.height(); ++y) {
        const auto* source = reinterpret_cast<const QRgb*>(canvas.constScanLine(y));
        uchar* target = picture.scanLine(y);
        for (int x = 0; x < canvas.width(); ++x)
            target[x] = uchar(qGray(source[x]));
    }
    return picture;
}

// One printed line as the book's size is found from it.
struct MeasuredLine {
    const PrintedLine* Line = nullptr;
    int Band = 0;
    QString Text;
    double ReferenceWidth = 0;
    int InkHeight = 0;
};

QString LineName(int page, int band) {
    return QStringLiteral("page %1, line %2").arg(page).arg(band);
}

// How many code points the first `units` UTF-16 units of `text` hold.
int CodePoints(const QString& text, qsizetype units) {
    int count = 0;
    for (qsizetype i = 0; i < units; ++i)
        count += text.at(i).isLowSurrogate() ? 0 : 1;
    return count;
}

// A printed item of a laid-out line: characters From to From + Length of the line's text,
// of which the kashidas of a justified line (Kashidas of them from KashidaAt on, counted
// from From) are not in the printed text.
struct ItemSpan {
    int From = 0;
    int Length = 0;
    int KashidaAt = 0;
    int Kashidas = 0;
};

// The index of the font a glyph run is set in, among the page's.
using FontIndex = std::function<int(const QRawFont&)>;

// Places an item's glyphs on the page and finds the characters each comes from. Qt hands out
// the glyphs of a range of characters: a character's own are its cluster's first glyph, and
// the last character of a cluster (a ligature, or a letter with its marks) has them all. So
// the characters whose glyphs overlap form one cluster, and its glyphs are theirs.
// `size` is the pixel size the glyphs were shaped at (Qt rounds the font's size to whole
// pixels): taken from the first item, and the same for every other.
void PlaceGlyphs(const QTextLayout& layout, QPointF origin, const ItemSpan& span, double& size,
                 const FontIndex& fontOf, const QString& where, MushafWord& item) {
    struct Laid {
        quint32 Id;
        QPointF Position;
    };
    const auto glyphsOf = [&layout](int from, int length) {
        std::vector<Laid> glyphs;
        for (const QGlyphRun& run : layout.glyphRuns(from, length)) {
            const QList<quint32> ids = run.glyphIndexes();
            const QList<QPointF> positions = run.positions();
            for (qsizetype i = 0; i < ids.size(); ++i)
                glyphs.push_back({ids[i], positions[i]});
        }
        return glyphs;
    };
    const std::vector<Laid> glyphs = glyphsOf(span.From, span.Length);
    const auto indexOf = [&glyphs](const Laid& glyph) {
        for (size_t i = 0; i < glyphs.size(); ++i) {
            if (glyphs[i].Id == glyph.Id && glyphs[i].Position == glyph.Position)
                return int(i);
        }
        return -1;
    };
    std::vector<int> parent(size_t(span.Length));
    for (int c = 0; c < span.Length; ++c)
        parent[size_t(c)] = c;
    const auto find = [&parent](int c) {
        while (parent[size_t(c)] != c)
            c = parent[size_t(c)] = parent[size_t(parent[size_t(c)])];
        return c;
    };
    std::vector<int> holder(glyphs.size(), -1);
    for (int c = 0; c < span.Length; ++c) {
        for (const Laid& glyph : glyphsOf(span.From + c, 1)) {
            const int index = indexOf(glyph);
            if (index < 0)
                continue;
            int& first = holder[size_t(index)];
            if (first < 0)
                first = c;
            else
                parent[size_t(find(c))] = find(first);
        }
    }
    // Each cluster's printed characters; a cluster of kashidas alone takes the letter's
    // before them, the one they lengthen.
    const auto printed = [&span](int c) {
        return c < span.KashidaAt ? c : c < span.KashidaAt + span.Kashidas ? -1 : c - span.Kashidas;
    };
    std::map<int, std::pair<int, int>> clusters; // by root: printed From and To
    for (int c = 0; c < span.Length; ++c) {
        if (const int p = printed(c); p >= 0) {
            const auto at = clusters.try_emplace(find(c), p, p + 1).first;
            at->second.first = std::min(at->second.first, p);
            at->second.second = std::max(at->second.second, p + 1);
        }
    }
    const auto rangeOf = [&](int c) {
        auto found = clusters.find(find(c));
        if (found == clusters.end() && span.Kashidas > 0)
            found = clusters.find(find(span.KashidaAt - 1));
        if (found == clusters.end())
            throw ToolError(
                QStringLiteral("%1: a glyph of %2 comes from no printed character").arg(where, item.Text));
        return found->second;
    };

    item.Left = 1e9;
    item.Right = -1e9;
    for (const QGlyphRun& run : layout.glyphRuns(span.From, span.Length)) {
        if (size == 0)
            size = run.rawFont().pixelSize();
        if (std::abs(run.rawFont().pixelSize() - size) > 1e-6)
            throw ToolError(QStringLiteral("%1: %2 is set in %3 at %4 pixels, not at the book's %5")
                                .arg(where, item.Text, run.rawFont().familyName())
                                .arg(run.rawFont().pixelSize())
                                .arg(size));
        const int font = fontOf(run.rawFont());
        const QList<quint32> ids = run.glyphIndexes();
        const QList<QPointF> positions = run.positions();
        const QList<QPointF> advances = run.rawFont().advancesForGlyphIndexes(ids);
        for (qsizetype i = 0; i < ids.size(); ++i) {
            const int index = indexOf({ids[i], positions[i]});
            if (index < 0 || holder[size_t(index)] < 0)
                throw ToolError(
                    QStringLiteral("%1: a glyph of %2 comes from no character").arg(where, item.Text));
            const auto [from, to] = rangeOf(holder[size_t(index)]);
            const QPointF at = positions[i] + origin;
            item.Glyphs.push_back(
                {font, quint16(ids[i]), at, CodePoints(item.Text, from), CodePoints(item.Text, to)});
            item.Left = std::min(item.Left, at.x());
            item.Right = std::max(item.Right, at.x() + advances[i].x());
        }
    }
    if (item.Glyphs.empty())
        throw ToolError(QStringLiteral("%1: %2 has no glyphs").arg(where, item.Text));
}

// The line's printed items with their glyphs: each word numbered within its ayeh, with where
// its characters lie in the ayeh's text, and each title and Bismillah line as one item.
// `ayehWords` keeps, per ayeh, the words numbered so far and how far its text was read.
void PlaceItems(const PrintedMushaf& print, double& size, const FontIndex& fontOf, const PrintedLine& line,
                int band, const std::vector<Word>& words, const ComposedLine& composed,
                const QTextLayout& layout, QPointF origin, int pageId, std::vector<MushafWord>& items,
                std::map<AyehKey, std::pair<int, qsizetype>>& ayehWords) {
    const QString where = LineName(pageId, band);
    if (line.Type != PrintedLine::Kind::Text) {
        MushafWord item;
        item.Kind =
            line.Type == PrintedLine::Kind::Title ? MushafItemKind::SourehTitle : MushafItemKind::Bismillah;
        item.Line = band;
        item.Soureh = line.Soureh;
        item.Text = line.Text;
        PlaceGlyphs(layout, origin, {0, int(line.Text.size()), 0, 0}, size, fontOf, where, item);
        items.push_back(std::move(item));
        return;
    }
    for (size_t w = 0; w < words.size(); ++w) {
        const Word& word = words[w];
        const PrintedPiece& piece = line.Pieces[size_t(word.Piece)];
        MushafWord item;
        item.Line = band;
        item.Soureh = piece.Soureh;
        item.Ayeh = piece.Ayeh;
        item.Text = word.Text;
        auto& [placed, reached] = ayehWords[{piece.Soureh, piece.Ayeh}];
        item.Number = ++placed;
        const QString& text = print.AyehText(piece.Soureh, piece.Ayeh);
        if (word.EndSign) {
            item.Kind = MushafItemKind::AyehEnd;
            item.CharStart = item.CharEnd = CodePoints(text, text.size());
        } else {
            const qsizetype at = text.indexOf(word.Text, reached);
            if (at < 0)
                throw ToolError(QStringLiteral("%1: the word %2 is not in the text of ayeh %3:%4")
                                    .arg(where, word.Text)
                                    .arg(piece.Soureh)
                                    .arg(piece.Ayeh));
            reached = at + word.Text.size();
            item.CharStart = CodePoints(text, at);
            item.CharEnd = CodePoints(text, reached);
        }
        const auto [from, length] = composed.Words[w];
        PlaceGlyphs(layout, origin, {from, length, word.Kashidas > 0 ? word.KashidaAt : 0, word.Kashidas},
                    size, fontOf, where, item);
        items.push_back(std::move(item));
    }
}

} // namespace

QString PageTypesetter::FontPath() {
    return InstalledMushafFontPath();
}

QString PageTypesetter::FallbackFile(const QRawFont& font) const {
    const QString key = font.familyName() + QLatin1Char('\n') + font.styleName();
    const std::lock_guard lock(FallbackMutex);
    auto found = FallbackFiles.find(key);
    if (found == FallbackFiles.end())
        found = FallbackFiles.emplace(key, FontFileOf(font)).first;
    return found->second;
}

PageTypesetter::PageTypesetter(const PrintedMushaf& print) : Print(print) {
    if (!QFileInfo::exists(FontPath()))
        throw ToolError(
            QStringLiteral("the Amiri Quran font is not installed: no %1 (install fonts-hosny-amiri "
                           "with make setup)")
                .arg(FontPath()));
    const int id = QFontDatabase::addApplicationFont(FontPath());
    Family = QFontDatabase::applicationFontFamilies(id).value(0);
    if (Family.isEmpty())
        throw ToolError(QStringLiteral("%1 could not be loaded as a font").arg(FontPath()));

    // The book's size: the largest at which every line of every page fits its width, then
    // the largest below that at which every line's ink fits its band.
    std::vector<MeasuredLine> lines;
    for (int page = 1; page <= PageCount; ++page) {
        const std::vector<PrintedLine>& printed = Print.Page(page);
        for (size_t i = 0; i < printed.size(); ++i) {
            lines.push_back({&printed[i], PrintedMushaf::BandOf(int(printed.size()), int(i)),
                             NaturalText(printed[i]), 0, 0});
        }
    }
    const QString family = Family;
    QtConcurrent::blockingMap(lines, [&family](MeasuredLine& line) {
        QImage device = NewCanvas(1, 1);
        line.ReferenceWidth = NaturalWidth(*LayOutLine(line.Text, PageFont(family, ReferenceSize), &device));
    });
    double fitting = 1e9;
    for (const MeasuredLine& line : lines)
        fitting = std::min(fitting, ReferenceSize * AvailableWidth(*line.Line) / line.ReferenceWidth);
    double size = std::floor(fitting / SizeStep) * SizeStep;

    std::vector<MeasuredLine*> tall;
    tall.reserve(lines.size());
    for (MeasuredLine& line : lines)
        tall.push_back(&line);
    for (;; size -= SizeStep) {
        if (size < ReferenceSize / 2)
            throw ToolError(
                QStringLiteral("the printed lines do not fit their bands even at %1 pixels per em")
                    .arg(size + SizeStep));
        QtConcurrent::blockingMap(tall, [&family, size](MeasuredLine* line) {
            QImage device = NewCanvas(1, 1);
            line->InkHeight = MeasureInk(*LayOutLine(line->Text, PageFont(family, size), &device)).Height();
        });
        // Ink shrinks with the size: only lines near their band's height can still overflow.
        std::erase_if(tall,
                      [](const MeasuredLine* line) { return line->InkHeight < InnerRows(line->Band) - 2; });
        if (std::none_of(tall.begin(), tall.end(),
                         [](const MeasuredLine* line) { return line->InkHeight > InnerRows(line->Band); }))
            break;
    }
    Size = size;
}

TypesetPage PageTypesetter::Typeset(int pageId) const {
    TypesetPage page;
    page.PageId = pageId;
    page.FontSize = Size;
    QImage canvas = NewCanvas(PagePictureWidth, PagePictureHeight);
    canvas.fill(Grey(PaperGrey));
    const QFont plainFont = PageFont(Family, Size);
    // A kashida lengthens the join it stands in by about this much.
    const QString beh(QChar(0x0628));
    const double kashidaWidth =
        NaturalWidth(*LayOutLine(beh + Tatweel + Tatweel + beh, plainFont, &canvas)) / 2 -
        NaturalWidth(*LayOutLine(beh + beh, plainFont, &canvas)) / 2;

    const std::vector<PrintedLine>& printed = Print.Page(pageId);
    // Pages of fewer lines than bands (the opening pages) are set as a centred block.
    const bool centredPage = int(printed.size()) < LinesPerPage;

    QPainter painter(&canvas);
    painter.setRenderHints(QPainter::Antialiasing | QPainter::TextAntialiasing);
    DrawPageFrame(painter);
    // The fonts the page's glyphs come from: the book's, and those Qt fell back to for a
    // character it lacks.
    page.FontFiles = {FontPath()};
    const FontIndex fontOf = [&](const QRawFont& font) {
        if (font.familyName() == Family)
            return 0;
        const QString file = FallbackFile(font);
        const auto known = std::find(page.FontFiles.begin(), page.FontFiles.end(), file);
        if (known != page.FontFiles.end())
            return int(known - page.FontFiles.begin());
        page.FontFiles.push_back(file);
        return int(page.FontFiles.size()) - 1;
    };
    // Per ayeh of the page, the words placed so far and where its text was reached.
    std::map<AyehKey, std::pair<int, qsizetype>> ayehWords;
    for (size_t index = 0; index < printed.size(); ++index) {
        const PrintedLine& line = printed[index];
        const int band = PrintedMushaf::BandOf(int(printed.size()), int(index));
        page.Lines.push_back({band, DefaultStartRow(band), DefaultEndRow(band)});

        std::unique_ptr<QTextLayout> layout;
        ComposedLine composed;
        std::vector<Word> words;
        bool centred = true;
        double spacing = 0;
        int gaps = 0;
        if (line.Type == PrintedLine::Kind::Text) {
            words = WordsOf(line);
            gaps = int(words.size()) - 1;
            composed = Compose(words, line.Pieces.size());
            layout = LayOutLine(composed.Text, plainFont, &canvas);
            const double natural = NaturalWidth(*layout);
            centred = centredPage || natural < CentreBelowShare * PageTextWidth;
            if (!centred)
                layout = Justify(words, line.Pieces.size(), natural, Family, Size, kashidaWidth, &canvas,
                                 composed, spacing);
        } else {
            if (line.Type == PrintedLine::Kind::Title)
                DrawTitleFrame(painter, band,
                               {Grey(OuterFrameGrey), Grey(HeaderFillGrey), Grey(InnerFrameGrey)});
            layout = LayOutLine(line.Text, plainFont, &canvas);
        }

        Ink ink = MeasureInk(*layout);
        if (ink.Height() > InnerRows(band))
            throw ToolError(QStringLiteral("%1: the ink is %2 rows high, more than the %3 of its band")
                                .arg(LineName(pageId, band))
                                .arg(ink.Height())
                                .arg(InnerRows(band)));
        // A justified line's ink, not its advance, spans the text: the spaces also take up
        // the side bearings of its first and last glyphs. The leftmost glyph stays where it
        // is; the rightmost moves by what the spaces gain.
        if (!centred && gaps > 0 && ink.Width() != PageTextWidth) {
            const int shortBy = PageTextWidth - ink.Width();
            spacing += double(shortBy) / gaps;
            layout = LayOutLine(composed.Text, PageFont(Family, Size, spacing), &canvas);
            ink.Right += shortBy;
        }
        const double left = centred ? PageTextLeft + (PageTextWidth - ink.Width()) / 2.0 - ink.Left
                                    : PageTextLeft + PageTextWidth - 1 - ink.Right;
        const QPointF origin(left, BaselineFor(band, Size, ink) - layout->lineAt(0).ascent());
        painter.save();
        painter.setClipRect(QRect(0, InnerTop(band), PagePictureWidth, InnerRows(band)));
        painter.setPen(Grey(InkGrey));
        layout->draw(&painter, origin);
        painter.restore();
        PlaceItems(Print, page.GlyphSize, fontOf, line, band, words, composed, *layout, origin, pageId,
                   page.Words, ayehWords);

        std::vector<Portion> portions;
        for (size_t p = 0; p < line.Pieces.size(); ++p) {
            const auto [from, length] = composed.Pieces[p];
            const QRectF box = InkBox(*layout, from, length).translated(origin);
            portions.push_back({int(p), int(std::floor(box.left())), int(std::ceil(box.right())) - 1, 0, 0});
        }
        AssignColumns(portions);
        for (const Portion& portion : portions) {
            const PrintedPiece& piece = line.Pieces[size_t(portion.Piece)];
            if (page.Ayehs.empty() || page.Ayehs.back().Soureh != piece.Soureh ||
                page.Ayehs.back().Ayeh != piece.Ayeh)
                page.Ayehs.push_back({piece.Soureh, piece.Ayeh, band, portion.Right, 0, 0});
            page.Ayehs.back().EndLine = band;
            page.Ayehs.back().EndCol = portion.Left;
        }
    }
    painter.end();
    page.Picture = ToGreyIndexed(canvas);
    return page;
}
