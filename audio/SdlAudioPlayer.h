#pragma once
// The audio player of the reader: decodes the whole file at Open (SDL_LoadWAV_RW, strict about
// truncation; see DecodeWav) into the format of the output it was given and plays it as one
// voice of that output. The output must outlive the player.
//
// Beyond the contract of AudioPlayer: a play reaches its end when the output has mixed its
// last frame, and its notice is posted from the audio thread then; Mode, Position and the
// notice change together, so a receiver that sees pmStopped with Position == Length finds the
// notice already queued.

#include "audio/AudioOutput.h"
#include "audio/AudioPlayer.h"

class SdlAudioPlayer final : public AudioPlayer {
    Q_OBJECT
public:
    explicit SdlAudioPlayer(AudioOutput& output, QObject* parent = nullptr);
    ~SdlAudioPlayer() override;

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

private:
    bool IsOpen() const { return Current.Sound != nullptr; }
    void RequireOpen() const;
    // Plays on from the current frame; see AudioPlayer for the notices.
    void StartPlaying(bool asks, bool rewindAtEnd);
    // Releases the open file; a play in progress is cut short and its notice delivered.
    void CloseFile();
    // The queued recording sounds after the open play's end, not yet adopted. Inside the lock.
    bool HandingOver() const;
    // A paused hand-over is over: the notices held meanwhile are delivered.
    void EndPausedHandOver();

    AudioOutput& Output;
    // Written on the owner's thread only: the audio thread never pauses.
    bool Paused = false;
    // Shared with the audio thread, like the pending notice of AudioPlayer: both only inside
    // the output lock while attached. Current.Sound is written on the owner's thread only,
    // and only while detached or inside the lock.
    Voice Current;
    bool Attached = false;
    // The queued recording: attached while queued, handed on to by Current.Then. Its Sound is
    // written on the owner's thread only while it is detached.
    Voice Next;
    bool NextAttached = false;
    // The hand-over was paused: Next is halted where it was, or was dropped since. Written on
    // the owner's thread only.
    bool HandOverPaused = false;
};
