#pragma once
// The printed lines of the 15-line Madani Mushaf, from the npm package @saqfish/asim: its
// file data/hafs/raw.json lists every line of the print in order, 8 lines on each of pages 1
// and 2 and 15 on each of the others. A soureh's title line begins with "سُورَةُ", a
// Bismillah line holds the Bismillah alone, and each ayeh ends with a no-break space and its
// number in Arabic-Indic digits. Those lines decide what a page holds and where each line
// breaks.

#include <QByteArray>
#include <QString>
#include <QStringList>
#include <vector>

// An ayeh's part of a printed line.
struct PrintedPiece {
    int Soureh = 0;
    int Ayeh = 0;
    QString Text;          // the words as printed, without the end-of-ayeh number
    bool EndsAyeh = false; // the ayeh ends on this line: its end sign and number follow Text
};

struct PrintedLine {
    enum class Kind { Title, Bismillah, Text };
    Kind Type = Kind::Text;
    int Soureh = 0;                   // the soureh whose title, Bismillah or text it is
    QString Text;                     // a title or Bismillah line as printed
    std::vector<PrintedPiece> Pieces; // a text line's ayeh parts, in reading order
};

class PrintedMushaf final {
public:
    // Reads data/hafs/raw.json of the unpacked package in `directory`. Throws ToolError
    // naming the page and line where the file breaks one of the facts above, so that another
    // version of the package never yields a book set wrongly.
    static PrintedMushaf Load(const QString& directory);
    // The same from the lines themselves, in the file's order.
    static PrintedMushaf FromLines(const std::vector<QString>& lines);

    const std::vector<PrintedLine>& Page(int pageId) const { return Pages.at(size_t(pageId - 1)); }
    // The page an ayeh is printed on (it never runs on to the next one).
    int PageOf(int soureh, int ayeh) const;
    // An ayeh's text as printed: its pieces joined with a space.
    const QString& AyehText(int soureh, int ayeh) const;

    // The words of a printed text, as the spaces between them part them.
    static QStringList WordsOf(const QString& text);

    // The band (1 to 15) in which line `index` (from 0) of a page of `lineCount` lines is
    // set: a page with fewer lines than bands stands as a block in the middle.
    static int BandOf(int lineCount, int index);

private:
    std::vector<std::vector<PrintedLine>> Pages;
    std::vector<std::vector<int>> AyehPages;     // [soureh - 1][ayeh - 1]
    std::vector<std::vector<QString>> AyehTexts; // [soureh - 1][ayeh - 1]
};

// File `file` of the unpacked @saqfish/asim package in `directory`. Throws ToolError saying
// that the `what` are missing when it cannot be read.
QByteArray ReadPrintedMushafFile(const QString& directory, const QString& file, const QString& what);

// The unpacked @saqfish/asim package: `explicitDir` when given, else .cache/sources/asim in
// the current folder or above the tool's own folder. Throws ToolError.
QString FindPrintedMushafPackage(const QString& explicitDir);
