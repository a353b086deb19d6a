#include "audio/Resampler.h"

#include "audio/AudioPlayer.h"
#include "audio/SdlAudio.h"

#include <algorithm>
#include <cstring>
#include <numeric>

namespace {

SDL_AudioFormat SdlFormat(SampleType type) {
    switch (type) {
    case SampleType::U8:
        return AUDIO_U8;
    case SampleType::S16:
        return AUDIO_S16SYS;
    case SampleType::S32:
        return AUDIO_S32SYS;
    case SampleType::F32:
        return AUDIO_F32SYS;
    }
    return AUDIO_S16SYS;
}

// The converter is given pieces of at least this many frames: few boundaries between pieces,
// where its output is a little less exact, and small buffers.
constexpr std::int64_t ChunkFrames = 65536;

} // namespace

int PcmFormat::FrameBytes() const {
    return Channels * static_cast<int>(SDL_AUDIO_BITSIZE(SdlFormat(Type)) / 8);
}

struct Resampler::Stream {
    struct Free {
        void operator()(SDL_AudioStream* stream) const { SDL_FreeAudioStream(stream); }
    };
    std::unique_ptr<SDL_AudioStream, Free> Handle;
};

Resampler::Resampler(const PcmFormat& from, const PcmFormat& to) : From(from), To(to) {
    if (from.Channels < 1 || to.Channels < 1 || from.Rate < 1 || to.Rate < 1 || from.Channels > 255 ||
        to.Channels > 255)
        throw AudioError("Unsupported sample format for conversion");
    if (from == to)
        return;
    Converter = std::make_unique<Stream>();
    Converter->Handle.reset(SDL_NewAudioStream(SdlFormat(from.Type), static_cast<Uint8>(from.Channels),
                                               from.Rate, SdlFormat(to.Type), static_cast<Uint8>(to.Channels),
                                               to.Rate));
    if (!Converter->Handle)
        throw SdlError();
    const std::int64_t period = from.Rate / std::gcd(from.Rate, to.Rate);
    ChunkBytes = static_cast<std::size_t>((ChunkFrames + period - 1) / period * period * from.FrameBytes());
    Pending.reserve(ChunkBytes);
}

Resampler::~Resampler() = default;

std::int64_t Resampler::OutputFrames(std::int64_t inputFrames, int fromRate, int toRate) {
    if (fromRate == toRate)
        return inputFrames;
    // Whole seconds and the rest apart, so that no product can overflow.
    const std::int64_t seconds = inputFrames / fromRate;
    const std::int64_t rest = inputFrames % fromRate;
    return seconds * toRate + (2 * rest * toRate + fromRate) / (2 * std::int64_t{fromRate});
}

void Resampler::Put(const void* data, std::size_t bytes, std::vector<std::uint8_t>& out) {
    const auto frameBytes = static_cast<std::size_t>(From.FrameBytes());
    const auto* at = static_cast<const std::uint8_t*>(data);
    std::size_t left = bytes / frameBytes * frameBytes;
    FramesIn += static_cast<std::int64_t>(left / frameBytes);
    if (!Converter) {
        out.insert(out.end(), at, at + left);
        FramesOut = FramesIn;
        return;
    }
    if (!Pending.empty()) {
        const std::size_t taken = std::min(left, ChunkBytes - Pending.size());
        Pending.insert(Pending.end(), at, at + taken);
        at += taken;
        left -= taken;
        if (Pending.size() < ChunkBytes)
            return;
        Convert(Pending.data(), Pending.size(), out);
        Pending.clear();
    }
    for (; left >= ChunkBytes; at += ChunkBytes, left -= ChunkBytes)
        Convert(at, ChunkBytes, out);
    Pending.insert(Pending.end(), at, at + left);
}

void Resampler::Convert(const std::uint8_t* data, std::size_t bytes, std::vector<std::uint8_t>& out) {
    if (bytes == 0)
        return;
    // A chunk holds at most 384000 frames of 255 channels of 4 bytes: less than an int holds.
    if (SDL_AudioStreamPut(Converter->Handle.get(), data, static_cast<int>(bytes)) != 0)
        throw SdlError();
    FramesConverted += static_cast<std::int64_t>(bytes) / From.FrameBytes();
    Drain(out, OutputFrames(FramesConverted, From.Rate, To.Rate));
}

void Resampler::Finish(std::vector<std::uint8_t>& out) {
    if (Finished)
        return;
    Finished = true;
    const std::int64_t total = OutputFrames(FramesIn, From.Rate, To.Rate);
    if (Converter) {
        Convert(Pending.data(), Pending.size(), out);
        Pending.clear();
        // SDL's flush drops the resampler's right-hand context when its staging buffer happens
        // to be empty, losing the last few hundred frames. Trailing silence gives the
        // resampler that context; the output is then cut back to the sound's own length.
        const std::vector<std::uint8_t> silence(
            static_cast<std::size_t>(std::max(From.Rate / 5, 1024) * From.FrameBytes()),
            From.Type == SampleType::U8 ? 0x80 : 0);
        if (SDL_AudioStreamPut(Converter->Handle.get(), silence.data(), static_cast<int>(silence.size())) !=
                0 ||
            SDL_AudioStreamFlush(Converter->Handle.get()) != 0)
            throw SdlError();
        Drain(out, total);
    }
    // Whatever the converter kept back is made up with silence, so that the length is exact.
    if (FramesOut < total) {
        const auto missing =
            static_cast<std::size_t>(total - FramesOut) * static_cast<std::size_t>(To.FrameBytes());
        out.insert(out.end(), missing, To.Type == SampleType::U8 ? 0x80 : 0);
        FramesOut = total;
    }
}

void Resampler::Drain(std::vector<std::uint8_t>& out, std::int64_t limit) {
    const auto frameBytes = static_cast<std::int64_t>(To.FrameBytes());
    while (FramesOut < limit) {
        const std::int64_t available = SDL_AudioStreamAvailable(Converter->Handle.get()) / frameBytes;
        const std::int64_t wanted = std::min(available, limit - FramesOut);
        if (wanted <= 0)
            return;
        const std::size_t size = out.size();
        out.resize(size + static_cast<std::size_t>(wanted * frameBytes));
        const int got = SDL_AudioStreamGet(Converter->Handle.get(), out.data() + size,
                                           static_cast<int>(wanted * frameBytes));
        if (got < 0) {
            out.resize(size);
            throw SdlError();
        }
        out.resize(size + static_cast<std::size_t>(got / frameBytes * frameBytes));
        FramesOut += got / frameBytes;
        if (got == 0)
            return;
    }
}
