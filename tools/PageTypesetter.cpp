#include "tools/PageTypesetter.h"

#include <QFileInfo>
#include <QFont>
#include <QFontDatabase>
#include <QGlyphRun>
#include <QPainter>
#include <QTextLayout>
#include <algorithm>
#include <cmath>
#include <memory>

namespace {

constexpr int TextLeft = 18;
constexpr int TextWidth = PagePictureWidth - 2 * TextLeft;
constexpr double SizeStep = 0.25;
// Room kept free at the end of every line, so that shaping the line whole never comes out
// wider than the sum of its words measured one by one.
constexpr double BreakSlack = 2.0;
// How far the ink of a line of Uthmani text with its marks usually reaches above and below
// the baseline in Amiri Quran, in ems (measured over the whole text): lines sit on a common
// baseline that centres this span in the band, and the largest size is about the one whose
// span still fits the band's 45 rows.
constexpr double InkAbove = 1.8;
constexpr double InkBelow = 0.55;
// A soureh's text that runs on to the next page fills its last line on this page when
// that line is at least this full; a shorter one keeps natural spacing.
constexpr double JustifyFromFill = 0.75;

constexpr int PaperGrey = 255;
constexpr int InkGrey = 0;
constexpr int OuterFrameGrey = 150;
constexpr int InnerFrameGrey = 200;
constexpr int HeaderFillGrey = 238;
static_assert(OuterFrameGrey >= HighlightLevel && InnerFrameGrey >= HighlightLevel &&
                  HeaderFillGrey >= HighlightLevel,
              "decorations must stay out of the highlight's reach");

const QChar AyehEndSign(0x06DD);

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

QRectF InkBox(const QTextLayout& layout, int from = -1, int length = -1) {
    QRectF box;
    for (const QGlyphRun& run : layout.glyphRuns(from, length))
        box |= run.boundingRect();
    return box;
}

// A word, or the last word of an ayeh with its end sign: the unit a line never splits.
struct Token {
    QString Text;
    int Item = 0; // the ayeh's index in the page's reading order
    double ReferenceWidth = 0;
};

struct Segment {
    int Soureh = 0;
    bool Header = false;
    bool Bismillah = false;
    bool EndsSoureh = false;
    std::vector<Token> Tokens;
};

struct LineSpan {
    size_t First = 0;
    size_t End = 0; // one past the last token
};

std::vector<LineSpan> BreakLines(const std::vector<Token>& tokens, double scale, double space) {
    std::vector<LineSpan> lines;
    const double available = TextWidth - BreakSlack;
    size_t first = 0;
    while (first < tokens.size()) {
        double width = tokens[first].ReferenceWidth * scale;
        size_t end = first + 1;
        while (end < tokens.size() && width + space + tokens[end].ReferenceWidth * scale <= available) {
            width += space + tokens[end].ReferenceWidth * scale;
            ++end;
        }
        lines.push_back({first, end});
        first = end;
    }
    return lines;
}

// The rows of a band that ink may take: all but the two it shares with its neighbours.
int InnerTop(int band) {
    return DefaultStartRow(band) + 1;
}
int InnerBottom(int band) {
    return DefaultEndRow(band) - 1;
}

// The rows, relative to the baseline, that a line's drawn pixels take (anti-aliasing
// included). Glyph boxes are too generous for this: the marks' boxes reach well beyond their
// ink, so the line is drawn once on a scratch strip and its pixels are measured.
struct InkRows {
    int Top = 0;
    int Bottom = -1;
};

InkRows MeasureInkRows(const QTextLayout& layout) {
    constexpr int Baseline = 2 * DefaultLineHeight;
    QImage strip = NewCanvas(PagePictureWidth + 2 * TextLeft, 4 * DefaultLineHeight);
    strip.fill(Qt::white);
    {
        QPainter painter(&strip);
        painter.setPen(Qt::black);
        layout.draw(&painter, QPointF(TextLeft, Baseline - layout.lineAt(0).ascent()));
    }
    InkRows rows{strip.height(), -1};
    for (int y = 0; y < strip.height(); ++y) {
        const auto* pixels = reinterpret_cast<const QRgb*>(strip.constScanLine(y));
        for (int x = 0; x < strip.width(); ++x) {
            if (qGray(pixels[x]) < 255) {
                rows.Top = std::min(rows.Top, y);
                rows.Bottom = y;
                break;
            }
        }
    }
    return {rows.Top - Baseline, rows.Bottom - Baseline};
}

// The baseline of a line of the given size in its band: the common one, moved where the
// line's own ink would leave the band on one side while room is left on the other. Ink that
// still does not fit is clipped at the band.
int BaselineFor(int band, double size, const InkRows& ink) {
    const int top = InnerTop(band);
    const int bottom = InnerBottom(band);
    int baseline =
        top + int(std::lround(InkAbove * size + ((bottom - top + 1) - (InkAbove + InkBelow) * size) / 2));
    if (ink.Bottom < ink.Top)
        return baseline;
    const int over = top - (baseline + ink.Top);
    const int under = baseline + ink.Bottom - bottom;
    if (over > 0 && under < 0)
        baseline += std::min(over, -under);
    else if (under > 0 && over < 0)
        baseline -= std::min(under, -over);
    return baseline;
}

void DrawPageFrame(QPainter& painter) {
    painter.setBrush(Qt::NoBrush);
    painter.setPen(QPen(Grey(OuterFrameGrey), 1.5));
    painter.drawRect(QRectF(4.5, 3.5, PagePictureWidth - 9, PagePictureHeight - 7));
    painter.setPen(QPen(Grey(InnerFrameGrey), 1));
    painter.drawRect(QRectF(8.5, 7.5, PagePictureWidth - 17, PagePictureHeight - 15));
}

void DrawHeaderFrame(QPainter& painter, int band) {
    const QRectF frame(TextLeft + 0.5, InnerTop(band) + 4.5, TextWidth - 1, DefaultLineHeight - 11);
    painter.setPen(QPen(Grey(OuterFrameGrey), 1.2));
    painter.setBrush(Grey(HeaderFillGrey));
    painter.drawRoundedRect(frame, 9, 9);
    painter.setPen(QPen(Grey(InnerFrameGrey), 1));
    painter.setBrush(Qt::NoBrush);
    painter.drawRoundedRect(frame.adjusted(3, 3, -3, -3), 7, 7);
    // A small diamond at each end, as the frames of soureh titles have.
    for (const double x : {frame.left() + 16, frame.right() - 16}) {
        const QPointF centre(x, frame.center().y());
        const QPointF diamond[] = {centre + QPointF(0, -7), centre + QPointF(7, 0), centre + QPointF(0, 7),
                                   centre + QPointF(-7, 0)};
        painter.setPen(QPen(Grey(OuterFrameGrey), 1));
        painter.setBrush(Grey(InnerFrameGrey));
        painter.drawPolygon(diamond, 4);
    }
}

struct Portion {
    int Item = 0;
    int From = 0;
    int Length = 0;
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

// One band's line, shaped and measured, before it is drawn.
struct PlannedLine {
    int Band = 0;
    bool Header = false;
    std::unique_ptr<QTextLayout> Layout;
    InkRows Ink;
    std::vector<Portion> Portions; // the ayehs on it, none for a title line
};

struct PageFamily {
    QString Family;
    double Size;
};

// Shapes every line of the page at one size: the soureh titles and Bismillahs, and the text
// lines as broken, justified by word spacing except where a soureh ends or a page's last
// line is short.
std::vector<PlannedLine> PlanLines(const std::vector<Segment>& segments,
                                   const std::vector<std::vector<LineSpan>>& lines, int bandsUsed,
                                   const PageFamily& font, QPaintDevice* device,
                                   const QuranSources& sources) {
    std::vector<PlannedLine> plan;
    const QFont plainFont = PageFont(font.Family, font.Size);
    // A page with fewer lines than bands (the opening pages) stands in the middle.
    int band = 1 + (LinesPerPage - bandsUsed) / 2;
    const auto add = [&](std::unique_ptr<QTextLayout> layout, bool header, std::vector<Portion> portions) {
        PlannedLine line;
        line.Band = band++;
        line.Header = header;
        line.Ink = MeasureInkRows(*layout);
        line.Layout = std::move(layout);
        line.Portions = std::move(portions);
        plan.push_back(std::move(line));
    };
    for (size_t s = 0; s < segments.size(); ++s) {
        const Segment& segment = segments[s];
        if (segment.Header)
            add(LayOutLine(QStringLiteral("سورة ") + sources.Soureh(segment.Soureh).ArabicName, plainFont,
                           device),
                true, {});
        if (segment.Bismillah)
            add(LayOutLine(sources.Ayeh(1, 1).Text, plainFont, device), false, {});
        for (size_t l = 0; l < lines[s].size(); ++l) {
            const LineSpan span = lines[s][l];
            QString text;
            std::vector<Portion> portions;
            for (size_t t = span.First; t < span.End; ++t) {
                const Token& token = segment.Tokens[t];
                if (!text.isEmpty())
                    text += QLatin1Char(' ');
                if (portions.empty() || portions.back().Item != token.Item)
                    portions.push_back({token.Item, int(text.size()), 0, 0, 0, 0, 0});
                text += token.Text;
                portions.back().Length = int(text.size()) - portions.back().From;
            }
            auto layout = LayOutLine(text, plainFont, device);
            const double natural = layout->lineAt(0).naturalTextWidth();
            const qsizetype spaces = text.count(QLatin1Char(' '));
            const bool lastOfSegment = l + 1 == lines[s].size();
            const bool justify =
                spaces > 0 &&
                (!lastOfSegment || (!segment.EndsSoureh && natural >= JustifyFromFill * TextWidth));
            if (justify) {
                // Qt's own justification stretches Arabic letters apart; wider word spaces do not.
                layout = LayOutLine(
                    text, PageFont(font.Family, font.Size, (TextWidth - natural) / double(spaces)), device);
            }
            add(std::move(layout), false, std::move(portions));
        }
    }
    return plan;
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

} // namespace

QString PageTypesetter::FontPath() {
    return QStringLiteral("/usr/share/fonts/opentype/fonts-hosny-amiri/AmiriQuran.ttf");
}

PageTypesetter::PageTypesetter(const QuranSources& sources) : Sources(sources) {
    if (!QFileInfo::exists(FontPath()))
        throw ToolError(
            QStringLiteral("the Amiri Quran font is not installed: no %1 (install fonts-hosny-amiri "
                           "with make setup)")
                .arg(FontPath()));
    const int id = QFontDatabase::addApplicationFont(FontPath());
    Family = QFontDatabase::applicationFontFamilies(id).value(0);
    if (Family.isEmpty())
        throw ToolError(QStringLiteral("%1 could not be loaded as a font").arg(FontPath()));
}

TypesetPage PageTypesetter::Typeset(int pageId) const {
    TypesetPage page;
    page.PageId = pageId;
    QImage canvas = NewCanvas(PagePictureWidth, PagePictureHeight);
    canvas.fill(Grey(PaperGrey));

    // The page's ayehs in reading order, cut into words, grouped by soureh.
    std::vector<Segment> segments;
    const QFont referenceFont = PageFont(Family, LargestFontSize);
    for (const PageRange& range : Sources.Page(pageId)) {
        Segment segment;
        segment.Soureh = range.Soureh;
        segment.Header = range.FirstAyeh == 1;
        // The first ayeh of soureh 1 is the Bismillah itself, and soureh 9 has none.
        segment.Bismillah = segment.Header && range.Soureh != 1 && range.Soureh != 9;
        segment.EndsSoureh = range.LastAyeh == Sources.Soureh(range.Soureh).NumberOfAyeh;
        for (int ayeh = range.FirstAyeh; ayeh <= range.LastAyeh; ++ayeh) {
            const int item = int(page.Ayehs.size());
            page.Ayehs.push_back({range.Soureh, ayeh, 0, 0, 0, 0});
            QStringList words =
                Sources.Ayeh(range.Soureh, ayeh).Text.split(QLatin1Char(' '), Qt::SkipEmptyParts);
            words.last() += QLatin1Char(' ') + AyehEndSign + ArabicIndicNumber(ayeh);
            for (QString& word : words) {
                const auto layout = LayOutLine(word, referenceFont, &canvas);
                segment.Tokens.push_back({std::move(word), item, layout->lineAt(0).naturalTextWidth()});
            }
        }
        segments.push_back(std::move(segment));
    }

    const double referenceSpace =
        LayOutLine(QStringLiteral("\u0628 \u0628"), referenceFont, &canvas)->lineAt(0).naturalTextWidth() -
        2 * LayOutLine(QStringLiteral("\u0628"), referenceFont, &canvas)->lineAt(0).naturalTextWidth();

    // The largest size at which the page's words fit its bands and every line's ink fits
    // its band; below the smallest size, ink that still does not fit is clipped.
    std::vector<PlannedLine> plan;
    double size = LargestFontSize;
    for (;; size -= SizeStep) {
        if (size < SmallestFontSize - 1e-9)
            throw ToolError(QStringLiteral("page %1 does not fit its %2 lines even at %3 pixels per em")
                                .arg(pageId)
                                .arg(LinesPerPage)
                                .arg(SmallestFontSize));
        const double scale = size / LargestFontSize;
        std::vector<std::vector<LineSpan>> lines(segments.size());
        int bandsUsed = 0;
        for (size_t s = 0; s < segments.size(); ++s) {
            lines[s] = BreakLines(segments[s].Tokens, scale, referenceSpace * scale);
            bandsUsed += int(segments[s].Header) + int(segments[s].Bismillah) + int(lines[s].size());
        }
        if (bandsUsed > LinesPerPage)
            continue;
        plan = PlanLines(segments, lines, bandsUsed, PageFamily{Family, size}, &canvas, Sources);
        const bool inkFits = std::all_of(plan.begin(), plan.end(), [](const PlannedLine& line) {
            return line.Ink.Bottom - line.Ink.Top <= InnerBottom(line.Band) - InnerTop(line.Band);
        });
        if (inkFits || size - SizeStep < SmallestFontSize - 1e-9)
            break;
    }
    page.FontSize = size;

    QPainter painter(&canvas);
    painter.setRenderHints(QPainter::Antialiasing | QPainter::TextAntialiasing);
    DrawPageFrame(painter);
    for (PlannedLine& planned : plan) {
        page.Lines.push_back({planned.Band, DefaultStartRow(planned.Band), DefaultEndRow(planned.Band)});
        if (planned.Header)
            DrawHeaderFrame(painter, planned.Band);
        const QTextLine line = planned.Layout->lineAt(0);
        const int baseline = BaselineFor(planned.Band, size, planned.Ink);
        // Text lines start at the right edge of the text; titles stand in the middle.
        const double left = planned.Portions.empty() ? TextLeft + (TextWidth - line.naturalTextWidth()) / 2
                                                     : TextLeft + TextWidth - line.naturalTextWidth();
        const QPointF origin(left, baseline - line.ascent());
        painter.save();
        painter.setClipRect(QRect(0, InnerTop(planned.Band), PagePictureWidth,
                                  InnerBottom(planned.Band) - InnerTop(planned.Band) + 1));
        painter.setPen(Grey(InkGrey));
        planned.Layout->draw(&painter, origin);
        painter.restore();

        for (Portion& portion : planned.Portions) {
            const QRectF box = InkBox(*planned.Layout, portion.From, portion.Length).translated(origin);
            portion.TightLeft = int(std::floor(box.left()));
            portion.TightRight = int(std::ceil(box.right())) - 1;
        }
        AssignColumns(planned.Portions);
        for (const Portion& portion : planned.Portions) {
            AyehPlacement& placement = page.Ayehs[size_t(portion.Item)];
            if (placement.StartLine == 0) {
                placement.StartLine = planned.Band;
                placement.StartCol = portion.Right;
            }
            placement.EndLine = planned.Band;
            placement.EndCol = portion.Left;
        }
    }
    painter.end();
    page.Picture = ToGreyIndexed(canvas);
    return page;
}
