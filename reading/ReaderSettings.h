#pragma once
// The reader's per-user settings file: the last position, the bookmarks and the practice last
// set. The one way the reader reads or writes that file; its keys and format stay as they are,
// since stored files rely on them.

#include "model/Bookmarks.h"
#include "model/Practice.h"

#include <QDateTime>
#include <stdexcept>
#include <vector>

// A stored position that cannot be read: a value missing or of another type.
class ReaderSettingsError : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

struct TReadingPosition {
    int SourehID = 1;
    int AyehID = 1;
    bool operator==(const TReadingPosition&) const = default;
};

class TReaderSettings final {
public:
    // The position stored at the last close; soureh 1, ayeh 1 when none has been stored (no
    // file, or one holding only bookmarks or a practice) or the file cannot be read at all.
    // Throws ReaderSettingsError for a value that is missing or not a whole 32-bit number.
    TReadingPosition ReadLastPosition() const;
    // A file that cannot be written is passed over in silence.
    void WriteLastPosition(int sourehId, int ayehId);

    // The practice last set; each damaged value falls back to the default plan's.
    PracticePlan ReadPracticePlan() const;
    // A file that cannot be written is passed over: the practice runs all the same.
    void WritePracticePlan(const PracticePlan& plan);

    // Newest first; damaged entries skipped, none when the file cannot be read.
    std::vector<TBookmark> Bookmarks() const;
    bool IsBookmarked(int sourehId, int ayehId) const;
    // Marks the ayeh at added, or removes its mark; false when the file could not be written.
    bool ToggleBookmark(int sourehId, int ayehId, const QDateTime& added);
    // False when the file could not be written.
    bool RemoveBookmark(int sourehId, int ayehId);
};
