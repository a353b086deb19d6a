#pragma once
// Plays one WAV file at a time and reports the end of the commands that asked for it.
//
// Contract:
// - Commands are Open, Close, Play, Stop and Pause; Mode, Position and Length are queries.
//   Position and Length are in milliseconds. Position equals Length exactly when the file
//   has been played to its last sample, never before.
// - Open closes the open file first, then decodes the whole new one (SDL_LoadWAV_RW, strict
//   about truncation) and throws AudioError with the decoder's message, else "Unknown error
//   code"; after a failed Open no file is open. Play, Stop, Pause and Length without an open
//   file throw AudioError("No MCI device open"); Close without one does nothing.
// - Play plays on from the current position (from the start when AutoRewind is on and the
//   position is at the end) and returns at once; Play while playing does not restart.
//   Stop halts and keeps the position. Pause pauses a play, resumes a paused one, and does
//   nothing otherwise. Mode: pmNotReady without a file, pmPlaying, pmPaused, else pmStopped.
//
// Notices:
// - Notify is write-only and one-shot: it says whether the next command asks for a notice.
//   With no Notify pending, Play and the resume step of Pause ask for one, the others do not.
//   A command that has nothing to act on (Close without a file, Pause while stopped) or that
//   throws "No MCI device open" leaves a pending Notify for the next command. A command that
//   fails otherwise consumes it and sends no notice.
// - Every notice arrives as a queued call of OnNotify on the thread that owns the player,
//   never from inside a command, and exactly once:
//   - a play that asked is reported when it reaches the end of the file; when Stop, Close
//     or Open cuts it short (at that command); or when a later Play or Pause asking for a
//     notice of its own supersedes it (at once, while playback goes on). A Play that does
//     not ask leaves the running play's notice pending. Pausing does not end a play: its
//     notice waits for the end, a cut or a supersession after the resume.
//   - any other command that asked is reported as soon as it has been carried out.
//   So a receiver tells a natural end by Mode being pmStopped with Position == Length.
// - Notices still queued when the player is destroyed are dropped; none is sent after.
// - Enabled is only stored (true from creation); commands and notices ignore it.
// - The output device is opened once per process, at the first Open, and kept; when no real
//   sound device can be opened, playback runs on SDL's silent driver in real time and one
//   warning goes to stderr.

#include <QObject>
#include <QString>
#include <memory>
#include <stdexcept>

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

    QString FileName() const;
    void SetFileName(const QString& fileName);

    void Open();
    void Play();
    void Stop();
    void Pause();
    void Close();

    PlayerMode Mode() const;
    qint64 Position() const;
    qint64 Length() const;

    void SetNotify(bool notify);
    bool Enabled() const;
    void SetEnabled(bool enabled);
    bool AutoRewind() const;
    void SetAutoRewind(bool autoRewind);

Q_SIGNALS:
    void OnNotify(QObject* sender);

private:
    struct Impl;
    std::unique_ptr<Impl> D;
};
