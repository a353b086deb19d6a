#include "audio/AudioOutput.h"

#include "audio/AudioPlayer.h"
#include "audio/SdlAudio.h"

#include <QtGlobal>
#include <algorithm>
#include <cstdio>
#include <cstring>
#include <utility>

namespace {

// Small buffers keep the gap between one recording and the next short.
constexpr Uint16 DeviceBufferFrames = 512;
constexpr int PreferredRate = 44100;
constexpr int OutputChannels = 2;

} // namespace

struct AudioOutput::Device {
    SdlAudioSubsystem Subsystem;
    SdlAudioDevice Output;

    // Opens the subsystem and the device on the driver SDL picks or SDL_AUDIODRIVER names.
    static std::unique_ptr<Device> Open(const SDL_AudioSpec& desired) {
        SdlAudioSubsystem subsystem;
        // The device may choose its own rate: recordings are converted once, when opened, to
        // whatever it takes. Format and channel count stay fixed so that mixing stays simple.
        SdlAudioDevice output(desired, SDL_AUDIO_ALLOW_FREQUENCY_CHANGE);
        return std::make_unique<Device>(Device{std::move(subsystem), std::move(output)});
    }
};

AudioOutput::AudioOutput() = default;

AudioOutput::~AudioOutput() {
    // The device goes first: its audio thread must no longer run while the voices go.
    Sdl.reset();
}

AudioOutput::Device& AudioOutput::Opened() {
    if (Sdl)
        return *Sdl;
    SDL_AudioSpec desired{};
    desired.freq = PreferredRate;
    desired.format = AUDIO_S16SYS;
    desired.channels = OutputChannels;
    desired.samples = DeviceBufferFrames;
    desired.callback = &AudioOutput::Callback;
    desired.userdata = this;
    std::unique_ptr<Device> device;
    try {
        device = Device::Open(desired);
    } catch (const AudioError& error) {
        // No sound hardware must never keep the reader from running: play on the silent
        // driver, which still consumes samples in real time.
        std::fprintf(stderr, "Warning: no sound device could be opened (%s); playing silently.\n",
                     error.what());
        SDL_SetHintWithPriority(SDL_HINT_AUDIODRIVER, "dummy", SDL_HINT_OVERRIDE);
        device = Device::Open(desired);
    }
    DeviceFormat.Rate = device->Output.Format().freq;
    DeviceFormat.Channels = device->Output.Format().channels;
    Sdl = std::move(device);
    Sdl->Output.Start();
    return *Sdl;
}

const OutputFormat& AudioOutput::Format() {
    Opened();
    return DeviceFormat;
}

AudioOutput::Lock::Lock(AudioOutput& output) : Output(output) {
    SDL_LockAudioDevice(Output.Opened().Output.Get());
}

AudioOutput::Lock::~Lock() {
    SDL_UnlockAudioDevice(Output.Sdl->Output.Get());
}

void AudioOutput::Attach(Voice* voice) {
    Lock lock(*this);
    if (std::find(Voices.begin(), Voices.end(), voice) == Voices.end())
        Voices.push_back(voice);
}

void AudioOutput::Detach(Voice* voice) {
    if (!Sdl)
        return; // never opened: nothing was attached
    Lock lock(*this);
    Voices.erase(std::remove(Voices.begin(), Voices.end(), voice), Voices.end());
}

void AudioOutput::Callback(void* self, std::uint8_t* stream, int length) {
    static_cast<AudioOutput*>(self)->Mix(stream, length);
}

// Runs on SDL's audio thread with the device lock held.
void AudioOutput::Mix(std::uint8_t* stream, int length) {
    std::memset(stream, 0, static_cast<std::size_t>(length));
    const std::int64_t wanted = length / DeviceFormat.FrameBytes();
    for (Voice* voice : Voices)
        voice->Mixed = false;
    for (Voice* voice : Voices)
        if (voice->Playing && voice->Sound && !voice->Mixed)
            MixVoice(*voice, stream, 0, wanted);
}

void AudioOutput::MixVoice(Voice& voice, std::uint8_t* stream, std::int64_t from, std::int64_t wanted) {
    voice.Mixed = true;
    const int frameBytes = DeviceFormat.FrameBytes();
    const std::int64_t frames = voice.Sound->Frames();
    std::int64_t at = from;
    if (voice.Frame < frames) {
        const std::int64_t count = std::min(wanted - at, frames - voice.Frame);
        SDL_MixAudioFormat(stream + at * frameBytes, voice.Sound->Bytes.data() + voice.Frame * frameBytes,
                           AUDIO_S16SYS, static_cast<Uint32>(count * frameBytes), SDL_MIX_MAXVOLUME);
        voice.Frame += count;
        at += count;
    }
    const std::int64_t end = voice.EndFrame();
    if (voice.Frame < end) {
        // The trailing silence: the buffer is silent already.
        const std::int64_t count = std::min(wanted - at, end - voice.Frame);
        voice.Frame += count;
        at += count;
    }
    if (voice.Frame < end)
        return;
    voice.Playing = false;
    if (voice.Ended)
        voice.Ended();
    Voice* next = std::exchange(voice.Then, nullptr);
    if (next && next->Sound && std::find(Voices.begin(), Voices.end(), next) != Voices.end()) {
        next->Playing = true;
        MixVoice(*next, stream, at, wanted);
    }
}
