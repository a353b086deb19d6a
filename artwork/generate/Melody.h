#pragma once
// The farewell sound: a short, gentle melody of additive sine tones over a soft drone.

#include <QString>
#include <vector>

inline constexpr int TavashihSampleRate = 22050;
inline constexpr int TavashihFrames = TavashihSampleRate * 5; // five seconds, mono

// 16-bit samples of the melody, TavashihFrames of them, peaking well below full scale.
std::vector<short> ComposeTavashih();
// Writes the melody as a 16-bit PCM WAV file; throws std::runtime_error on failure.
void WriteTavashih(const QString& path);
