#pragma once
// The Mushaf view: a window of its own that shows the whole page, or two facing pages when it
// is wider than tall, drawn from the typeset glyphs at the screen's resolution.
//
// The view knows the reading only through its slots and signals: whoever opens it tells it the
// current ayeh and page (ShowAyeh, ShowPage) and carries out what it asks (AyehActivated,
// PageRequested, PauseRequested). It turns its own pages at once and asks for the turn after.
//
// Keys: Left (the next page, as the book opens to the left), Right, Page Down (next), Page Up;
// Ctrl+Space pauses; Ctrl+Plus, Ctrl+Minus and Ctrl+0 zoom and fit; T the tajweed colours;
// Escape and F11 close.

#include "mushafview/MushafPageView.h"
#include "mushafview/TajweedLegendWindow.h"

#include <QPointer>
#include <QWidget>
#include <optional>

class QLabel;
class QMenu;
class QScrollArea;

class TMushafViewWindow final : public QWidget {
    Q_OBJECT
public:
    // Borrows content, which must outlive the window. Opens on page (its spread), with the
    // night page and the tajweed colours as the settings file keeps them.
    TMushafViewWindow(const TMushafViewContent& content, int page, QWidget* parent = nullptr);
    ~TMushafViewWindow() override;

    TMushafPageView* Pages() const { return PageView; }
    // The page the view is on: the one asked for last, or the first of the spread turned to.
    int Page() const { return CurrentPage; }
    bool Facing() const;

    // Onwards (positive, to the left) or back by whole spreads.
    void TurnPage(int step);
    void SetNight(bool night);
    void SetTajweedColours(bool on);
    // 1 fits the pages to the window's height; more scrolls.
    void SetZoom(double zoom);
    double Zoom() const { return ZoomFactor; }
    void ShowLegend();
    TTajweedLegendWindow* Legend() const { return LegendWindow; }

    // The view's context menu, built but not shown; it deletes itself when closed.
    QMenu* ContextMenu();

public Q_SLOTS:
    // The reading's current ayeh, on page: painted red, its page shown.
    void ShowAyeh(int soureh, int ayeh, int page);
    void ShowPage(int page);

Q_SIGNALS:
    void AyehActivated(int soureh, int ayeh);
    void PageRequested(int page);
    void PauseRequested();
    // The window has been closed on this page, with this ayeh current (0 and 0 for none).
    void ViewClosed(int soureh, int ayeh, int page);

protected:
    void resizeEvent(QResizeEvent* event) override;
    void closeEvent(QCloseEvent* event) override;
    void contextMenuEvent(QContextMenuEvent* event) override;

private:
    void GoTo(int page);
    void Relayout();

    TMushafPageView* PageView = nullptr;
    QScrollArea* Scroll = nullptr;
    QLabel* Note = nullptr;
    QPointer<TTajweedLegendWindow> LegendWindow;
    int CurrentPage = 1;
    double ZoomFactor = 1;
};
