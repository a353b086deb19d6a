#include "audio/WavDecoder.h"

#include "audio/AudioPlayer.h"
#include "audio/SdlAudio.h"

#include <QFile>

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
        SDL_SetHint(SDL_HINT_WAVE_FACT_CHUNK, "truncate");
    });
}

} // namespace

std::shared_ptr<const DecodedSound> DecodeWav(const QString& path, const OutputFormat& target) {
    SetStrictWavHints();
    SDL_ClearError();
    const QByteArray name = QFile::encodeName(path);
    SDL_RWops* file = SDL_RWFromFile(name.constData(), "rb");
    if (!file)
        throw SdlError();

    SDL_AudioSpec spec{};
    Uint8* raw = nullptr;
    Uint32 length = 0;
    if (!SDL_LoadWAV_RW(file, 1, &spec, &raw, &length))
        throw SdlError();
    const WavBuffer source(raw);

    auto sound = std::make_shared<DecodedSound>();
    sound->Format = target;
    if (spec.format == AUDIO_S16SYS && spec.channels == target.Channels && spec.freq == target.Rate) {
        sound->Bytes.assign(raw, raw + length);
        return sound;
    }

    const AudioStream stream(SDL_NewAudioStream(spec.format, spec.channels, spec.freq, AUDIO_S16SYS,
                                                static_cast<Uint8>(target.Channels), target.Rate));
    if (!stream || SDL_AudioStreamPut(stream.get(), raw, static_cast<int>(length)) != 0 ||
        SDL_AudioStreamFlush(stream.get()) != 0)
        throw SdlError();
    const int available = SDL_AudioStreamAvailable(stream.get());
    sound->Bytes.resize(static_cast<std::size_t>(available));
    const int got = available > 0 ? SDL_AudioStreamGet(stream.get(), sound->Bytes.data(), available) : 0;
    if (got < 0)
        throw SdlError();
    // Keep whole frames only, so that Frames() is exact.
    sound->Bytes.resize(static_cast<std::size_t>(got - got % target.FrameBytes()));
    return sound;
}
