#include "audio/WavDecoder.h"

#include "audio/AudioPlayer.h"
#include "audio/Resampler.h"
#include "audio/SdlAudio.h"

#include <QFile>
#include <algorithm>
#include <mutex>

namespace {

struct WavBufferFree {
    void operator()(Uint8* buffer) const { SDL_FreeWAV(buffer); }
};
using WavBuffer = std::unique_ptr<Uint8, WavBufferFree>;

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
    PcmFormat from;
    switch (wavFormat.format) {
    case AUDIO_U8:
        from.Type = SampleType::U8;
        break;
    case AUDIO_S16SYS:
        from.Type = SampleType::S16;
        break;
    case AUDIO_S32SYS:
        from.Type = SampleType::S32;
        break;
    case AUDIO_F32SYS:
        from.Type = SampleType::F32;
        break;
    default:
        throw AudioError("Unsupported sample format in WAVE file");
    }
    from.Channels = wavFormat.channels;
    from.Rate = wavFormat.freq;
    const PcmFormat to{SampleType::S16, target.Channels, target.Rate};
    const std::int64_t frames =
        Resampler::OutputFrames(length / static_cast<Uint32>(from.FrameBytes()), from.Rate, to.Rate);
    sound->Bytes.reserve(static_cast<std::size_t>(frames * to.FrameBytes()));
    Resampler converter(from, to);
    converter.Put(raw, length, sound->Bytes);
    converter.Finish(sound->Bytes);
    return sound;
}
