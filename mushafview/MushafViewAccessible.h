#pragma once
// What screen readers see of the Mushaf view: the pages shown, each an element named by its
// number, holding its ayehs, each named by its soureh and number, with the ayeh's Arabic text
// and Persian translation as description.

#include <QAccessibleWidget>
#include <QPointer>
#include <map>
#include <utility>

class TMushafPageView;

// Makes Qt build the interfaces below for the view's widget; once per process.
void InstallMushafAccessibility();

// The view's widget: its children are the pages shown, right page first.
class TAccessibleMushafView final : public QAccessibleWidget {
public:
    explicit TAccessibleMushafView(TMushafPageView* view);
    ~TAccessibleMushafView() override;

    int childCount() const override;
    QAccessibleInterface* child(int index) const override;
    int indexOfChild(const QAccessibleInterface* child) const override;
    QAccessibleInterface* childAt(int x, int y) const override;
    QString text(QAccessible::Text t) const override;

    // The element of a page shown, or of one of its ayehs (ayeh index from 0; -1 for the page).
    QAccessibleInterface* Item(int pageId, int ayehIndex) const;

private:
    TMushafPageView* View() const;
    // Forgets the elements of pages no longer shown.
    void Prune() const;

    mutable std::map<std::pair<int, int>, QAccessible::Id> Items;
};
