#include "audio/AudioPlayer.h"
#include "audio/Resampler.h"
#include "audio/WavDecoder.h"
#include "tests/support/WavFixtures.h"

#include <QTemporaryDir>
#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <cstring>
#include <gtest/gtest.h>

namespace {

std::vector<std::int16_t> Samples(const DecodedSound& sound) {
    std::vector<std::int16_t> samples(sound.Bytes.size() / sizeof(std::int16_t));
    std::memcpy(samples.data(), sound.Bytes.data(), samples.size() * sizeof(std::int16_t));
    return samples;
}

class WavDecoderTest : public ::testing::Test {
protected:
    std::shared_ptr<const DecodedSound> Decode(const WavSpec& wavFormat, OutputFormat target = {}) {
        const QString path = Dir.filePath(QStringLiteral("sound.wav"));
        WriteWav(path, wavFormat);
        return DecodeWav(path, target);
    }

    QTemporaryDir Dir;
};

TEST_F(WavDecoderTest, PcmInTheOutputFormatIsTakenSampleForSample) {
    const WavSpec wavFormat{FixtureEncoding::Pcm16, 44100, 2, 100};
    const auto sound = Decode(wavFormat);
    EXPECT_EQ(Samples(*sound), WavSignal(wavFormat));
}

TEST_F(WavDecoderTest, MonoIsSpreadOverBothChannels) {
    const WavSpec wavFormat{FixtureEncoding::Pcm16, 44100, 1, 100};
    const auto sound = Decode(wavFormat);
    const std::vector<std::int16_t> expected = WavSignal(wavFormat);
    const std::vector<std::int16_t> samples = Samples(*sound);
    ASSERT_EQ(samples.size(), 2 * expected.size());
    for (std::size_t frame = 0; frame < expected.size(); frame += 97) {
        EXPECT_NEAR(samples[2 * frame], expected[frame], 2) << frame;
        EXPECT_EQ(samples[2 * frame], samples[2 * frame + 1]) << frame;
    }
}

TEST_F(WavDecoderTest, EightBitSamplesKeepTheirValueWithinOneStep) {
    const WavSpec wavFormat{FixtureEncoding::Pcm8, 44100, 2, 50};
    const auto sound = Decode(wavFormat);
    const std::vector<std::int16_t> expected = WavSignal(wavFormat);
    const std::vector<std::int16_t> samples = Samples(*sound);
    ASSERT_EQ(samples.size(), expected.size());
    for (std::size_t i = 0; i < expected.size(); ++i)
        ASSERT_LE(std::abs(samples[i] - expected[i]), 256) << i;
}

struct FormatCase {
    const char* Name;
    WavSpec Format;
    // ADPCM pads its last block with silence: up to one block more than was written.
    int PaddingMs = 0;
};

class WavFormatTest : public WavDecoderTest, public ::testing::WithParamInterface<FormatCase> {};

TEST_P(WavFormatTest, DecodesToTheFilesDurationAtTheOutputRate) {
    const WavSpec& wavFormat = GetParam().Format;
    for (const OutputFormat target : {OutputFormat{44100, 2}, OutputFormat{48000, 2}}) {
        const auto sound = Decode(wavFormat, target);
        EXPECT_EQ(sound->Format.Rate, target.Rate);
        EXPECT_EQ(sound->Bytes.size() % std::size_t(target.FrameBytes()), 0u);
        const std::int64_t decodedMs = sound->Milliseconds(sound->Frames());
        EXPECT_GE(decodedMs, wavFormat.DurationMs - 1) << "at " << target.Rate;
        EXPECT_LE(decodedMs, wavFormat.DurationMs + GetParam().PaddingMs) << "at " << target.Rate;
    }
}

INSTANTIATE_TEST_SUITE_P(
    , WavFormatTest,
    ::testing::Values(FormatCase{"Pcm8Mono11025", {FixtureEncoding::Pcm8, 11025, 1, 200}},
                      FormatCase{"Pcm8Stereo22050", {FixtureEncoding::Pcm8, 22050, 2, 200}},
                      FormatCase{"Pcm16Mono22050", {FixtureEncoding::Pcm16, 22050, 1, 200}},
                      FormatCase{"Pcm16Stereo44100", {FixtureEncoding::Pcm16, 44100, 2, 200}},
                      FormatCase{"Pcm16Mono48000", {FixtureEncoding::Pcm16, 48000, 1, 200}},
                      FormatCase{"Float32Mono22050", {FixtureEncoding::Float32, 22050, 1, 200}},
                      FormatCase{"ImaAdpcmMono22050", {FixtureEncoding::ImaAdpcm, 22050, 1, 200}, 47},
                      FormatCase{"ImaAdpcmStereo44100", {FixtureEncoding::ImaAdpcm, 44100, 2, 200}, 47},
                      FormatCase{"MsAdpcmMono22050", {FixtureEncoding::MsAdpcm, 22050, 1, 200}, 47},
                      FormatCase{"MuLawMono8000", {FixtureEncoding::MuLaw, 8000, 1, 200}},
                      FormatCase{"ALawMono8000", {FixtureEncoding::ALaw, 8000, 1, 200}}),
    [](const auto& testCase) { return std::string(testCase.param.Name); });

TEST_F(WavDecoderTest, MissingFileRaisesTheDecodersMessage) {
    try {
        DecodeWav(Dir.filePath(QStringLiteral("absent.wav")), {});
        FAIL() << "a missing file decoded";
    } catch (const AudioError& error) {
        EXPECT_NE(std::string(error.what()), "");
        EXPECT_NE(std::string(error.what()), "Unknown error code");
    }
}

// The samples of converted sound, full scale 1.
std::vector<double> Levels(const std::vector<std::uint8_t>& bytes, SampleType type) {
    std::vector<double> levels;
    for (std::size_t at = 0; at < bytes.size();) {
        if (type == SampleType::F32) {
            float sample = 0;
            std::memcpy(&sample, bytes.data() + at, sizeof sample);
            levels.push_back(sample);
            at += sizeof sample;
        } else {
            std::int16_t sample = 0;
            std::memcpy(&sample, bytes.data() + at, sizeof sample);
            levels.push_back(sample / 32768.0);
            at += sizeof sample;
        }
    }
    return levels;
}

// The converter the decoder and the import share: fed in blocks of any size, it gives the
// same sound (but for rounding), of exactly the length the rates make, and no length
// overflows. Five seconds and more of a slow wave each.
TEST(ResamplerTest, AnySplitOfTheInputGivesTheSameSoundOfTheExactLength) {
    const struct {
        const char* Name;
        PcmFormat From;
        PcmFormat To;
        int Frames;
    } cases[] = {
        {"44.1 kHz stereo to 22.05 kHz mono float",
         {SampleType::S16, 2, 44100},
         {SampleType::F32, 1, 22050},
         220501},
        {"8 kHz mono to 44.1 kHz stereo", {SampleType::U8, 1, 8000}, {SampleType::S16, 2, 44100}, 120007},
        {"48 kHz float to 22.05 kHz", {SampleType::F32, 1, 48000}, {SampleType::F32, 1, 22050}, 240011},
        {"the same format", {SampleType::S16, 2, 44100}, {SampleType::S16, 2, 44100}, 1000},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.Name);
        std::vector<std::uint8_t> input(static_cast<std::size_t>(c.Frames * c.From.FrameBytes()));
        // A slow wave well inside full scale, in whatever sample type.
        for (int f = 0; f < c.Frames * c.From.Channels; ++f) {
            const double level = 0.4 * std::sin(f / 37.0);
            std::uint8_t* at =
                input.data() + std::size_t(f) * std::size_t(c.From.FrameBytes() / c.From.Channels);
            if (c.From.Type == SampleType::F32) {
                const auto sample = static_cast<float>(level);
                std::memcpy(at, &sample, sizeof sample);
            } else if (c.From.Type == SampleType::S16) {
                const auto sample = static_cast<std::int16_t>(level * 32767);
                std::memcpy(at, &sample, sizeof sample);
            } else {
                *at = static_cast<std::uint8_t>(128 + level * 127);
            }
        }
        const auto convert = [&](std::size_t blockFrames) {
            Resampler converter(c.From, c.To);
            std::vector<std::uint8_t> out;
            const std::size_t block = blockFrames * static_cast<std::size_t>(c.From.FrameBytes());
            for (std::size_t at = 0; at < input.size(); at += block)
                converter.Put(input.data() + at, std::min(block, input.size() - at), out);
            converter.Finish(out);
            return out;
        };
        const std::vector<std::uint8_t> whole = convert(std::size_t(c.Frames));
        EXPECT_EQ(std::int64_t(whole.size()),
                  Resampler::OutputFrames(c.Frames, c.From.Rate, c.To.Rate) * c.To.FrameBytes());
        const std::vector<double> split = Levels(convert(997), c.To.Type);
        const std::vector<double> expected = Levels(whole, c.To.Type);
        ASSERT_EQ(split.size(), expected.size());
        double worst = 0;
        for (std::size_t i = 0; i < split.size(); ++i)
            worst = std::max(worst, std::abs(split[i] - expected[i]));
        // A drift of the timing would grow with the length to the size of the wave itself.
        EXPECT_LT(worst, 0.005);
    }
    // Three years at the highest rate taken, and the arithmetic of the length stays exact.
    const std::int64_t years = std::int64_t{384000} * 3600 * 24 * 365 * 3;
    EXPECT_EQ(Resampler::OutputFrames(years, 384000, 44100), std::int64_t{44100} * 3600 * 24 * 365 * 3);
    EXPECT_EQ(Resampler::OutputFrames(3, 44100, 22050), 2) << "rounded to the nearest";
}

} // namespace
