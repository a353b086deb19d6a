#include "tools/VerifyText.h"

#include "content/ContentKeys.h"
#include "content/Database.h"
#include "content/MushafCounts.h"
#include "model/Page.h"
#include "tools/ImportSupport.h"
#include "tools/PageTypesetter.h"
#include "tools/PrintedMushaf.h"
#include "tools/QuranSources.h"
#include "tools/VerifyFindings.h"
#include "tools/VerifyGlyphs.h"

#include <QDir>
#include <QImage>
#include <QTextStream>
#include <map>
#include <set>
#include <sqlite3.h>
#include <vector>

namespace {

// The reader paints a pixel when all three channels are below this level.
constexpr int DarkBelow = HighlightLevel;
// A justified line's ink reaches this close to both edges of the text; a centred line's ink
// leaves margins on its two sides that differ by no more than twice as much.
constexpr int JustifiedWithin = 3;

struct RequiredColumn {
    const char* Table;
    const char* Column;
    bool NullAllowed; // the reader reads a null here as 0 or empty text
};

const RequiredColumn Columns[] = {
    {"Soureh", "SourehID", false}, {"Soureh", "SourehName", false},   {"Soureh", "Maki", false},
    {"Soureh", "PageID", false},   {"Soureh", "NumberOfAyeh", false}, {"Ayeh", "SourehID", false},
    {"Ayeh", "AyehID", false},     {"Ayeh", "PageID", false},         {"Ayeh", "StartLine", false},
    {"Ayeh", "EndLine", false},    {"Ayeh", "StartCol", false},       {"Ayeh", "EndCol", false},
    {"Ayeh", "StartAyeh", false},  {"Ayeh", "EndAyeh", false},        {"Ayeh", "FarsiTranslation", false},
    {"Pages", "PageID", false},    {"Pages", "PageBMP", false},       {"Pages", "Joze", true},
    {"Pages", "Hezb", true},       {"Pages", "OtherComment", true},   {"Lines", "LineID", false},
    {"Lines", "PageID", false},    {"Lines", "StartRow", false},      {"Lines", "EndRow", false},
};

struct AyehRow {
    int Soureh, Ayeh, PageId, StartLine, EndLine, StartCol, EndCol, StartAyeh, EndAyeh;
};

QString Name(const AyehRow& row) {
    return QStringLiteral("ayeh %1:%2").arg(row.Soureh).arg(row.Ayeh);
}

// Runs a statement whose every row is a list of integers.
std::vector<std::vector<qint64>> IntegerRows(sqlite3* db, const char* sql, int bound = 0) {
    SqliteStatement statement(db, sql);
    if (bound != 0)
        sqlite3_bind_int(statement.Get(), 1, bound);
    std::vector<std::vector<qint64>> rows;
    int code;
    while ((code = sqlite3_step(statement.Get())) == SQLITE_ROW) {
        std::vector<qint64> row;
        row.reserve(std::size_t(sqlite3_column_count(statement.Get())));
        for (int i = 0; i < sqlite3_column_count(statement.Get()); ++i)
            row.push_back(sqlite3_column_int64(statement.Get(), i));
        rows.push_back(std::move(row));
    }
    if (code != SQLITE_DONE)
        throw ContentError(sqlite3_errmsg(db));
    return rows;
}

qint64 Scalar(sqlite3* db, const char* sql) {
    const auto rows = IntegerRows(db, sql);
    return rows.empty() || rows.front().empty() ? 0 : rows.front().front();
}

void CheckTables(sqlite3* db, Findings& findings) {
    struct Expectation {
        const char* Table;
        const char* CountSql;
        const char* DuplicateSql;
        qint64 Rows;
    };
    const Expectation expectations[] = {
        {"Soureh", "SELECT count(*) FROM Soureh",
         "SELECT SourehID, count(*) FROM Soureh GROUP BY SourehID HAVING count(*) > 1", SourehCount},
        {"Ayeh", "SELECT count(*) FROM Ayeh",
         "SELECT SourehID, AyehID, count(*) FROM Ayeh GROUP BY SourehID, AyehID HAVING count(*) > 1",
         TotalAyehCount},
    };
    for (const Expectation& expectation : expectations) {
        const qint64 rows = Scalar(db, expectation.CountSql);
        if (rows != expectation.Rows)
            findings.Fault(QStringLiteral("row count"), QStringLiteral("table %1 has %2 rows instead of %3")
                                                            .arg(QLatin1String(expectation.Table))
                                                            .arg(rows)
                                                            .arg(expectation.Rows));
        for (const auto& row : IntegerRows(db, expectation.DuplicateSql)) {
            QStringList key;
            for (size_t i = 0; i + 1 < row.size(); ++i)
                key << QString::number(row[i]);
            findings.Fault(QStringLiteral("duplicate key"),
                           QStringLiteral("table %1 holds the key %2 %3 times")
                               .arg(QLatin1String(expectation.Table), key.join(QLatin1Char(':')))
                               .arg(row.back()));
        }
    }
    for (const auto& row :
         IntegerRows(db, "SELECT PageID, count(*) FROM Pages GROUP BY PageID HAVING count(*) > 1"))
        findings.Fault(QStringLiteral("duplicate key"),
                       QStringLiteral("table Pages holds page %1 %2 times").arg(row[0]).arg(row[1]));
    for (const auto& row :
         IntegerRows(db, "SELECT PageID, LineID, count(*) FROM Lines GROUP BY PageID, LineID "
                         "HAVING count(*) > 1"))
        findings.Fault(QStringLiteral("duplicate key"),
                       QStringLiteral("table Lines holds line %2 of page %1 %3 times")
                           .arg(row[0])
                           .arg(row[1])
                           .arg(row[2]));

    // Every soureh 1..114 with its ayehs numbered 1..NumberOfAyeh, starting on its page.
    const auto sourehs =
        IntegerRows(db, "SELECT s.SourehID, s.NumberOfAyeh, s.PageID, (SELECT count(*) FROM Ayeh a WHERE "
                        "a.SourehID = s.SourehID),"
                        " (SELECT max(AyehID) FROM Ayeh a WHERE a.SourehID = s.SourehID),"
                        " (SELECT PageID FROM Ayeh a WHERE a.SourehID = s.SourehID AND a.AyehID = 1)"
                        " FROM Soureh s ORDER BY s.SourehID");
    std::set<qint64> seen;
    for (const auto& row : sourehs) {
        seen.insert(row[0]);
        if (row[0] < 1 || row[0] > SourehCount)
            findings.Fault(QStringLiteral("soureh"),
                           QStringLiteral("soureh number %1 is outside 1..%2").arg(row[0]).arg(SourehCount));
        else if (row[1] != row[3] || row[1] != row[4])
            findings.Fault(QStringLiteral("soureh"),
                           QStringLiteral("soureh %1 says %2 ayehs but the Ayeh table numbers "
                                          "%3 rows up to %4")
                               .arg(row[0])
                               .arg(row[1])
                               .arg(row[3])
                               .arg(row[4]));
        else if (row[2] != row[5])
            findings.Fault(QStringLiteral("soureh"),
                           QStringLiteral("soureh %1 starts on page %2 but its ayeh 1 stands on page %3")
                               .arg(row[0])
                               .arg(row[2])
                               .arg(row[5]));
    }
    for (int soureh = 1; soureh <= SourehCount; ++soureh) {
        if (!seen.count(soureh))
            findings.Fault(QStringLiteral("soureh"), QStringLiteral("soureh %1 has no row").arg(soureh));
    }
    for (const auto& row :
         IntegerRows(db,
                     "SELECT SourehID, AyehID, PageID FROM Ayeh WHERE PageID < 1 OR PageID > ?1 "
                     "ORDER BY SourehID, AyehID",
                     PageCount))
        findings.Fault(QStringLiteral("ayeh page"),
                       QStringLiteral("ayeh %1:%2 stands on page %3, which does not exist")
                           .arg(row[0])
                           .arg(row[1])
                           .arg(row[2]));
}

// The bounds of a line as the reader takes them: the page's Lines row, else the defaults.
struct Band {
    int StartRow, EndRow;
};

std::map<AyehKey, AyehRow> AllAyehs(sqlite3* db) {
    std::map<AyehKey, AyehRow> rows;
    for (const auto& row : IntegerRows(db, "SELECT SourehID, AyehID, PageID, StartLine, EndLine, StartCol, "
                                           "EndCol, StartAyeh, EndAyeh FROM Ayeh"))
        rows[{int(row[0]), int(row[1])}] = {int(row[0]), int(row[1]), int(row[2]), int(row[3]), int(row[4]),
                                            int(row[5]), int(row[6]), int(row[7]), int(row[8])};
    return rows;
}

// The page holds the ayehs printed on it, each beginning and ending on its printed line.
void CheckPrintedLines(const std::map<AyehKey, AyehRow>& ayehs, const PrintedMushaf& print, int pageId,
                       Findings& findings) {
    struct Printed {
        int StartLine = 0;
        int EndLine = 0;
    };
    std::vector<std::pair<AyehKey, Printed>> printed;
    const std::vector<PrintedLine>& lines = print.Page(pageId);
    for (size_t index = 0; index < lines.size(); ++index) {
        const int band = PrintedMushaf::BandOf(int(lines.size()), int(index));
        for (const PrintedPiece& piece : lines[index].Pieces) {
            if (printed.empty() || printed.back().first != AyehKey{piece.Soureh, piece.Ayeh})
                printed.push_back({{piece.Soureh, piece.Ayeh}, {band, 0}});
            if (piece.EndsAyeh)
                printed.back().second.EndLine = band;
        }
    }
    const auto name = [](const AyehKey& key) {
        return QStringLiteral("ayeh %1:%2").arg(key.Soureh).arg(key.Ayeh);
    };
    const auto fault = [&](int line, const QString& what) {
        findings.Fault(QStringLiteral("printed lines"),
                       QStringLiteral("page %1, line %2: %3").arg(pageId).arg(line).arg(what));
    };
    for (const auto& [key, place] : printed) {
        const auto found = ayehs.find(key);
        if (found == ayehs.end())
            continue; // reported with the row counts
        const AyehRow& row = found->second;
        if (row.PageId != pageId) {
            fault(place.StartLine, QStringLiteral("%1 begins on this line in print but stands on page %2")
                                       .arg(name(key))
                                       .arg(row.PageId));
            continue;
        }
        if (row.StartLine != place.StartLine)
            fault(place.StartLine, QStringLiteral("%1 begins on this line in print, on line %2 here")
                                       .arg(name(key))
                                       .arg(row.StartLine));
        if (row.EndLine != place.EndLine)
            fault(place.EndLine, QStringLiteral("%1 ends on this line in print, on line %2 here")
                                     .arg(name(key))
                                     .arg(row.EndLine));
    }
    for (const auto& [key, row] : ayehs) {
        const bool onPage = std::any_of(printed.begin(), printed.end(),
                                        [&key = key](const auto& entry) { return entry.first == key; });
        if (row.PageId == pageId && !onPage)
            findings.Fault(QStringLiteral("printed lines"),
                           QStringLiteral("page %1 holds %2, which is printed on page %3")
                               .arg(pageId)
                               .arg(name(key))
                               .arg(print.PageOf(key.Soureh, key.Ayeh)));
    }
}

// A line of ayeh text is justified, its ink reaching both edges of the text, or centred when
// it is short (or stands on a page set as a centred block).
template <typename Dark>
void CheckLineSpread(int pageId, int line, const Band& band, bool centredPage, const Dark& dark,
                     Findings& findings) {
    int left = PagePictureWidth;
    int right = -1;
    for (int y = band.StartRow; y <= band.EndRow; ++y) {
        for (int x = 0; x < PagePictureWidth; ++x) {
            if (dark(x, y)) {
                left = std::min(left, x);
                right = std::max(right, x);
            }
        }
    }
    if (right < 0)
        return; // reported as an empty highlight
    constexpr int textRight = PageTextLeft + PageTextWidth - 1;
    const bool justified = left <= PageTextLeft + JustifiedWithin && right >= textRight - JustifiedWithin;
    const bool centred = std::abs((left - PageTextLeft) - (textRight - right)) <= 2 * JustifiedWithin &&
                         (centredPage || right - left + 1 < CentreBelowShare * PageTextWidth);
    if (!justified && !centred)
        findings.Fault(
            QStringLiteral("line spread"),
            QStringLiteral("page %1, line %2: the ayeh text is neither justified to the text width "
                           "nor a short centred line (its ink spans columns %3 to %4, the text %5 to %6)")
                .arg(pageId)
                .arg(line)
                .arg(left)
                .arg(right)
                .arg(PageTextLeft)
                .arg(textRight));
}

// Returns the page's picture as stored, null when it cannot be shown.
QImage CheckPage(sqlite3* db, int pageId, const PrintedMushaf* print, Findings& findings) {
    const QString page = QStringLiteral("page %1").arg(pageId);
    SqliteStatement pictureQuery(db, "SELECT PageBMP FROM Pages WHERE PageID = ?1");
    sqlite3_bind_int(pictureQuery.Get(), 1, pageId);
    if (sqlite3_step(pictureQuery.Get()) != SQLITE_ROW) {
        findings.Fault(QStringLiteral("page missing"), QStringLiteral("%1 has no row in Pages").arg(page));
        return {};
    }
    const QByteArray blob(static_cast<const char*>(sqlite3_column_blob(pictureQuery.Get(), 0)),
                          sqlite3_column_bytes(pictureQuery.Get(), 0));
    // Decoded as the reader decodes it, so that a picture passes here only if it shows there.
    QImage stored;
    try {
        stored = DecodePagePicture(blob);
    } catch (const ModelError& error) {
        findings.Fault(QStringLiteral("picture"),
                       QStringLiteral("%1: the reader cannot decode the picture (%2)")
                           .arg(page, QString::fromUtf8(error.what())));
        return {};
    }
    if (stored.isNull() || stored.width() != PagePictureWidth || stored.height() != PagePictureHeight ||
        stored.format() != QImage::Format_Indexed8) {
        findings.Fault(
            QStringLiteral("picture"),
            QStringLiteral("%1: the picture does not decode as a %2 x %3 bitmap of 8 bits per pixel")
                .arg(page)
                .arg(PagePictureWidth)
                .arg(PagePictureHeight));
        return {};
    }
    // The reader converts the picture to 24 bits and tests blue, green and red.
    QImage picture = stored;
    ConvertPagePictureTo24Bits(picture);
    const auto dark = [&](int x, int y) {
        const uchar* pixel = picture.constScanLine(y) + std::ptrdiff_t{3} * x;
        return pixel[0] < DarkBelow && pixel[1] < DarkBelow && pixel[2] < DarkBelow;
    };

    Band bands[LinesPerPage + 1];
    for (int line = 1; line <= LinesPerPage; ++line)
        bands[line] = {DefaultStartRow(line), DefaultEndRow(line)};
    int storedBands = 0;
    for (const auto& row :
         IntegerRows(db, "SELECT LineID, StartRow, EndRow FROM Lines WHERE PageID = ?1", pageId)) {
        if (row[0] < 1 || row[0] > LinesPerPage || row[1] < 0 || row[1] > row[2] ||
            row[2] >= PagePictureHeight) {
            findings.Fault(QStringLiteral("line band"),
                           QStringLiteral("%1: line %2 has the rows %3..%4, which is no band "
                                          "of line 1..%5 inside the picture")
                               .arg(page)
                               .arg(row[0])
                               .arg(row[1])
                               .arg(row[2])
                               .arg(LinesPerPage));
            continue;
        }
        bands[row[0]] = {int(row[1]), int(row[2])};
        ++storedBands;
    }
    // The opening pages are set as a block of centred lines in fewer bands than a page has.
    const bool centredPage = print ? int(print->Page(pageId).size()) < LinesPerPage
                                   : storedBands > 0 && storedBands < LinesPerPage;

    std::vector<AyehRow> ayehs;
    for (const auto& row :
         IntegerRows(db,
                     "SELECT SourehID, AyehID, PageID, StartLine, EndLine, StartCol, EndCol, "
                     "StartAyeh, EndAyeh FROM Ayeh WHERE PageID = ?1 ORDER BY SourehID, AyehID",
                     pageId))
        ayehs.push_back({int(row[0]), int(row[1]), int(row[2]), int(row[3]), int(row[4]), int(row[5]),
                         int(row[6]), int(row[7]), int(row[8])});
    if (ayehs.empty()) {
        findings.Fault(QStringLiteral("page without ayehs"), QStringLiteral("%1 holds no ayeh").arg(page));
        return stored;
    }

    // Geometry that the highlight and the hit test can use at all.
    std::vector<AyehRow> usable;
    for (const AyehRow& ayeh : ayehs) {
        const QString where = page + QStringLiteral(", ") + Name(ayeh);
        if (ayeh.StartLine < 1 || ayeh.EndLine > LinesPerPage || ayeh.StartLine > ayeh.EndLine) {
            findings.Fault(QStringLiteral("lines"),
                           QStringLiteral("%1: lines %2..%3 are not in order within 1..%4")
                               .arg(where)
                               .arg(ayeh.StartLine)
                               .arg(ayeh.EndLine)
                               .arg(LinesPerPage));
            continue;
        }
        if (ayeh.StartCol < 0 || ayeh.StartCol >= PagePictureWidth || ayeh.EndCol < 0 ||
            ayeh.EndCol >= PagePictureWidth) {
            findings.Fault(QStringLiteral("columns"),
                           QStringLiteral("%1: columns %2 and %3 are not inside the picture")
                               .arg(where)
                               .arg(ayeh.StartCol)
                               .arg(ayeh.EndCol));
            continue;
        }
        const int start = ReadingPosition(PagePictureWidth, ayeh.StartLine, ayeh.StartCol);
        const int end = ReadingPosition(PagePictureWidth, ayeh.EndLine, ayeh.EndCol);
        if (ayeh.StartAyeh != start || ayeh.EndAyeh != end) {
            findings.Fault(QStringLiteral("positions"),
                           QStringLiteral("%1: StartAyeh %2 and EndAyeh %3 should be %4 and %5, "
                                          "the positions of its start and end")
                               .arg(where)
                               .arg(ayeh.StartAyeh)
                               .arg(ayeh.EndAyeh)
                               .arg(start)
                               .arg(end));
            continue;
        }
        if (start > end) {
            findings.Fault(QStringLiteral("positions"),
                           QStringLiteral("%1: it ends (position %2) before it starts (%3)")
                               .arg(where)
                               .arg(end)
                               .arg(start));
            continue;
        }
        usable.push_back(ayeh);
    }
    for (size_t i = 1; i < usable.size(); ++i) {
        if (usable[i].StartAyeh <= usable[i - 1].EndAyeh)
            findings.Fault(QStringLiteral("order"),
                           QStringLiteral("%1: %2 (positions %3..%4) does not come after %5 "
                                          "(positions %6..%7)")
                               .arg(page, Name(usable[i]))
                               .arg(usable[i].StartAyeh)
                               .arg(usable[i].EndAyeh)
                               .arg(Name(usable[i - 1]))
                               .arg(usable[i - 1].StartAyeh)
                               .arg(usable[i - 1].EndAyeh));
    }

    // Paint every ayeh's highlight region as the reader does and count, per pixel, the
    // ayehs whose region holds it.
    std::vector<quint8> owners(size_t(PagePictureWidth) * PagePictureHeight, 0);
    std::vector<int> lastOwner(owners.size(), -1);
    std::vector<bool> carriesText(LinesPerPage + 1, false);
    for (size_t index = 0; index < usable.size(); ++index) {
        const AyehRow& ayeh = usable[index];
        int ink = 0;
        for (int line = ayeh.StartLine; line <= ayeh.EndLine; ++line) {
            const bool first = line == ayeh.StartLine;
            const bool last = line == ayeh.EndLine;
            const int x0 = last ? ayeh.EndCol : 0;
            const int x1 = first ? ayeh.StartCol : PagePictureWidth - 1;
            carriesText[size_t(line)] = true;
            for (int y = bands[line].StartRow; y <= bands[line].EndRow; ++y) {
                for (int x = x0; x <= x1; ++x) {
                    const size_t at = size_t(y) * PagePictureWidth + size_t(x);
                    if (lastOwner[at] == int(index))
                        continue;
                    lastOwner[at] = int(index);
                    owners[at] = quint8(std::min(owners[at] + 1, 255));
                    ink += dark(x, y) ? 1 : 0;
                }
            }
        }
        if (ink == 0)
            findings.Fault(QStringLiteral("empty highlight"),
                           QStringLiteral("%1, %2: its highlight region holds no ink").arg(page, Name(ayeh)));
    }
    for (int line = 1; line <= LinesPerPage; ++line) {
        if (!carriesText[size_t(line)])
            continue;
        int outside = 0;
        int shared = 0;
        QString firstOutside;
        QString firstShared;
        for (int y = bands[line].StartRow; y <= bands[line].EndRow; ++y) {
            for (int x = 0; x < PagePictureWidth; ++x) {
                if (!dark(x, y))
                    continue;
                const int count = owners[size_t(y) * PagePictureWidth + size_t(x)];
                if (count == 0 && outside++ == 0)
                    firstOutside = QStringLiteral("(%1, %2)").arg(x).arg(y);
                if (count > 1 && shared++ == 0)
                    firstShared = QStringLiteral("(%1, %2)").arg(x).arg(y);
            }
        }
        const auto reportInk = [&](const char* kind, int count, const QString& first, const char* where) {
            if (count > 0)
                findings.Fault(QLatin1String(kind),
                               QStringLiteral("%1, line %2: %3 dark pixels lie in %4, the first at %5")
                                   .arg(page)
                                   .arg(line)
                                   .arg(count)
                                   .arg(QLatin1String(where), first));
        };
        reportInk("ink outside", outside, firstOutside, "no ayeh's highlight");
        reportInk("ink shared", shared, firstShared, "the highlight of more than one ayeh");
        CheckLineSpread(pageId, line, bands[line], centredPage, dark, findings);
    }
    return stored;
}

} // namespace

int VerifyQuranDatabase(const QString& path, const std::optional<QList<int>>& pages,
                        const PrintedMushaf* print, QTextStream& report) {
    Findings findings(report);
    const QString shown = QDir::toNativeSeparators(path);
    try {
        KeyedDatabase database(path, QuranDatabaseKey, KeyedDatabase::OpenMode::ReadOnly);
        bool complete = true;
        for (const RequiredColumn& required : Columns) {
            if (!database.HasColumn(required.Table, required.Column)) {
                findings.Fault(QStringLiteral("schema"),
                               QStringLiteral("table %1 has no column %2")
                                   .arg(QLatin1String(required.Table), QLatin1String(required.Column)));
                complete = false;
            }
        }
        if (complete) {
            sqlite3* db = database.Handle();
            for (const RequiredColumn& required : Columns) {
                if (required.NullAllowed)
                    continue;
                const std::string sql = std::string("SELECT count(*) FROM ") + required.Table + " WHERE " +
                                        required.Column + " IS NULL";
                if (const qint64 nulls = Scalar(db, sql.c_str()); nulls > 0)
                    findings.Fault(QStringLiteral("null"),
                                   QStringLiteral("%1 rows of table %2 have no %3, which the reader "
                                                  "cannot read")
                                       .arg(nulls)
                                       .arg(QLatin1String(required.Table), QLatin1String(required.Column)));
            }
            CheckTables(db, findings);
            QList<int> checked;
            if (pages) {
                checked = *pages;
            } else {
                for (int page = 1; page <= PageCount; ++page)
                    checked.append(page);
                const qint64 rows = Scalar(db, "SELECT count(*) FROM Pages");
                if (rows != PageCount)
                    findings.Fault(
                        QStringLiteral("row count"),
                        QStringLiteral("table Pages has %1 rows instead of %2").arg(rows).arg(PageCount));
            }
            const std::map<AyehKey, AyehRow> ayehs = print ? AllAyehs(db) : std::map<AyehKey, AyehRow>();
            GlyphChecks glyphs(path, findings);
            for (const int page : checked) {
                const QImage picture = CheckPage(db, page, print, findings);
                if (print)
                    CheckPrintedLines(ayehs, *print, page, findings);
                glyphs.CheckPage(page, picture, print);
            }
            glyphs.Close();
            findings.Close();
            report << shown << ": "
                   << (findings.Count() == 0 ? QStringLiteral("no faults")
                                             : QStringLiteral("%1 faults").arg(findings.Count()))
                   << " (" << checked.size() << " pages checked)\n";
            return findings.Count();
        }
    } catch (const std::exception& error) {
        findings.Fault(QStringLiteral("open"), QString::fromUtf8(error.what()));
    }
    findings.Close();
    report << shown << ": " << findings.Count() << " faults; the file could not be checked further\n";
    return findings.Count();
}
