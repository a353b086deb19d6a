#pragma once
// One reciter's recordings from a folder of per-ayeh audio files, and a reciter's name, written
// into a sound database all or nothing. Both run on any one thread and touch nothing but the
// files they are given; the content tool runs them in place, the reader's window into the
// per-user content folder.

#include "recordings/SoundDatabase.h"

#include <QString>
#include <QStringList>
#include <functional>
#include <map>
#include <memory>
#include <set>
#include <utility>
#include <vector>

// The audio files of a folder in the per-ayeh layout: three-digit soureh and ayeh numbers
// (001001.mp3 ... 114006.mp3), MP3, WAV, FLAC or Ogg, and optionally bismillah.*.
struct RecordingFolder {
    std::map<std::pair<int, int>, QString> Ayehs; // (soureh, ayeh) -> path
    QString Bismillah;                            // bismillah.* or empty
    QStringList Ignored;                          // names of the layout that name no ayeh
    // bismillah.*, else 001001.*, else empty.
    QString BismillahSource() const;
};

// Reads the folder's names. Throws ToolError for a folder that is missing or holds no
// recording, and for two files of one recording, since either could be meant.
RecordingFolder ScanRecordingFolder(const QString& dir);

struct RecitationImportRequest {
    QString Folder;
    // The sound database the import starts from, and the file it goes to; both are the same
    // file for an import in place. The source is only read.
    QString SourceDatabase;
    QString TargetDatabase;
    OpenElsewhere WhenOpenElsewhere = OpenElsewhere::Refuse;
    // The target's lock when the caller holds it (and so chose the source under it); without
    // one the import takes it.
    const ChangeLock* TargetLock = nullptr;
    int GhariID = 0;
    QString Name; // empty: the reciter keeps the name it has
    WavEncoding Encoding = WavEncoding::ImaAdpcm;
};

// Called on the importing thread. Advanced reports the steps done of all (one per file, one
// for the Bismillah), first with none done; CancelRequested is asked before each step and
// before the change is made.
struct ImportProgress {
    std::function<void(qint64 done, qint64 total)> Advanced;
    std::function<bool()> CancelRequested;
};

// The import stopped on request; nothing was changed.
class ImportCancelled : public ToolError {
public:
    ImportCancelled() : ToolError(QStringLiteral("interrupted; nothing was changed.")) {}
};

// Files of the folder that cannot be stored, each with the decoder's message (which names
// it); nothing was changed.
class UndecodableRecordings : public ToolError {
public:
    struct File {
        QString Path;
        QString Message;
    };
    explicit UndecodableRecordings(std::vector<File> files);
    std::vector<File> Files;
};

struct ImportOutcome {
    // The reciter's recordings now: (soureh, ayeh), (0, 0) the Bismillah.
    std::set<std::pair<int, int>> Stored;
    QString BismillahSource;
    QStringList Ignored;

    int AyehCount() const { return int(Stored.size()) - (HasBismillah() ? 1 : 0); }
    bool HasBismillah() const { return Stored.count({0, 0}) != 0; }
    std::vector<std::pair<int, int>> Missing() const { return MissingRecordings(Stored); }
};

// Replaces every recording of the reciter in the target with those of the folder, stored as
// WAV, mono, at the file's rate up to 22050 Hz. Every file is decoded before anything is
// changed: files that cannot be decoded fail the whole import with UndecodableRecordings,
// listing every one; each recording stored is read back and its length checked against the
// length decoded before the change is made. Throws ToolError (ImportCancelled on request); the
// target is then as it was.
ImportOutcome ImportRecitation(const RecitationImportRequest& request, const ImportProgress& progress = {});

// An import or a renaming done but for the last step: the copy, finished, waits to replace
// the target with Change->Commit(), on any thread; dropped, it is removed and nothing changes.
struct PreparedChange {
    ImportOutcome Imported;
    std::unique_ptr<ReplacementCopy> Change;
};
PreparedChange PrepareRecitationImport(const RecitationImportRequest& request,
                                       const ImportProgress& progress = {});

// Writes reciter ghariId's name into the target, made from the source as above. Throws
// ToolError, the target left as it was.
void RenameReciter(const QString& sourceDatabase, const QString& targetDatabase, OpenElsewhere openElsewhere,
                   int ghariId, const QString& name);
// The same but for the replacement, under the target's lock that the caller holds.
PreparedChange PrepareRename(const ChangeLock& lock, const QString& sourceDatabase,
                             OpenElsewhere openElsewhere, int ghariId, const QString& name);
