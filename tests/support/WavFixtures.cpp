#include "tests/support/WavFixtures.h"

#include <QFile>
#include <QTemporaryDir>
#include <cmath>
#include <iterator>
#include <memory>
#include <numbers>
#include <sndfile.h>
#include <stdexcept>

namespace {

struct SndFileClose {
    void operator()(SNDFILE* file) const { sf_close(file); }
};

// libsndfile's sub-format for each FixtureEncoding, in the enum's order.
constexpr int SubFormats[] = {SF_FORMAT_PCM_U8,   SF_FORMAT_PCM_16, SF_FORMAT_FLOAT, SF_FORMAT_IMA_ADPCM,
                              SF_FORMAT_MS_ADPCM, SF_FORMAT_ULAW,   SF_FORMAT_ALAW,  SF_FORMAT_GSM610};
static_assert(std::size(SubFormats) == static_cast<std::size_t>(FixtureEncoding::Gsm610) + 1);

void WriteSignal(const QString& path, int format, const WavSpec& wavFormat) {
    SF_INFO info{};
    info.samplerate = wavFormat.Rate;
    info.channels = wavFormat.Channels;
    info.format = format;
    const QByteArray name = QFile::encodeName(path);
    std::unique_ptr<SNDFILE, SndFileClose> file(sf_open(name.constData(), SFM_WRITE, &info));
    if (!file)
        throw std::runtime_error(std::string("cannot write sound fixture: ") + sf_strerror(nullptr));
    const std::vector<std::int16_t> samples = WavSignal(wavFormat);
    const auto count = static_cast<sf_count_t>(samples.size());
    if (sf_write_short(file.get(), samples.data(), count) != count)
        throw std::runtime_error(std::string("cannot write sound fixture: ") + sf_strerror(file.get()));
}

} // namespace

int WavFrames(const WavSpec& wavFormat) {
    return static_cast<int>(static_cast<std::int64_t>(wavFormat.Rate) * wavFormat.DurationMs / 1000);
}

std::vector<std::int16_t> WavSignal(const WavSpec& wavFormat) {
    const int frames = WavFrames(wavFormat);
    std::vector<std::int16_t> samples(static_cast<std::size_t>(frames * wavFormat.Channels));
    for (int frame = 0; frame < frames; ++frame)
        for (int channel = 0; channel < wavFormat.Channels; ++channel) {
            int value = 0;
            if (wavFormat.ToneHz > 0) {
                const double phase = 2 * std::numbers::pi * wavFormat.ToneHz * frame / wavFormat.Rate;
                value = 6000 + static_cast<int>(std::lround(3000 * std::sin(phase)));
            } else {
                const int step = 97 + 31 * channel + 13 * wavFormat.Variant;
                value = 256 + (frame * step) % 12000;
            }
            samples[static_cast<std::size_t>(frame * wavFormat.Channels + channel)] =
                static_cast<std::int16_t>(channel % 2 == 0 ? value : -value);
        }
    return samples;
}

void WriteWav(const QString& path, const WavSpec& wavFormat) {
    WriteSignal(path, SF_FORMAT_WAV | SubFormats[static_cast<std::size_t>(wavFormat.Encoding)], wavFormat);
}

void WriteSoundFile(const QString& path, int format, int rate, int channels, int durationMs) {
    WavSpec wavFormat;
    wavFormat.Rate = rate;
    wavFormat.Channels = channels;
    wavFormat.DurationMs = durationMs;
    WriteSignal(path, format, wavFormat);
}

QByteArray WavBytes(const WavSpec& wavFormat) {
    const QTemporaryDir dir;
    if (!dir.isValid())
        throw std::runtime_error("no temporary folder for a WAV fixture");
    const QString path = dir.filePath(QStringLiteral("fixture.wav"));
    WriteWav(path, wavFormat);
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        throw std::runtime_error("cannot read back a WAV fixture");
    return file.readAll();
}

void WriteTruncatedWav(const QString& path, const WavSpec& wavFormat) {
    WriteWav(path, wavFormat);
    QFile file(path);
    if (!file.resize(file.size() - file.size() / 4))
        throw std::runtime_error("cannot truncate WAV fixture");
}

void WriteBytes(const QString& path, const QByteArray& bytes) {
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly | QIODevice::Truncate) || file.write(bytes) != bytes.size())
        throw std::runtime_error("cannot write fixture file");
}
