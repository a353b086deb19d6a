#pragma once
// A sound output: an SDL device opened at first use and kept until the output is destroyed,
// which mixes every attached voice into a small buffer on SDL's audio thread and writes
// silence when nothing plays. Switching recordings never reopens the device. Its owner (the
// application shell, a test) hands it to the players that play through it and keeps it
// until they are gone.

#include "audio/WavDecoder.h"

#include <functional>
#include <memory>
#include <vector>

// One source mixed into the output. All fields are shared with the audio thread: read or
// write them only inside an AudioOutput::Lock.
struct Voice {
    std::shared_ptr<const DecodedSound> Sound;
    // Runs on past the sound's last frame through the trailing silence.
    std::int64_t Frame = 0;
    // Silent frames that end the play after the sound's last one.
    std::int64_t TrailingFrames = 0;
    bool Playing = false;
    // Runs on the audio thread, inside the lock, when a play reaches its end (the last frame
    // of the sound and of the silence after it); it must only record state or post to another
    // thread.
    std::function<void()> Ended;
    // An attached voice that begins playing, from its Frame, on the output frame after this
    // voice's play ends; cleared then.
    Voice* Then = nullptr;
    // Set while the output mixes a buffer: the voice has had its share of it.
    bool Mixed = false;

    std::int64_t EndFrame() const { return Sound->Frames() + TrailingFrames; }
};

class AudioOutput final {
public:
    // Opens nothing yet. Use it on the thread that owns its players.
    AudioOutput();
    // Closes the device; the audio thread has stopped when it returns.
    ~AudioOutput();
    AudioOutput(const AudioOutput&) = delete;
    AudioOutput& operator=(const AudioOutput&) = delete;

    // The device's format. This and every member below open the device when it is not open
    // yet: the driver named by SDL_AUDIODRIVER or SDL's choice, else SDL's silent "dummy"
    // driver with one warning on stderr. They throw AudioError only when not even that
    // driver starts; the next call tries again.
    const OutputFormat& Format();

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
    struct Device;
    Device& Opened();
    static void Callback(void* self, std::uint8_t* stream, int length);
    void Mix(std::uint8_t* stream, int length);
    // Mixes voice into the frames [from, wanted) of stream, and the voice it hands on to.
    void MixVoice(Voice& voice, std::uint8_t* stream, std::int64_t from, std::int64_t wanted);

    std::unique_ptr<Device> Sdl;
    OutputFormat DeviceFormat;
    std::vector<Voice*> Voices;
};
