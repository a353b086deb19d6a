#include "mainwindow/AidsDialogs.h"

#include "mainwindow/Controls.h"
#include "mainwindow/ErrorBox.h"
#include "mainwindow/ReadingAidsCaptions.h"
#include "model/AyehSearch.h"
#include "model/Bookmarks.h"
#include "reading/ReaderSettings.h"

#include <QAbstractTextDocumentLayout>
#include <QApplication>
#include <QCalendar>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QLocale>
#include <QPainter>
#include <QPushButton>
#include <QStyledItemDelegate>
#include <QTextDocument>
#include <QVBoxLayout>
#include <optional>
#include <utility>

namespace {

// The colour of matched words: the red the page paints its highlighted ayeh in.
const QString MarkStyle = QStringLiteral("color:#ff0000; font-weight:bold");

// A text with its marks as HTML.
QString MarkedHtml(const TExcerpt& excerpt) {
    QString html;
    int at = 0;
    for (const TTextSpan& mark : excerpt.Marks) {
        html += excerpt.Text.mid(at, mark.Start - at).toHtmlEscaped();
        html += QStringLiteral("<span style=\"%1\">").arg(MarkStyle) +
                excerpt.Text.mid(mark.Start, mark.Length).toHtmlEscaped() + QStringLiteral("</span>");
        at = mark.Start + mark.Length;
    }
    return html + excerpt.Text.mid(at).toHtmlEscaped();
}

QString AyehCaption(const TAyehIndex& index, int sourehId, int ayehId) {
    return CaptionAyehOf.arg(index.SourehName(sourehId), PersianNumber(ayehId));
}

// A result of several lines of HTML, right to left, on one line each.
class TResultDelegate final : public QStyledItemDelegate {
public:
    using QStyledItemDelegate::QStyledItemDelegate;

    void paint(QPainter* painter, const QStyleOptionViewItem& option,
               const QModelIndex& index) const override {
        QStyleOptionViewItem panel(option);
        initStyleOption(&panel, index);
        panel.text.clear();
        const QWidget* widget = panel.widget;
        QStyle* style = widget ? widget->style() : QApplication::style();
        style->drawControl(QStyle::CE_ItemViewItem, &panel, painter, widget);

        QTextDocument document;
        Prepare(document, panel.font, index);
        document.setTextWidth(option.rect.width());
        QAbstractTextDocumentLayout::PaintContext context;
        const bool selected = option.state & QStyle::State_Selected;
        context.palette.setColor(QPalette::Text, selected ? option.palette.color(QPalette::HighlightedText)
                                                          : option.palette.color(QPalette::Text));
        painter->save();
        painter->translate(option.rect.topLeft());
        painter->setClipRect(QRect(QPoint(0, 0), option.rect.size()));
        document.documentLayout()->draw(painter, context);
        painter->restore();
    }

    QSize sizeHint(const QStyleOptionViewItem& option, const QModelIndex& index) const override {
        QTextDocument document;
        Prepare(document, option.font, index);
        return {int(document.idealWidth()), int(document.size().height())};
    }

private:
    static void Prepare(QTextDocument& document, const QFont& font, const QModelIndex& index) {
        document.setDefaultFont(font);
        QTextOption lines(Qt::AlignRight);
        lines.setTextDirection(Qt::RightToLeft);
        lines.setWrapMode(QTextOption::NoWrap);
        document.setDefaultTextOption(lines);
        document.setDocumentMargin(3);
        document.setHtml(index.data(HtmlRole).toString());
    }
};

// The soureh and ayeh of a list's current item.
std::optional<std::pair<int, int>> CurrentAyeh(const QListWidget* list) {
    const QListWidgetItem* item = list->currentItem();
    if (!item)
        return std::nullopt;
    return std::pair(item->data(SourehRole).toInt(), item->data(AyehRole).toInt());
}

// Closes the dialog and goes to the ayeh of the list's current item, if any.
void GoToCurrentOf(QDialog* dialog, const QListWidget* list, const GoToCommand& goTo) {
    const auto ayeh = CurrentAyeh(list);
    if (!ayeh)
        return;
    dialog->accept();
    RunHandler([&] { goTo(ayeh->first, ayeh->second); });
}

QListWidget* MakeList(QWidget* parent) {
    auto* list = new QListWidget(parent);
    list->setSelectionMode(QAbstractItemView::SingleSelection);
    list->setUniformItemSizes(true);
    list->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    return list;
}

} // namespace

void DressLikeMainWindow(QWidget* widget, const QFont& font) {
    widget->setLayoutDirection(Qt::RightToLeft);
    widget->setFont(font);
    QPalette palette = widget->palette();
    for (auto role : {QPalette::Text, QPalette::WindowText, QPalette::ButtonText})
        palette.setColor(role, StoredColour(ColourDarkGreen));
    for (auto role : {QPalette::Base, QPalette::Window})
        palette.setColor(role, StoredColour(ColourPeach));
    palette.setColor(QPalette::AlternateBase, StoredColour(ColourIvory));
    widget->setPalette(palette);
}

// --- TSearchDialog ---

TSearchDialog::TSearchDialog(QWidget* parent, const QFont& font, IndexSource index, GoToCommand goTo)
    : QDialog(parent), Index(std::move(index)), GoTo(std::move(goTo)) {
    setWindowTitle(CaptionFindTitle);
    // Above the main window, which stays on top of the others.
    setWindowFlag(Qt::WindowStaysOnTopHint);
    DressLikeMainWindow(this, font);
    Box = new QLineEdit(this);
    Box->setPlaceholderText(CaptionFindPrompt);
    Box->setClearButtonEnabled(true);
    Box->installEventFilter(this);
    Note = new QLabel(this);
    Results = MakeList(this);
    Results->setItemDelegate(new TResultDelegate(Results));
    Results->setAlternatingRowColors(true);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(Box);
    layout->addWidget(Note);
    layout->addWidget(Results, 1);
    resize(560, 420);

    connect(Box, &QLineEdit::textChanged, this, [this] { Refresh(); });
    connect(Box, &QLineEdit::returnPressed, this, [this] { GoToCurrent(); });
    connect(Results, &QListWidget::itemActivated, this, [this] { GoToCurrent(); });
    Refresh();
}

// NOLINTNEXTLINE(bugprone-virtual-near-miss)
void TSearchDialog::Open() {
    Refresh();
    show();
    raise();
    activateWindow();
    Box->setFocus(Qt::ShortcutFocusReason);
    Box->selectAll();
    // The window system gives this window the keyboard a moment after it shows; what is typed
    // meanwhile still goes to the main window (where it could choose a reciter or a soureh by
    // its letters) and is brought here instead.
    if (!isActiveWindow() && !CatchingKeys) {
        CatchingKeys = true;
        qApp->installEventFilter(this);
    }
}

void TSearchDialog::StopCatchingKeys() {
    if (!CatchingKeys)
        return;
    CatchingKeys = false;
    qApp->removeEventFilter(this);
}

void TSearchDialog::Refresh() {
    Results->clear();
    const TAyehIndex* index = Index();
    const QString query = Box->text();
    if (!index) {
        Note->clear();
        return;
    }
    const TSearchResult found = index->Search(query);
    QString note = index->HasArabicText() ? QString() : CaptionNoArabicText;
    const auto addLine = [&note](const QString& line) { note = note.isEmpty() ? line : note + u'\n' + line; };
    if (found.Total > int(found.Hits.size()))
        addLine(CaptionFoundMore.arg(PersianNumber(found.Total), PersianNumber(int(found.Hits.size()))));
    else if (found.Total > 0)
        addLine(CaptionFound.arg(PersianNumber(found.Total)));
    else if (!SearchTerms(query).isEmpty())
        addLine(CaptionNotFound);
    Note->setText(note);

    for (const TSearchHit& hit : found.Hits) {
        const TAyehText* ayeh = index->Find(hit.SourehID, hit.AyehID);
        QString html = QStringLiteral("<div><b>%1</b></div>")
                           .arg(AyehCaption(*index, hit.SourehID, hit.AyehID).toHtmlEscaped());
        if (index->HasArabicText())
            html += QStringLiteral("<div>%1</div>")
                        .arg(MarkedHtml(Excerpt(ayeh->Text, MatchedWords(ayeh->Text, query), TextExcerpt)));
        html += QStringLiteral("<div>%1</div>")
                    .arg(MarkedHtml(Excerpt(ayeh->Translation, MatchedWords(ayeh->Translation, query),
                                            TranslationExcerpt)));
        auto* item = new QListWidgetItem(Results);
        item->setData(SourehRole, hit.SourehID);
        item->setData(AyehRole, hit.AyehID);
        item->setData(HtmlRole, html);
        item->setData(Qt::AccessibleTextRole, AyehCaption(*index, hit.SourehID, hit.AyehID));
    }
    if (Results->count() > 0)
        Results->setCurrentRow(0);
}

void TSearchDialog::GoToCurrent() {
    GoToCurrentOf(this, Results, GoTo);
}

// Up and down in the text box move through the results, so that the words can be typed and
// a result chosen without leaving the box.
bool TSearchDialog::eventFilter(QObject* watched, QEvent* event) {
    if (CatchingKeys) {
        // Until this window holds the keyboard, or the user turns to another with a click.
        if (isActiveWindow() || !isVisible() || event->type() == QEvent::MouseButtonPress) {
            StopCatchingKeys();
        } else if ((event->type() == QEvent::KeyPress || event->type() == QEvent::KeyRelease) &&
                   watched->isWidgetType() && static_cast<QWidget*>(watched)->window() != this) {
            const auto* key = static_cast<QKeyEvent*>(event);
            QKeyEvent copy(key->type(), key->key(), key->modifiers(), key->text(), key->isAutoRepeat(),
                           static_cast<quint16>(key->count()));
            QCoreApplication::sendEvent(Box, &copy);
            return true;
        }
    }
    if (watched == Box && event->type() == QEvent::KeyPress) {
        const int key = static_cast<QKeyEvent*>(event)->key();
        if ((key == Qt::Key_Down || key == Qt::Key_Up) && Results->count() > 0) {
            const int row =
                std::clamp(Results->currentRow() + (key == Qt::Key_Down ? 1 : -1), 0, Results->count() - 1);
            Results->setCurrentRow(row);
            return true;
        }
    }
    return QDialog::eventFilter(watched, event);
}

// --- TBookmarksDialog ---

TBookmarksDialog::TBookmarksDialog(QWidget* parent, const QFont& font, TReaderSettings& settings,
                                   IndexSource index, GoToCommand goTo)
    : QDialog(parent), Settings(settings), Index(std::move(index)), GoTo(std::move(goTo)) {
    setWindowTitle(CaptionBookmarksTitle);
    setWindowFlag(Qt::WindowStaysOnTopHint);
    DressLikeMainWindow(this, font);
    Note = new QLabel(CaptionNoBookmarks, this);
    Note->setWordWrap(true);
    List = MakeList(this);
    GoButton = new QPushButton(CaptionGoToBookmark, this);
    RemoveButton = new QPushButton(CaptionRemoveSelected, this);
    GoButton->setAutoDefault(false);
    RemoveButton->setAutoDefault(false);
    auto* buttons = new QHBoxLayout;
    buttons->addWidget(GoButton);
    buttons->addWidget(RemoveButton);
    buttons->addStretch(1);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(Note);
    layout->addWidget(List, 1);
    layout->addLayout(buttons);
    resize(380, 360);

    connect(List, &QListWidget::itemActivated, this, [this] { GoToCurrent(); });
    connect(GoButton, &QPushButton::clicked, this, [this] { GoToCurrent(); });
    connect(RemoveButton, &QPushButton::clicked, this, [this] { RemoveCurrent(); });
}

QString TBookmarksDialog::TimeText(const QDateTime& added) {
    const QLocale persian(QLocale::Persian, QLocale::Iran);
    const QCalendar jalali(QCalendar::System::Jalali);
    const QString format = QStringLiteral("yyyy/MM/dd HH:mm");
    return jalali.isValid() ? persian.toString(added.toLocalTime(), format, jalali)
                            : persian.toString(added.toLocalTime(), format);
}

// NOLINTNEXTLINE(bugprone-virtual-near-miss)
void TBookmarksDialog::Open() {
    Refresh();
    show();
    raise();
    activateWindow();
    List->setFocus(Qt::ShortcutFocusReason);
}

void TBookmarksDialog::Refresh() {
    List->clear();
    const TAyehIndex* index = Index();
    if (index) {
        for (const TBookmark& bookmark : Settings.Bookmarks()) {
            // A mark of an ayeh this book does not have is passed over like a damaged one.
            if (!index->Find(bookmark.SourehID, bookmark.AyehID))
                continue;
            auto* item = new QListWidgetItem(AyehCaption(*index, bookmark.SourehID, bookmark.AyehID) +
                                                 QStringLiteral(u" — ") + TimeText(bookmark.Added),
                                             List);
            item->setData(SourehRole, bookmark.SourehID);
            item->setData(AyehRole, bookmark.AyehID);
        }
    }
    if (List->count() > 0)
        List->setCurrentRow(0);
    Note->setVisible(List->count() == 0);
    GoButton->setEnabled(List->count() > 0);
    RemoveButton->setEnabled(List->count() > 0);
}

void TBookmarksDialog::GoToCurrent() {
    GoToCurrentOf(this, List, GoTo);
}

void TBookmarksDialog::RemoveCurrent() {
    const auto ayeh = CurrentAyeh(List);
    if (!ayeh)
        return;
    if (!Settings.RemoveBookmark(ayeh->first, ayeh->second))
        ShowStandardError(CaptionBookmarkNotSaved);
    Refresh();
}
