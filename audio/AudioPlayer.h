#pragma once
// Plays one WAV file at a time and reports the end of the commands that asked for it.
//
// Contract:
// - Commands are Open, Close, Play, Stop and Pause; Mode, Position and Length are queries.
//   Position and Length are in milliseconds.
// - Notify is write-only and one-shot: it says whether the next command asks for a notice.
//   With no Notify pending, Play and the resume step of Pause ask for one, the others do not.
// - Every notice that was asked for arrives exactly once, as a queued call of OnNotify on the
//   thread that owns the player, whether its command ran to its end, was cut short by Stop
//   or Close, or was superseded by a later command. Nothing is ever emitted from inside a
//   command.
// - Open decodes the whole file (SDL_LoadWAV_RW, strict about truncation) and throws
//   AudioError with the decoder's message, else "Unknown error code". Play, Stop, Pause and
//   Length without an open file throw AudioError("No MCI device open").
// - Without an open file Mode is pmNotReady.
// - The output device is opened once per process and kept; when no real sound device can be
//   opened, playback runs on SDL's silent driver in real time and one warning goes to stderr.

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
