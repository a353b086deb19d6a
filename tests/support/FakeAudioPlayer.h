#pragma once
// An audio player whose clock the test moves: nothing plays until the test says that time
// passes (Advance) or that the recording ends now (EndNow). It keeps the contract of
// AudioPlayer, notices included (queued, delivered when the test lets events run), and opens
// files with the reader's own decoder, so a missing or damaged recording fails as it would.

#include "audio/AudioPlayer.h"

#include <QStringList>

class FakeAudioPlayer final : public AudioPlayer {
    Q_OBJECT
public:
    explicit FakeAudioPlayer(QObject* parent = nullptr);

    void Open() override;
    void Play() override;
    void Stop() override;
    void Pause() override;
    void Close() override;

    void SetTrailingSilence(qint64 milliseconds) override;
    void Queue(const QString& fileName) override;
    bool Adopt(const QString& fileName) override;
    void DropQueued() override;

    PlayerMode Mode() const override;
    qint64 Position() const override;
    qint64 Length() const override;

    // Lets milliseconds of playback pass; a play that reaches the end of its file and of its
    // trailing silence ends there, and a queued recording begins there.
    void Advance(qint64 milliseconds);
    // The play in progress reaches its end now, trailing silence included; nothing happens
    // while none plays.
    void EndNow();
    // The queued recording's milliseconds heard so far; -1 while it has not begun.
    qint64 QueuedPosition() const { return QueuedBegun ? QueuedAt : -1; }

    // The file of every play begun and of every queued recording begun, in order: what a
    // listener heard start.
    QStringList Plays;

private:
    void RequireOpen() const;
    void StartPlaying(bool asks, bool rewindAtEnd);
    void CloseFile();
    bool HandingOver() const;
    void EndPausedHandOver();

    bool IsOpen = false;
    bool Playing = false;
    bool Paused = false;
    qint64 At = 0;
    qint64 Duration = 0;
    qint64 Trailing = 0;
    qint64 TrailingDone = 0;
    qint64 QueuedDuration = 0;
    qint64 QueuedAt = 0;
    bool QueuedBegun = false;
    bool HandOverPaused = false;
};
