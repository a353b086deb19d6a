#pragma once
// Decoding of a whole WAV file into the output device's sample format, done once per Open so
// that playback only copies bytes. Independent of any player, so that the next recording can
// be decoded ahead of time.

#include <QString>
#include <cstdint>
#include <memory>
#include <vector>

// The format the output device plays: interleaved native-endian signed 16-bit frames.
struct OutputFormat {
    int Rate = 44100;
    int Channels = 2;
    int FrameBytes() const { return Channels * static_cast<int>(sizeof(std::int16_t)); }
};

// A decoded recording, immutable once built and shared with the audio thread.
struct DecodedSound {
    std::vector<std::uint8_t> Bytes;
    OutputFormat Format;

    std::int64_t Frames() const { return static_cast<std::int64_t>(Bytes.size()) / Format.FrameBytes(); }
    // Milliseconds from the start to frame; exact at both ends, so that a play that ran to
    // its end reports a position equal to the length.
    std::int64_t Milliseconds(std::int64_t frame) const { return frame * 1000 / Format.Rate; }
};

// Reads and decodes path (8/16-bit PCM, IMA and MS ADPCM, mu-law, A-law, float: what SDL's
// WAV loader takes), strict about truncated files, and converts it to target. Throws
// AudioError with the decoder's message, or "Unknown error code" when it gives none.
std::shared_ptr<const DecodedSound> DecodeWav(const QString& path, const OutputFormat& target);
