// golvar-content tajweed: the tajweed spans of every ayeh of a content folder, for checking
// the rule engine by eye or by script.
#include "content/ContentKeys.h"
#include "content/Database.h"
#include "tajweed/TajweedRules.h"
#include "tools/Commands.h"
#include "tools/ImportSupport.h"

#include <QCommandLineParser>
#include <QDir>
#include <QFileInfo>
#include <QList>
#include <QTextStream>
#include <array>
#include <sqlite3.h>
#include <vector>

namespace {

constexpr const char* Command = "tajweed";

const char* const Help =
    "Usage: golvar-content tajweed [--json] DIR\n"
    "\n"
    "Prints the tajweed rules of every ayeh of the content folder DIR, computed from the\n"
    "marks of the ayeh's text in DIR/quran.dat (the AyehText table that build-text writes).\n"
    "Each line is one span: soureh:ayeh, the rule, the first and the end code point of the\n"
    "characters it colours (counted in the ayeh's text, the end excluded) and those\n"
    "characters; then how many spans each rule has. The rules: ghunnah, ikhfa,\n"
    "ikhfa_shafawi, idgham_ghunnah, idgham_no_ghunnah, idgham_shafawi, idgham_mutajanisayn,\n"
    "idgham_mutaqaribayn, iqlab, qalqalah, madd_2, madd_246, madd_muttasil, madd_munfasil,\n"
    "madd_6, hamzat_wasl, lam_shamsiyyah, silent.\n"
    "\n"
    "Options:\n"
    "  --json   one JSON array instead: [{\"soureh\": 2, \"ayeh\": 255, \"spans\":\n"
    "           [{\"rule\": \"ikhfa\", \"start\": 12, \"end\": 14}, ...]}, ...]\n"
    "  --help   show this text\n"
    "\n"
    "Exit status: 0 done, 1 failed, 2 wrong usage.\n";

struct AyehRow {
    int Soureh = 0;
    int Ayeh = 0;
    QString Text;
};

std::vector<AyehRow> ReadAyehTexts(const QString& path) {
    if (!QFileInfo::exists(path))
        throw ToolError(QStringLiteral("%1 does not exist.").arg(QDir::toNativeSeparators(path)));
    KeyedDatabase database(path, QuranDatabaseKey, KeyedDatabase::OpenMode::ReadOnly);
    if (!database.HasTable("AyehText"))
        throw ToolError(
            QStringLiteral("%1 has no AyehText table: make it again with golvar-content build-text.")
                .arg(QDir::toNativeSeparators(path)));
    SqliteStatement statement(database.Handle(), Statements::AyehTexts());
    std::vector<AyehRow> rows;
    int step = SQLITE_ROW;
    while ((step = sqlite3_step(statement.Get())) == SQLITE_ROW) {
        const auto* text = reinterpret_cast<const char*>(sqlite3_column_text(statement.Get(), 2));
        rows.push_back({sqlite3_column_int(statement.Get(), 0), sqlite3_column_int(statement.Get(), 1),
                        QString::fromUtf8(text ? text : "")});
    }
    if (step != SQLITE_DONE)
        database.Fail(QStringLiteral("reading the ayeh texts"));
    return rows;
}

// The characters of a span, counted in code points as the span is.
QString SpanText(const QList<uint>& codePoints, const TajweedSpan& span) {
    QString text;
    for (int at = span.Start; at < span.End && at < codePoints.size(); ++at) {
        const char32_t c = codePoints[at];
        text += QString::fromUcs4(&c, 1);
    }
    return text;
}

QLatin1StringView Name(TajweedRule rule) {
    const std::string_view name = TajweedRuleName(rule);
    return QLatin1StringView(name.data(), qsizetype(name.size()));
}

} // namespace

int RunTajweed(const QStringList& args) {
    QCommandLineParser parser;
    const QCommandLineOption jsonOption(QStringLiteral("json"), QString());
    parser.addOption(jsonOption);
    if (const int code = ParseCommandLine(parser, args, Command, Help, 1); code >= 0)
        return code;
    const QDir folder(parser.positionalArguments().at(0));
    if (!folder.exists())
        return ReportFailure(
            Command,
            QStringLiteral("the folder %1 does not exist.").arg(QDir::toNativeSeparators(folder.path())));

    std::vector<AyehRow> ayehs;
    try {
        ayehs = ReadAyehTexts(folder.filePath(QString::fromLatin1(QuranDatabaseFile)));
    } catch (const std::exception& error) {
        return ReportFailure(Command, QString::fromUtf8(error.what()));
    }

    QTextStream out(stdout);
    out.setEncoding(QStringConverter::Utf8);
    if (parser.isSet(jsonOption)) {
        // Written by hand to keep the keys in the documented order; every value is a number
        // or a rule name, so nothing needs escaping.
        out << '[';
        for (size_t i = 0; i < ayehs.size(); ++i) {
            out << (i ? ",\n" : "") << R"({"soureh": )" << ayehs[i].Soureh << R"(, "ayeh": )" << ayehs[i].Ayeh
                << R"(, "spans": [)";
            const std::vector<TajweedSpan> spans = FindTajweedSpans(ayehs[i].Text);
            for (size_t j = 0; j < spans.size(); ++j)
                out << (j ? ", " : "") << R"({"rule": ")" << Name(spans[j].Rule) << R"(", "start": )"
                    << spans[j].Start << R"(, "end": )" << spans[j].End << '}';
            out << "]}";
        }
        out << "]\n";
        return 0;
    }

    std::array<qint64, TajweedRuleCount> counts{};
    for (const AyehRow& ayeh : ayehs) {
        const QList<uint> codePoints = ayeh.Text.toUcs4();
        for (const TajweedSpan& span : FindTajweedSpans(ayeh.Text)) {
            out << ayeh.Soureh << ':' << ayeh.Ayeh << '\t' << Name(span.Rule) << '\t' << span.Start << '\t'
                << span.End << '\t' << SpanText(codePoints, span) << '\n';
            ++counts[size_t(span.Rule)];
        }
    }
    out << '\n';
    qint64 total = 0;
    for (const TajweedRule rule : AllTajweedRules) {
        out << Name(rule) << '\t' << counts[size_t(rule)] << '\n';
        total += counts[size_t(rule)];
    }
    out << "total\t" << total << " spans in " << ayehs.size() << " ayehs\n";
    return 0;
}
