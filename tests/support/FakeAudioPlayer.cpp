#include "tests/support/FakeAudioPlayer.h"

#include "audio/WavDecoder.h"

#include <algorithm>

FakeAudioPlayer::FakeAudioPlayer(QObject* parent) : AudioPlayer(parent) {}

void FakeAudioPlayer::RequireOpen() const {
    if (!IsOpen)
        throw AudioError("No MCI device open");
}

void FakeAudioPlayer::StartPlaying(bool asks, bool rewindAtEnd) {
    if (!Playing && !Paused) {
        BeginPlay();
        Plays << FileName();
    }
    Paused = false;
    if (rewindAtEnd && At >= Duration)
        At = 0;
    if (asks)
        AwaitPlayNotice();
    if (At >= Duration) {
        Playing = false;
        EndPlayNotice();
        return;
    }
    Playing = true;
}

void FakeAudioPlayer::Open() {
    const bool asks = TakeNotify(false);
    CloseFile();
    const auto sound = DecodeWav(FileName(), OutputFormat{});
    Duration = sound->Milliseconds(sound->Frames());
    At = 0;
    IsOpen = true;
    if (asks)
        PostNotice(0);
}

void FakeAudioPlayer::Play() {
    RequireOpen();
    StartPlaying(TakeNotify(true), AutoRewind());
}

void FakeAudioPlayer::Stop() {
    RequireOpen();
    const bool asks = TakeNotify(false);
    Playing = false;
    Paused = false;
    EndPlayNotice();
    if (asks)
        PostNotice(0);
}

void FakeAudioPlayer::Pause() {
    RequireOpen();
    if (Paused) {
        StartPlaying(TakeNotify(true), false);
        return;
    }
    if (!Playing)
        return;
    const bool asks = TakeNotify(false);
    Playing = false;
    Paused = true;
    if (asks) {
        EndPlayNotice();
        PostNotice(0);
    }
}

void FakeAudioPlayer::CloseFile() {
    Playing = false;
    Paused = false;
    EndPlayNotice();
    IsOpen = false;
    At = 0;
    Duration = 0;
}

void FakeAudioPlayer::Close() {
    if (!IsOpen)
        return;
    const bool asks = TakeNotify(false);
    CloseFile();
    if (asks)
        PostNotice(0);
}

PlayerMode FakeAudioPlayer::Mode() const {
    if (!IsOpen)
        return pmNotReady;
    if (Paused)
        return pmPaused;
    return Playing ? pmPlaying : pmStopped;
}

qint64 FakeAudioPlayer::Position() const {
    return IsOpen ? std::min(At, Duration) : 0;
}

qint64 FakeAudioPlayer::Length() const {
    RequireOpen();
    return Duration;
}

void FakeAudioPlayer::Advance(qint64 milliseconds) {
    if (!Playing)
        return;
    At = std::min(At + milliseconds, Duration);
    if (At < Duration)
        return;
    Playing = false;
    EndPlayNotice();
}

void FakeAudioPlayer::EndNow() {
    if (Playing)
        Advance(Duration - At);
}
