#pragma once
// A small pair of content files (quran.dat and snd.wav, with the real passwords) for tests of
// the reading model and the main window.
//
// Content:
// - sourehs 1 (7 ayehs, page 1), 2 (5 ayehs: 1-3 on page 2, 4-5 on page 3), 9 (2 ayehs,
//   page 4) and 114 (3 ayehs, page 5); page 6 is a picture without ayehs;
// - pictures of the page size, 8 bits per pixel, white with black ink inside every line
//   band an ayeh covers; pages 2 and 4 are stored behind the 8-byte blob header;
// - Lines rows: page 2 for every line (bands of 43 rows from row 40, see Page2LineRows),
//   page 3 for line 3 only (rows 100 to 160); the other pages use the default bands;
// - Sounds: reciter 1 for every ayeh and the Bismillah, reciter 2 for every ayeh except those
//   of soureh 114, and the Bismillah; no recording of reciter 3; a Reciters table naming
//   reciters 1 and 2.

#include "content/PageGeometry.h"
#include "tests/support/FixtureDatabase.h"

#include <QByteArray>
#include <QRect>
#include <QString>
#include <functional>
#include <vector>

struct FixtureAyeh {
    int SourehID;
    int AyehID;
    int PageID;
    int StartLine;
    int EndLine;
    int StartCol;
    int EndCol;

    // Reading positions on a page.
    int StartAyeh() const;
    int EndAyeh() const;
    QString Translation() const;
};

struct FixtureSoureh {
    int SourehID;
    QString Name;
    bool Maki;
    int PageID;
    int NumberOfAyeh;
};

class FixtureBook final {
public:
    static constexpr int PageWidth = PagePictureWidth;
    static constexpr int PageHeight = PagePictureHeight;
    static constexpr int PageCount = 6;

    static const std::vector<FixtureSoureh>& Sourehs();
    static const std::vector<FixtureAyeh>& Ayehs();
    static const FixtureAyeh& FindAyeh(int sourehId, int ayehId);

    // Band of line (1 to 15) on page 2, whose Lines rows differ from the defaults.
    static int Page2StartRow(int line) { return 40 + 43 * (line - 1); }
    static int Page2EndRow(int line) { return 40 + 43 * line; }
    // The band of a line as the fixture's pages store or default it.
    static int StartRow(int pageId, int line);
    static int EndRow(int pageId, int line);

    // Called after the standard rows are inserted, before the files are closed: tests add
    // rows or drop tables here.
    using Extra = std::function<void(FixtureDatabase& quran, FixtureDatabase& sound)>;
    // Writes dir/quran.dat and dir/snd.wav (replacing them).
    static void Create(const QString& dir, const Extra& extra = {});

    // The WAV file stored for a recording (soureh 0, ayeh 0: the Bismillah). Every recording
    // is a different 40 ms signal, so extracted files can be told apart.
    static QByteArray Recording(int ghariId, int sourehId, int ayehId);
    // The ink rectangles of a page picture.
    static std::vector<QRect> InkOf(int pageId);
    // Reading position of column x on line of a page.
    static int PositionOf(int line, int x) { return ReadingPosition(PageWidth, line, x); }
};

// Makes dir the current working directory for the life of the object (the content files
// are opened by bare name).
class ScopedCurrentDir final {
public:
    explicit ScopedCurrentDir(const QString& dir);
    ~ScopedCurrentDir();
    ScopedCurrentDir(const ScopedCurrentDir&) = delete;
    ScopedCurrentDir& operator=(const ScopedCurrentDir&) = delete;

private:
    QString Previous;
};
