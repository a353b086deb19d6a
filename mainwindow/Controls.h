#pragma once
// The main window's own kinds of control: the page picture with its private drawing surface,
// the scroll box that hosts it, the page-number box, the repeat box, and the helpers for the
// window's stored colours, fonts and placement.

#include "content/PageGeometry.h"
#include "model/Display.h"
#include "reading/RecitationRule.h"

#include <QAbstractSpinBox>
#include <QColor>
#include <QFont>
#include <QImage>
#include <QLineEdit>
#include <QPoint>
#include <QRect>
#include <QScrollArea>
#include <QSize>
#include <QString>
#include <QWidget>
#include <functional>

class QShowEvent;

// Colours are stored as 24-bit values with red in the lowest byte and blue in the highest.
QColor StoredColour(quint32 value);

// Gives a control and what it draws with (text, base, window, button) these colours.
void SetColours(QWidget* widget, const QColor& text, const QColor& background);

inline constexpr quint32 ColourPeach = 14149369;
inline constexpr quint32 ColourDarkGreen = 29955;
inline constexpr quint32 ColourIvory = 15728639;

// The named family when the system has it, else the first installed fallback. pixelHeight is
// the character height (em size) in pixels.
QFont UiFont(const QString& family, int pixelHeight, bool bold = false);

// Top-left corner that centres a window of the given outer size over a rectangle, each half
// of the difference rounded down, and no higher or further left than lowest.
QPoint CentredOver(const QRect& over, const QSize& window, const QPoint& lowest);
// Centred on a screen area: a window larger than the area goes to its top-left corner.
QPoint CentredPosition(const QRect& area, const QSize& window);

// Call from a top-level window's showEvent: at the first showing the window moves to
// place(its outer size); later showings keep it where it was left.
void PlaceOnFirstShow(QWidget* window, const QShowEvent* event, bool& placed,
                      const std::function<QPoint(const QSize&)>& place);
// Where a window of that outer size lies centred on its screen.
QPoint CentredOnScreen(const QWidget* window, const QSize& outer);

// A picture with a drawing surface of its own size; what is drawn stays until painted over.
// Reports pointer presses and moves in surface coordinates.
class TPageImage final : public QWidget, public IPageImage {
    Q_OBJECT
public:
    static constexpr int SurfaceWidth = PagePictureWidth;
    static constexpr int SurfaceHeight = PagePictureHeight;

    explicit TPageImage(QWidget* parent = nullptr);

    void DrawBitmap(const QImage& bitmap, int x, int y) override;
    void SetPixel(int x, int y, QRgb colour) override;
    const QImage& Surface() const { return Canvas; }

    // The tooltip text; an empty text shows no tooltip. A tooltip on screen follows a change.
    void SetHint(const QString& text);
    QString Hint() const { return HintText; }
    void SetShowHint(bool show);
    bool ShowHint() const { return HintShown; }

Q_SIGNALS:
    void MouseDown(Qt::MouseButton button, Qt::KeyboardModifiers shift, int x, int y);
    void MouseMove(Qt::KeyboardModifiers shift, int x, int y);

protected:
    bool event(QEvent* event) override;
    void paintEvent(QPaintEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseDoubleClickEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;

private:
    // Highlighting sets thousands of pixels in a row: ask for one repaint per event-loop turn.
    void ScheduleRepaint();

    QImage Canvas;
    QString HintText;
    bool HintShown = true;
    bool RepaintPending = false;
};

// A borderless scroll box without a horizontal bar whose client height is its own height.
class TPageScrollBox final : public QScrollArea, public IScrollBox {
    Q_OBJECT
public:
    explicit TPageScrollBox(QWidget* parent = nullptr);

    int VertPosition() const override;
    void SetVertPosition(int position) override;
    int ClientHeight() const override;

private:
    int MaxPosition() const;
};

// The page-number box. Reports every typed character, Enter as character 13.
class TPageNoEdit final : public QLineEdit, public IPageNoEdit {
    Q_OBJECT
public:
    explicit TPageNoEdit(QWidget* parent = nullptr);

    QString Text() const override;
    void SetText(const QString& text) override;

Q_SIGNALS:
    void KeyPress(QChar key);

protected:
    void keyPressEvent(QKeyEvent* event) override;
};

// The repeat box: arrows step within Minimum..Maximum and leaving the box brings a typed
// number back into that range. The box may be left empty; a text that is not a number reads
// as 0. A typed value is read as typed until the box is left.
class TRepeatSpinBox final : public QAbstractSpinBox {
    Q_OBJECT
public:
    static constexpr int Minimum = FewestRepeats;
    static constexpr int Maximum = MostRepeats;

    explicit TRepeatSpinBox(QWidget* parent = nullptr);

    int Value() const;
    // Shows value clamped to Minimum..Maximum; runs no handler.
    void SetValue(int value);

    void stepBy(int steps) override;
    QValidator::State validate(QString& input, int& pos) const override;
    void fixup(QString& input) const override;

Q_SIGNALS:
    // The text changed, typed or set: Value() may be another.
    void Changed();

protected:
    StepEnabled stepEnabled() const override;
    void focusOutEvent(QFocusEvent* event) override;
};

// Reads Western, Persian and Arabic-Indic digits with an optional leading minus sign.
bool ParseDecimal(const QString& text, int& value);
