#pragma once
// What the reader asks of an audio player: it plays one WAV file at a time and reports the end
// of the commands that asked for it. SdlAudioPlayer plays through an AudioOutput; tests use a
// player whose clock they move by hand.
//
// Contract of every player:
// - Commands are Open, Close, Play, Stop and Pause; Mode, Position and Length are queries.
//   Position and Length are in milliseconds. Position equals Length exactly when the file
//   has been played to its end, never before.
// - Open closes the open file first, then opens FileName and throws AudioError with the
//   decoder's message, else "Unknown error code"; after a failed Open no file is open. Play,
//   Stop, Pause and Length without an open file throw AudioError("No MCI device open"); Close
//   without one does nothing.
// - Play plays on from the current position (from the start when AutoRewind is on and the
//   position is at the end) and returns at once; Play while playing does not restart.
//   Stop halts and keeps the position. Pause pauses a play, resumes a paused one, and does
//   nothing otherwise. Mode: pmNotReady without a file, pmPlaying, pmPaused, else pmStopped.
//
// Plays:
// - A play is one run of the open file's playback: it begins with a Play while the file is
//   neither playing nor paused, goes on through pauses, resumes and further Plays, and ends
//   at the end of the file or when Stop, Close or Open cuts it short. Plays are numbered from
//   1 in the order they begin; CurrentPlay is the number of the last one begun.
//
// Notices:
// - Notify is write-only and one-shot: it says whether the next command asks for a notice.
//   With no Notify pending, Play and the resume step of Pause ask for one, the others do not.
//   A command that has nothing to act on (Close without a file, Pause while stopped) or that
//   throws "No MCI device open" leaves a pending Notify for the next command. A command that
//   fails otherwise consumes it and sends no notice.
// - Every notice arrives as a queued OnNotify on the thread that owns the player, never from
//   inside a command, and exactly once. It carries the number of the play it speaks of:
//   - a Play or resume that asked is reported with its play's number when the play ends
//     (at the end of the file, or at the command that cuts it short), or when a later Play or
//     resume asking for a notice of its own supersedes it (at once, while playback goes on).
//     A Play that does not ask leaves the earlier notice pending. Pausing does not end a
//     play: its notice waits for the end, a cut or a supersession after the resume.
//   - any other command that asked is reported, with play number 0, as soon as it has been
//     carried out.
//   So a receiver tells the natural end of the play it waits for by the notice's number and
//   by Mode being pmStopped with Position == Length.
// - Notices still queued when the player is destroyed are dropped; none is sent after.
// - Enabled is only stored (true from creation); commands and notices ignore it.
//
// The queue and the trailing silence, so that recordings follow one another without a gap:
// - SetTrailingSilence makes the current play end that many milliseconds of silence after the
//   file's last frame (Position equals Length during it, Mode stays pmPlaying, a pause halts
//   it); its notice comes at the end of the silence. Every play begins without one.
// - Queue holds one recording to begin on the output's frame after the current play ends, its
//   trailing silence included. It decodes the file at once (throwing AudioError as Open does,
//   and then nothing is queued), replaces a recording queued before, and queues nothing unless
//   a play is in progress. The play's end is reported as always; Position and Length go on
//   speaking of the open file until Adopt.
// - The hand-over: from the frame the queued recording begins until Adopt, it is what is
//   heard, and Mode says pmPlaying while it sounds. Pause then pauses it where it is (Mode
//   pmPaused) and Pause or Play resumes it; meanwhile the notices of plays are held back, to
//   be delivered, in order, when the paused hand-over ends: at the resume, Adopt, Stop, Close
//   or Open. DropQueued leaves it paused at the end of the open file, where resuming has
//   nothing left to play. A resume of the hand-over begins no play and asks for no notice.
// - Adopt(FileName): when the queued recording is that file and has begun and not ended, it
//   becomes the open file and a new play, in progress or (when the hand-over was paused)
//   paused, its Position counted from its first frame; true. Otherwise false, and nothing
//   changes. The new play asks for no notice: a Play or a resume does.
// - DropQueued, and Open, Close, Stop and the pausing step of Pause outside the hand-over,
//   forget the queued recording: one that has not begun is never heard, one that has begun is
//   cut at once.

#include <QObject>
#include <QString>
#include <optional>
#include <stdexcept>
#include <vector>

enum PlayerMode {
    pmNotReady = 0,
    pmStopped = 1,
    pmPlaying = 2,
    pmRecording = 3,
    pmSeeking = 4,
    pmPaused = 5,
    pmOpen = 6,
};

class AudioError : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

class AudioPlayer : public QObject {
    Q_OBJECT
public:
    explicit AudioPlayer(QObject* parent = nullptr);
    ~AudioPlayer() override;

    QString FileName() const { return File; }
    void SetFileName(const QString& fileName) { File = fileName; }

    virtual void Open() = 0;
    virtual void Play() = 0;
    virtual void Stop() = 0;
    virtual void Pause() = 0;
    virtual void Close() = 0;

    virtual PlayerMode Mode() const = 0;
    virtual qint64 Position() const = 0;
    virtual qint64 Length() const = 0;

    void SetNotify(bool notify) { Notify = notify; }
    bool Enabled() const { return IsEnabled; }
    void SetEnabled(bool enabled) { IsEnabled = enabled; }
    bool AutoRewind() const { return Rewinds; }
    void SetAutoRewind(bool autoRewind) { Rewinds = autoRewind; }

    virtual void SetTrailingSilence(qint64 milliseconds) = 0;
    virtual void Queue(const QString& fileName) = 0;
    virtual bool Adopt(const QString& fileName) = 0;
    virtual void DropQueued() = 0;
    // The file queued; empty with none.
    QString QueuedFile() const { return Queued; }

    // The number of the play begun last; 0 before the first.
    qint64 CurrentPlay() const { return LastPlay; }

Q_SIGNALS:
    // play: the number of the play the notice reports; 0 for a command's own notice.
    void OnNotify(QObject* sender, qint64 play);

protected:
    // The notice rules every player shares. A player that ends plays on another thread calls
    // AwaitPlayNotice and EndPlayNotice only while it holds the lock that thread takes too.

    // Consumes a pending Notify; without one, the command's own default decides.
    bool TakeNotify(bool askedByDefault);
    // Numbers a play that begins now.
    qint64 BeginPlay() { return ++LastPlay; }
    // A Play or resume that asks: the notice of the play before is superseded and delivered,
    // and the current play's notice waits for its end.
    void AwaitPlayNotice();
    // The current play has ended or was cut short: its pending notice, if any, is delivered.
    void EndPlayNotice();
    // Queues OnNotify; safe from any thread.
    void PostNotice(qint64 play);
    // While held, the notices of plays (not those of commands) are kept back as they come;
    // releasing queues them again, in order.
    void HoldPlayNotices(bool hold);
    void SetQueuedFile(const QString& fileName) { Queued = fileName; }

private:
    QString File;
    QString Queued;
    bool IsEnabled = true;
    bool Rewinds = true;
    std::optional<bool> Notify;
    // Written on the owner's thread only.
    qint64 LastPlay = 0;
    // The play whose notice waits for its end, 0 for none.
    qint64 PendingPlay = 0;
    bool HoldingNotices = false;
    std::vector<qint64> HeldNotices;
};
