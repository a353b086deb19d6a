#include "audio/SdlAudioPlayer.h"

#include "audio/WavDecoder.h"

#include <algorithm>

SdlAudioPlayer::SdlAudioPlayer(AudioOutput& output, QObject* parent) : AudioPlayer(parent), Output(output) {
    Current.Ended = [this] { EndPlayNotice(); };
}

SdlAudioPlayer::~SdlAudioPlayer() {
    // Notices already queued go with the QObject; none can be posted after the detach.
    DropQueued();
    if (Attached)
        Output.Detach(&Current);
}

void SdlAudioPlayer::RequireOpen() const {
    if (!IsOpen())
        throw AudioError("No MCI device open");
}

bool SdlAudioPlayer::HandingOver() const {
    return !Current.Playing && NextAttached && Next.Playing;
}

void SdlAudioPlayer::EndPausedHandOver() {
    if (!HandOverPaused)
        return;
    HandOverPaused = false;
    HoldPlayNotices(false);
}

void SdlAudioPlayer::StartPlaying(bool asks, bool rewindAtEnd) {
    if (HandOverPaused) {
        {
            AudioOutput::Lock lock(Output);
            if (NextAttached)
                Next.Playing = true; // on from where it was paused
        }
        EndPausedHandOver();
        return;
    }
    AudioOutput::Lock lock(Output);
    if (!Current.Playing && !Paused) {
        BeginPlay();
        Current.TrailingFrames = 0;
    }
    Paused = false;
    if (rewindAtEnd && !Current.Playing && Current.Frame >= Current.EndFrame())
        Current.Frame = 0;
    if (asks)
        AwaitPlayNotice();
    if (Current.Frame >= Current.EndFrame()) {
        // Nothing left to play: this play ends as soon as it starts.
        Current.Playing = false;
        EndPlayNotice();
        return;
    }
    Current.Playing = true;
}

void SdlAudioPlayer::CloseFile() {
    DropQueued();
    {
        AudioOutput::Lock lock(Output);
        Current.Playing = false;
        EndPlayNotice();
    }
    Output.Detach(&Current);
    Attached = false;
    // Detached: the audio thread no longer reads the voice.
    Current.Sound.reset();
    Current.Frame = 0;
    Paused = false;
    EndPausedHandOver();
}

void SdlAudioPlayer::Open() {
    const bool asks = TakeNotify(false);
    if (IsOpen())
        CloseFile();
    auto sound = DecodeWav(FileName(), Output.Format());
    Current.Sound = std::move(sound);
    Current.Frame = 0;
    Current.TrailingFrames = 0;
    Current.Playing = false;
    Output.Attach(&Current);
    Attached = true;
    if (asks)
        PostNotice(0);
}

void SdlAudioPlayer::Play() {
    RequireOpen();
    StartPlaying(TakeNotify(true), AutoRewind());
}

void SdlAudioPlayer::Stop() {
    RequireOpen();
    const bool asks = TakeNotify(false);
    DropQueued();
    EndPausedHandOver();
    AudioOutput::Lock lock(Output);
    Current.Playing = false;
    Paused = false;
    EndPlayNotice();
    if (asks)
        PostNotice(0);
}

void SdlAudioPlayer::Pause() {
    RequireOpen();
    if (Paused || HandOverPaused) {
        StartPlaying(TakeNotify(true), false);
        return;
    }
    {
        AudioOutput::Lock lock(Output);
        if (HandingOver()) {
            Next.Playing = false;
            HandOverPaused = true;
            HoldPlayNotices(true);
            if (TakeNotify(false))
                PostNotice(0);
            return;
        }
    }
    DropQueued();
    AudioOutput::Lock lock(Output);
    if (!Current.Playing)
        return; // Nothing to pause: a pending Notify waits for the next command.
    const bool asks = TakeNotify(false);
    Current.Playing = false;
    Paused = true;
    if (asks) {
        EndPlayNotice();
        PostNotice(0);
    }
}

void SdlAudioPlayer::Close() {
    if (!IsOpen())
        return; // A pending Notify waits for the next command.
    const bool asks = TakeNotify(false);
    CloseFile();
    if (asks)
        PostNotice(0);
}

void SdlAudioPlayer::SetTrailingSilence(qint64 milliseconds) {
    RequireOpen();
    AudioOutput::Lock lock(Output);
    Current.TrailingFrames = std::max<qint64>(milliseconds, 0) * Current.Sound->Format.Rate / 1000;
}

void SdlAudioPlayer::Queue(const QString& fileName) {
    DropQueued();
    if (Mode() != pmPlaying)
        return;
    // A repetition plays the sound already decoded.
    Next.Sound = fileName == FileName() ? Current.Sound : DecodeWav(fileName, Output.Format());
    Next.Frame = 0;
    Next.TrailingFrames = 0;
    Next.Playing = false;
    Output.Attach(&Next);
    NextAttached = true;
    AudioOutput::Lock lock(Output);
    if (!Current.Playing) // ended meanwhile: too late to follow it
        return;
    Current.Then = &Next;
    SetQueuedFile(fileName);
}

bool SdlAudioPlayer::Adopt(const QString& fileName) {
    if (!NextAttached || QueuedFile().isEmpty() || fileName != QueuedFile())
        return false;
    {
        AudioOutput::Lock lock(Output);
        if (!(Next.Playing || HandOverPaused) || Current.Then == &Next)
            return false; // not begun, or over already
        Current.Sound = Next.Sound;
        Current.Frame = Next.Frame;
        Current.TrailingFrames = 0;
        Current.Playing = !HandOverPaused;
        Next.Playing = false;
        Paused = HandOverPaused;
        BeginPlay();
    }
    DropQueued();
    SetFileName(fileName);
    EndPausedHandOver();
    return true;
}

void SdlAudioPlayer::DropQueued() {
    SetQueuedFile({});
    if (!NextAttached)
        return;
    {
        AudioOutput::Lock lock(Output);
        Current.Then = nullptr;
        Next.Playing = false;
    }
    Output.Detach(&Next);
    NextAttached = false;
    Next.Sound.reset();
}

PlayerMode SdlAudioPlayer::Mode() const {
    if (!IsOpen())
        return pmNotReady;
    if (Paused || HandOverPaused)
        return pmPaused;
    AudioOutput::Lock lock(Output);
    return Current.Playing || HandingOver() ? pmPlaying : pmStopped;
}

qint64 SdlAudioPlayer::Position() const {
    if (!IsOpen())
        return 0;
    std::int64_t frame = 0;
    {
        AudioOutput::Lock lock(Output);
        frame = Current.Frame;
    }
    const DecodedSound& sound = *Current.Sound;
    const std::int64_t length = sound.Milliseconds(sound.Frames());
    if (frame >= sound.Frames())
        return length;
    // Before the last frame the position stays below the length, so that Position == Length
    // means exactly that the file has been played to its end.
    return std::max<std::int64_t>(0, std::min(sound.Milliseconds(frame), length - 1));
}

qint64 SdlAudioPlayer::Length() const {
    RequireOpen();
    return Current.Sound->Milliseconds(Current.Sound->Frames());
}
