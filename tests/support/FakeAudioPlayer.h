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

    PlayerMode Mode() const override;
    qint64 Position() const override;
    qint64 Length() const override;

    // Lets milliseconds of playback pass; a play that reaches the end of its file ends there.
    void Advance(qint64 milliseconds);
    // The play in progress reaches the end of its file now; nothing happens while none plays.
    void EndNow();

    // The file of every play begun, in order: what a listener heard start.
    QStringList Plays;

private:
    void RequireOpen() const;
    void StartPlaying(bool asks, bool rewindAtEnd);
    void CloseFile();

    bool IsOpen = false;
    bool Playing = false;
    bool Paused = false;
    qint64 At = 0;
    qint64 Duration = 0;
};
