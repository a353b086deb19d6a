#pragma once
// The process's one sound output: an SDL device opened at first use and kept until exit,
// which mixes every attached voice into a small buffer on SDL's audio thread and writes
// silence when nothing plays. Switching recordings never reopens the device.

#include "audio/WavDecoder.h"

#include <functional>
#include <memory>
#include <vector>

// One source mixed into the output. All fields are shared with the audio thread: read or
// write them only inside an AudioOutput::Lock.
struct Voice {
    std::shared_ptr<const DecodedSound> Sound;
    std::int64_t Frame = 0;
    bool Playing = false;
    // Runs on the audio thread, inside the lock, when a play reaches the last frame; it must
    // only record state or post to another thread.
    std::function<void()> Ended;
};

class AudioOutput final {
public:
    // The shared output, opened on first call: the driver named by SDL_AUDIODRIVER or SDL's
    // choice, else SDL's silent "dummy" driver with one warning on stderr. Throws AudioError
    // only when not even that driver starts. Call on the thread that owns the players.
    static AudioOutput& Shared();

    ~AudioOutput();
    AudioOutput(const AudioOutput&) = delete;
    AudioOutput& operator=(const AudioOutput&) = delete;

    const OutputFormat& Format() const { return DeviceFormat; }

    // Holds off the audio callback for its lifetime.
    class Lock final {
    public:
        explicit Lock(AudioOutput& output);
        ~Lock();
        Lock(const Lock&) = delete;
        Lock& operator=(const Lock&) = delete;

    private:
        AudioOutput& Output;
    };

    // Attach and Detach take the lock themselves; a detached voice is never touched again by
    // the audio thread.
    void Attach(Voice* voice);
    void Detach(Voice* voice);

private:
    AudioOutput();
    static void Callback(void* self, std::uint8_t* stream, int length);
    void Mix(std::uint8_t* stream, int length);

    struct Device;
    std::unique_ptr<Device> Sdl;
    OutputFormat DeviceFormat;
    std::vector<Voice*> Voices;
};
