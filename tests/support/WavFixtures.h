#pragma once
// Short WAV files with a known signal, in the encodings the player must take, and damaged
// variants of them: the one writer of sound fixtures for the tests and the benchmarks.
// Throws std::runtime_error when a file cannot be written. Its encodings are named apart
// from the recordings library's WavEncoding, so that tests may include both.

#include <QByteArray>
#include <QString>
#include <cstdint>
#include <vector>

enum class FixtureEncoding { Pcm8, Pcm16, Float32, ImaAdpcm, MsAdpcm, MuLaw, ALaw, Gsm610 };

struct WavSpec {
    FixtureEncoding Encoding = FixtureEncoding::Pcm16;
    int Rate = 22050;
    int Channels = 1;
    int DurationMs = 50;
    // Selects one of several distinct signals, so that two files can be told apart in output.
    int Variant = 0;
    // Above 0, a sine tone of this pitch riding on a constant offset instead of the sawtooth:
    // smooth, so that no sample comes near 0 even after resampling, and any silence in the
    // output is silence the player added.
    int ToneHz = 0;
};

// Frames in a file of wavFormat: Rate * DurationMs / 1000.
int WavFrames(const WavSpec& wavFormat);

// The known signal of wavFormat: interleaved 16-bit samples, a sawtooth (or the tone of
// ToneHz) per channel that differs between channels and variants and whose samples are never
// 0 or above half the full scale.
std::vector<std::int16_t> WavSignal(const WavSpec& wavFormat);

// Writes wavFormat's signal at path in wavFormat's encoding (Gsm610 takes mono only).
void WriteWav(const QString& path, const WavSpec& wavFormat);

// The bytes of the file WriteWav writes, for a recording stored in a database.
QByteArray WavBytes(const WavSpec& wavFormat);

// Writes the file of wavFormat, then cuts off the last quarter of its bytes, inside the data.
void WriteTruncatedWav(const QString& path, const WavSpec& wavFormat);

// Writes bytes as they are: empty, garbage or not a RIFF file at all.
void WriteBytes(const QString& path, const QByteArray& bytes);

// Writes the signal of a WavSpec{Pcm16, rate, channels, durationMs} at path in any of
// libsndfile's formats (major | subtype: FLAC, Ogg Vorbis, MP3, WAV...).
void WriteSoundFile(const QString& path, int format, int rate, int channels, int durationMs);
