#pragma once
// The hezbs of the 15-line Madani print and their quarters, from data/hafs/sections.json of the
// npm package @saqfish/asim, the package of the printed lines: one list per juz, 30 in all,
// of its 8 quarters in order, four to a hezb. A quarter names its first ayeh by its place in
// the book counted from 0 and gives that ayeh's text as printed. The print marks the start
// of every quarter with ۞, except where a soureh begins, and nowhere else. The first quarter
// names 1:2 but opens the book.

#include <QByteArray>
#include <QString>
#include <utility>
#include <vector>

class PrintedMushaf;

class PrintedQuarters final {
public:
    // Reads data/hafs/sections.json of the unpacked package in `directory`. Throws ToolError
    // naming the juz and quarter where the file breaks one of the facts above, checked against
    // `print`, so that another version of the package never yields wrong hezbs.
    static PrintedQuarters Load(const QString& directory, const PrintedMushaf& print);
    // The same from the file's bytes.
    static PrintedQuarters FromJson(const QByteArray& json, const PrintedMushaf& print);

    // The hezb (1 to 60) in which an ayeh stands.
    int HezbOf(int soureh, int ayeh) const;

private:
    std::vector<std::pair<int, int>> Starts; // each quarter's first ayeh, in reading order
};
