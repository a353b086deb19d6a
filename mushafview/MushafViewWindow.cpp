#include "mushafview/MushafViewWindow.h"

#include "content/ContentKeys.h"
#include "content/ViewSettingsKeys.h"
#include "mushafview/MushafViewAccessible.h"
#include "mushafview/MushafViewCaptions.h"
#include "mushafview/TajweedLegendWindow.h"

#include <QCloseEvent>
#include <QContextMenuEvent>
#include <QKeySequence>
#include <QLabel>
#include <QMenu>
#include <QScrollArea>
#include <QScrollBar>
#include <QSettings>
#include <QShortcut>
#include <QVBoxLayout>
#include <algorithm>
#include <cmath>
#include <functional>

namespace {

constexpr double ZoomStep = 1.25;
constexpr double SmallestZoom = 0.5;
constexpr double LargestZoom = 4;

QString SettingName(const char* value) {
    return QString::fromLatin1(MushafViewGroup) + u'/' + QString::fromLatin1(value);
}

bool ReadChoice(const char* value) {
    const QSettings settings(QString::fromLatin1(SettingsOrganisation),
                             QString::fromLatin1(SettingsApplication));
    return settings.value(SettingName(value), false).toBool();
}

void KeepChoice(const char* value, bool on) {
    // A settings file that cannot be written is passed over: the choice holds for this window.
    QSettings settings(QString::fromLatin1(SettingsOrganisation), QString::fromLatin1(SettingsApplication));
    settings.setValue(SettingName(value), on);
    settings.sync();
}

const QKeySequence TajweedKey(Qt::Key_T);
const QKeySequence ZoomInKey(Qt::CTRL | Qt::Key_Plus);
const QKeySequence ZoomOutKey(Qt::CTRL | Qt::Key_Minus);
const QKeySequence FitKey(Qt::CTRL | Qt::Key_0);

} // namespace

TMushafViewWindow::TMushafViewWindow(const TMushafViewContent& content, int page, QWidget* parent)
    : QWidget(parent, Qt::Window) {
    InstallMushafAccessibility();
    setWindowTitle(CaptionMushafView);
    setLayoutDirection(Qt::RightToLeft);
    setAttribute(Qt::WA_DeleteOnClose);

    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);
    Note = new QLabel(content.Note(), this);
    Note->setAlignment(Qt::AlignCenter);
    Note->setVisible(!content.Note().isEmpty());
    layout->addWidget(Note);
    Scroll = new QScrollArea(this);
    Scroll->setFrameShape(QFrame::NoFrame);
    Scroll->setAlignment(Qt::AlignCenter);
    Scroll->setFocusPolicy(Qt::NoFocus);
    layout->addWidget(Scroll);
    PageView = new TMushafPageView(content, Scroll);
    Scroll->setWidget(PageView);
    // The keys reach the window's shortcuts from the pages, never from a control of another
    // window that kept the focus.
    PageView->setFocusPolicy(Qt::StrongFocus);
    setFocusProxy(PageView);
    PageView->setFocus();
    connect(PageView, &TMushafPageView::AyehClicked, this, &TMushafViewWindow::AyehActivated);

    PageView->SetNight(ReadChoice(MushafViewNightValue));
    PageView->SetTajweedColours(ReadChoice(MushafViewTajweedValue));
    CurrentPage = std::clamp(page, FirstPageID, LastPageID);

    const std::pair<QKeySequence, std::function<void()>> keys[] = {
        {QKeySequence(Qt::Key_Left), [this] { TurnPage(1); }},
        {QKeySequence(Qt::Key_PageDown), [this] { TurnPage(1); }},
        {QKeySequence(Qt::Key_Right), [this] { TurnPage(-1); }},
        {QKeySequence(Qt::Key_PageUp), [this] { TurnPage(-1); }},
        {QKeySequence(Qt::CTRL | Qt::Key_Space), [this] { Q_EMIT PauseRequested(); }},
        {ZoomInKey, [this] { SetZoom(ZoomFactor * ZoomStep); }},
        {QKeySequence(Qt::CTRL | Qt::Key_Equal), [this] { SetZoom(ZoomFactor * ZoomStep); }},
        {ZoomOutKey, [this] { SetZoom(ZoomFactor / ZoomStep); }},
        {FitKey, [this] { SetZoom(1); }},
        {TajweedKey, [this] { SetTajweedColours(!PageView->TajweedColours()); }},
        {QKeySequence(Qt::Key_Escape), [this] { close(); }},
        {QKeySequence(Qt::Key_F11), [this] { close(); }},
    };
    for (const auto& [sequence, command] : keys) {
        auto* shortcut = new QShortcut(sequence, this);
        shortcut->setContext(Qt::WindowShortcut);
        connect(shortcut, &QShortcut::activated, this, command);
    }
    resize(1280, 800);
    Relayout();
}

TMushafViewWindow::~TMushafViewWindow() = default;

bool TMushafViewWindow::Facing() const {
    return width() > height();
}

void TMushafViewWindow::GoTo(int page) {
    CurrentPage = std::clamp(page, FirstPageID, LastPageID);
    PageView->SetSpread(SpreadOf(CurrentPage, Facing()));
    Scroll->verticalScrollBar()->setValue(0);
}

void TMushafViewWindow::TurnPage(int step) {
    const int page = TurnedPage(CurrentPage, Facing(), step);
    if (SpreadOf(page, Facing()) == SpreadOf(CurrentPage, Facing()))
        return; // an end of the book
    GoTo(page);
    Q_EMIT PageRequested(page);
}

void TMushafViewWindow::ShowAyeh(int soureh, int ayeh, int page) {
    PageView->SetCurrentAyeh(AyehKey{soureh, ayeh});
    ShowPage(page);
}

void TMushafViewWindow::ShowPage(int page) {
    if (page < FirstPageID || page > LastPageID)
        return;
    if (PageView->Spread().Holds(page)) {
        CurrentPage = page;
        return;
    }
    GoTo(page);
}

void TMushafViewWindow::SetNight(bool night) {
    PageView->SetNight(night);
    KeepChoice(MushafViewNightValue, night);
}

void TMushafViewWindow::SetTajweedColours(bool on) {
    PageView->SetTajweedColours(on);
    KeepChoice(MushafViewTajweedValue, on);
}

void TMushafViewWindow::SetZoom(double zoom) {
    ZoomFactor = std::clamp(zoom, SmallestZoom, LargestZoom);
    if (std::abs(ZoomFactor - 1) < 0.01)
        ZoomFactor = 1;
    Relayout();
}

void TMushafViewWindow::ShowLegend() {
    if (!LegendWindow)
        LegendWindow = new TTajweedLegendWindow(this);
    LegendWindow->show();
    LegendWindow->raise();
}

void TMushafViewWindow::Relayout() {
    const QSize area = Scroll->maximumViewportSize();
    const double height = std::max(1.0, area.height() * ZoomFactor);
    const MushafSpread spread = SpreadOf(CurrentPage, Facing());
    const double width = TMushafPageView::SpreadWidth(height, spread.Left != 0 ? 2 : 1);
    PageView->setFixedSize(std::max(area.width(), int(std::ceil(width))), int(height));
    PageView->SetSpread(spread);
}

void TMushafViewWindow::resizeEvent(QResizeEvent* event) {
    QWidget::resizeEvent(event);
    Relayout();
}

void TMushafViewWindow::closeEvent(QCloseEvent* event) {
    const std::optional<AyehKey> ayeh = PageView->CurrentAyeh();
    const bool shown = ayeh && !PageView->AyehRects(CurrentPage, *ayeh).empty();
    Q_EMIT ViewClosed(shown ? ayeh->Soureh : 0, shown ? ayeh->Ayeh : 0, CurrentPage);
    if (LegendWindow)
        LegendWindow->close();
    QWidget::closeEvent(event);
}

QMenu* TMushafViewWindow::ContextMenu() {
    auto* menu = new QMenu(this);
    menu->setAttribute(Qt::WA_DeleteOnClose);
    const auto add = [this, menu](const QString& caption, const QKeySequence& key,
                                  std::function<void()> command) {
        // The key is shown beside the caption; the window's own shortcut carries it out.
        QAction* action = menu->addAction(
            key.isEmpty() ? caption : caption + u'\t' + key.toString(QKeySequence::NativeText));
        connect(action, &QAction::triggered, this, std::move(command));
        return action;
    };
    QAction* night = add(CaptionNightPage, {}, [this] { SetNight(!PageView->Night()); });
    night->setCheckable(true);
    night->setChecked(PageView->Night());
    QAction* tajweed =
        add(CaptionTajweedColours, TajweedKey, [this] { SetTajweedColours(!PageView->TajweedColours()); });
    tajweed->setCheckable(true);
    tajweed->setChecked(PageView->TajweedColours());
    tajweed->setEnabled(PageView->Content().DrawsGlyphs());
    add(CaptionTajweedLegend, {}, [this] { ShowLegend(); });
    menu->addSeparator();
    add(CaptionZoomIn, ZoomInKey, [this] { SetZoom(ZoomFactor * ZoomStep); });
    add(CaptionZoomOut, ZoomOutKey, [this] { SetZoom(ZoomFactor / ZoomStep); });
    add(CaptionFit, FitKey, [this] { SetZoom(1); });
    menu->addSeparator();
    add(CaptionCloseView, QKeySequence(Qt::Key_Escape), [this] { close(); });
    return menu;
}

void TMushafViewWindow::contextMenuEvent(QContextMenuEvent* event) {
    ContextMenu()->popup(event->globalPos());
}
