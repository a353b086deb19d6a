#include "mainwindow/Controls.h"

#include <QFocusEvent>
#include <QFontDatabase>
#include <QHelpEvent>
#include <QKeyEvent>
#include <QLineEdit>
#include <QMouseEvent>
#include <QPainter>
#include <QScreen>
#include <QScrollBar>
#include <QShowEvent>
#include <QToolTip>
#include <algorithm>
#include <limits>

QColor StoredColour(quint32 value) {
    return QColor(int(value & 0xFF), int((value >> 8) & 0xFF), int((value >> 16) & 0xFF));
}

void SetColours(QWidget* widget, const QColor& text, const QColor& background) {
    QPalette palette = widget->palette();
    for (auto role : {QPalette::Text, QPalette::WindowText, QPalette::ButtonText})
        palette.setColor(role, text);
    for (auto role : {QPalette::Base, QPalette::Window, QPalette::Button})
        palette.setColor(role, background);
    widget->setPalette(palette);
}

namespace {

// Persian-capable families from the distribution's font packages, best first.
QString InstalledFamily(const QString& wanted) {
    static const QStringList installed = QFontDatabase::families();
    if (installed.contains(wanted, Qt::CaseInsensitive))
        return wanted;
    const bool serif = wanted.contains(QLatin1String("Times"), Qt::CaseInsensitive);
    const QStringList fallbacks =
        serif ? QStringList{QStringLiteral("Noto Naskh Arabic"), QStringLiteral("Noto Sans Arabic")}
              : QStringList{QStringLiteral("Noto Sans Arabic"), QStringLiteral("Noto Naskh Arabic")};
    for (const QString& family : fallbacks)
        if (installed.contains(family, Qt::CaseInsensitive))
            return family;
    return wanted;
}

int DigitValue(QChar c) {
    const char16_t u = c.unicode();
    if (u >= u'0' && u <= u'9')
        return u - u'0';
    if (u >= 0x06F0 && u <= 0x06F9) // Extended Arabic-Indic (Persian)
        return u - 0x06F0;
    if (u >= 0x0660 && u <= 0x0669) // Arabic-Indic
        return u - 0x0660;
    return -1;
}

} // namespace

QFont UiFont(const QString& family, int pixelHeight, bool bold) {
    QFont font(InstalledFamily(family));
    font.setPixelSize(pixelHeight);
    font.setBold(bold);
    return font;
}

QPoint CentredOver(const QRect& over, const QSize& window, const QPoint& lowest) {
    auto half = [](int difference) { return difference >= 0 ? difference / 2 : (difference - 1) / 2; };
    return {std::max(lowest.x(), over.x() + half(over.width() - window.width())),
            std::max(lowest.y(), over.y() + half(over.height() - window.height()))};
}

QPoint CentredPosition(const QRect& area, const QSize& window) {
    return CentredOver(area, window, area.topLeft());
}

void PlaceOnFirstShow(QWidget* window, const QShowEvent* event, bool& placed,
                      const std::function<QPoint(const QSize&)>& place) {
    if (placed || event->spontaneous())
        return;
    placed = true;
    window->move(place(window->frameGeometry().size()));
}

QPoint CentredOnScreen(const QWidget* window, const QSize& outer) {
    const QScreen* shown = window->screen();
    return shown ? CentredPosition(shown->geometry(), outer) : window->pos();
}

bool ParseDecimal(const QString& text, int& value) {
    int i = 0;
    bool negative = false;
    if (i < text.size() && text[i] == QLatin1Char('-')) {
        negative = true;
        ++i;
    }
    if (i == text.size())
        return false;
    qint64 result = 0;
    for (; i < text.size(); ++i) {
        const int digit = DigitValue(text[i]);
        if (digit < 0)
            return false;
        result = result * 10 + digit;
        if (result > qint64(std::numeric_limits<int>::max()) + (negative ? 1 : 0))
            return false;
    }
    value = int(negative ? -result : result);
    return true;
}

// --- TPageImage ---

TPageImage::TPageImage(QWidget* parent)
    : QWidget(parent), Canvas(SurfaceWidth, SurfaceHeight, QImage::Format_RGB32) {
    Canvas.fill(Qt::white);
    setFixedSize(SurfaceWidth, SurfaceHeight);
    setMouseTracking(true);
    setAttribute(Qt::WA_OpaquePaintEvent);
    setFocusPolicy(Qt::NoFocus);
}

void TPageImage::DrawBitmap(const QImage& bitmap, int x, int y) {
    {
        QPainter painter(&Canvas);
        painter.drawImage(x, y, bitmap);
    }
    ScheduleRepaint();
}

void TPageImage::SetPixel(int x, int y, QRgb colour) {
    if (x < 0 || y < 0 || x >= Canvas.width() || y >= Canvas.height())
        return;
    Canvas.setPixel(x, y, colour);
    ScheduleRepaint();
}

void TPageImage::ScheduleRepaint() {
    if (RepaintPending)
        return;
    RepaintPending = true;
    update();
}

void TPageImage::paintEvent(QPaintEvent*) {
    RepaintPending = false;
    QPainter painter(this);
    painter.drawImage(0, 0, Canvas);
}

void TPageImage::SetHint(const QString& text) {
    HintText = text;
    setToolTip(text);
    if (!QToolTip::isVisible() || !underMouse())
        return;
    if (text.isEmpty() || !HintShown)
        QToolTip::hideText();
    else
        QToolTip::showText(QCursor::pos(), text, this);
}

void TPageImage::SetShowHint(bool show) {
    HintShown = show;
    if (!show && underMouse())
        QToolTip::hideText();
}

bool TPageImage::event(QEvent* event) {
    if (event->type() == QEvent::ToolTip) {
        auto* help = static_cast<QHelpEvent*>(event);
        if (HintShown && !HintText.isEmpty())
            QToolTip::showText(help->globalPos(), HintText, this);
        else
            QToolTip::hideText();
        return true;
    }
    return QWidget::event(event);
}

void TPageImage::mousePressEvent(QMouseEvent* event) {
    const QPoint p = event->position().toPoint();
    Q_EMIT MouseDown(event->button(), event->modifiers(), p.x(), p.y());
}

// The second press of a double click is a press like the first.
void TPageImage::mouseDoubleClickEvent(QMouseEvent* event) {
    mousePressEvent(event);
}

void TPageImage::mouseMoveEvent(QMouseEvent* event) {
    const QPoint p = event->position().toPoint();
    Q_EMIT MouseMove(event->modifiers(), p.x(), p.y());
}

// --- TPageScrollBox ---

TPageScrollBox::TPageScrollBox(QWidget* parent) : QScrollArea(parent) {
    setFrameShape(QFrame::NoFrame);
    setLineWidth(0);
    setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    setVerticalScrollBarPolicy(Qt::ScrollBarAsNeeded);
    setWidgetResizable(false);
    // The picture sits at the viewport's left edge whatever the reading order.
    setAlignment(Qt::AlignLeft | Qt::AlignAbsolute | Qt::AlignTop);
    verticalScrollBar()->setSingleStep(46);
    verticalScrollBar()->setTracking(true);
    QPalette ivory = palette();
    ivory.setColor(QPalette::Window, StoredColour(ColourIvory));
    setPalette(ivory);
    setBackgroundRole(QPalette::Window);
    setAutoFillBackground(true);
    viewport()->setBackgroundRole(QPalette::Window);
    viewport()->setAutoFillBackground(true);
}

int TPageScrollBox::ClientHeight() const {
    return height() - 2 * frameWidth();
}

int TPageScrollBox::MaxPosition() const {
    const QWidget* content = widget();
    return content ? std::max(0, content->height() - ClientHeight()) : 0;
}

int TPageScrollBox::VertPosition() const {
    return verticalScrollBar()->value();
}

void TPageScrollBox::SetVertPosition(int position) {
    // The bar's range follows the geometry only once the box has been laid out; before the
    // first showing it is set here from the same sizes.
    QScrollBar* bar = verticalScrollBar();
    bar->setRange(0, MaxPosition());
    bar->setValue(std::clamp(position, 0, MaxPosition()));
}

// --- TPageNoEdit ---

TPageNoEdit::TPageNoEdit(QWidget* parent) : QLineEdit(parent) {}

QString TPageNoEdit::Text() const {
    return text();
}

void TPageNoEdit::SetText(const QString& text) {
    setText(text);
}

void TPageNoEdit::keyPressEvent(QKeyEvent* event) {
    const bool enter = event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter;
    const QString typed = enter ? QString(QChar(13)) : event->text();
    QLineEdit::keyPressEvent(event);
    for (QChar c : typed)
        if (c == QChar(13) || c == QChar(8) || c.isPrint())
            Q_EMIT KeyPress(c);
}

// --- TRepeatSpinBox ---

TRepeatSpinBox::TRepeatSpinBox(QWidget* parent) : QAbstractSpinBox(parent) {
    setAccelerated(false);
    setKeyboardTracking(true);
    SetValue(1);
    connect(lineEdit(), &QLineEdit::textChanged, this, &TRepeatSpinBox::Changed);
}

int TRepeatSpinBox::Value() const {
    int value = 0;
    return ParseDecimal(lineEdit()->text().trimmed(), value) ? value : 0;
}

void TRepeatSpinBox::SetValue(int value) {
    lineEdit()->setText(QString::number(std::clamp(value, Minimum, Maximum)));
}

void TRepeatSpinBox::stepBy(int steps) {
    SetValue(int(std::clamp<qint64>(qint64(Value()) + steps, Minimum, Maximum)));
    selectAll();
}

QAbstractSpinBox::StepEnabled TRepeatSpinBox::stepEnabled() const {
    if (isReadOnly())
        return StepNone;
    const int value = Value();
    StepEnabled enabled = StepNone;
    if (value < Maximum)
        enabled |= StepUpEnabled;
    if (value > Minimum)
        enabled |= StepDownEnabled;
    return enabled;
}

QValidator::State TRepeatSpinBox::validate(QString& input, int&) const {
    if (input.isEmpty() || input == QLatin1String("-"))
        return QValidator::Intermediate;
    int value = 0;
    return ParseDecimal(input, value) ? QValidator::Acceptable : QValidator::Invalid;
}

// Leaves whatever was typed; leaving the box is what brings it into range.
void TRepeatSpinBox::fixup(QString&) const {}

void TRepeatSpinBox::focusOutEvent(QFocusEvent* event) {
    int value = 0;
    if (ParseDecimal(lineEdit()->text().trimmed(), value) && (value < Minimum || value > Maximum))
        SetValue(value);
    QAbstractSpinBox::focusOutEvent(event);
}
