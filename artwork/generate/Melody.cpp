#include "artwork/generate/Melody.h"

#include <QFile>
#include <algorithm>
#include <cmath>
#include <memory>
#include <numbers>
#include <sndfile.h>
#include <stdexcept>

namespace {

struct Note {
    double Frequency; // Hz
    double Beats;
};

// A descending phrase in the Hijaz mode on D, ending on the tonic.
constexpr double D4 = 293.66, Eb4 = 311.13, Fs4 = 369.99, G4 = 392.00, A4 = 440.00, Bb4 = 466.16;
constexpr Note Phrase[] = {{A4, 1.0}, {Bb4, 0.5}, {A4, 0.5},  {G4, 1.0},  {Fs4, 0.5}, {G4, 0.5},
                           {A4, 1.5}, {G4, 0.5},  {Fs4, 0.5}, {Eb4, 0.5}, {D4, 2.5}};
constexpr double Beat = 0.42; // seconds
constexpr double Lead = 0.25; // silence-free lead-in before the first note, drone only
constexpr double Attack = 0.06;
constexpr double Release = 0.45;
constexpr double Harmonics[] = {1.0, 0.42, 0.2, 0.09, 0.04};

// A voice-like tone: harmonics with a vibrato that sets in after the attack.
double Tone(double frequency, double t) {
    constexpr double TwoPi = 2 * std::numbers::pi;
    const double depth = 0.004 * std::clamp((t - 0.15) / 0.3, 0.0, 1.0);
    const double phase = TwoPi * frequency * t - depth * frequency / 5.0 * std::cos(TwoPi * 5.0 * t);
    double sum = 0;
    for (std::size_t h = 0; h < std::size(Harmonics); ++h)
        sum += Harmonics[h] * std::sin(phase * double(h + 1));
    return sum;
}

double Envelope(double t, double length) {
    if (t < 0)
        return 0;
    if (t < Attack)
        return t / Attack;
    const double held = 1.0 - 0.2 * std::min(1.0, (t - Attack) / 0.4);
    if (t < length)
        return held;
    return held * std::exp(-(t - length) / (Release / 4.0));
}

struct SoundFileCloser {
    void operator()(SNDFILE* file) const { sf_close(file); }
};

} // namespace

std::vector<short> ComposeTavashih() {
    std::vector<double> mix(TavashihFrames, 0.0);
    const double total = double(TavashihFrames) / TavashihSampleRate;

    // Drone on the tonic and its fifth below the melody, fading in and out.
    for (int i = 0; i < TavashihFrames; ++i) {
        const double t = double(i) / TavashihSampleRate;
        const double swell = std::min({1.0, t / 0.6, (total - t) / 1.2});
        mix[std::size_t(i)] += 0.16 * std::max(0.0, swell) * (Tone(D4 / 2, t) + 0.5 * Tone(A4 / 2, t));
    }

    double start = Lead;
    for (const Note& note : Phrase) {
        const double length = note.Beats * Beat;
        const int first = int(start * TavashihSampleRate);
        const int last = std::min(TavashihFrames, int((start + length + Release) * TavashihSampleRate));
        for (int i = first; i < last; ++i) {
            const double t = double(i) / TavashihSampleRate - start;
            mix[std::size_t(i)] += 0.5 * Envelope(t, length) * Tone(note.Frequency, t);
        }
        start += length;
    }

    // A little room: two soft echoes.
    std::vector<double> room(mix);
    for (const auto& [delay, gain] : {std::pair{0.113, 0.22}, std::pair{0.237, 0.13}}) {
        const int offset = int(delay * TavashihSampleRate);
        for (int i = offset; i < TavashihFrames; ++i)
            room[std::size_t(i)] += gain * mix[std::size_t(i - offset)];
    }

    // The last 0.3 s fade to silence so the file ends without a click.
    const int fade = int(0.3 * TavashihSampleRate);
    for (int i = 0; i < fade; ++i)
        room[std::size_t(TavashihFrames - 1 - i)] *= double(i) / fade;

    double peak = 0;
    for (const double v : room)
        peak = std::max(peak, std::abs(v));
    const double scale = peak > 0 ? 0.6 * 32767.0 / peak : 0.0;
    std::vector<short> samples(std::size_t{TavashihFrames});
    for (int i = 0; i < TavashihFrames; ++i)
        samples[std::size_t(i)] = short(std::lround(room[std::size_t(i)] * scale));
    return samples;
}

void WriteTavashih(const QString& path) {
    const std::vector<short> samples = ComposeTavashih();
    SF_INFO info{};
    info.samplerate = TavashihSampleRate;
    info.channels = 1;
    info.format = SF_FORMAT_WAV | SF_FORMAT_PCM_16;
    const QByteArray name = QFile::encodeName(path);
    std::unique_ptr<SNDFILE, SoundFileCloser> file(sf_open(name.constData(), SFM_WRITE, &info));
    if (!file)
        throw std::runtime_error("cannot write " + name.toStdString() + ": " + sf_strerror(nullptr));
    if (sf_write_short(file.get(), samples.data(), sf_count_t(samples.size())) != sf_count_t(samples.size()))
        throw std::runtime_error("cannot write " + name.toStdString() + ": " + sf_strerror(file.get()));
}
