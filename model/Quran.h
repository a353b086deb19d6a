#pragma once
// The book: the two content connections, the current soureh and page, the reciter and the
// sound cache from which recordings are played.

#include "audio/AudioPlayer.h"
#include "content/Database.h"
#include "model/Display.h"
#include "model/Lifetime.h"
#include "model/Page.h"
#include "model/Records.h"
#include "model/SoundCache.h"

#include <QString>
#include <QStringList>
#include <map>
#include <memory>
#include <optional>

// The one book of the application; the main window fills and frees it.
extern std::unique_ptr<TQuran> GlobalQuran;

class TQuran final {
public:
    // Opens quran.dat, then snd.wav, from the current working directory, makes soureh 1 current
    // and shows the page of its ayeh 1. On failure the partial book is released as by the
    // destructor and the error passes on.
    TQuran(IPageNoEdit* pageNoEdit, IScrollBox* scrollBox, IPageImage* image, AudioPlayer* player);
    ~TQuran();
    TQuran(const TQuran&) = delete;
    TQuran& operator=(const TQuran&) = delete;

    std::unique_ptr<TQuranPage> Page;
    std::unique_ptr<TSoureh> Soureh;
    int GhariID = 0;
    IPageImage* Image = nullptr;
    AudioPlayer* Player = nullptr;
    std::unique_ptr<Connection> QuranConnection;
    IScrollBox* ScrollBox = nullptr;
    IPageNoEdit* PageNoEdit = nullptr;
    // Owned by the book and released last, after the player is closed.
    std::unique_ptr<Connection> SoundConnection;
    // The recordings extracted for the player (the loaded one and the queued one); emptied
    // when the book is released, after the player is closed.
    std::unique_ptr<TSoundCache> Sounds;
    // The play whose end the continuous recitation waits for: the one the last recitation
    // began (its ayeh or its Bismillah); 0 while a recitation is being started and after one
    // that played nothing.
    qint64 AwaitedPlay = 0;
    // Counts the recitations begun, so that a call that let events run can tell whether
    // another recitation began meanwhile.
    quint64 Recitations = 0;

    TSoureh* SelectSoureh(int sourehId);
    // "N- Name" per soureh in number order; no list when the table is empty.
    std::optional<QStringList> GetSourehList();
    void GoToPage(int pageId);
    void SetPage(std::unique_ptr<TQuranPage> page);
    void SetSoureh(std::unique_ptr<TSoureh> soureh);

    // Extracts the current reciter's recording into its cache file unless that file is the one
    // loaded now, and returns the file's path (also when nothing could be extracted). With
    // processPending, pending events run just before the file is written; if the book is
    // destroyed there, nothing is written and the path is returned without touching the book.
    QString PrepareSound(int sourehId, int ayehId, bool processPending);
    // Points the player at path and opens it; a different path deletes the previous file, and
    // a queued recording other than path is dropped and deleted.
    void LoadSound(const QString& path);

    // The recording queued to follow the one playing without a gap: extracts the current
    // reciter's recording of (sourehId, ayehId) into the cache and queues it in the player,
    // unless it is queued already. Runs no events and shows nothing: a recording that cannot
    // be extracted or decoded is not queued, and the recitation finds its fault when it
    // comes to it. The cache then holds the loaded recording and this one, never more.
    void QueueSound(int sourehId, int ayehId);
    // Forgets the queued recording, in the player and in the cache.
    void DropQueuedSound();
    // Makes path the loaded recording when the player has begun it from its queue; false,
    // with nothing changed, when it has not.
    bool AdoptSound(const QString& path);
    // Plays the current reciter's Bismillah. Events run while it is extracted; when the
    // current ayeh was released or another recitation began there, it plays nothing.
    void PlayBismillah();

    // Opens snd.wav again from the current working directory, after it was replaced there or
    // the directory changed: the player is closed and the loaded recording forgotten, so the
    // next recitation extracts from the new file. On failure the error passes on and the
    // open connection stays.
    void ReopenSoundDatabase();

    // The names of snd.wav's optional Reciters table by GhariID, without the reciters it
    // names with null or empty text; none at all when the table is missing or cannot be read.
    std::map<int, QString> GetReciterNames();

    // Cache file name of a recording: "g-s-a.wav".
    static QString SoundFileName(int ghariId, int sourehId, int ayehId) {
        return TSoundCache::FileName(ghariId, sourehId, ayehId);
    }

    std::weak_ptr<const void> Watch() const { return Life.Watch(); }

private:
    void Release() noexcept;

    LifeToken Life;
};
