#include "audio/WavDecoder.h"

#include "audio/AudioPlayer.h"
#include "audio/SdlAudio.h"

#include <QFile>
#include <algorithm>
#include <mutex>

namespace {

struct WavBufferFree {
    void operator()(Uint8* buffer) const { SDL_FreeWAV(buffer); }
};
using WavBuffer = std::unique_ptr<Uint8, WavBufferFree>;

struct AudioStreamFree {
    void operator()(SDL_AudioStream* stream) const { SDL_FreeAudioStream(stream); }
};
using AudioStream = std::unique_ptr<SDL_AudioStream, AudioStreamFree>;

// A damaged recording must fail to open rather than play a truncated or garbled remainder.
void SetStrictWavHints() {
    static std::once_flag once;
    std::call_once(once, [] {
        SDL_SetHint(SDL_HINT_WAVE_TRUNCATION, "strict");
        SDL_SetHint(SDL_HINT_WAVE_RIFF_CHUNK_SIZE, "ignorezero");
        // Writers disagree on what the fact chunk counts (some count stereo frames wrongly),
        // so trusting it would cut good recordings short; the data chunk decides the length.
        SDL_SetHint(SDL_HINT_WAVE_FACT_CHUNK, "ignore");
    });
}

// SDL reserves the size a data chunk header claims before it finds the file too short, so a
// damaged header could make it reserve up to 4 GiB. A data chunk that claims more bytes than
// the file holds is refused first, with the message SDL gives for it once it has read it.
void RefuseOverlongDataChunk(SDL_RWops* file) {
    const Sint64 size = SDL_RWsize(file);
    Uint8 header[12];
    Sint64 at = 0;
    if (SDL_RWread(file, header, 1, sizeof header) == sizeof header) {
        if (SDL_memcmp(header, "RIFF", 4) == 0 && SDL_memcmp(header + 8, "WAVE", 4) == 0)
            at = 12;
        else if (SDL_memcmp(header, "WAVE", 4) == 0)
            at = 4; // SDL also takes a WAVE file whose RIFF header is missing
    }
    if (at == 0) {
        SDL_RWseek(file, 0, RW_SEEK_SET);
        return; // not a WAVE file: SDL says so in its own words
    }
    while (size >= 0 && at + 8 <= size && SDL_RWseek(file, at, RW_SEEK_SET) == at &&
           SDL_RWread(file, header, 1, 8) == 8) {
        const Sint64 length =
            Sint64(header[4]) | Sint64(header[5]) << 8 | Sint64(header[6]) << 16 | Sint64(header[7]) << 24;
        if (SDL_memcmp(header, "data", 4) == 0) {
            if (length > size - (at + 8))
                throw AudioError("Truncated data chunk in WAVE file");
            break;
        }
        at += 8 + length + (length & 1);
    }
    SDL_RWseek(file, 0, RW_SEEK_SET);
}

} // namespace

std::shared_ptr<const DecodedSound> DecodeWav(const QString& path, const OutputFormat& target) {
    SetStrictWavHints();
    SDL_ClearError();
    const QByteArray name = QFile::encodeName(path);
    SDL_RWops* file = SDL_RWFromFile(name.constData(), "rb");
    if (!file)
        throw SdlError();
    try {
        RefuseOverlongDataChunk(file);
    } catch (...) {
        SDL_RWclose(file);
        throw;
    }

    SDL_AudioSpec wavFormat{};
    Uint8* raw = nullptr;
    Uint32 length = 0;
    if (!SDL_LoadWAV_RW(file, 1, &wavFormat, &raw, &length))
        throw SdlError();
    const WavBuffer source(raw);
    // A rate far beyond any recording's (a damaged header) would make the resampler's buffers
    // and work grow without bound, and the silence below overflow.
    constexpr int MaxRate = 384000;
    if (wavFormat.freq <= 0 || wavFormat.freq > MaxRate)
        throw AudioError("Unsupported sample rate in WAVE file");

    auto sound = std::make_shared<DecodedSound>();
    sound->Format = target;
    if (wavFormat.format == AUDIO_S16SYS && wavFormat.channels == target.Channels &&
        wavFormat.freq == target.Rate) {
        sound->Bytes.assign(raw, raw + length);
        return sound;
    }

    const AudioStream stream(SDL_NewAudioStream(wavFormat.format, wavFormat.channels, wavFormat.freq,
                                                AUDIO_S16SYS, static_cast<Uint8>(target.Channels),
                                                target.Rate));
    // SDL's flush drops the resampler's right-hand context when its staging buffer happens to
    // be empty, losing the last few hundred frames. Trailing silence gives the resampler that
    // context; the output is then cut back to the recording's own length.
    const int sourceFrameBytes = SDL_AUDIO_BITSIZE(wavFormat.format) / 8 * wavFormat.channels;
    const std::int64_t sourceFrames = length / static_cast<Uint32>(sourceFrameBytes);
    const std::vector<std::uint8_t> silence(
        static_cast<std::size_t>(std::max(wavFormat.freq / 5, 1024) * sourceFrameBytes),
        wavFormat.format == AUDIO_U8 ? 0x80 : 0);
    if (!stream || SDL_AudioStreamPut(stream.get(), raw, static_cast<int>(length)) != 0 ||
        SDL_AudioStreamPut(stream.get(), silence.data(), static_cast<int>(silence.size())) != 0 ||
        SDL_AudioStreamFlush(stream.get()) != 0)
        throw SdlError();
    // The stream may release its converted data in several pieces after the flush.
    std::size_t size = 0;
    while (const int available = SDL_AudioStreamAvailable(stream.get())) {
        sound->Bytes.resize(size + static_cast<std::size_t>(available));
        const int got = SDL_AudioStreamGet(stream.get(), sound->Bytes.data() + size, available);
        if (got < 0)
            throw SdlError();
        if (got == 0)
            break;
        size += static_cast<std::size_t>(got);
    }
    const std::int64_t frames = sourceFrames * target.Rate / wavFormat.freq;
    sound->Bytes.resize(std::min(size, static_cast<std::size_t>(frames * target.FrameBytes())));
    return sound;
}
