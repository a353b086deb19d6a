#include "mushafview/MushafViewAccessible.h"

#include "mushafview/MushafPageView.h"
#include "mushafview/MushafViewCaptions.h"

#include <QWindow>

namespace {

// A page shown (AyehIndex -1) or one of its ayehs, in reading order.
class TAccessibleMushafItem final : public QAccessibleInterface {
public:
    TAccessibleMushafItem(const TAccessibleMushafView* owner, TMushafPageView* view, int pageId,
                          int ayehIndex)
        : Owner(owner), View(view), PageID(pageId), AyehIndex(ayehIndex) {}

    bool isValid() const override { return View && Page() && (AyehIndex < 0 || Ayeh()); }
    QObject* object() const override { return nullptr; }
    QWindow* window() const override { return View ? View->window()->windowHandle() : nullptr; }

    QAccessibleInterface* parent() const override {
        if (!View)
            return nullptr;
        return AyehIndex < 0 ? QAccessible::queryAccessibleInterface(View) : Owner->Item(PageID, -1);
    }
    int childCount() const override {
        const MushafViewPage* page = Page();
        return AyehIndex < 0 && page ? int(page->Glyphs.Ayehs().size()) : 0;
    }
    QAccessibleInterface* child(int index) const override {
        return index >= 0 && index < childCount() ? Owner->Item(PageID, index) : nullptr;
    }
    int indexOfChild(const QAccessibleInterface* item) const override {
        for (int i = 0; i < childCount(); ++i) {
            if (child(i) == item)
                return i;
        }
        return -1;
    }
    QAccessibleInterface* childAt(int x, int y) const override {
        for (int i = 0; i < childCount(); ++i) {
            if (child(i)->rect().contains(x, y))
                return child(i);
        }
        return nullptr;
    }

    QString text(QAccessible::Text t) const override {
        if (!isValid())
            return {};
        if (AyehIndex < 0)
            return t == QAccessible::Name ? CaptionPageName.arg(PersianDigits(PageID)) : QString();
        const AyehKey ayeh = *Ayeh();
        const TMushafViewContent& content = View->Content();
        if (t == QAccessible::Name)
            return CaptionAyehName.arg(content.SourehName(ayeh.Soureh), PersianDigits(ayeh.Ayeh));
        if (t == QAccessible::Description) {
            const QString arabic = content.ArabicText(ayeh);
            const QString persian = content.Translation(ayeh);
            return arabic.isEmpty() ? persian : arabic + u'\n' + persian;
        }
        return {};
    }
    void setText(QAccessible::Text, const QString&) override {}

    QRect rect() const override {
        if (!isValid())
            return {};
        QRectF area;
        if (AyehIndex < 0) {
            for (const TMushafPageView::PageSlot& slot : View->Slots()) {
                if (slot.PageID == PageID)
                    area = slot.Sheet;
            }
        } else {
            for (const QRectF& part : View->AyehRects(PageID, *Ayeh()))
                area |= part;
        }
        const QRect local = area.toAlignedRect();
        return QRect(View->mapToGlobal(local.topLeft()), local.size());
    }
    QAccessible::Role role() const override {
        return AyehIndex < 0 ? QAccessible::Pane : QAccessible::Paragraph;
    }
    QAccessible::State state() const override {
        QAccessible::State state;
        state.readOnly = true;
        state.invisible = !isValid();
        return state;
    }

private:
    const MushafViewPage* Page() const { return View ? View->ShownPage(PageID) : nullptr; }
    std::optional<AyehKey> Ayeh() const {
        const MushafViewPage* page = Page();
        if (!page)
            return std::nullopt;
        const std::vector<AyehKey> ayehs = page->Glyphs.Ayehs();
        return AyehIndex >= 0 && AyehIndex < int(ayehs.size()) ? std::optional(ayehs[size_t(AyehIndex)])
                                                               : std::nullopt;
    }

    const TAccessibleMushafView* Owner;
    QPointer<TMushafPageView> View;
    int PageID;
    int AyehIndex;
};

QAccessibleInterface* MushafAccessibleFactory(const QString& className, QObject* object) {
    if (className == QLatin1String("TMushafPageView") && object && object->isWidgetType())
        return new TAccessibleMushafView(static_cast<TMushafPageView*>(object));
    return nullptr;
}

} // namespace

void InstallMushafAccessibility() {
    static const bool installed = [] {
        QAccessible::installFactory(MushafAccessibleFactory);
        return true;
    }();
    (void)installed;
}

TAccessibleMushafView::TAccessibleMushafView(TMushafPageView* view)
    : QAccessibleWidget(view, QAccessible::Document) {}

TAccessibleMushafView::~TAccessibleMushafView() {
    for (const auto& [key, id] : Items)
        QAccessible::deleteAccessibleInterface(id);
}

TMushafPageView* TAccessibleMushafView::View() const {
    return static_cast<TMushafPageView*>(widget());
}

void TAccessibleMushafView::Prune() const {
    for (auto item = Items.begin(); item != Items.end();) {
        if (!View()->ShownPage(item->first.first)) {
            QAccessible::deleteAccessibleInterface(item->second);
            item = Items.erase(item);
        } else {
            ++item;
        }
    }
}

QAccessibleInterface* TAccessibleMushafView::Item(int pageId, int ayehIndex) const {
    Prune();
    if (!View()->ShownPage(pageId))
        return nullptr;
    const auto key = std::make_pair(pageId, ayehIndex);
    auto found = Items.find(key);
    if (found == Items.end()) {
        auto* item = new TAccessibleMushafItem(this, View(), pageId, ayehIndex);
        found = Items.emplace(key, QAccessible::registerAccessibleInterface(item)).first;
    }
    return QAccessible::accessibleInterface(found->second);
}

int TAccessibleMushafView::childCount() const {
    int count = 0;
    for (const TMushafPageView::PageSlot& slot : View()->Slots())
        count += View()->ShownPage(slot.PageID) ? 1 : 0;
    return count;
}

QAccessibleInterface* TAccessibleMushafView::child(int index) const {
    int at = 0;
    for (const TMushafPageView::PageSlot& slot : View()->Slots()) {
        if (!View()->ShownPage(slot.PageID))
            continue;
        if (at++ == index)
            return Item(slot.PageID, -1);
    }
    return nullptr;
}

int TAccessibleMushafView::indexOfChild(const QAccessibleInterface* item) const {
    for (int i = 0; i < childCount(); ++i) {
        if (child(i) == item)
            return i;
    }
    return -1;
}

QAccessibleInterface* TAccessibleMushafView::childAt(int x, int y) const {
    for (int i = 0; i < childCount(); ++i) {
        if (child(i)->rect().contains(x, y))
            return child(i);
    }
    return nullptr;
}

QString TAccessibleMushafView::text(QAccessible::Text t) const {
    if (t != QAccessible::Name)
        return QAccessibleWidget::text(t);
    QStringList pages;
    for (const TMushafPageView::PageSlot& slot : View()->Slots())
        pages << CaptionPageName.arg(PersianDigits(slot.PageID));
    return pages.join(QStringLiteral("، "));
}
