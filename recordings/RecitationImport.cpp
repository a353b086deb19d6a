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

// IMA ADPCM is stored in whole blocks of at most this many frames.
constexpr std::int64_t LongestAdpcmBlock = 2048;

// Whether a stored recording holds the frames that were encoded into it.
bool HoldsAll(const QByteArray& wav, const StoredRecording& encoded, WavEncoding encoding) {
    const std::int64_t frames = StoredFrames(wav);
    if (encoding == WavEncoding::Pcm16)
        return frames == encoded.Frames;
    return frames >= encoded.Frames && frames < encoded.Frames + LongestAdpcmBlock;
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

namespace {

QString ListOf(const std::vector<UndecodableRecordings::File>& files) {
    QStringList messages;
    for (const UndecodableRecordings::File& file : files)
        messages << file.Message;
    return QStringLiteral("%1 files cannot be decoded; nothing was changed:\n  %2")
        .arg(files.size())
        .arg(messages.join(QStringLiteral("\n  ")));
}

} // namespace

UndecodableRecordings::UndecodableRecordings(std::vector<File> files)
    : ToolError(ListOf(files)), Files(std::move(files)) {}

PreparedChange PrepareRecitationImport(const RecitationImportRequest& request,
                                       const ImportProgress& progress) {
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

    PreparedChange prepared;
    prepared.Change =
        request.TargetLock
            ? std::make_unique<ReplacementCopy>(*request.TargetLock, request.SourceDatabase, SoundDatabaseKey,
                                                CheckSoundDatabase, request.WhenOpenElsewhere)
            : std::make_unique<ReplacementCopy>(request.SourceDatabase, request.TargetDatabase,
                                                SoundDatabaseKey, CheckSoundDatabase,
                                                request.WhenOpenElsewhere);
    KeyedDatabase& database = prepared.Change->Copy();
    SqliteStatement remove(database.Handle(), "DELETE FROM Sounds WHERE GhariID = ?1");
    sqlite3_bind_int(remove.Get(), 1, request.GhariID);
    if (sqlite3_step(remove.Get()) != SQLITE_DONE)
        database.Fail(QStringLiteral("cannot remove the earlier recordings"));

    SqliteStatement insert(database.Handle(),
                           "INSERT INTO Sounds (SourehID, AyehID, GhariID, Sound) VALUES (?1, ?2, ?3, ?4)");
    SqliteStatement readBack(database.Handle(),
                             "SELECT Sound FROM Sounds WHERE SourehID = ?1 AND AyehID = ?2 AND GhariID = ?3");
    // Every file is tried, so that one run lists every file that needs mending.
    std::vector<UndecodableRecordings::File> undecodable;
    const auto importOne = [&](int s, int a, const QString& path) {
        CheckCancel(progress);
        StoredRecording recording;
        try {
            recording = ConvertRecordingFile(path, MaximumStoredRate, request.Encoding);
        } catch (const ToolError& error) {
            // 001001.* serves as the Bismillah too: one file, named once.
            if (undecodable.empty() || undecodable.back().Path != path)
                undecodable.push_back({path, QString::fromUtf8(error.what())});
            return;
        }
        if (undecodable.empty()) {
            const QByteArray& wav = recording.Wav;
            sqlite3_reset(insert.Get());
            sqlite3_bind_int(insert.Get(), 1, s);
            sqlite3_bind_int(insert.Get(), 2, a);
            sqlite3_bind_int(insert.Get(), 3, request.GhariID);
            sqlite3_bind_blob64(insert.Get(), 4, wav.constData(), sqlite3_uint64(wav.size()), SQLITE_STATIC);
            if (sqlite3_step(insert.Get()) != SQLITE_DONE)
                database.Fail(QStringLiteral("cannot store the recording of %1:%2").arg(s).arg(a));
            // Nothing is called a success that was not stored whole.
            sqlite3_reset(readBack.Get());
            sqlite3_bind_int(readBack.Get(), 1, s);
            sqlite3_bind_int(readBack.Get(), 2, a);
            sqlite3_bind_int(readBack.Get(), 3, request.GhariID);
            if (sqlite3_step(readBack.Get()) != SQLITE_ROW)
                database.Fail(QStringLiteral("cannot read back the recording of %1:%2").arg(s).arg(a));
            const bool whole = HoldsAll(
                QByteArray::fromRawData(static_cast<const char*>(sqlite3_column_blob(readBack.Get(), 0)),
                                        sqlite3_column_bytes(readBack.Get(), 0)),
                recording, request.Encoding);
            sqlite3_reset(readBack.Get());
            if (!whole)
                throw ToolError(
                    QStringLiteral("%1: the recording of %2:%3 was not stored whole; nothing was changed.")
                        .arg(QDir::toNativeSeparators(path))
                        .arg(s)
                        .arg(a));
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
    if (!undecodable.empty())
        throw UndecodableRecordings(std::move(undecodable));
    if (!request.Name.isEmpty())
        StoreReciterName(database, request.GhariID, request.Name);
    CheckCancel(progress);
    prepared.Change->Finish();
    prepared.Imported = std::move(outcome);
    return prepared;
}

ImportOutcome ImportRecitation(const RecitationImportRequest& request, const ImportProgress& progress) {
    PreparedChange prepared = PrepareRecitationImport(request, progress);
    prepared.Change->Commit();
    return prepared.Imported;
}

void RenameReciter(const QString& sourceDatabase, const QString& targetDatabase, OpenElsewhere openElsewhere,
                   int ghariId, const QString& name) {
    ReplacementCopy change(sourceDatabase, targetDatabase, SoundDatabaseKey, CheckSoundDatabase,
                           openElsewhere);
    StoreReciterName(change.Copy(), ghariId, name);
    change.Commit();
}

PreparedChange PrepareRename(const ChangeLock& lock, const QString& sourceDatabase,
                             OpenElsewhere openElsewhere, int ghariId, const QString& name) {
    PreparedChange prepared;
    prepared.Change = std::make_unique<ReplacementCopy>(lock, sourceDatabase, SoundDatabaseKey,
                                                        CheckSoundDatabase, openElsewhere);
    StoreReciterName(prepared.Change->Copy(), ghariId, name);
    prepared.Change->Finish();
    return prepared;
}
