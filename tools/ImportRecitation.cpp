// import-recitation: one reciter's recordings from a folder of per-ayeh audio files.
#include "tools/Commands.h"
#include "tools/Sounds.h"

#include <QCommandLineParser>
#include <QDir>
#include <QFileInfo>
#include <QRegularExpression>

#include <sqlite3.h>

#include <map>
#include <set>

namespace {

constexpr const char* Command = "import-recitation";
// Imported recordings are stored mono at no more than this rate: enough for a voice, and a
// whole recitation stays within a few hundred megabytes as IMA ADPCM.
constexpr int MaximumStoredRate = 22050;

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

struct RecordingFiles {
    std::map<std::pair<int, int>, QString> Ayehs; // (soureh, ayeh) -> path
    QString Bismillah;                             // bismillah.* or empty
};

// The audio files of `dir` in the per-ayeh layout. Names that are no ayeh of the Mushaf are
// warned about; two files for one ayeh are a failure, since either could be meant.
RecordingFiles ScanFolder(const QString& dir) {
    static const QRegularExpression ayehName(QStringLiteral("^(\\d{3})(\\d{3})\\.(mp3|wav|flac|ogg|oga)$"),
                                             QRegularExpression::CaseInsensitiveOption);
    static const QRegularExpression bismillahName(QStringLiteral("^bismillah\\.(mp3|wav|flac|ogg|oga)$"),
                                                  QRegularExpression::CaseInsensitiveOption);
    RecordingFiles files;
    QStringList twice;
    const QFileInfoList entries = QDir(dir).entryInfoList(QDir::Files | QDir::Readable, QDir::Name);
    for (const QFileInfo& entry : entries) {
        const QString name = entry.fileName();
        if (bismillahName.match(name).hasMatch()) {
            if (!files.Bismillah.isEmpty())
                twice << QStringLiteral("%1 and %2").arg(QFileInfo(files.Bismillah).fileName(), name);
            files.Bismillah = entry.filePath();
            continue;
        }
        const QRegularExpressionMatch match = ayehName.match(name);
        if (!match.hasMatch())
            continue;
        const int s = match.captured(1).toInt();
        const int a = match.captured(2).toInt();
        if (a < 1 || a > NumberOfAyehs(s)) {
            PrintNote(QStringLiteral("warning: %1 names no ayeh of the Mushaf; ignored").arg(name));
            continue;
        }
        auto [it, added] = files.Ayehs.emplace(std::pair{s, a}, entry.filePath());
        if (!added)
            twice << QStringLiteral("%1 and %2").arg(QFileInfo(it->second).fileName(), name);
    }
    if (!twice.isEmpty())
        throw ToolError(QStringLiteral("more than one file for the same recording: %1; keep one of each.")
                            .arg(twice.join(QStringLiteral(", "))));
    return files;
}

QByteArray ConvertRecording(const QString& path, WavEncoding encoding) {
    MonoAudio audio = DecodeAudioFile(path);
    if (audio.SampleRate > MaximumStoredRate)
        audio = Resample(audio, MaximumStoredRate);
    return EncodeWav(audio, encoding);
}

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
        return ReportFailure(Command, QStringLiteral("--reciter wants a reciter number from 1 to %1").arg(ReciterCount), 2);
    const QString name = parser.value(nameOption).trimmed();
    if (parser.isSet(nameOption) && name.isEmpty())
        return ReportFailure(Command, QStringLiteral("--name wants a name that is not blank"), 2);
    const WavEncoding encoding = parser.isSet(pcmOption) ? WavEncoding::Pcm16 : WavEncoding::ImaAdpcm;
    const QString dbPath = parser.positionalArguments().at(0);
    const QString dir = parser.positionalArguments().at(1);

    try {
        const InterruptGuard interruptible;
        if (!QFileInfo(dir).isDir())
            throw ToolError(QStringLiteral("%1 is not a folder.").arg(QDir::toNativeSeparators(dir)));
        const RecordingFiles files = ScanFolder(dir);
        if (files.Ayehs.empty())
            throw ToolError(QStringLiteral("%1 holds no recordings named like 001001.mp3; nothing was changed.")
                                .arg(QDir::toNativeSeparators(dir)));

        ReplacementCopy change(dbPath, SoundDatabaseKey, CheckSoundDatabase);
        KeyedDatabase& database = change.Copy();
        SqliteStatement remove(database.Handle(), "DELETE FROM Sounds WHERE GhariID = ?1");
        sqlite3_bind_int(remove.Get(), 1, ghariId);
        if (sqlite3_step(remove.Get()) != SQLITE_DONE)
            database.Fail(QStringLiteral("cannot remove the earlier recordings"));

        SqliteStatement insert(database.Handle(), "INSERT INTO Sounds (SourehID, AyehID, GhariID, Sound) VALUES (?1, ?2, ?3, ?4)");
        auto store = [&](int s, int a, const QByteArray& wav) {
            sqlite3_reset(insert.Get());
            sqlite3_bind_int(insert.Get(), 1, s);
            sqlite3_bind_int(insert.Get(), 2, a);
            sqlite3_bind_int(insert.Get(), 3, ghariId);
            sqlite3_bind_blob(insert.Get(), 4, wav.constData(), int(wav.size()), SQLITE_STATIC);
            if (sqlite3_step(insert.Get()) != SQLITE_DONE)
                database.Fail(QStringLiteral("cannot store the recording of %1:%2").arg(s).arg(a));
        };

        // Every file is tried, so that one run lists every file that needs mending.
        QStringList undecodable;
        std::set<std::pair<int, int>> stored;
        auto importOne = [&](int s, int a, const QString& path) {
            InterruptGuard::CheckInterrupted();
            QByteArray wav;
            try {
                wav = ConvertRecording(path, encoding);
            } catch (const ToolError& error) {
                undecodable << QString::fromUtf8(error.what());
                return;
            }
            if (undecodable.isEmpty())
                store(s, a, wav);
            stored.emplace(s, a);
        };
        ProgressBar progress(QStringLiteral("recordings"), qint64(files.Ayehs.size()) + 1);
        QString bismillahSource = files.Bismillah;
        if (bismillahSource.isEmpty() && files.Ayehs.count({1, 1}))
            bismillahSource = files.Ayehs.at({1, 1});
        if (!bismillahSource.isEmpty())
            importOne(0, 0, bismillahSource);
        progress.Advance();
        for (const auto& [key, path] : files.Ayehs) {
            importOne(key.first, key.second, path);
            progress.Advance();
        }
        if (!undecodable.isEmpty())
            throw ToolError(QStringLiteral("%1 files cannot be decoded; nothing was changed:\n  %2")
                                .arg(undecodable.size())
                                .arg(undecodable.join(QStringLiteral("\n  "))));
        if (!name.isEmpty())
            StoreReciterName(database, ghariId, name);
        InterruptGuard::CheckInterrupted();
        change.Commit();
        progress.Finish();

        const std::vector<std::pair<int, int>> missing = MissingRecordings(stored);
        QString summary = QStringLiteral("Reciter %1: %2 recordings imported into %3")
                              .arg(ghariId)
                              .arg(stored.size())
                              .arg(QDir::toNativeSeparators(dbPath));
        if (!bismillahSource.isEmpty())
            summary += QStringLiteral("; Bismillah from %1").arg(QFileInfo(bismillahSource).fileName());
        PrintNote(summary + QLatin1Char('.'));
        if (!missing.empty())
            PrintNote(QStringLiteral("Without a recording (%1): %2").arg(missing.size()).arg(DescribeAyehRanges(missing, 30)));
        return 0;
    } catch (const ToolError& error) {
        return ReportFailure(Command, QString::fromUtf8(error.what()));
    } catch (const ContentError& error) {
        return ReportFailure(Command, QString::fromUtf8(error.what()));
    }
}
