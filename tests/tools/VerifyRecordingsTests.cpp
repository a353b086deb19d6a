// The recording checks of verify, and the WAV encoding they guard.
#include "tests/support/FixtureDatabase.h"
#include "tests/tools/SoundToolSupport.h"
#include "tools/Sounds.h"

#include <QTemporaryDir>
#include <QTextStream>
#include <cmath>
#include <functional>
#include <gtest/gtest.h>
#include <memory>
#include <numbers>

namespace {

MonoAudio Tone(int rate, double seconds) {
    MonoAudio audio;
    audio.SampleRate = rate;
    audio.Samples.resize(size_t(rate * seconds));
    for (size_t i = 0; i < audio.Samples.size(); ++i)
        audio.Samples[i] = float(0.3 * std::sin(2 * std::numbers::pi * 300.0 * double(i) / rate));
    return audio;
}

TEST(WavEncoding, BothStoredEncodingsDecodeInThePlayerWithTheirLength) {
    for (const WavEncoding encoding : {WavEncoding::ImaAdpcm, WavEncoding::Pcm16}) {
        for (const int rate : {8000, 22050}) {
            SCOPED_TRACE(::testing::Message() << int(encoding) << " at " << rate);
            const QByteArray wav = EncodeWav(Tone(rate, 0.5), encoding);
            EXPECT_EQ(PlayerDecodeFailure(wav), QString());
            const MonoAudio back = DecodeAudioBytes(wav);
            EXPECT_EQ(back.SampleRate, rate);
            EXPECT_NEAR(back.Seconds(), 0.5, 0.03);
        }
    }
}

TEST(WavEncoding, ResamplingKeepsTheDuration) {
    const MonoAudio resampled = Resample(Tone(44100, 1.0), 22050);
    EXPECT_EQ(resampled.SampleRate, 22050);
    EXPECT_NEAR(resampled.Seconds(), 1.0, 0.01);
}

TEST(WavEncoding, PlayerRejectsTruncatedAndForeignBytes) {
    const QByteArray wav = EncodeWav(Tone(8000, 0.5), WavEncoding::Pcm16);
    EXPECT_NE(PlayerDecodeFailure(wav.left(wav.size() / 2)), QString());
    EXPECT_NE(PlayerDecodeFailure(QByteArray("RIFF\0\0\0\0WAVE", 12)), QString());
    EXPECT_NE(PlayerDecodeFailure(QByteArray()), QString());
}

// A sound database in which every reciter has a Bismillah and the seven ayehs of the Opening,
// then whatever damage a case does to it.
class VerifyRecordingsTest : public ::testing::Test {
public:
    void Add(const QVariant& s, const QVariant& a, const QVariant& g, const QVariant& sound) {
        Fixture->Insert("Sounds", {{"SourehID", s}, {"AyehID", a}, {"GhariID", g}, {"Sound", sound}});
    }
    void Exec(const std::string& sql) { Fixture->Exec(sql); }
    const QByteArray Good = EncodeWav(Tone(8000, 0.1), WavEncoding::ImaAdpcm);

protected:
    void SetUp() override { ASSERT_TRUE(Temp.isValid()); }
    int Verify(const std::function<void(VerifyRecordingsTest&)>& damage = {}) {
        const QString db = Temp.filePath(QStringLiteral("snd.wav"));
        Fixture = std::make_unique<FixtureDatabase>(db, SoundKey);
        ::CreateSoundTables(*Fixture);
        Fixture->Begin();
        for (int g = 1; g <= ReciterCount; ++g) {
            Add(0, 0, g, Good);
            for (int a = 1; a <= 7; ++a)
                Add(1, a, g, Good);
        }
        if (damage)
            damage(*this);
        Fixture->Commit();
        Fixture.reset();
        Report.clear();
        QTextStream stream(&Report);
        return VerifyRecordings(db, stream);
    }
    QTemporaryDir Temp;
    std::unique_ptr<FixtureDatabase> Fixture;
    QString Report;
};

TEST_F(VerifyRecordingsTest, MissingRecordingsAreCountedButAreNoFault) {
    EXPECT_EQ(Verify(), 0) << Report.toStdString();
    EXPECT_TRUE(Report.contains(
        QStringLiteral("reciter 3: 7 of 6236 ayehs, with a Bismillah; missing 6229: 2:1-286, 3:1-200")))
        << Report.toStdString();
    EXPECT_TRUE(Report.contains(QStringLiteral("no faults")));
}

struct FaultCase {
    const char* Name;
    std::function<void(VerifyRecordingsTest&)> Damage;
    const char* Message;
};

TEST_F(VerifyRecordingsTest, EachKindOfFaultIsCountedOnceAndNamed) {
    const FaultCase cases[] = {
        {"garbage recording", [](auto& t) { t.Add(2, 255, 2, QByteArray("not a wave file")); },
         "the recording of reciter 2, 2:255 does not decode"},
        {"truncated recording", [](auto& t) { t.Add(2, 1, 1, t.Good.left(t.Good.size() - 100)); },
         "the recording of reciter 1, 2:1 does not decode"},
        {"empty recording", [](auto& t) { t.Add(2, 2, 1, QByteArray()); },
         "reciter 1, 2:2 does not decode: the recording is empty"},
        {"rate beyond the player's",
         [](auto& t) { t.Add(2, 4, 1, EncodeWav(Tone(400000, 0.01), WavEncoding::Pcm16)); },
         "reciter 1, 2:4 does not decode: Unsupported sample rate in WAVE file"},
        {"null recording", [](auto& t) { t.Add(2, 3, 1, QVariant()); }, "reciter 1, 2:3 does not decode"},
        {"two rows for one key", [](auto& t) { t.Add(1, 1, 4, t.Good); },
         "reciter 4, 1:1 has more than one row"},
        {"reciter 6", [](auto& t) { t.Add(1, 1, 6, t.Good); }, "reciter 6, 1:1"},
        {"soureh 115", [](auto& t) { t.Add(115, 1, 1, t.Good); }, "which the reader never asks for"},
        {"ayeh 8 of the Opening", [](auto& t) { t.Add(1, 8, 1, t.Good); }, "which the reader never asks for"},
        {"text key", [](auto& t) { t.Add(QStringLiteral("one"), 1, 1, t.Good); },
         "which the reader never asks for"},
        {"reciter without recordings", [](auto& t) { t.Exec("DELETE FROM Sounds WHERE GhariID = 5"); },
         "reciter 5 has no recording at all"},
        {"no Sounds table", [](auto& t) { t.Exec("DROP TABLE Sounds"); }, "no Sounds table"},
    };
    for (const FaultCase& c : cases) {
        SCOPED_TRACE(c.Name);
        EXPECT_EQ(Verify(c.Damage), 1) << Report.toStdString();
        EXPECT_TRUE(Report.contains(QStringLiteral("fault: ")));
        EXPECT_TRUE(Report.contains(QString::fromUtf8(c.Message))) << Report.toStdString();
    }
}

TEST_F(VerifyRecordingsTest, AFileThatIsNoSoundDatabaseIsOneFault) {
    const QString quran = Temp.filePath(QStringLiteral("quran.dat"));
    {
        FixtureDatabase fixture(quran, QuranKey);
        CreateQuranTables(fixture);
    }
    const std::pair<QString, const char*> cases[] = {
        {quran, "wrong key"},
        {Temp.filePath(QStringLiteral("none.wav")), "does not exist"},
    };
    for (const auto& [path, message] : cases) {
        SCOPED_TRACE(message);
        QString report;
        QTextStream stream(&report);
        EXPECT_EQ(VerifyRecordings(path, stream), 1);
        EXPECT_TRUE(report.contains(QString::fromUtf8(message))) << report.toStdString();
    }
}

TEST_F(VerifyRecordingsTest, ManyFaultsAreAllCountedButTheListStaysShort) {
    const int faults = Verify([](auto& t) {
        for (int a = 1; a <= 50; ++a)
            t.Add(2, a, 1, QByteArray("bad"));
    });
    EXPECT_EQ(faults, 50);
    EXPECT_EQ(Report.count(QStringLiteral("fault: the recording")), 20);
    EXPECT_TRUE(Report.contains(QStringLiteral("... and 30 more")));
}

} // namespace
