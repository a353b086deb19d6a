#include "audio/AudioPlayer.h"
#include "audio/WavDecoder.h"
#include "tests/support/WavFixtures.h"

#include <QTemporaryDir>
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

} // namespace
