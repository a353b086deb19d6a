#pragma once
// Waiting for the SDL player in tests. Its plays run in real time on SDL's audio thread, so a
// test waits for what it needs to see, with a generous deadline, while the event loop runs:
// the only way notices arrive.

#include "audio/AudioOutput.h"
#include "audio/SdlAudioPlayer.h"

#include <QCoreApplication>
#include <QSignalSpy>
#include <QTest>
#include <functional>

// Generous bound for anything that should happen within a short recording's length.
constexpr int AudioTimeoutMs = 5000;

inline bool WaitUntil(const std::function<bool()>& condition) {
    return QTest::qWaitFor(condition, AudioTimeoutMs);
}

inline bool WaitForNotices(QSignalSpy& notices, int count) {
    return WaitUntil([&] { return notices.count() >= count; });
}

// Lets a play run out, then delivers every notice queued by then. The player posts the
// notice of a play's end in the same step in which its mode leaves pmPlaying, so none can
// come later.
inline bool RunOut(const AudioPlayer& player) {
    const bool ended = WaitUntil([&] { return player.Mode() != pmPlaying; });
    QCoreApplication::processEvents();
    return ended;
}

// Plays file to its end on a player of its own on output: at least the file's length of
// playback has passed on the audio thread when it returns true.
inline bool LetOutputPlay(AudioOutput& output, const QString& file) {
    SdlAudioPlayer metronome(output);
    QSignalSpy ended(&metronome, &AudioPlayer::OnNotify);
    metronome.SetFileName(file);
    metronome.Open();
    metronome.Play();
    return WaitForNotices(ended, 1);
}
