// golvar-content verify: checks a content folder.
#include "content/ContentKeys.h"
#include "content/MushafCounts.h"
#include "tools/Commands.h"
#include "tools/ImportSupport.h"
#include "tools/PageList.h"
#include "tools/PrintedMushaf.h"
#include "tools/QuranSources.h"
#include "tools/Sounds.h"
#include "tools/VerifyText.h"

#include <QCommandLineParser>
#include <QDir>
#include <QFileInfo>
#include <QTextStream>
#include <cstdio>

namespace {

constexpr const char* Usage =
    "Usage: golvar-content verify [--pages LIST] [--print DIR] DIR\n"
    "\n"
    "Checks the content folder DIR: DIR/quran.dat always, DIR/snd.wav when it is there.\n"
    "Reports every fault on standard output: row counts and keys, page pictures, each\n"
    "ayeh's lines, columns and reading positions, the order of the ayehs on their page,\n"
    "ink that the highlight of no ayeh (or of two) would paint, lines of ayeh text that\n"
    "are neither justified nor short and centred, each ayeh that does not begin and end\n"
    "on its printed line, every printed word placed once among the typeset glyphs and\n"
    "where the print has it, the glyphs' ink against each picture's, and the recordings.\n"
    "\n"
    "  --pages LIST   check only these pages, e.g. 1,2,50,604 or 1-10\n"
    "  --print DIR    the unpacked @saqfish/asim package with the printed lines (default:\n"
    "                 .cache/sources/asim in the working directory, else beside the build\n"
    "                 folder; without it the comparison with the print is left out)\n"
    "\n"
    "Exit status: 0 no faults, 1 faults found, 2 wrong usage.\n";

} // namespace

int RunVerify(const QStringList& arguments) {
    QCommandLineParser parser;
    const QCommandLineOption pagesOption(QStringLiteral("pages"), QString(), QStringLiteral("LIST"));
    const QCommandLineOption printOption(QStringLiteral("print"), QString(), QStringLiteral("DIR"));
    parser.addOptions({pagesOption, printOption});
    if (const int stop = ParseCommandLine(parser, arguments, "verify", Usage, 1); stop >= 0)
        return stop;
    std::optional<QList<int>> pages;
    try {
        if (parser.isSet(pagesOption))
            pages = ParsePageList(parser.value(pagesOption), PageCount);
    } catch (const ToolError& error) {
        return ReportFailure("verify", QString::fromUtf8(error.what()), 2);
    }
    const QDir folder(parser.positionalArguments().at(0));
    if (!folder.exists())
        return ReportFailure(
            "verify",
            QStringLiteral("the folder %1 does not exist.").arg(QDir::toNativeSeparators(folder.path())));

    // The printed lines come with the sources of a build; an installed reader's content is
    // checked without them unless they are named.
    std::optional<PrintedMushaf> print;
    QString printFolder;
    try {
        printFolder = FindPrintedMushafPackage(parser.value(printOption));
    } catch (const ToolError& error) {
        PrintNote(QStringLiteral("golvar-content verify: the pages are not compared with the print: %1")
                      .arg(QString::fromUtf8(error.what())));
    }
    if (!printFolder.isEmpty()) {
        try {
            print = PrintedMushaf::Load(printFolder);
        } catch (const ToolError& error) {
            return ReportFailure("verify", QString::fromUtf8(error.what()));
        }
    }

    QTextStream report(stdout);
    int faults = VerifyQuranDatabase(folder.filePath(QString::fromLatin1(QuranDatabaseFile)), pages,
                                     print ? &*print : nullptr, report);
    const QString sounds = folder.filePath(QString::fromLatin1(SoundDatabaseFile));
    if (QFileInfo::exists(sounds))
        faults += VerifyRecordings(sounds, report);
    report.flush();
    return faults == 0 ? 0 : 1;
}
