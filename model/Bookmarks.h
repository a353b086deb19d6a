#pragma once
// The reader's bookmarks, kept in the per-user settings beside the last position: an ayeh and
// the time it was marked. Display-free.

#include <QDateTime>
#include <vector>

struct TBookmark {
    int SourehID = 0;
    int AyehID = 0;
    QDateTime Added;
    bool operator==(const TBookmark&) const = default;
};

// The stored bookmarks, newest first. An entry that is damaged (a number missing, not a whole
// number or below 1, a time that is no time) is skipped; a settings file that cannot be read
// gives none.
std::vector<TBookmark> ReadBookmarks();

// Stores list, in that order, in place of the stored bookmarks; false when the settings file
// cannot be read or written, and then it is left as it was.
bool WriteBookmarks(const std::vector<TBookmark>& list);

bool IsBookmarked(const std::vector<TBookmark>& list, int sourehId, int ayehId);

// Marks the ayeh at time added when it is not marked, else removes its mark, and stores the
// bookmarks; false when they could not be stored.
bool ToggleBookmark(int sourehId, int ayehId, const QDateTime& added);

// Removes the ayeh's mark, if any, and stores the bookmarks; false when they could not be
// stored.
bool RemoveBookmark(int sourehId, int ayehId);
