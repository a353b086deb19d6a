#include "recordings/RecitationImport.h"

#include "content/MushafCounts.h"

#include <QDir>
#include <QFileInfo>
#include <QRegularExpression>
#include <sqlite3.h>

namespace {

// Imported recordings are stored mono at no more than this rate: enough for a voice, and a
// whole recitation stays within a few hundred megabytes as IMA ADPCM.
constexpr int MaximumStoredRate = 22050;

QByteArray ConvertRecording(const QString& path, WavEncoding encoding) {
    MonoAudio audio = DecodeAudioFile(path);
    if (audio.SampleRate > MaximumStoredRate)
        audio = Resample(audio, MaximumStoredRate);
    return EncodeWav(audio, encoding);
}

void CheckCancel(const ImportProgress& progress) {
    if (progress.CancelRequested && progress.CancelRequested())
        throw ImportCancelled();
}

} // namespace

QString RecordingFolder::BismillahSource() const {
    if (!Bismillah.isEmpty())
        return Bismillah;
    const auto opening = Ayehs.find({1, 1});
    return opening != Ayehs.end() ? opening->second : QString();
}

RecordingFolder ScanRecordingFolder(const QString& dir) {
    static const QRegularExpression ayehName(QStringLiteral("^(\\d{3})(\\d{3})\\.(mp3|wav|flac|ogg|oga)$"),
                                             QRegularExpression::CaseInsensitiveOption);
    static const QRegularExpression bismillahName(QStringLiteral("^bismillah\\.(mp3|wav|flac|ogg|oga)$"),
                                                  QRegularExpression::CaseInsensitiveOption);
    if (!QFileInfo(dir).isDir())
        throw ToolError(QStringLiteral("%1 is not a folder.").arg(QDir::toNativeSeparators(dir)));
    RecordingFolder files;
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
            files.Ignored << name;
            continue;
        }
        auto [it, added] = files.Ayehs.emplace(std::pair{s, a}, entry.filePath());
        if (!added)
            twice << QStringLiteral("%1 and %2").arg(QFileInfo(it->second).fileName(), name);
    }
    if (!twice.isEmpty())
        throw ToolError(QStringLiteral("more than one file for the same recording: %1; keep one of each.")
                            .arg(twice.join(QStringLiteral(", "))));
    if (files.Ayehs.empty())
        throw ToolError(QStringLiteral("%1 holds no recordings named like 001001.mp3; nothing was changed.")
                            .arg(QDir::toNativeSeparators(dir)));
    return files;
}

ImportOutcome ImportRecitation(const RecitationImportRequest& request, const ImportProgress& progress) {
    const RecordingFolder files = ScanRecordingFolder(request.Folder);
    ImportOutcome outcome;
    outcome.BismillahSource = files.BismillahSource();
    outcome.Ignored = files.Ignored;
    const qint64 total = qint64(files.Ayehs.size()) + 1;
    qint64 done = 0;
    const auto advance = [&](qint64 steps) {
        done += steps;
        if (progress.Advanced)
            progress.Advanced(done, total);
    };
    advance(0);
    CheckCancel(progress);

    ReplacementCopy change(request.SourceDatabase, request.TargetDatabase, SoundDatabaseKey,
                           CheckSoundDatabase, request.WhenOpenElsewhere);
    KeyedDatabase& database = change.Copy();
    SqliteStatement remove(database.Handle(), "DELETE FROM Sounds WHERE GhariID = ?1");
    sqlite3_bind_int(remove.Get(), 1, request.GhariID);
    if (sqlite3_step(remove.Get()) != SQLITE_DONE)
        database.Fail(QStringLiteral("cannot remove the earlier recordings"));

    SqliteStatement insert(database.Handle(),
                           "INSERT INTO Sounds (SourehID, AyehID, GhariID, Sound) VALUES (?1, ?2, ?3, ?4)");
    // Every file is tried, so that one run lists every file that needs mending.
    QStringList undecodable;
    const auto importOne = [&](int s, int a, const QString& path) {
        CheckCancel(progress);
        QByteArray wav;
        try {
            wav = ConvertRecording(path, request.Encoding);
        } catch (const ToolError& error) {
            undecodable << QString::fromUtf8(error.what());
            return;
        }
        if (undecodable.isEmpty()) {
            sqlite3_reset(insert.Get());
            sqlite3_bind_int(insert.Get(), 1, s);
            sqlite3_bind_int(insert.Get(), 2, a);
            sqlite3_bind_int(insert.Get(), 3, request.GhariID);
            sqlite3_bind_blob(insert.Get(), 4, wav.constData(), int(wav.size()), SQLITE_STATIC);
            if (sqlite3_step(insert.Get()) != SQLITE_DONE)
                database.Fail(QStringLiteral("cannot store the recording of %1:%2").arg(s).arg(a));
        }
        outcome.Stored.emplace(s, a);
    };
    if (!outcome.BismillahSource.isEmpty())
        importOne(0, 0, outcome.BismillahSource);
    advance(1);
    for (const auto& [key, path] : files.Ayehs) {
        importOne(key.first, key.second, path);
        advance(1);
    }
    if (!undecodable.isEmpty())
        throw ToolError(QStringLiteral("%1 files cannot be decoded; nothing was changed:\n  %2")
                            .arg(undecodable.size())
                            .arg(undecodable.join(QStringLiteral("\n  "))));
    if (!request.Name.isEmpty())
        StoreReciterName(database, request.GhariID, request.Name);
    CheckCancel(progress);
    change.Commit();
    return outcome;
}

void RenameReciter(const QString& sourceDatabase, const QString& targetDatabase, OpenElsewhere openElsewhere,
                   int ghariId, const QString& name) {
    ReplacementCopy change(sourceDatabase, targetDatabase, SoundDatabaseKey, CheckSoundDatabase,
                           openElsewhere);
    StoreReciterName(change.Copy(), ghariId, name);
    change.Commit();
}
