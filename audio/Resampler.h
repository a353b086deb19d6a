#pragma once
// Conversion of a stream of sound from one sample format, channel count and rate to another,
// fed block by block so that its memory stays bounded whatever the sound's length. The
// player's decoder and the recitation import both convert through it (on SDL's converter).

#include <cstddef>
#include <cstdint>
#include <memory>
#include <vector>

// Interleaved samples in the machine's own byte order.
enum class SampleType { U8, S16, S32, F32 };

struct PcmFormat {
    SampleType Type = SampleType::S16;
    int Channels = 1;
    int Rate = 44100;

    int FrameBytes() const;
    bool operator==(const PcmFormat&) const = default;
};

class Resampler final {
public:
    // Throws AudioError when the formats cannot be converted (no channels, a rate of 0).
    Resampler(const PcmFormat& from, const PcmFormat& to);
    ~Resampler();
    Resampler(const Resampler&) = delete;
    Resampler& operator=(const Resampler&) = delete;

    // Converts `bytes` bytes of whole frames of `from` and appends the frames ready to `out`.
    // Throws AudioError.
    void Put(const void* data, std::size_t bytes, std::vector<std::uint8_t>& out);
    // Ends the input and appends the rest: the output then holds exactly
    // OutputFrames(frames put) frames in all, however the input was split. Throws AudioError.
    void Finish(std::vector<std::uint8_t>& out);

    // The frames `inputFrames` frames at `fromRate` become at `toRate`, rounded to the nearest.
    static std::int64_t OutputFrames(std::int64_t inputFrames, int fromRate, int toRate);

private:
    // Hands `bytes` of input to the converter and appends what it has ready.
    void Convert(const std::uint8_t* data, std::size_t bytes, std::vector<std::uint8_t>& out);
    // Appends what the converter has ready, up to `limit` frames of output in all.
    void Drain(std::vector<std::uint8_t>& out, std::int64_t limit);

    struct Stream;
    PcmFormat From;
    PcmFormat To;
    std::unique_ptr<Stream> Converter; // null when nothing needs converting
    // SDL's converter loses the fraction of an output frame at the end of every piece of
    // input, so that its timing drifts as pieces add up: it is given pieces of ChunkBytes,
    // whole periods of the two rates that make whole output frames, the rest kept here.
    std::size_t ChunkBytes = 0;
    std::vector<std::uint8_t> Pending;
    std::int64_t FramesIn = 0;
    std::int64_t FramesConverted = 0;
    std::int64_t FramesOut = 0;
    bool Finished = false;
};
