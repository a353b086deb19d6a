#include "tests/support/FakeAudioPlayer.h"

#include "audio/WavDecoder.h"

#include <algorithm>

FakeAudioPlayer::FakeAudioPlayer(QObject* parent) : AudioPlayer(parent) {}

void FakeAudioPlayer::RequireOpen() const {
    if (!IsOpen)
        throw AudioError("No MCI device open");
}

bool FakeAudioPlayer::HandingOver() const {
    return !Playing && QueuedBegun && QueuedAt < QueuedDuration;
}

void FakeAudioPlayer::EndPausedHandOver() {
    if (!HandOverPaused)
        return;
    HandOverPaused = false;
    HoldPlayNotices(false);
}

void FakeAudioPlayer::StartPlaying(bool asks, bool rewindAtEnd) {
    if (HandOverPaused) {
        EndPausedHandOver();
        return;
    }
    if (!Playing && !Paused) {
        BeginPlay();
        Plays << FileName();
        Trailing = TrailingDone = 0;
    }
    Paused = false;
    const bool over = At >= Duration && TrailingDone >= Trailing;
    if (rewindAtEnd && !Playing && over)
        At = 0;
    if (asks)
        AwaitPlayNotice();
    if (At >= Duration && TrailingDone >= Trailing) {
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
    Trailing = TrailingDone = 0;
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
    DropQueued();
    EndPausedHandOver();
    Playing = false;
    Paused = false;
    EndPlayNotice();
    if (asks)
        PostNotice(0);
}

void FakeAudioPlayer::Pause() {
    RequireOpen();
    if (Paused || HandOverPaused) {
        StartPlaying(TakeNotify(true), false);
        return;
    }
    if (HandingOver()) {
        HandOverPaused = true;
        HoldPlayNotices(true);
        if (TakeNotify(false))
            PostNotice(0);
        return;
    }
    DropQueued();
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
    DropQueued();
    Playing = false;
    Paused = false;
    EndPlayNotice();
    EndPausedHandOver();
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
    if (Paused || HandOverPaused)
        return pmPaused;
    return Playing || HandingOver() ? pmPlaying : pmStopped;
}

qint64 FakeAudioPlayer::Position() const {
    return IsOpen ? std::min(At, Duration) : 0;
}

qint64 FakeAudioPlayer::Length() const {
    RequireOpen();
    return Duration;
}

void FakeAudioPlayer::SetTrailingSilence(qint64 milliseconds) {
    RequireOpen();
    Trailing = std::max<qint64>(milliseconds, 0);
}

void FakeAudioPlayer::Queue(const QString& fileName) {
    DropQueued();
    if (Mode() != pmPlaying)
        return;
    const auto sound = DecodeWav(fileName, OutputFormat{});
    QueuedDuration = sound->Milliseconds(sound->Frames());
    SetQueuedFile(fileName);
}

bool FakeAudioPlayer::Adopt(const QString& fileName) {
    if (QueuedFile().isEmpty() || fileName != QueuedFile() || !QueuedBegun || QueuedAt >= QueuedDuration)
        return false;
    SetFileName(fileName);
    Duration = QueuedDuration;
    At = QueuedAt;
    Trailing = TrailingDone = 0;
    Playing = !HandOverPaused;
    Paused = HandOverPaused;
    BeginPlay();
    DropQueued();
    EndPausedHandOver();
    return true;
}

void FakeAudioPlayer::DropQueued() {
    SetQueuedFile({});
    QueuedBegun = false;
    QueuedAt = 0;
}

void FakeAudioPlayer::Advance(qint64 milliseconds) {
    if (!Playing) {
        if (QueuedBegun && !HandOverPaused)
            QueuedAt = std::min(QueuedAt + milliseconds, QueuedDuration);
        return;
    }
    const qint64 sounding = std::min(milliseconds, Duration - At);
    At += sounding;
    const qint64 silent = std::min(milliseconds - sounding, Trailing - TrailingDone);
    TrailingDone += silent;
    if (At < Duration || TrailingDone < Trailing)
        return;
    Playing = false;
    EndPlayNotice();
    if (!QueuedFile().isEmpty()) {
        QueuedBegun = true;
        QueuedAt = std::min(milliseconds - sounding - silent, QueuedDuration);
        Plays << QueuedFile();
    }
}

void FakeAudioPlayer::EndNow() {
    if (Playing)
        Advance(Duration - At + Trailing - TrailingDone);
}
