#pragma once
// The progress map: one cell per page (604) or per soureh (114), coloured by its state,
// read right to left and top to bottom, page 1 at the top right. Painted by hand, so that
// drawing the whole map is a few hundred rectangles.

#include "learning/ReviewPlan.h"

#include <QColor>
#include <QRect>
#include <QString>
#include <QStringList>
#include <QWidget>

enum class ProgressUnit { Pages, Sourehs };

// The colour and the Persian name each state is shown with, in the map and its legend.
QColor ProgressColour(Progress state);
QString ProgressName(Progress state);

class TProgressMapView final : public QWidget {
    Q_OBJECT
public:
    explicit TProgressMapView(QWidget* parent = nullptr);

    void SetMap(ProgressMap map);
    const ProgressMap& Map() const { return States; }
    void SetUnit(ProgressUnit unit);
    ProgressUnit Unit() const { return Shown; }
    // The sourehs' names for the cells' tooltips, entry k - 1 for soureh k.
    void SetSourehNames(QStringList names) { Names = std::move(names); }

    // The cells of the unit shown: 604 pages or 114 sourehs.
    int CellCount() const;
    // Where cell `number` (a page or soureh, from 1) is drawn; empty for no such cell.
    QRect CellRect(int number) const;
    // The cell under a point, 0 for none.
    int NumberAt(QPoint point) const;

    QSize sizeHint() const override;

Q_SIGNALS:
    // A click on a page's cell, asking for that page to be opened.
    void PageChosen(int pageId);
    // A click on a soureh's cell.
    void SourehChosen(int sourehId);

protected:
    bool event(QEvent* event) override;
    void paintEvent(QPaintEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;

private:
    int Columns() const;
    int CellSide() const;

    ProgressMap States;
    ProgressUnit Shown = ProgressUnit::Pages;
    QStringList Names;
};
