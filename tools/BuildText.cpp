// golvar-content build-text: typesets quran.dat from the public text sources.
#include "content/ContentKeys.h"
#include "content/MushafCounts.h"
#include "mushaf/MushafFont.h"
#include "mushaf/MushafStore.h"
#include "tools/Commands.h"
#include "tools/ImportSupport.h"
#include "tools/PageList.h"
#include "tools/PageTypesetter.h"
#include "tools/PrintedMushaf.h"
#include "tools/PrintedQuarters.h"
#include "tools/QuranSources.h"
#include "tools/Rle8Bitmap.h"

#include <QCommandLineParser>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryFile>
#include <QTextStream>
#include <QThread>
#include <QtConcurrent/QtConcurrentMap>
#include <atomic>
#include <cerrno>
#include <cstdio>
#include <fcntl.h>
#include <map>
#include <set>
#include <sqlite3.h>
#include <sys/file.h>
#include <unistd.h>

namespace {

constexpr const char* Usage =
    "Usage: golvar-content build-text [--sources DIR] [--print DIR] [--pages LIST] OUT\n"
    "\n"
    "Typesets the Mushaf into OUT/quran.dat: the sourehs, the ayehs with their Persian\n"
    "translation and their place on the page, the 604 page pictures and their line bands,\n"
    "and every printed word with its glyphs and the font they were set in.\n"
    "Every page is set line for line as the 15-line Madani print, at one type size.\n"
    "The file is written under a temporary name and takes its place only when complete.\n"
    "\n"
    "  --sources DIR  the unpacked quran-db package: translation, soureh names, juz\n"
    "                 (default: .cache/sources/quran-db in the working directory, else\n"
    "                 beside the build folder)\n"
    "  --print DIR    the unpacked @saqfish/asim package: the printed lines and the\n"
    "                 hezb quarters (default: .cache/sources/asim, found the same way)\n"
    "  --pages LIST   typeset only these pages, e.g. 1,2,50,604 or 1-10; the other tables\n"
    "                 stay complete, and ayehs on other pages get no place (lines 0)\n"
    "\n"
    "Exit status: 0 done, 1 failed, 2 wrong usage.\n";

constexpr const char* Schema = R"sql(
CREATE TABLE Soureh (SourehID INTEGER PRIMARY KEY, SourehName TEXT NOT NULL, Maki INTEGER NOT NULL,
                     PageID INTEGER NOT NULL, NumberOfAyeh INTEGER NOT NULL);
CREATE TABLE Ayeh (SourehID INTEGER NOT NULL, AyehID INTEGER NOT NULL, PageID INTEGER NOT NULL,
                   StartLine INTEGER NOT NULL, EndLine INTEGER NOT NULL,
                   StartCol INTEGER NOT NULL, EndCol INTEGER NOT NULL,
                   StartAyeh INTEGER NOT NULL, EndAyeh INTEGER NOT NULL, FarsiTranslation TEXT NOT NULL,
                   PRIMARY KEY (SourehID, AyehID));
CREATE INDEX AyehByPage ON Ayeh (PageID, SourehID, AyehID);
CREATE TABLE Pages (PageID INTEGER PRIMARY KEY, PageBMP BLOB NOT NULL, Joze INTEGER NOT NULL,
                    Hezb TEXT NOT NULL, OtherComment TEXT NOT NULL);
CREATE TABLE Lines (LineID INTEGER NOT NULL, PageID INTEGER NOT NULL, StartRow INTEGER NOT NULL,
                    EndRow INTEGER NOT NULL, PRIMARY KEY (PageID, LineID));
CREATE TABLE AyehText (SourehID INTEGER NOT NULL, AyehID INTEGER NOT NULL, Text TEXT NOT NULL,
                       PRIMARY KEY (SourehID, AyehID));
CREATE TABLE MushafFont (FontID INTEGER PRIMARY KEY, FileName TEXT NOT NULL, Sha256 TEXT NOT NULL,
                         PixelSize REAL NOT NULL, Format INTEGER NOT NULL);
CREATE TABLE MushafWords (PageID INTEGER NOT NULL, Position INTEGER NOT NULL, LineID INTEGER NOT NULL,
                          Kind INTEGER NOT NULL, SourehID INTEGER NOT NULL, AyehID INTEGER NOT NULL,
                          WordID INTEGER NOT NULL, CharStart INTEGER NOT NULL, CharEnd INTEGER NOT NULL,
                          Text TEXT NOT NULL, Glyphs BLOB NOT NULL);
CREATE UNIQUE INDEX MushafWordsByPage ON MushafWords (PageID, Position);
)sql";

// What the database keeps of a typeset page.
struct PageRecord {
    int PageId = 0;
    QByteArray Bitmap;
    std::vector<AyehPlacement> Ayehs;
    std::vector<LineBand> Lines;
    std::vector<MushafWord> Words;
    double GlyphSize = 0;
    std::vector<QString> FontFiles;
    QString Error;
};

// A prepared insert whose values are bound in column order.
class Insert final {
public:
    Insert(sqlite3* db, const char* sql) : Db(db), Statement(db, sql) {}

    Insert& operator<<(int value) {
        Check(sqlite3_bind_int(Statement.Get(), ++Index, value));
        return *this;
    }
    Insert& operator<<(double value) {
        Check(sqlite3_bind_double(Statement.Get(), ++Index, value));
        return *this;
    }
    Insert& operator<<(const QString& value) {
        const QByteArray utf8 = value.toUtf8();
        Check(sqlite3_bind_text(Statement.Get(), ++Index, utf8.constData(), int(utf8.size()),
                                SQLITE_TRANSIENT));
        return *this;
    }
    Insert& operator<<(const QByteArray& value) {
        Check(sqlite3_bind_blob(Statement.Get(), ++Index, value.constData(), int(value.size()),
                                SQLITE_TRANSIENT));
        return *this;
    }
    void Run() {
        if (sqlite3_step(Statement.Get()) != SQLITE_DONE)
            Check(sqlite3_errcode(Db));
        sqlite3_reset(Statement.Get());
        sqlite3_clear_bindings(Statement.Get());
        Index = 0;
    }

private:
    void Check(int code) const {
        if (code != SQLITE_OK && code != SQLITE_DONE)
            throw ToolError(
                QStringLiteral("cannot write a row: %1").arg(QString::fromUtf8(sqlite3_errmsg(Db))));
    }
    sqlite3* Db;
    SqliteStatement Statement;
    int Index = 0;
};

// The juz (from quran-db) and the hezb (from the print's quarters) of a page are those of its
// first ayeh; the hezb is stored as decimal text.
struct PagePosition {
    int Joze = 0;
    QString Hezb;
};

std::vector<PagePosition> PagePositions(const QuranSources& sources, const PrintedQuarters& quarters) {
    std::vector<PagePosition> positions(PageCount + 1);
    for (int page = 1; page <= PageCount; ++page) {
        const PageRange& first = sources.Page(page).front();
        const int juz = sources.JuzOf(first.Soureh, first.FirstAyeh);
        const int hezb = quarters.HezbOf(first.Soureh, first.FirstAyeh);
        // Juz J holds hezbs 2J - 1 and 2J.
        if ((hezb + 1) / 2 != juz)
            throw ToolError(
                QStringLiteral("page %1 begins with ayeh %2:%3, which stands in juz %4 by quran-db "
                               "but in hezb %5 of the print, a hezb of another juz")
                    .arg(page)
                    .arg(first.Soureh)
                    .arg(first.FirstAyeh)
                    .arg(juz)
                    .arg(hezb));
        positions[size_t(page)] = {juz, QString::number(hezb)};
    }
    return positions;
}

std::vector<PageRecord> TypesetPages(const PageTypesetter& typesetter, const QList<int>& pageIds) {
    std::vector<PageRecord> records(size_t(pageIds.size()));
    for (qsizetype i = 0; i < pageIds.size(); ++i)
        records[size_t(i)].PageId = pageIds[i];
    std::atomic<int> done{0};
    // Each page is independent; QPainter on a QImage and text layout work off the GUI thread.
    QFuture<void> work = QtConcurrent::map(records, [&](PageRecord& record) {
        try {
            TypesetPage page = typesetter.Typeset(record.PageId);
            record.Bitmap = EncodeRle8Bitmap(page.Picture);
            record.Ayehs = std::move(page.Ayehs);
            record.Lines = std::move(page.Lines);
            record.Words = std::move(page.Words);
            record.GlyphSize = page.GlyphSize;
            record.FontFiles = std::move(page.FontFiles);
        } catch (const std::exception& error) {
            record.Error = QString::fromUtf8(error.what());
        }
        ++done;
    });
    {
        ProgressBar progress(QStringLiteral("typesetting"), qint64(records.size()));
        int shown = 0;
        while (!work.isFinished()) {
            QThread::msleep(50);
            const int now = done;
            progress.Advance(now - shown);
            shown = now;
        }
        work.waitForFinished();
        progress.Finish();
    }
    for (const PageRecord& record : records) {
        if (!record.Error.isEmpty())
            throw ToolError(QStringLiteral("page %1: %2").arg(record.PageId).arg(record.Error));
    }
    return records;
}

void WriteDatabase(KeyedDatabase& database, const QuranSources& sources, const PrintedQuarters& quarters,
                   const std::vector<PageRecord>& records) {
    sqlite3* db = database.Handle();
    // A fresh file that takes its place only when complete needs no journal.
    database.Exec("PRAGMA journal_mode = OFF; PRAGMA synchronous = OFF;");
    WriteTransaction transaction(database);
    database.Exec(Schema);

    Insert soureh(
        db, "INSERT INTO Soureh (SourehID, SourehName, Maki, PageID, NumberOfAyeh) VALUES (?, ?, ?, ?, ?)");
    for (int id = 1; id <= SourehCount; ++id) {
        const SourceSoureh& source = sources.Soureh(id);
        (soureh << id << source.ArabicName << int(source.Maki) << sources.PageOf(id, 1)
                << source.NumberOfAyeh)
            .Run();
    }

    std::map<std::pair<int, int>, AyehPlacement> placements;
    for (const PageRecord& record : records) {
        for (const AyehPlacement& placement : record.Ayehs)
            placements[{placement.Soureh, placement.Ayeh}] = placement;
    }
    Insert ayeh(db,
                "INSERT INTO Ayeh (SourehID, AyehID, PageID, StartLine, EndLine, StartCol, EndCol, StartAyeh,"
                " EndAyeh, FarsiTranslation) VALUES (?, ?, ?, ?, ?, ?, ?, ?, ?, ?)");
    for (int s = 1; s <= SourehCount; ++s) {
        for (int a = 1; a <= sources.Soureh(s).NumberOfAyeh; ++a) {
            const auto found = placements.find({s, a});
            const AyehPlacement place = found != placements.end() ? found->second : AyehPlacement{};
            const bool placed = place.StartLine != 0;
            (ayeh << s << a << sources.PageOf(s, a) << place.StartLine << place.EndLine << place.StartCol
                  << place.EndCol
                  << (placed ? ReadingPosition(PagePictureWidth, place.StartLine, place.StartCol) : 0)
                  << (placed ? ReadingPosition(PagePictureWidth, place.EndLine, place.EndCol) : 0)
                  << sources.Ayeh(s, a).Translation)
                .Run();
        }
    }

    // The text of each ayeh as the page shows it, for the reader's search and copy.
    Insert text(db, "INSERT INTO AyehText (SourehID, AyehID, Text) VALUES (?, ?, ?)");
    for (int s = 1; s <= SourehCount; ++s)
        for (int a = 1; a <= sources.Soureh(s).NumberOfAyeh; ++a)
            (text << s << a << sources.Ayeh(s, a).Text).Run();

    const std::vector<PagePosition> positions = PagePositions(sources, quarters);
    Insert page(db, "INSERT INTO Pages (PageID, PageBMP, Joze, Hezb, OtherComment) VALUES (?, ?, ?, ?, ?)");
    Insert line(db, "INSERT INTO Lines (LineID, PageID, StartRow, EndRow) VALUES (?, ?, ?, ?)");
    for (const PageRecord& record : records) {
        const PagePosition& position = positions[size_t(record.PageId)];
        (page << record.PageId << record.Bitmap << position.Joze << position.Hezb
              << QString(QLatin1String("")))
            .Run();
        for (const LineBand& band : record.Lines)
            (line << band.LineId << record.PageId << band.StartRow << band.EndRow).Run();
    }

    // The glyphs as placed, and the font file they index into at the size they were shaped at.
    const double glyphSize = records.empty() ? 0 : records.front().GlyphSize;
    for (const PageRecord& record : records) {
        if (record.GlyphSize != glyphSize)
            throw ToolError(QStringLiteral("page %1 was shaped at %2 pixels per em, page %3 at %4")
                                .arg(record.PageId)
                                .arg(record.GlyphSize)
                                .arg(records.front().PageId)
                                .arg(glyphSize));
    }
    // The book's font first, then those of every page in the order of their files.
    std::vector<QString> fonts{PageTypesetter::FontPath()};
    std::set<QString> fallbacks;
    for (const PageRecord& record : records)
        fallbacks.insert(record.FontFiles.begin() + 1, record.FontFiles.end());
    fonts.insert(fonts.end(), fallbacks.begin(), fallbacks.end());
    Insert font(
        db, "INSERT INTO MushafFont (FontID, FileName, Sha256, PixelSize, Format) VALUES (?, ?, ?, ?, ?)");
    for (size_t id = 0; id < fonts.size(); ++id)
        (font << int(id) << QFileInfo(fonts[id]).fileName() << FileSha256(fonts[id]) << glyphSize
              << MushafGlyphFormat)
            .Run();
    Insert word(
        db, "INSERT INTO MushafWords (PageID, Position, LineID, Kind, SourehID, AyehID, WordID, CharStart,"
            " CharEnd, Text, Glyphs) VALUES (?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?)");
    for (const PageRecord& record : records) {
        int position = 0;
        for (MushafWord item : record.Words) {
            for (MushafGlyph& glyph : item.Glyphs)
                glyph.Font =
                    int(std::find(fonts.begin(), fonts.end(), record.FontFiles.at(size_t(glyph.Font))) -
                        fonts.begin());
            (word << record.PageId << ++position << item.Line << int(item.Kind) << item.Soureh << item.Ayeh
                  << item.Number << item.CharStart << item.CharEnd << item.Text << EncodeGlyphs(item))
                .Run();
        }
    }
    transaction.Commit();
}

// Whether another process holds a lock on the file. The reader keeps a read transaction,
// and with it a shared lock, on each content file for as long as it runs.
bool HeldByAnotherProcess(const QString& path) {
    const int fd = ::open(QFile::encodeName(path).constData(), O_RDONLY | O_CLOEXEC);
    if (fd < 0)
        return false;
    // The engine locks byte ranges (POSIX record locks); ask whether a write lock on the
    // whole file, to its end and beyond, would conflict with any of them.
    struct flock probe {};
    probe.l_type = F_WRLCK;
    probe.l_whence = SEEK_SET;
    probe.l_start = 0;
    probe.l_len = 0;
    bool held = ::fcntl(fd, F_GETLK, &probe) == 0 && probe.l_type != F_UNLCK;
    // Whole-file locks of the other kind do not show in that answer.
    if (!held && ::flock(fd, LOCK_EX | LOCK_NB) != 0)
        held = errno == EWOULDBLOCK;
    ::close(fd); // also drops the probe lock, if it was taken
    return held;
}

void RefuseIfHeld(const QString& target) {
    if (HeldByAnotherProcess(target))
        throw ToolError(QStringLiteral("%1 is open in another program (is the reader running?); close it and "
                                       "try again.")
                            .arg(QDir::toNativeSeparators(target)));
}

// Removes the temporary file (and a journal beside it) unless it was moved into place.
struct TemporaryOutput {
    QString Path;
    bool Kept = false;
    ~TemporaryOutput() {
        if (!Kept && !Path.isEmpty()) {
            QFile::remove(Path);
            QFile::remove(Path + QStringLiteral("-journal"));
        }
    }
};

void BuildText(const QString& outDirectory, const QString& sourcesDirectory, const QString& printDirectory,
               const QList<int>& pageIds) {
    QElapsedTimer clock;
    clock.start();
    const QDir out(outDirectory);
    if (!out.exists() && !QDir().mkpath(outDirectory))
        throw ToolError(QStringLiteral("cannot create the output folder %1.")
                            .arg(QDir::toNativeSeparators(outDirectory)));
    const QString target = out.absoluteFilePath(QString::fromLatin1(QuranDatabaseFile));
    RefuseIfHeld(target);

    // An unwritable folder fails here, before the long part.
    TemporaryOutput temporary;
    {
        QTemporaryFile file(out.absoluteFilePath(QStringLiteral(".quran.dat.XXXXXX")));
        if (!file.open())
            throw ToolError(QStringLiteral("cannot write in %1: %2.")
                                .arg(QDir::toNativeSeparators(out.absolutePath()), file.errorString()));
        file.setAutoRemove(false);
        temporary.Path = file.fileName();
    }

    const PrintedMushaf print = PrintedMushaf::Load(printDirectory);
    const PrintedQuarters quarters = PrintedQuarters::Load(printDirectory, print);
    QuranSources sources = QuranSources::Load(sourcesDirectory);
    sources.AdoptPrint(print);
    const PageTypesetter typesetter(print);
    const std::vector<PageRecord> records = TypesetPages(typesetter, pageIds);
    {
        KeyedDatabase database(temporary.Path, QuranDatabaseKey, KeyedDatabase::OpenMode::Create);
        WriteDatabase(database, sources, quarters, records);
    }
    RefuseIfHeld(target);
    ReplaceFile(temporary.Path, target,
                QFile::ReadOwner | QFile::WriteOwner | QFile::ReadGroup | QFile::ReadOther);
    temporary.Kept = true;
    PrintNote(QStringLiteral("%1: %2 pages typeset at %3 pixels per em in %4 s, %5 MB")
                  .arg(QDir::toNativeSeparators(target))
                  .arg(records.size())
                  .arg(typesetter.FontSize())
                  .arg(double(clock.elapsed()) / 1000.0, 0, 'f', 1)
                  .arg(double(QFileInfo(target).size()) / 1e6, 0, 'f', 1));
}

} // namespace

int RunBuildText(const QStringList& arguments) {
    QCommandLineParser parser;
    const QCommandLineOption sourcesOption(QStringLiteral("sources"), QString(), QStringLiteral("DIR"));
    const QCommandLineOption printOption(QStringLiteral("print"), QString(), QStringLiteral("DIR"));
    const QCommandLineOption pagesOption(QStringLiteral("pages"), QString(), QStringLiteral("LIST"));
    parser.addOptions({sourcesOption, printOption, pagesOption});
    if (const int stop = ParseCommandLine(parser, arguments, "build-text", Usage, 1); stop >= 0)
        return stop;
    QList<int> pages;
    try {
        if (parser.isSet(pagesOption))
            pages = ParsePageList(parser.value(pagesOption), PageCount);
        else
            for (int page = 1; page <= PageCount; ++page)
                pages.append(page);
    } catch (const ToolError& error) {
        return ReportFailure("build-text", QString::fromUtf8(error.what()), 2);
    }
    try {
        BuildText(parser.positionalArguments().at(0), FindQuranDbPackage(parser.value(sourcesOption)),
                  FindPrintedMushafPackage(parser.value(printOption)), pages);
    } catch (const std::exception& error) {
        return ReportFailure("build-text", QString::fromUtf8(error.what()));
    }
    return 0;
}
