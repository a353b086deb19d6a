// import-recitation: one reciter's recordings from a folder of per-ayeh audio files.
#include "recordings/RecitationImport.h"
#include "tools/Commands.h"
#include "tools/ImportSupport.h"

#include <QCommandLineParser>
#include <QDir>
#include <QFileInfo>
#include <optional>
#include <utility>

namespace {

constexpr const char* Command = "import-recitation";
const char* const Help =
    "Usage: golvar-content import-recitation --reciter N [--name NAME] [--pcm16] DB DIR\n"
    "\n"
    "Replaces all recordings of reciter N (1 to 5) in the sound database DB (snd.wav) with\n"
    "the audio files in folder DIR, one file per ayeh, named by three-digit soureh and ayeh\n"
    "numbers: 001001.mp3 ... 114006.mp3. MP3, WAV, FLAC and Ogg files are read. The Bismillah\n"
    "is taken from bismillah.* when present, else from 001001.*. Recordings are stored as WAV,\n"
    "mono, at the file's own rate up to 22050 Hz, IMA ADPCM unless --pcm16 is given.\n"
    "Ayehs without a file have no recording of this reciter afterwards; they are listed at\n"
    "the end. Other files in DIR are ignored.\n"
    "\n"
    "All or nothing: a file that cannot be decoded fails the whole import (every such file is\n"
    "listed), and a failed or interrupted import leaves DB as it was. Close the reader first:\n"
    "DB cannot be written while it is open there.\n"
    "\n"
    "Options:\n"
    "  --reciter N  the reciter's number in the reader's list, 1 to 5\n"
    "  --name NAME  the reciter's name, shown in the reader's list\n"
    "  --pcm16      store 16-bit PCM (four times larger than IMA ADPCM)\n"
    "  --help       show this text\n"
    "\n"
    "Exit status: 0 done, 1 failed (DB unchanged), 2 wrong usage.\n";

} // namespace

int RunImportRecitation(const QStringList& args) {
    QCommandLineParser parser;
    const QCommandLineOption reciterOption(QStringLiteral("reciter"), QString(), QStringLiteral("N"));
    const QCommandLineOption nameOption(QStringLiteral("name"), QString(), QStringLiteral("NAME"));
    const QCommandLineOption pcmOption(QStringLiteral("pcm16"), QString());
    parser.addOptions({reciterOption, nameOption, pcmOption});
    if (const int code = ParseCommandLine(parser, args, Command, Help, 2); code >= 0)
        return code;
    bool numeric = false;
    const int ghariId = parser.value(reciterOption).toInt(&numeric);
    if (!parser.isSet(reciterOption) || !numeric || ghariId < 1 || ghariId > ReciterCount)
        return ReportFailure(
            Command, QStringLiteral("--reciter wants a reciter number from 1 to %1").arg(ReciterCount), 2);
    const QString name = parser.value(nameOption).trimmed();
    if (parser.isSet(nameOption) && name.isEmpty())
        return ReportFailure(Command, QStringLiteral("--name wants a name that is not blank"), 2);
    const WavEncoding encoding = parser.isSet(pcmOption) ? WavEncoding::Pcm16 : WavEncoding::ImaAdpcm;
    const QString dbPath = parser.positionalArguments().at(0);
    const QString dir = parser.positionalArguments().at(1);

    try {
        const InterruptGuard interruptible;
        RecitationImportRequest request;
        request.Folder = dir;
        request.SourceDatabase = dbPath;
        request.TargetDatabase = dbPath;
        request.WhenOpenElsewhere = OpenElsewhere::Refuse;
        request.GhariID = ghariId;
        request.Name = name;
        request.Encoding = encoding;
        std::optional<ProgressBar> progress;
        qint64 shown = 0;
        const ImportOutcome outcome =
            ImportRecitation(request, {[&](qint64 done, qint64 total) {
                                           if (!progress)
                                               progress.emplace(QStringLiteral("recordings"), total);
                                           progress->Advance(done - std::exchange(shown, done));
                                       },
                                       &InterruptGuard::Interrupted});
        if (progress)
            progress->Finish();

        for (const QString& ignored : outcome.Ignored)
            PrintNote(QStringLiteral("warning: %1 names no ayeh of the Mushaf; ignored").arg(ignored));
        QString summary = QStringLiteral("Reciter %1: %2 recordings imported into %3")
                              .arg(ghariId)
                              .arg(outcome.Stored.size())
                              .arg(QDir::toNativeSeparators(dbPath));
        if (!outcome.BismillahSource.isEmpty())
            summary +=
                QStringLiteral("; Bismillah from %1").arg(QFileInfo(outcome.BismillahSource).fileName());
        PrintNote(summary + QLatin1Char('.'));
        const std::vector<std::pair<int, int>> missing = outcome.Missing();
        if (!missing.empty())
            PrintNote(QStringLiteral("Without a recording (%1): %2")
                          .arg(missing.size())
                          .arg(DescribeAyehRanges(missing, 30)));
        return 0;
    } catch (const ToolError& error) {
        return ReportFailure(Command, QString::fromUtf8(error.what()));
    } catch (const ContentError& error) {
        return ReportFailure(Command, QString::fromUtf8(error.what()));
    }
}
