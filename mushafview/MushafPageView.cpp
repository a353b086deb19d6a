#include "mushafview/MushafPageView.h"

#include "content/PageGeometry.h"
#include "mushafview/MushafViewCaptions.h"

#include <QHelpEvent>
#include <QMouseEvent>
#include <QPainter>
#include <QRegion>
#include <QToolTip>

namespace {

// The sheet of a page at height 1: the text area and the margins around it.
constexpr double TopMargin = 0.06;
constexpr double BottomMargin = 0.06;
constexpr double SideMargin = 0.035;
constexpr double TextHeight = 1 - TopMargin - BottomMargin;
constexpr double TextWidth = TextHeight * PagePictureWidth / PagePictureHeight;
constexpr double SheetWidth = TextWidth + 2 * SideMargin;
// The margins' type, as a share of the height.
constexpr double MarginType = 0.024;

QColor DeskColour(bool night) {
    return night ? QColor(8, 8, 10) : QColor(96, 96, 92);
}

} // namespace

QString PersianDigits(int number) {
    QString text = QString::number(number);
    for (QChar& c : text) {
        if (c >= u'0' && c <= u'9')
            c = QChar(0x06F0 + (c.unicode() - u'0'));
    }
    return text;
}

TMushafPageView::TMushafPageView(const TMushafViewContent& content, QWidget* parent)
    : QWidget(parent), Source(content) {
    setMouseTracking(true);
    setAttribute(Qt::WA_OpaquePaintEvent);
}

double TMushafPageView::SpreadWidth(double height, int pages) {
    return height * SheetWidth * pages;
}

void TMushafPageView::SetSpread(MushafSpread spread) {
    if (spread == Shown && !Pages.empty())
        return;
    std::map<int, MushafViewPage> pages;
    for (const int id : {spread.Right, spread.Left}) {
        if (id == 0)
            continue;
        const auto kept = Pages.find(id);
        pages[id] = kept != Pages.end() ? std::move(kept->second) : Source.Page(id);
    }
    Pages = std::move(pages);
    Shown = spread;
    update();
}

const MushafViewPage* TMushafPageView::ShownPage(int pageId) const {
    const auto found = Pages.find(pageId);
    return found == Pages.end() ? nullptr : &found->second;
}

void TMushafPageView::SetCurrentAyeh(std::optional<AyehKey> ayeh) {
    if (ayeh == Current)
        return;
    Current = ayeh;
    update();
}

void TMushafPageView::SetNight(bool night) {
    NightPage = night;
    update();
}

void TMushafPageView::SetTajweedColours(bool on) {
    Tajweed = on;
    update();
}

void TMushafPageView::SetHiddenWords(std::set<WordKey> words) {
    if (words == Hidden)
        return;
    Hidden = std::move(words);
    update();
}

MushafStyle TMushafPageView::Style() const {
    MushafStyle style = NightPage ? MushafStyle::Night() : MushafStyle::Day();
    style.CurrentAyeh = Current;
    style.Hidden = Hidden;
    if (Tajweed) {
        style.GlyphColour = [this](const MushafWord& word,
                                   const MushafGlyph& glyph) -> std::optional<QColor> {
            if (word.Kind != MushafItemKind::Word)
                return std::nullopt;
            return Source.TajweedColour({word.Soureh, word.Ayeh}, word.CharStart + glyph.CharStart,
                                        word.CharStart + glyph.CharEnd);
        };
    }
    return style;
}

std::vector<TMushafPageView::PageSlot> TMushafPageView::Slots() const {
    const double height = this->height();
    const double sheet = height * SheetWidth;
    const int count = Shown.Left != 0 ? 2 : 1;
    const double left = (width() - sheet * count) / 2;
    std::vector<PageSlot> slots;
    // The right page is the one read first; a single page stands in the middle.
    const auto add = [&](int pageId, double x) {
        const QRectF sheetRect(x, 0, sheet, height);
        const QRectF text(x + height * SideMargin, height * TopMargin, height * TextWidth,
                          height * TextHeight);
        slots.push_back({pageId, sheetRect, text});
    };
    add(Shown.Right, left + sheet * (count - 1));
    if (Shown.Left != 0)
        add(Shown.Left, left);
    return slots;
}

std::optional<AyehKey> TMushafPageView::AyehAt(QPointF point) const {
    for (const PageSlot& slot : Slots()) {
        const MushafViewPage* page = ShownPage(slot.PageID);
        if (!page || !slot.Text.contains(point))
            continue;
        return page->Glyphs.AyehAt(MushafPageTransform(slot.Text).inverted().map(point));
    }
    return std::nullopt;
}

std::vector<QRectF> TMushafPageView::AyehRects(int pageId, AyehKey ayeh) const {
    std::vector<QRectF> rects;
    for (const PageSlot& slot : Slots()) {
        const MushafViewPage* page = ShownPage(slot.PageID);
        if (slot.PageID != pageId || !page)
            continue;
        const QTransform transform = MushafPageTransform(slot.Text);
        for (const QRectF& rect : page->Glyphs.AyehRects(ayeh))
            rects.push_back(transform.mapRect(rect));
    }
    return rects;
}

void TMushafPageView::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    const MushafStyle style = Style();
    const std::vector<PageSlot> slots = Slots();
    // Each pixel is filled once: the desk around the sheets, the margins around the text, and
    // the text area by the page's own paper (the largest share of a screen at ratio 2).
    QRegion desk(rect());
    for (const PageSlot& slot : slots)
        desk -= slot.Sheet.toAlignedRect();
    for (const QRect& part : desk)
        painter.fillRect(part, DeskColour(NightPage));
    for (const PageSlot& slot : slots) {
        const QRect text = slot.Text.toAlignedRect().adjusted(1, 1, -1, -1);
        for (const QRect& part : QRegion(slot.Sheet.toAlignedRect()) - QRegion(text))
            painter.fillRect(part, style.Paper);
        const MushafViewPage* page = ShownPage(slot.PageID);
        if (!page || (!Source.DrawsGlyphs() && page->Picture.isNull()))
            painter.fillRect(slot.Text, style.Paper);
        if (!page)
            continue;
        if (Source.DrawsGlyphs()) {
            DrawMushafPage(painter, slot.Text, page->Glyphs, Source.GlyphFonts(), style);
        } else if (!page->Picture.isNull()) {
            QImage picture = page->Picture.convertToFormat(QImage::Format_RGB32);
            if (NightPage)
                picture.invertPixels();
            painter.save();
            painter.setRenderHint(QPainter::SmoothPixmapTransform);
            painter.drawImage(MushafPageTransform(slot.Text).mapRect(QRectF(picture.rect())), picture);
            painter.restore();
        }
        DrawMargins(painter, slot, *page, style);
    }
}

void TMushafPageView::DrawMargins(QPainter& painter, const PageSlot& slot, const MushafViewPage& page,
                                  const MushafStyle& style) const {
    painter.save();
    QFont type = font();
    type.setPixelSize(std::max(6, int(slot.Sheet.height() * MarginType)));
    painter.setFont(type);
    painter.setPen(style.Ink);
    const double top = slot.Sheet.height() * TopMargin;
    const QRectF head(slot.Text.left(), slot.Sheet.top(), slot.Text.width(), top);
    // The soureh on the side the line begins, the juz on the other.
    painter.drawText(head, Qt::AlignRight | Qt::AlignVCenter, Source.SourehName(page.Soureh));
    if (page.Juz > 0)
        painter.drawText(head, Qt::AlignLeft | Qt::AlignVCenter, CaptionJuz.arg(PersianDigits(page.Juz)));
    const QRectF foot(slot.Text.left(), slot.Text.bottom(), slot.Text.width(),
                      slot.Sheet.bottom() - slot.Text.bottom());
    painter.drawText(foot, Qt::AlignHCenter | Qt::AlignVCenter, PersianDigits(page.PageID));
    painter.restore();
}

bool TMushafPageView::event(QEvent* event) {
    if (event->type() == QEvent::ToolTip) {
        auto* help = static_cast<QHelpEvent*>(event);
        const std::optional<AyehKey> ayeh = AyehAt(help->pos());
        const QString translation = ayeh ? Source.Translation(*ayeh) : QString();
        if (translation.isEmpty()) {
            QToolTip::hideText();
            event->ignore();
        } else {
            QToolTip::showText(help->globalPos(), translation, this);
        }
        return true;
    }
    return QWidget::event(event);
}

void TMushafPageView::mousePressEvent(QMouseEvent* event) {
    if (event->button() != Qt::LeftButton)
        return QWidget::mousePressEvent(event);
    if (const std::optional<AyehKey> ayeh = AyehAt(event->position()))
        Q_EMIT AyehClicked(ayeh->Soureh, ayeh->Ayeh);
}

void TMushafPageView::mouseMoveEvent(QMouseEvent* event) {
    setCursor(AyehAt(event->position()) ? Qt::PointingHandCursor : Qt::ArrowCursor);
    QWidget::mouseMoveEvent(event);
}
