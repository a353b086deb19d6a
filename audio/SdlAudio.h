#pragma once
// Move-only owners of the two SDL audio handles: the audio subsystem lease and an open
// output device. Both release what they hold in their destructor and nothing else.

#include <SDL.h>
#include <utility>

class AudioError;

// SDL's last error as an AudioError, or "Unknown error code" when SDL left no message.
AudioError SdlError();

// One reference on SDL's audio subsystem. SDL counts the references, so several leases may
// coexist; the subsystem shuts down when the last one goes.
class SdlAudioSubsystem final {
public:
    // Throws AudioError with SDL's message when the subsystem cannot start.
    SdlAudioSubsystem();
    ~SdlAudioSubsystem();
    SdlAudioSubsystem(SdlAudioSubsystem&& other) noexcept : Held(std::exchange(other.Held, false)) {}
    SdlAudioSubsystem& operator=(SdlAudioSubsystem&& other) noexcept;
    SdlAudioSubsystem(const SdlAudioSubsystem&) = delete;
    SdlAudioSubsystem& operator=(const SdlAudioSubsystem&) = delete;

private:
    bool Held = false;
};

// An open SDL output device; closing it joins SDL's audio thread, so after the destructor
// the callback never runs again.
class SdlAudioDevice final {
public:
    SdlAudioDevice() = default;
    // Opens the default output device, or throws AudioError with SDL's message.
    // The callback starts paused; see Start.
    SdlAudioDevice(const SDL_AudioSpec& desired, int allowedChanges);
    ~SdlAudioDevice();
    SdlAudioDevice(SdlAudioDevice&& other) noexcept
        : Id(std::exchange(other.Id, 0)), Obtained(other.Obtained) {}
    SdlAudioDevice& operator=(SdlAudioDevice&& other) noexcept;
    SdlAudioDevice(const SdlAudioDevice&) = delete;
    SdlAudioDevice& operator=(const SdlAudioDevice&) = delete;

    SDL_AudioDeviceID Get() const { return Id; }
    const SDL_AudioSpec& Format() const { return Obtained; }
    void Start() { SDL_PauseAudioDevice(Id, 0); }

private:
    SDL_AudioDeviceID Id = 0;
    SDL_AudioSpec Obtained{};
};
