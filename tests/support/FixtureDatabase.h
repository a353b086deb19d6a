#pragma once
// Builders for test fixtures: SQLCipher files shaped like the two content databases and
// page pictures in the Windows bitmap format.

#include "content/ContentKeys.h"
#include "content/Database.h"

#include <QByteArray>
#include <QRect>
#include <QString>
#include <QVariant>
#include <string>
#include <utility>
#include <vector>

// Creates (replacing) an SQLCipher file at path with the given key. Every failure throws
// ContentError with the engine's message.
class FixtureDatabase final {
public:
    FixtureDatabase(const QString& path, const std::string& key);
    void Exec(const std::string& sql);
    // Inserts one row; QVariant of int, bool, QString, QByteArray, or null QVariant().
    void Insert(const std::string& table, const std::vector<std::pair<std::string, QVariant>>& row);
    void Begin();
    void Commit();

private:
    SqliteDatabase Database;
};

// Creates the four quran.dat tables (Soureh, Ayeh, Pages, Lines) or the Sounds table with
// every column.
void CreateQuranTables(FixtureDatabase& db);
void CreateSoundTables(FixtureDatabase& db);
// The optional AyehText table of quran.dat, empty.
void CreateAyehTextTable(FixtureDatabase& db);
// The optional tables of the typeset glyphs, MushafFont and MushafWords, empty.
void CreateMushafTables(FixtureDatabase& db);

// A Windows bitmap file (8 bits per pixel, grey palette) filled with `background`, with the
// given rectangles (top-down pixel coordinates) painted in `ink`.
QByteArray MakeBitmap8(int width, int height, quint8 background = 255,
                       const std::vector<QRect>& darkRects = {}, quint8 ink = 0);
// The same file behind the optional 8-byte blob header (count 1, type 0x0100, size).
QByteArray WithBlobHeader(const QByteArray& bitmapFile);

// A connection string in the form of the reader's own, for a fixture file at any path.
std::string FixtureConnectionString(const QString& path, const std::string& key,
                                    const std::string& mode = "Share Deny Write");

inline constexpr const char* QuranKey = QuranDatabaseKey;
inline constexpr const char* SoundKey = SoundDatabaseKey;
