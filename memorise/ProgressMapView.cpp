#include "memorise/ProgressMapView.h"

#include "content/MushafCounts.h"
#include "memorise/MemoriseCaptions.h"
#include "model/AyehSearch.h"

#include <QHelpEvent>
#include <QMouseEvent>
#include <QPainter>
#include <QToolTip>
#include <algorithm>
#include <array>

namespace {

// Twenty pages a row: a row is about one juz' of the Mushaf. Sourehs twelve a row.
constexpr int PageColumns = 20;
constexpr int SourehColumns = 12;
constexpr int Gap = 2;
constexpr int Margin = 4;

struct StateLook {
    QColor Colour;
    const QString* Name;
};

const std::array<StateLook, 4>& Looks() {
    static const std::array<StateLook, 4> looks = {{
        {QColor(0xDD, 0xDD, 0xDD), &CaptionNotStarted},
        {QColor(0xF0, 0xB4, 0x29), &CaptionLearning},
        {QColor(0x2E, 0x9E, 0x5B), &CaptionMemorised},
        {QColor(0xD6, 0x45, 0x45), &CaptionDue},
    }};
    return looks;
}

} // namespace

QColor ProgressColour(Progress state) {
    return Looks()[size_t(state)].Colour;
}

QString ProgressName(Progress state) {
    return *Looks()[size_t(state)].Name;
}

TProgressMapView::TProgressMapView(QWidget* parent) : QWidget(parent) {
    setAttribute(Qt::WA_OpaquePaintEvent);
    setMouseTracking(false);
    setCursor(Qt::PointingHandCursor);
    States.Pages.assign(PageCount, Progress::NotStarted);
    States.Sourehs.assign(SourehCount, Progress::NotStarted);
}

void TProgressMapView::SetMap(ProgressMap map) {
    // A map of another size (no content read) shows every cell as not started.
    map.Pages.resize(PageCount, Progress::NotStarted);
    map.Sourehs.resize(SourehCount, Progress::NotStarted);
    States = std::move(map);
    update();
}

void TProgressMapView::SetUnit(ProgressUnit unit) {
    Shown = unit;
    update();
}

int TProgressMapView::CellCount() const {
    return Shown == ProgressUnit::Pages ? PageCount : SourehCount;
}

int TProgressMapView::Columns() const {
    return Shown == ProgressUnit::Pages ? PageColumns : SourehColumns;
}

int TProgressMapView::CellSide() const {
    const int columns = Columns();
    const int rows = (CellCount() + columns - 1) / columns;
    const int across = (width() - 2 * Margin + Gap) / columns - Gap;
    const int down = (height() - 2 * Margin + Gap) / rows - Gap;
    return std::max(2, std::min(across, down));
}

QRect TProgressMapView::CellRect(int number) const {
    if (number < 1 || number > CellCount())
        return {};
    const int side = CellSide();
    const int columns = Columns();
    const int column = (number - 1) % columns;
    const int row = (number - 1) / columns;
    // Right to left: the first cell of a row at its right end.
    const int right = width() - Margin - column * (side + Gap);
    return {right - side, Margin + row * (side + Gap), side, side};
}

int TProgressMapView::NumberAt(QPoint point) const {
    const int side = CellSide();
    const int column = (width() - Margin - point.x()) / (side + Gap);
    const int row = (point.y() - Margin) / (side + Gap);
    if (point.x() > width() - Margin || point.y() < Margin || column >= Columns())
        return 0;
    const int number = row * Columns() + column + 1;
    return CellRect(number).contains(point) ? number : 0;
}

QSize TProgressMapView::sizeHint() const {
    return {PageColumns * 22 + 2 * Margin, 31 * 22 + 2 * Margin};
}

void TProgressMapView::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    painter.fillRect(rect(), palette().window());
    const std::vector<Progress>& states = Shown == ProgressUnit::Pages ? States.Pages : States.Sourehs;
    const int side = CellSide();
    // Numbers only where they can be read.
    const bool numbered = side >= 18;
    if (numbered) {
        QFont small = font();
        small.setPixelSize(std::max(7, side * 2 / 5));
        painter.setFont(small);
        painter.setPen(QColor(0x20, 0x20, 0x20));
    }
    for (int number = 1; number <= CellCount(); ++number) {
        const QRect cell = CellRect(number);
        painter.fillRect(cell, ProgressColour(states[size_t(number - 1)]));
        if (numbered)
            painter.drawText(cell, Qt::AlignCenter, PersianNumber(number));
    }
}

void TProgressMapView::mouseReleaseEvent(QMouseEvent* event) {
    if (event->button() != Qt::LeftButton)
        return;
    const int number = NumberAt(event->position().toPoint());
    if (number == 0)
        return;
    if (Shown == ProgressUnit::Pages)
        Q_EMIT PageChosen(number);
    else
        Q_EMIT SourehChosen(number);
}

bool TProgressMapView::event(QEvent* event) {
    if (event->type() == QEvent::ToolTip) {
        auto* help = static_cast<QHelpEvent*>(event);
        const int number = NumberAt(help->pos());
        if (number == 0) {
            QToolTip::hideText();
            return true;
        }
        const bool pages = Shown == ProgressUnit::Pages;
        const Progress state = (pages ? States.Pages : States.Sourehs)[size_t(number - 1)];
        const QString name = pages || number > Names.size() ? PersianNumber(number) : Names[number - 1];
        QToolTip::showText(help->globalPos(),
                           (pages ? CaptionPageCell : CaptionSourehCell).arg(name, ProgressName(state)), this,
                           CellRect(number));
        return true;
    }
    return QWidget::event(event);
}
