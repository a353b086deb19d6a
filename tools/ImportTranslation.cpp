// import-translation: the Persian translation of every ayeh from a soureh|ayeh|text file.
#include "content/ContentKeys.h"
#include "tools/Commands.h"
#include "tools/ImportSupport.h"

#include <QCommandLineParser>
#include <QDir>
#include <QFile>
#include <QRegularExpression>
#include <QStringDecoder>
#include <map>
#include <set>
#include <sqlite3.h>

namespace {

constexpr const char* Command = "import-translation";
constexpr int ListLimit = 20;

const char* const Help =
    "Usage: golvar-content import-translation [--allow-missing] DB FILE\n"
    "\n"
    "Replaces the Persian translation (Ayeh.FarsiTranslation) in the Quran database DB\n"
    "(quran.dat) with the lines of FILE, a UTF-8 text file of lines 'soureh|ayeh|text',\n"
    "for example '1|1|به نام خداوند بخشنده مهربان'. Blank lines and lines that begin with '#'\n"
    "are skipped; a byte-order mark and Windows line ends are accepted.\n"
    "\n"
    "All or nothing: nothing is written when FILE has a malformed line (not three fields,\n"
    "not numbers, empty text, not UTF-8), an ayeh twice, or a line for an ayeh that DB does\n"
    "not have; each is reported with its line number. Ayehs of DB without a line also stop\n"
    "the import, unless --allow-missing is given: they then keep their present translation.\n"
    "Close the reader first: DB cannot be written while it is open there.\n"
    "\n"
    "Options:\n"
    "  --allow-missing  import even when some ayehs have no line\n"
    "  --help           show this text\n"
    "\n"
    "Exit status: 0 done, 1 failed (DB unchanged), 2 wrong usage.\n";

struct TranslationLine {
    int LineNumber;
    QString Text;
};

// Up to ListLimit items, one a line, then how many more there are.
QString Listing(const QStringList& items) {
    QString text = QStringLiteral("  ") + items.mid(0, ListLimit).join(QStringLiteral("\n  "));
    if (items.size() > ListLimit)
        text += QStringLiteral("\n  ... and %1 more").arg(items.size() - ListLimit);
    return text;
}

} // namespace

int RunImportTranslation(const QStringList& args) {
    QCommandLineParser parser;
    const QCommandLineOption allowMissingOption(QStringLiteral("allow-missing"), QString());
    parser.addOption(allowMissingOption);
    if (const int code = ParseCommandLine(parser, args, Command, Help, 2); code >= 0)
        return code;
    const QString dbPath = parser.positionalArguments().at(0);
    const QString filePath = parser.positionalArguments().at(1);

    try {
        const InterruptGuard interruptible;
        QFile file(filePath);
        if (!file.open(QIODevice::ReadOnly))
            throw ToolError(QStringLiteral("cannot read %1: %2")
                                .arg(QDir::toNativeSeparators(filePath), file.errorString()));
        const QByteArray content = file.readAll();

        // Checked before anything is copied; the copy is made only for a file worth changing.
        KeyedDatabase original(dbPath, QuranDatabaseKey, KeyedDatabase::OpenMode::ReadOnly);
        if (!original.HasColumn("Ayeh", "SourehID") || !original.HasColumn("Ayeh", "AyehID") ||
            !original.HasColumn("Ayeh", "FarsiTranslation"))
            throw ToolError(
                QStringLiteral(
                    "%1 is not a Quran database: it has no Ayeh table with a FarsiTranslation column.")
                    .arg(original.Path()));
        std::set<std::pair<int, int>> ayehs;
        {
            SqliteStatement rows(original.Handle(), "SELECT SourehID, AyehID FROM Ayeh");
            while (sqlite3_step(rows.Get()) == SQLITE_ROW)
                ayehs.emplace(sqlite3_column_int(rows.Get(), 0), sqlite3_column_int(rows.Get(), 1));
        }

        static const QRegularExpression linePattern(
            QStringLiteral("^\\s*(\\d{1,3})\\s*\\|\\s*(\\d{1,3})\\s*\\|(.*)$"));
        std::map<std::pair<int, int>, TranslationLine> lines;
        QStringList malformed;
        QStringList repeated;
        QStringList extra;
        const QList<QByteArray> rawLines = content.split('\n');
        for (qsizetype i = 0; i < rawLines.size(); ++i) {
            const int number = int(i + 1);
            QByteArray raw = rawLines[i];
            if (raw.endsWith('\r'))
                raw.chop(1);
            if (i == 0 && raw.startsWith("\xEF\xBB\xBF"))
                raw.remove(0, 3);
            QStringDecoder decoder(QStringDecoder::Utf8, QStringDecoder::Flag::Stateless);
            const QString line = decoder.decode(raw);
            if (decoder.hasError()) {
                malformed << QStringLiteral("line %1: not UTF-8 text").arg(number);
                continue;
            }
            if (line.trimmed().isEmpty() || line.trimmed().startsWith(QLatin1Char('#')))
                continue;
            const QRegularExpressionMatch match = linePattern.match(line);
            const QString text = match.hasMatch() ? match.captured(3).trimmed() : QString();
            if (!match.hasMatch() || text.isEmpty()) {
                malformed
                    << QStringLiteral("line %1: not 'soureh|ayeh|text': %2").arg(number).arg(line.left(60));
                continue;
            }
            const std::pair key{match.captured(1).toInt(), match.captured(2).toInt()};
            if (!ayehs.count(key)) {
                extra << QStringLiteral("line %1: %2:%3 is no ayeh of the database")
                             .arg(number)
                             .arg(key.first)
                             .arg(key.second);
                continue;
            }
            auto [it, added] = lines.emplace(key, TranslationLine{number, text});
            if (!added)
                repeated << QStringLiteral("line %1: %2:%3 again (first on line %4)")
                                .arg(number)
                                .arg(key.first)
                                .arg(key.second)
                                .arg(it->second.LineNumber);
        }
        std::vector<std::pair<int, int>> missingKeys;
        for (const auto& key : ayehs)
            if (!lines.count(key))
                missingKeys.push_back(key);

        const bool allowMissing = parser.isSet(allowMissingOption);
        QString problems;
        if (!malformed.isEmpty())
            problems +=
                QStringLiteral("\n%1 malformed lines:\n%2").arg(malformed.size()).arg(Listing(malformed));
        if (!repeated.isEmpty())
            problems +=
                QStringLiteral("\n%1 repeated ayehs:\n%2").arg(repeated.size()).arg(Listing(repeated));
        if (!extra.isEmpty())
            problems += QStringLiteral("\n%1 lines for no ayeh of the database:\n%2")
                            .arg(extra.size())
                            .arg(Listing(extra));
        if (!missingKeys.empty()) {
            QStringList missing;
            for (const auto& [s, a] : missingKeys)
                missing << QStringLiteral("%1:%2").arg(s).arg(a);
            const QString listing =
                QStringLiteral("%1 ayehs have no line:\n%2").arg(missing.size()).arg(Listing(missing));
            if (allowMissing)
                PrintNote(listing + QStringLiteral("\nThey keep their present translation."));
            else
                problems +=
                    QStringLiteral("\n") + listing + QStringLiteral("\n(--allow-missing imports the others)");
        }
        if (!problems.isEmpty())
            throw ToolError(QStringLiteral("%1 cannot be imported; nothing was changed.%2")
                                .arg(QDir::toNativeSeparators(filePath), problems));

        ReplacementCopy change(
            dbPath, dbPath, QuranDatabaseKey, [](KeyedDatabase&) {}, OpenElsewhere::Refuse);
        KeyedDatabase& database = change.Copy();
        SqliteStatement update(database.Handle(),
                               "UPDATE Ayeh SET FarsiTranslation = ?1 WHERE SourehID = ?2 AND AyehID = ?3");
        ProgressBar progress(QStringLiteral("translation"), qint64(lines.size()));
        for (const auto& [key, line] : lines) {
            InterruptGuard::CheckInterrupted();
            const QByteArray utf8 = line.Text.toUtf8();
            sqlite3_reset(update.Get());
            sqlite3_bind_text(update.Get(), 1, utf8.constData(), int(utf8.size()), SQLITE_STATIC);
            sqlite3_bind_int(update.Get(), 2, key.first);
            sqlite3_bind_int(update.Get(), 3, key.second);
            if (sqlite3_step(update.Get()) != SQLITE_DONE)
                database.Fail(
                    QStringLiteral("cannot store the translation of %1:%2").arg(key.first).arg(key.second));
            progress.Advance();
        }
        change.Commit();
        progress.Finish();
        PrintNote(
            QStringLiteral("Translation of %1 ayehs replaced in %2.").arg(lines.size()).arg(original.Path()));
        return 0;
    } catch (const ToolError& error) {
        return ReportFailure(Command, QString::fromUtf8(error.what()));
    } catch (const ContentError& error) {
        return ReportFailure(Command, QString::fromUtf8(error.what()));
    }
}
