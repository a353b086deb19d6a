// Runs the player on SDL's disk driver, which writes the raw output stream to a file, to see
// that the recordings' samples really reach the output, whole and in order.
#include "audio/AudioOutput.h"
#include "audio/SdlAudioPlayer.h"
#include "tests/audio/AudioTestSupport.h"
#include "tests/support/WavFixtures.h"

#include <QFile>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTest>
#include <algorithm>
#include <cstring>
#include <gtest/gtest.h>
#include <memory>
#include <ostream>
#include <string>

namespace {

class AudioDiskOutputTest : public ::testing::Test {
protected:
    // Each output opens its device at its first use and reads the driver then; the driver
    // starts the file afresh for every device.
    static void SetUpTestSuite() {
        OutputDir = std::make_unique<QTemporaryDir>();
        ASSERT_TRUE(OutputDir->isValid());
        qputenv("SDL_AUDIODRIVER", "disk");
        qputenv("SDL_DISKAUDIOFILE", QFile::encodeName(OutputFile()));
    }

    static void TearDownTestSuite() { OutputDir.reset(); }

    static QString OutputFile() { return OutputDir->filePath(QStringLiteral("output.raw")); }

    // The samples written by the output, once it is closed: closing the device flushes the
    // driver's buffered file.
    std::vector<std::int16_t> Written() {
        Output.reset();
        QFile file(OutputFile());
        if (!file.open(QIODevice::ReadOnly))
            return {};
        const QByteArray bytes = file.readAll();
        std::vector<std::int16_t> samples(static_cast<std::size_t>(bytes.size()) / sizeof(std::int16_t));
        std::memcpy(samples.data(), bytes.constData(), samples.size() * sizeof(std::int16_t));
        return samples;
    }

    QString Write(const QString& name, const WavSpec& wavFormat) {
        const QString path = Dir.filePath(name);
        WriteWav(path, wavFormat);
        return path;
    }

    static std::unique_ptr<QTemporaryDir> OutputDir;
    QTemporaryDir Dir;
    std::unique_ptr<AudioOutput> Output = std::make_unique<AudioOutput>();
};

std::unique_ptr<QTemporaryDir> AudioDiskOutputTest::OutputDir;

TEST_F(AudioDiskOutputTest, RecordingsPlayedOneAfterAnotherReachTheOutputWholeAndInOrder) {
    // In the device's format, so that the output must hold exactly these samples.
    const WavSpec first{FixtureEncoding::Pcm16, 44100, 2, 120, 0};
    const WavSpec second{FixtureEncoding::Pcm16, 44100, 2, 80, 1};
    {
        SdlAudioPlayer player(*Output);
        QSignalSpy notices(&player, &AudioPlayer::OnNotify);
        player.SetFileName(Write(QStringLiteral("first.wav"), first));
        player.Open();
        player.Play();
        ASSERT_TRUE(WaitForNotices(notices, 1));
        player.SetFileName(Write(QStringLiteral("second.wav"), second));
        player.Open();
        player.Play();
        ASSERT_TRUE(WaitForNotices(notices, 2));
    }

    const std::vector<std::int16_t> output = Written();
    const std::vector<std::int16_t> a = WavSignal(first);
    const std::vector<std::int16_t> b = WavSignal(second);
    const auto atA = std::search(output.begin(), output.end(), a.begin(), a.end());
    ASSERT_NE(atA, output.end()) << "first recording missing from " << output.size() << " samples";
    const auto afterA = atA + static_cast<std::ptrdiff_t>(a.size());
    const auto atB = std::search(afterA, output.end(), b.begin(), b.end());
    ASSERT_NE(atB, output.end()) << "second recording missing after the first";
    EXPECT_TRUE(std::all_of(output.begin(), atA, [](std::int16_t s) { return s == 0; }))
        << "only silence before the first recording";
    EXPECT_TRUE(std::all_of(afterA, atB, [](std::int16_t s) { return s == 0; }))
        << "only silence between the recordings";
}

TEST_F(AudioDiskOutputTest, TwoPlayersPlayingAtOnceAreMixed) {
    const WavSpec wavFormat{FixtureEncoding::Pcm16, 44100, 2, 100, 2};
    const QString path = Write(QStringLiteral("mixed.wav"), wavFormat);
    {
        SdlAudioPlayer one(*Output);
        SdlAudioPlayer two(*Output);
        QSignalSpy notices(&two, &AudioPlayer::OnNotify);
        for (AudioPlayer* player : {&one, &two}) {
            player->SetFileName(path);
            player->Open();
        }
        {
            // Holding off the callback makes both start on the same sample.
            AudioOutput::Lock lock(*Output);
            one.Play();
            two.Play();
        }
        ASSERT_TRUE(WaitForNotices(notices, 1));
    }

    std::vector<std::int16_t> doubled = WavSignal(wavFormat);
    for (std::int16_t& sample : doubled)
        sample = static_cast<std::int16_t>(2 * sample);
    const std::vector<std::int16_t> output = Written();
    EXPECT_NE(std::search(output.begin(), output.end(), doubled.begin(), doubled.end()), output.end());
}

// Where the samples of b begin after those of a in the output, in samples after a's last;
// -1 when either is missing.
long SamplesBetween(const std::vector<std::int16_t>& output, const std::vector<std::int16_t>& a,
                    const std::vector<std::int16_t>& b) {
    const auto atA = std::search(output.begin(), output.end(), a.begin(), a.end());
    if (atA == output.end())
        return -1;
    const auto afterA = atA + static_cast<std::ptrdiff_t>(a.size());
    const auto atB = std::search(afterA, output.end(), b.begin(), b.end());
    return atB == output.end() ? -1 : long(atB - afterA);
}

// A recording queued behind another, with the trailing silence of the first: what the
// output holds between them, and whether the second is there at all.
struct QueueCase {
    const char* Name;
    qint64 TrailingMs;
    bool Dropped;
    long SamplesBetween; // -1: the second recording is never heard
};

void PrintTo(const QueueCase& c, std::ostream* out) {
    *out << c.Name;
}

class AudioQueueTest : public AudioDiskOutputTest, public ::testing::WithParamInterface<QueueCase> {};

TEST_P(AudioQueueTest, TheQueuedRecordingFollowsOnTheSampleAfterTheLastOrIsNeverHeard) {
    const WavSpec first{FixtureEncoding::Pcm16, 44100, 2, 150, 0};
    const WavSpec second{FixtureEncoding::Pcm16, 44100, 2, 400, 1};
    const QString secondFile = Write(QStringLiteral("second.wav"), second);
    {
        SdlAudioPlayer player(*Output);
        QSignalSpy notices(&player, &AudioPlayer::OnNotify);
        player.SetFileName(Write(QStringLiteral("first.wav"), first));
        player.Open();
        {
            // Held still, so that the first cannot end before the second is queued.
            AudioOutput::Lock still(*Output);
            player.Play();
            player.SetTrailingSilence(GetParam().TrailingMs);
            player.Queue(secondFile);
            ASSERT_EQ(player.QueuedFile(), secondFile);
            if (GetParam().Dropped)
                player.DropQueued();
        }
        ASSERT_TRUE(WaitForNotices(notices, 1));
        if (!GetParam().Dropped) {
            // The second plays to its end without being adopted.
            ASSERT_TRUE(WaitUntil([&] { return player.Mode() != pmPlaying; }));
        } else {
            // The first once more, which takes longer than the second's first samples would.
            player.Play();
            ASSERT_TRUE(WaitForNotices(notices, 2));
        }
    }
    const std::vector<std::int16_t> b = WavSignal(second);
    // Its first 10 ms, so that a second cut short is seen too.
    const std::vector<std::int16_t> start(b.begin(), b.begin() + 2 * 441);
    const std::vector<std::int16_t> output = Written();
    EXPECT_EQ(SamplesBetween(output, WavSignal(first), start), GetParam().SamplesBetween);
    if (!GetParam().Dropped) {
        EXPECT_EQ(SamplesBetween(output, WavSignal(first), b), GetParam().SamplesBetween) << "whole";
    }
}

INSTANTIATE_TEST_SUITE_P(Queue, AudioQueueTest,
                         ::testing::Values(QueueCase{"WithoutAPause", 0, false, 0},
                                           // 250 ms at 44.1 kHz, two channels.
                                           QueueCase{"AfterAPause", 250, false, 2 * 11025},
                                           QueueCase{"Dropped", 0, true, -1}),
                         [](const ::testing::TestParamInfo<QueueCase>& testCase) {
                             return std::string(testCase.param.Name);
                         });

} // namespace
