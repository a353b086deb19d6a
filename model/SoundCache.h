#pragma once
// The private per-user folder the recordings are played from: each is extracted from snd.wav
// into a file of its own ("g-s-a.wav"), which the player then opens. The cache holds the
// loaded recording and at most one queued to follow it, and removes each when it is done.

#include "audio/AudioPlayer.h"
#include "content/Database.h"
#include "model/Display.h"
#include "model/Lifetime.h"

#include <QByteArray>
#include <QString>
#include <optional>

class TSoundCache final {
public:
    // The cache folder under the user's cache location; the player may be null.
    explicit TSoundCache(AudioPlayer* player);
    // Removes the loaded and the queued file; the player must be closed first.
    ~TSoundCache();
    TSoundCache(const TSoundCache&) = delete;
    TSoundCache& operator=(const TSoundCache&) = delete;

    // Created (mode 0700) when a recording is first written.
    QString Folder;
    // Where a recording that cannot be written is reported; null sends it to stderr.
    IErrorBox* ErrorBox = nullptr;

    // The file the player has open; empty with none.
    const QString& LoadedFile() const { return Loaded; }
    // The file of the recording queued in the player; empty with none.
    const QString& QueuedFile() const { return Queued; }

    // Cache file name of a recording: "g-s-a.wav".
    static QString FileName(int ghariId, int sourehId, int ayehId);

    // Extracts reciter ghariId's recording from sounds into its cache file unless that file
    // is the one loaded or queued now, and returns the file's path (also when nothing could be
    // extracted). With processPending, pending events run just before the file is written; if
    // the cache is destroyed there, nothing is written and the path is returned.
    QString Prepare(const Connection& sounds, int ghariId, int sourehId, int ayehId, bool processPending);
    // Points the player at path and opens it; a different path deletes the previous file, and
    // a queued recording other than path is dropped and deleted.
    void Load(const QString& path);
    // Extracts the recording and queues it in the player unless it is queued already; shows
    // nothing, and a recording that cannot be extracted or decoded is not queued.
    void Queue(const Connection& sounds, int ghariId, int sourehId, int ayehId);
    // Forgets the queued recording, in the player and in the cache.
    void DropQueued();
    // Makes path the loaded recording when the player has begun it from its queue; false,
    // with nothing changed, when it has not.
    bool Adopt(const QString& path);
    // Deletes the loaded and the queued file and forgets both (the player must be closed).
    void Forget();
    // Removes the recordings an earlier run left in the folder: only files named as the cache
    // names them.
    void RemoveStale();

private:
    QString Path(int ghariId, int sourehId, int ayehId) const;
    bool EnsureFolder();
    void ShowError();

    AudioPlayer* Player;
    QString Loaded;
    QString Queued;
    LifeToken Life;
};
