#pragma once
// The dialogs of the reading aids: finding an ayeh by its words and the list of bookmarks.
// Both are right to left in the main window's list font and colours, close with Escape, and
// go to the chosen ayeh with Enter or a double click.

#include <QDialog>
#include <QFont>
#include <functional>

class QLabel;
class QLineEdit;
class QListWidget;
class QListWidgetItem;
class QPushButton;
class TAyehIndex;
class TReaderSettings;

// Right to left, the font given, dark green on peach.
void DressLikeMainWindow(QWidget* widget, const QFont& font);

// Roles of the items of the dialogs' lists.
inline constexpr int SourehRole = Qt::UserRole;
inline constexpr int AyehRole = Qt::UserRole + 1;
// A search result as the list draws it: HTML of a line each for the soureh and ayeh, the
// Arabic text and the translation.
inline constexpr int HtmlRole = Qt::UserRole + 2;

// The texts searched (null while there is no book) and the command that goes to an ayeh.
using IndexSource = std::function<const TAyehIndex*()>;
using GoToCommand = std::function<void(int sourehId, int ayehId)>;

// A text box and the live list of the ayehs its words find: soureh and ayeh, the start of
// the Arabic text and of the translation, the matched words marked.
class TSearchDialog final : public QDialog {
    Q_OBJECT
public:
    static constexpr int TextExcerpt = 70;
    static constexpr int TranslationExcerpt = 90;

    TSearchDialog(QWidget* parent, const QFont& font, IndexSource index, GoToCommand goTo);

    QLineEdit* Box = nullptr;
    QLabel* Note = nullptr;
    QListWidget* Results = nullptr;

    // Shows the dialog with the last words selected, ready for new ones.
    // Not QDialog::open: fills the dialog afresh, then shows it.
    // NOLINTNEXTLINE(bugprone-virtual-near-miss)
    void Open();
    // Closes the dialog and goes to the current result, if any.
    void GoToCurrent();
    // Searches again for the words in the box.
    void Refresh();

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void StopCatchingKeys();

    IndexSource Index;
    GoToCommand GoTo;
    // Keys typed for this dialog that still reach the main window are brought to the box.
    bool CatchingKeys = false;
};

// The bookmarks, newest first: soureh, ayeh and the time each was added.
class TBookmarksDialog final : public QDialog {
    Q_OBJECT
public:
    // settings: where the bookmarks are kept; it outlives the dialog.
    TBookmarksDialog(QWidget* parent, const QFont& font, TReaderSettings& settings, IndexSource index,
                     GoToCommand goTo);

    QLabel* Note = nullptr;
    QListWidget* List = nullptr;
    QPushButton* GoButton = nullptr;
    QPushButton* RemoveButton = nullptr;

    // Reads the bookmarks again and shows the dialog.
    // Not QDialog::open: fills the dialog afresh, then shows it.
    // NOLINTNEXTLINE(bugprone-virtual-near-miss)
    void Open();
    void Refresh();
    // Closes the dialog and goes to the current bookmark, if any.
    void GoToCurrent();
    // Removes the current bookmark; the error box says so when it cannot be stored.
    void RemoveCurrent();

    // The time a bookmark was added, as the list shows it: the Persian calendar and digits.
    static QString TimeText(const QDateTime& added);

private:
    TReaderSettings& Settings;
    IndexSource Index;
    GoToCommand GoTo;
};
