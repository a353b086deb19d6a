#include "audio/AudioPlayer.h"

#include <QMetaObject>
#include <utility>

AudioPlayer::AudioPlayer(QObject* parent) : QObject(parent) {}

AudioPlayer::~AudioPlayer() = default;

bool AudioPlayer::TakeNotify(bool askedByDefault) {
    const bool asks = Notify.value_or(askedByDefault);
    Notify.reset();
    return asks;
}

void AudioPlayer::AwaitPlayNotice() {
    EndPlayNotice();
    PendingPlay = LastPlay;
}

void AudioPlayer::EndPlayNotice() {
    if (PendingPlay != 0)
        PostNotice(std::exchange(PendingPlay, 0));
}

void AudioPlayer::PostNotice(qint64 play) {
    // Bound to this object: a player destroyed first takes its queued notices with it.
    QMetaObject::invokeMethod(
        this,
        [this, play] {
            if (play != 0 && HoldingNotices)
                HeldNotices.push_back(play);
            else
                Q_EMIT OnNotify(this, play);
        },
        Qt::QueuedConnection);
}

void AudioPlayer::HoldPlayNotices(bool hold) {
    HoldingNotices = hold;
    if (hold)
        return;
    for (const qint64 play : std::exchange(HeldNotices, {}))
        PostNotice(play);
}
