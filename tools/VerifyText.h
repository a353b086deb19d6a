#pragma once
// The checks of quran.dat that `golvar-content verify` runs: what the reader needs of the
// text database to show, hit-test and highlight every ayeh correctly, and that each page is
// set as printed.

#include <QList>
#include <QString>
#include <optional>

class PrintedMushaf;
class QTextStream;

// Checks the file at `path` and writes each fault, and a closing summary, to `report`.
// With `pages`, the page checks (pictures, geometry, ink) cover those pages only and the
// Pages table need only hold them; the Soureh and Ayeh tables are always checked whole.
// With `print`, each checked page must hold the ayehs printed on it, each beginning and
// ending on its printed line. Returns the number of faults; a file that cannot be opened
// counts as one.
int VerifyQuranDatabase(const QString& path, const std::optional<QList<int>>& pages,
                        const PrintedMushaf* print, QTextStream& report);
