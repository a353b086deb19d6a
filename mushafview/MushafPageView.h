#pragma once
// The pages of the Mushaf view: one page, or two facing pages, each as tall as the widget, with
// the soureh's name and the juz in the top margin and the page number in the bottom one. A
// click on an ayeh reports it; the pointer resting on one shows its translation.

#include "mushaf/MushafPainter.h"
#include "mushafview/FacingPages.h"
#include "mushafview/MushafViewContent.h"

#include <QRectF>
#include <QWidget>
#include <map>
#include <optional>
#include <set>
#include <vector>

class TMushafPageView final : public QWidget {
    Q_OBJECT
public:
    // Borrows content, which must outlive the widget.
    explicit TMushafPageView(const TMushafViewContent& content, QWidget* parent = nullptr);

    // The width a spread of `pages` pages takes at `height`.
    static double SpreadWidth(double height, int pages);

    // Shows the spread, reading its pages (only the pages shown are kept). Throws what
    // TMushafViewContent::Page throws.
    void SetSpread(MushafSpread spread);
    MushafSpread Spread() const { return Shown; }
    const MushafViewPage* ShownPage(int pageId) const;

    void SetCurrentAyeh(std::optional<AyehKey> ayeh);
    std::optional<AyehKey> CurrentAyeh() const { return Current; }
    void SetNight(bool night);
    bool Night() const { return NightPage; }
    void SetTajweedColours(bool on);
    bool TajweedColours() const { return Tajweed; }
    // Words (and end signs) left out of the drawn pages, as for a learner reciting from
    // memory; empty shows the pages whole. Pictures cannot hide words and stay whole.
    void SetHiddenWords(std::set<WordKey> words);
    const std::set<WordKey>& HiddenWords() const { return Hidden; }

    // The colours the pages are drawn in now.
    MushafStyle Style() const;

    // Where a page lies in the widget: its sheet with the margins, and the page's text area
    // inside it, to which the glyphs' page coordinates are scaled.
    struct PageSlot {
        int PageID = 0;
        QRectF Sheet;
        QRectF Text;
    };
    std::vector<PageSlot> Slots() const;
    // The ayeh under a point of the widget; none on a title, in a margin, off the pages or
    // when the pages are pictures.
    std::optional<AyehKey> AyehAt(QPointF point) const;
    // An ayeh's parts, in widget coordinates, on a page shown.
    std::vector<QRectF> AyehRects(int pageId, AyehKey ayeh) const;

    const TMushafViewContent& Content() const { return Source; }

Q_SIGNALS:
    void AyehClicked(int soureh, int ayeh);

protected:
    bool event(QEvent* event) override;
    void paintEvent(QPaintEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;

private:
    void DrawMargins(QPainter& painter, const PageSlot& slot, const MushafViewPage& page,
                     const MushafStyle& style) const;

    const TMushafViewContent& Source;
    MushafSpread Shown;
    std::map<int, MushafViewPage> Pages; // the pages of Shown
    std::optional<AyehKey> Current;
    bool NightPage = false;
    bool Tajweed = false;
    std::set<WordKey> Hidden;
};

// A number in Persian digits.
QString PersianDigits(int number);
