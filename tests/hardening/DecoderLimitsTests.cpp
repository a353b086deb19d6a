// A recording whose header claims more sound than the file holds must be refused for what it
// is, without the decoder first reserving the claimed size (up to 4 GiB per recording).

#include "audio/AudioPlayer.h"
#include "audio/WavDecoder.h"
#include "tests/support/ProcessStatus.h"
#include "tests/support/WavFixtures.h"

#include <QFile>
#include <QTemporaryDir>
#include <cstdint>
#include <gtest/gtest.h>
#include <string>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

#if defined(__SANITIZE_ADDRESS__)
#define GOLVAR_ASAN 1
#elif defined(__has_feature)
#if __has_feature(address_sanitizer)
#define GOLVAR_ASAN 1
#endif
#endif

#ifdef GOLVAR_ASAN
#include <atomic>
#include <cstddef>

// The sanitizer runtime's hook interface (sanitizer/allocator_interface.h, which not every
// compiler installs).
extern "C" int __sanitizer_install_malloc_and_free_hooks(void (*malloc_hook)(const volatile void*,
                                                                             std::size_t),
                                                         void (*free_hook)(const volatile void*));
#endif

namespace {

// A 16-bit mono WAV of 100 bytes of sound whose data chunk header claims `claimed` bytes.
QByteArray WavClaiming(std::uint32_t claimed) {
    WavSpec wavFormat;
    wavFormat.Encoding = FixtureEncoding::Pcm16;
    wavFormat.Rate = 8000;
    wavFormat.DurationMs = 10;
    QByteArray bytes = WavBytes(wavFormat);
    const qsizetype data = bytes.indexOf("data");
    EXPECT_GT(data, 0);
    for (int i = 0; i < 4; ++i)
        bytes[data + 4 + i] = char((claimed >> (8 * i)) & 0xff);
    return bytes;
}

std::string DecodeError(const QString& path) {
    try {
        DecodeWav(path, OutputFormat{});
    } catch (const AudioError& error) {
        return error.what();
    }
    return {};
}

class WavDecoderLimits : public ::testing::TestWithParam<std::uint32_t> {
protected:
    QString Write(const QByteArray& bytes) {
        const QString path = Dir.filePath(QStringLiteral("claiming.wav"));
        QFile file(path);
        EXPECT_TRUE(file.open(QIODevice::WriteOnly | QIODevice::Truncate));
        file.write(bytes);
        return path;
    }
    QTemporaryDir Dir;
};

TEST_P(WavDecoderLimits, DataChunkLongerThanTheFileIsATruncatedRecording) {
    EXPECT_EQ(DecodeError(Write(WavClaiming(GetParam()))), "Truncated data chunk in WAVE file");
}

TEST_F(WavDecoderLimits, WithoutItsRiffHeaderTooTheDataChunkMayNotClaimMore) {
    // SDL reads a file that starts at "WAVE" as well; its chunks follow at once.
    const QByteArray whole = WavClaiming(0xcd000020);
    EXPECT_EQ(DecodeError(Write(whole.mid(8))), "Truncated data chunk in WAVE file");
}

INSTANTIATE_TEST_SUITE_P(ClaimedSizes, WavDecoderLimits,
                         ::testing::Values(std::uint32_t(0x2000), std::uint32_t(0x6fb90064),
                                           std::uint32_t(0xfffffff0), std::uint32_t(0xffffffff)));

constexpr std::uint64_t SizeLimit = std::uint64_t(512) << 20;

#ifdef GOLVAR_ASAN
// The sanitizer's allocator needs an unlimited address space, but its hooks see every size
// asked for: the largest while Watching is the most the decoder reserved at once.
std::atomic<bool> Watching{false};
std::atomic<std::uint64_t> Largest{0};

void RecordAllocation(const volatile void*, std::size_t size) {
    if (!Watching)
        return;
    std::uint64_t seen = Largest;
    while (size > seen && !Largest.compare_exchange_weak(seen, size)) {
    }
}

void IgnoreRelease(const volatile void*) {}

TEST_F(WavDecoderLimits, ClaimedSizeIsNeverReserved) {
    static const bool installed =
        __sanitizer_install_malloc_and_free_hooks(RecordAllocation, IgnoreRelease) != 0;
    ASSERT_TRUE(installed);
    const QString path = Write(WavClaiming(0xfffffff0));
    Largest = 0;
    Watching = true;
    const std::string error = DecodeError(path);
    Watching = false;
    EXPECT_EQ(error, "Truncated data chunk in WAVE file");
    EXPECT_LT(Largest.load(), SizeLimit) << "bytes reserved at once";
}
#else
// In a child limited to its present address space plus 512 MiB, so that reserving the claimed
// gigabytes fails ("Out of memory") instead of passing unnoticed on an overcommitting system.
TEST_F(WavDecoderLimits, ClaimedSizeIsNeverReserved) {
    const QString path = Write(WavClaiming(0xfffffff0));
    const pid_t child = ::fork();
    ASSERT_GE(child, 0);
    if (child == 0) {
        const long kb = ProcessStatusKilobytes("VmSize");
        struct rlimit limit {};
        limit.rlim_cur = limit.rlim_max = rlim_t(kb) * 1024 + SizeLimit;
        if (kb < 0 || ::setrlimit(RLIMIT_AS, &limit) != 0)
            ::_exit(3);
        const std::string error = DecodeError(path);
        ::_exit(error == "Truncated data chunk in WAVE file" ? 0 : error.empty() ? 2 : 1);
    }
    int status = 0;
    ASSERT_EQ(::waitpid(child, &status, 0), child);
    ASSERT_TRUE(WIFEXITED(status));
    EXPECT_EQ(WEXITSTATUS(status), 0) << "1: another error (out of memory), 2: decoded, 3: no limit";
}
#endif

} // namespace

namespace {

// A recording whose header states `rate` samples a second (16-bit mono, 10 ms at 8 kHz of data).
QByteArray WavAtRate(std::uint32_t rate) {
    QByteArray bytes = WavClaiming(160);
    for (int i = 0; i < 4; ++i) {
        bytes[24 + i] = char((rate >> (8 * i)) & 0xff);
        bytes[28 + i] = char(((rate * 2u) >> (8 * i)) & 0xff); // byte rate
    }
    return bytes;
}

class WavSampleRates : public WavDecoderLimits {};

TEST_F(WavSampleRates, RatesBeyondAnyRecordingAreRefusedAndUsualOnesDecode) {
    struct RateCase {
        std::uint32_t Rate;
        const char* Error;
    };
    const RateCase cases[] = {{8000, ""},
                              {192000, ""},
                              {384000, ""},
                              {384001, "Unsupported sample rate in WAVE file"},
                              {738208529, "Unsupported sample rate in WAVE file"},
                              {0x7fffffff, "Unsupported sample rate in WAVE file"}};
    for (const RateCase& c : cases) {
        SCOPED_TRACE(c.Rate);
        EXPECT_EQ(DecodeError(Write(WavAtRate(c.Rate))), c.Error);
    }
}

} // namespace
