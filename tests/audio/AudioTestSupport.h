#pragma once
// Waiting for a player in tests: every wait runs the event loop, which is the only way
// notices arrive.

#include "audio/AudioPlayer.h"

#include <QSignalSpy>
#include <QTest>

// Generous bound for anything that should happen within a short recording's length.
constexpr int AudioTimeoutMs = 5000;

inline bool WaitForNotices(QSignalSpy& notices, int count) {
    return QTest::qWaitFor([&] { return notices.count() >= count; }, AudioTimeoutMs);
}

// Lets a play run out, then gives late notices time to show up.
inline bool WaitUntilSettled(const AudioPlayer& player) {
    const bool ended = QTest::qWaitFor([&] { return player.Mode() != pmPlaying; }, AudioTimeoutMs);
    QTest::qWait(150);
    return ended;
}
