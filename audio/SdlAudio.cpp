#include "audio/SdlAudio.h"

#include "audio/AudioPlayer.h"

AudioError SdlError() {
    const char* message = SDL_GetError();
    return AudioError(message && *message ? message : "Unknown error code");
}

SdlAudioSubsystem::SdlAudioSubsystem() {
    if (SDL_InitSubSystem(SDL_INIT_AUDIO) != 0)
        throw SdlError();
    Held = true;
}

SdlAudioSubsystem::~SdlAudioSubsystem() {
    if (Held)
        SDL_QuitSubSystem(SDL_INIT_AUDIO);
}

SdlAudioSubsystem& SdlAudioSubsystem::operator=(SdlAudioSubsystem&& other) noexcept {
    if (this != &other) {
        if (Held)
            SDL_QuitSubSystem(SDL_INIT_AUDIO);
        Held = std::exchange(other.Held, false);
    }
    return *this;
}

SdlAudioDevice::SdlAudioDevice(const SDL_AudioSpec& desired, int allowedChanges) {
    Id = SDL_OpenAudioDevice(nullptr, 0, &desired, &Obtained, allowedChanges);
    if (Id == 0)
        throw SdlError();
}

SdlAudioDevice::~SdlAudioDevice() {
    if (Id != 0)
        SDL_CloseAudioDevice(Id);
}

SdlAudioDevice& SdlAudioDevice::operator=(SdlAudioDevice&& other) noexcept {
    if (this != &other) {
        if (Id != 0)
            SDL_CloseAudioDevice(Id);
        Id = std::exchange(other.Id, 0);
        Obtained = other.Obtained;
    }
    return *this;
}
