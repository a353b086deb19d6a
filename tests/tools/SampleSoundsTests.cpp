// sample-sounds: generated recordings for every ayeh and reciter, replaced only when whole.
#include "tests/support/FixtureDatabase.h"
#include "tests/tools/SoundToolSupport.h"
#include "tools/Sounds.h"

#include <QDir>
#include <QTemporaryDir>
#include <QTextStream>
#include <cmath>
#include <gtest/gtest.h>
#include <map>
#include <sqlite3.h>

namespace {

using Key = RecordingKey;

class SampleSounds : public ::testing::Test {
protected:
    void SetUp() override {
        Package = InstalledQuranDbPackage();
        if (Package.isEmpty())
            GTEST_SKIP() << "the quran-db sources are not installed (scripts/setup.sh)";
        ASSERT_TRUE(Temp.isValid());
        Out = Temp.filePath(QStringLiteral("data"));
    }
    ToolRun Make(const QString& sourehs) const {
        return RunContentTool({QStringLiteral("sample-sounds"), QStringLiteral("--sources"), Package,
                               QStringLiteral("--sourehs"), sourehs, Out});
    }
    QString Package;
    QTemporaryDir Temp;
    QString Out;
};

TEST_F(SampleSounds, MakesARecordingOfEveryChosenAyehAndABismillahForEachReciter) {
    const ToolRun run = Make(QStringLiteral("1,113-114"));
    ASSERT_EQ(run.ExitCode, 0) << run.Err.toStdString();
    const QString db = QDir(Out).filePath(QStringLiteral("snd.wav"));
    const std::map<Key, QByteArray> sounds = ReadSounds(db);
    EXPECT_EQ(sounds.size(), size_t(5 * (1 + 7 + 5 + 6)));
    for (int g = 1; g <= 5; ++g) {
        SCOPED_TRACE(g);
        EXPECT_TRUE(sounds.count({0, 0, g}));
        for (const int s : {1, 113, 114})
            for (int a = 1; a <= NumberOfAyehs(s); ++a)
                EXPECT_TRUE(sounds.count({s, a, g})) << s << ":" << a;
    }
    for (const auto& [key, wav] : sounds) {
        SCOPED_TRACE(::testing::Message()
                     << std::get<0>(key) << ":" << std::get<1>(key) << " reciter " << std::get<2>(key));
        ASSERT_EQ(PlayerDecodeFailure(wav), QString());
        const MonoAudio audio = DecodeAudioBytes(wav);
        // Starts and ends in silence, so the player never clicks.
        EXPECT_LT(std::abs(audio.Samples.front()), 0.02f);
        EXPECT_LT(std::abs(audio.Samples.back()), 0.02f);
        float peak = 0;
        for (const float v : audio.Samples)
            peak = std::max(peak, std::abs(v));
        EXPECT_GT(peak, 0.1f);
        EXPECT_LT(peak, 0.5f);
    }
    // 1:7 is the longest ayeh of the Opening and 1:4 one of the shortest.
    EXPECT_GT(DecodeAudioBytes(sounds.at({1, 7, 1})).Seconds(),
              DecodeAudioBytes(sounds.at({1, 4, 1})).Seconds() + 0.2);
    // Every reciter has a voice of its own.
    for (int g = 2; g <= 5; ++g)
        EXPECT_NE(sounds.at({1, 1, g}), sounds.at({1, 1, 1})) << g;

    KeyedDatabase database(db, SoundDatabaseKey, KeyedDatabase::OpenMode::ReadOnly);
    SqliteStatement names(database.Handle(), "SELECT GhariID, Name FROM Reciters ORDER BY GhariID");
    QStringList list;
    while (sqlite3_step(names.Get()) == SQLITE_ROW)
        list << QString::fromUtf8(reinterpret_cast<const char*>(sqlite3_column_text(names.Get(), 1)));
    EXPECT_EQ(list,
              (QStringList{QStringLiteral("نمونه ۱"), QStringLiteral("نمونه ۲"), QStringLiteral("نمونه ۳"),
                           QStringLiteral("نمونه ۴"), QStringLiteral("نمونه ۵")}));

    // Missing sourehs are reported, not counted as faults.
    QString report;
    QTextStream stream(&report);
    EXPECT_EQ(VerifyRecordings(db, stream), 0) << report.toStdString();
    EXPECT_TRUE(report.contains(QStringLiteral("18 of 6236 ayehs, with a Bismillah")))
        << report.toStdString();
}

TEST_F(SampleSounds, KeysAreUniqueSoTheReaderNeverMeetsTwoRows) {
    ASSERT_EQ(Make(QStringLiteral("114")).ExitCode, 0);
    KeyedDatabase database(QDir(Out).filePath(QStringLiteral("snd.wav")), SoundDatabaseKey,
                           KeyedDatabase::OpenMode::ReadWrite);
    EXPECT_THROW(database.Exec("INSERT INTO Sounds VALUES (114, 1, 1, x'00')"), ToolError);
}

TEST_F(SampleSounds, AnEarlierFileIsReplacedOnlyByACompleteOne) {
    ASSERT_TRUE(QDir().mkpath(Out));
    const QString target = QDir(Out).filePath(QStringLiteral("snd.wav"));
    WriteFileBytes(target, "earlier content");
    const ToolRun failed = RunContentTool({QStringLiteral("sample-sounds"), QStringLiteral("--sources"),
                                           Temp.filePath(QStringLiteral("nowhere")), Out});
    EXPECT_EQ(failed.ExitCode, 1);
    EXPECT_EQ(FileBytes(target), QByteArray("earlier content"));
    EXPECT_EQ(QDir(Out).entryList(QDir::Files | QDir::Hidden), QStringList{QStringLiteral("snd.wav")});

    ASSERT_EQ(Make(QStringLiteral("114")).ExitCode, 0);
    EXPECT_EQ(ReadSounds(target).size(), size_t(5 * 7));
    EXPECT_EQ(QDir(Out).entryList(QDir::Files | QDir::Hidden), QStringList{QStringLiteral("snd.wav")});
}

TEST(SampleSoundsCommandLine, WrongUsageExitsWithTwoAndAFileInTheWayWithOne) {
    QTemporaryDir temp;
    const QString file = temp.filePath(QStringLiteral("file"));
    WriteFileBytes(file, "x");
    const std::pair<QStringList, int> cases[] = {
        {{}, 2},
        {{QStringLiteral("a"), QStringLiteral("b")}, 2},
        {{QStringLiteral("--sourehs"), QStringLiteral("0"), temp.path()}, 2},
        {{QStringLiteral("--sourehs"), QStringLiteral("115"), temp.path()}, 2},
        {{QStringLiteral("--sourehs"), QStringLiteral("x"), temp.path()}, 2},
        {{QStringLiteral("--loud"), temp.path()}, 2},
        {{QStringLiteral("--sourehs"), QStringLiteral("114"), file}, 1},
    };
    for (const auto& [args, code] : cases) {
        SCOPED_TRACE(args.join(QLatin1Char(' ')).toStdString());
        const ToolRun run = RunContentTool(QStringList{QStringLiteral("sample-sounds")} + args);
        EXPECT_EQ(run.ExitCode, code) << run.Err.toStdString();
        EXPECT_FALSE(run.Err.isEmpty());
    }
}

// The decisions a user must know before running a command are in its help.
TEST(SoundCommandsHelp, StatesEachCommandsRulesAndSucceeds) {
    const std::pair<const char*, const char*> cases[] = {
        {"sample-sounds", "The recordings are generated tone patterns, not recitations"},
        {"import-recitation", "a file that cannot be decoded fails the whole import"},
        {"import-translation", "Ayehs of DB without a line also stop\nthe import, unless --allow-missing"},
    };
    for (const auto& [command, rule] : cases) {
        SCOPED_TRACE(command);
        const ToolRun run = RunContentTool({QString::fromLatin1(command), QStringLiteral("--help")});
        EXPECT_EQ(run.ExitCode, 0);
        EXPECT_TRUE(run.Out.contains(QString::fromLatin1(rule))) << run.Out.toStdString();
        EXPECT_TRUE(run.Out.contains(QStringLiteral("Exit status: 0 done, 1 failed")));
    }
}

} // namespace
