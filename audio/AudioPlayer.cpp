#include "audio/AudioPlayer.h"

#include "audio/AudioOutput.h"
#include "audio/WavDecoder.h"

#include <QMetaObject>
#include <algorithm>
#include <optional>

struct AudioPlayer::Impl {
    explicit Impl(AudioPlayer* owner) : Owner(owner) {
        Voice.Ended = [this] { EndPendingPlay(); };
    }

    bool IsOpen() const { return Voice.Sound != nullptr; }

    void RequireOpen() const {
        if (!IsOpen())
            throw AudioError("No MCI device open");
    }

    // Consumes a pending Notify; without one, the command's own default decides.
    bool TakeNotify(bool askedByDefault) {
        const bool asks = Notify.value_or(askedByDefault);
        Notify.reset();
        return asks;
    }

    // Queues OnNotify for the owner's event loop. Safe from the audio thread; a player that
    // is destroyed first takes its queued notices with it.
    void PostNotice() const {
        AudioPlayer* owner = Owner;
        QMetaObject::invokeMethod(
            owner, [owner] { Q_EMIT owner->OnNotify(owner); }, Qt::QueuedConnection);
    }

    // Delivers the notice of the play in progress now, if it asked for one: at its end, or
    // when a command cuts it short or supersedes it. Call inside the output lock.
    void EndPendingPlay() {
        if (PlayNoticePending) {
            PlayNoticePending = false;
            PostNotice();
        }
    }

    // Plays on from the current frame. A play that asks for its own notice supersedes the
    // notice of the play before it, which is delivered at once.
    void StartPlaying(bool asks, bool rewindAtEnd) {
        AudioOutput::Lock lock(*Output);
        if (asks)
            EndPendingPlay();
        Paused = false;
        const std::int64_t frames = Voice.Sound->Frames();
        if (rewindAtEnd && Voice.Frame >= frames)
            Voice.Frame = 0;
        if (Voice.Frame >= frames) {
            // Nothing left to play: this play ends as soon as it starts.
            Voice.Playing = false;
            if (asks)
                PostNotice();
            return;
        }
        Voice.Playing = true;
        if (asks)
            PlayNoticePending = true;
    }

    // Releases the open file; a play in progress is cut short and its notice delivered.
    void CloseFile() {
        {
            AudioOutput::Lock lock(*Output);
            Voice.Playing = false;
            EndPendingPlay();
        }
        Output->Detach(&Voice);
        // Detached: the audio thread no longer reads the voice.
        Voice.Sound.reset();
        Voice.Frame = 0;
        Paused = false;
        Output = nullptr;
    }

    AudioPlayer* const Owner;
    QString FileName;
    bool Enabled = true;
    bool AutoRewind = true;
    std::optional<bool> Notify;
    // Written on the owner's thread only: the audio thread never pauses.
    bool Paused = false;
    // The output while a file is open, else null.
    AudioOutput* Output = nullptr;
    // Shared with the audio thread, like PlayNoticePending: both only inside the output lock
    // while attached. Voice.Sound is written on the owner's thread only.
    ::Voice Voice;
    bool PlayNoticePending = false;
};

AudioPlayer::AudioPlayer(QObject* parent) : QObject(parent), D(std::make_unique<Impl>(this)) {}

AudioPlayer::~AudioPlayer() {
    // Notices already queued go with the QObject; none can be posted after the detach.
    if (D->Output)
        D->Output->Detach(&D->Voice);
}

QString AudioPlayer::FileName() const {
    return D->FileName;
}

void AudioPlayer::SetFileName(const QString& fileName) {
    D->FileName = fileName;
}

void AudioPlayer::Open() {
    const bool asks = D->TakeNotify(false);
    if (D->IsOpen())
        D->CloseFile();
    AudioOutput& output = AudioOutput::Shared();
    D->Voice.Sound = DecodeWav(D->FileName, output.Format());
    D->Voice.Frame = 0;
    D->Voice.Playing = false;
    D->Output = &output;
    output.Attach(&D->Voice);
    if (asks)
        D->PostNotice();
}

void AudioPlayer::Play() {
    D->RequireOpen();
    D->StartPlaying(D->TakeNotify(true), D->AutoRewind);
}

void AudioPlayer::Stop() {
    D->RequireOpen();
    const bool asks = D->TakeNotify(false);
    AudioOutput::Lock lock(*D->Output);
    D->Voice.Playing = false;
    D->Paused = false;
    D->EndPendingPlay();
    if (asks)
        D->PostNotice();
}

void AudioPlayer::Pause() {
    D->RequireOpen();
    if (D->Paused) {
        D->StartPlaying(D->TakeNotify(true), false);
        return;
    }
    AudioOutput::Lock lock(*D->Output);
    if (!D->Voice.Playing)
        return; // Nothing to pause: a pending Notify waits for the next command.
    const bool asks = D->TakeNotify(false);
    D->Voice.Playing = false;
    D->Paused = true;
    if (asks) {
        D->EndPendingPlay();
        D->PostNotice();
    }
}

void AudioPlayer::Close() {
    if (!D->IsOpen())
        return; // A pending Notify waits for the next command.
    const bool asks = D->TakeNotify(false);
    D->CloseFile();
    if (asks)
        D->PostNotice();
}

PlayerMode AudioPlayer::Mode() const {
    if (!D->IsOpen())
        return pmNotReady;
    if (D->Paused)
        return pmPaused;
    AudioOutput::Lock lock(*D->Output);
    return D->Voice.Playing ? pmPlaying : pmStopped;
}

qint64 AudioPlayer::Position() const {
    if (!D->IsOpen())
        return 0;
    std::int64_t frame = 0;
    {
        AudioOutput::Lock lock(*D->Output);
        frame = D->Voice.Frame;
    }
    const DecodedSound& sound = *D->Voice.Sound;
    const std::int64_t length = sound.Milliseconds(sound.Frames());
    if (frame >= sound.Frames())
        return length;
    // Before the last frame the position stays below the length, so that Position == Length
    // means exactly that the file has been played to its end.
    return std::max<std::int64_t>(0, std::min(sound.Milliseconds(frame), length - 1));
}

qint64 AudioPlayer::Length() const {
    D->RequireOpen();
    return D->Voice.Sound->Milliseconds(D->Voice.Sound->Frames());
}

void AudioPlayer::SetNotify(bool notify) {
    D->Notify = notify;
}

bool AudioPlayer::Enabled() const {
    return D->Enabled;
}

void AudioPlayer::SetEnabled(bool enabled) {
    D->Enabled = enabled;
}

bool AudioPlayer::AutoRewind() const {
    return D->AutoRewind;
}

void AudioPlayer::SetAutoRewind(bool autoRewind) {
    D->AutoRewind = autoRewind;
}
