#pragma once
// What the reading controller needs of the view that holds the selection: the soureh and ayeh
// lists, the repeat count and the translation box. The main window implements it with its
// controls; tests with plain fields. The selection lives there: the user may change a list or
// the count without a command, and the controller reads them as they are when it acts.

#include <QString>
#include <QStringList>

class IReadingSelection {
public:
    virtual ~IReadingSelection() = default;

    // The soureh list: entry k - 1 names soureh k. Index -1 with none chosen.
    virtual int SourehIndex() const = 0;
    virtual int SourehCount() const = 0;
    virtual void SetSourehIndex(int index) = 0;
    virtual void SetSourehs(const QStringList& names) = 0;

    // The ayeh list of the soureh chosen: entry k - 1 is ayeh k. Index -1 with none chosen.
    virtual int AyehIndex() const = 0;
    virtual int AyehCount() const = 0;
    virtual void SetAyehIndex(int index) = 0;
    virtual void SetAyehs(const QStringList& numbers) = 0;

    // How often the ayeh in progress is still to sound, as typed (may lie beyond the range the
    // view shows until the user confirms it).
    virtual int RepeatCount() const = 0;
    // Shows count (clamped to what the view can show); runs no command.
    virtual void SetRepeatCount(int count) = 0;

    // The translation box: the current ayeh's translation, or empty without one.
    virtual void ShowTranslation(const QString& text) = 0;
};
