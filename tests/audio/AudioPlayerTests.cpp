#include "audio/SdlAudioPlayer.h"
#include "tests/audio/AudioTestSupport.h"
#include "tests/support/FakeAudioPlayer.h"
#include "tests/support/WavFixtures.h"

#include <QDeadlineTimer>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTest>
#include <QThread>
#include <functional>
#include <gmock/gmock.h>
#include <gtest/gtest.h>
#include <memory>
#include <tuple>
#include <vector>

namespace {

constexpr int ShortMs = 150;
constexpr int LongMs = 3000;

class AudioPlayerTest : public ::testing::Test {
protected:
    void SetUp() override { ASSERT_TRUE(Dir.isValid()); }

    QString Write(const QString& name, int durationMs, WavSpec wavFormat = {}) {
        wavFormat.DurationMs = durationMs;
        const QString path = Dir.filePath(name);
        WriteWav(path, wavFormat);
        return path;
    }

    void OpenFile(int durationMs) {
        Player.SetFileName(Write(QStringLiteral("tone-%1.wav").arg(durationMs), durationMs));
        Player.Open();
    }

    // Lets at least milliseconds of playback pass on the output.
    bool LetTimePass(int milliseconds) {
        return LetOutputPlay(Output,
                             Write(QStringLiteral("metronome-%1.wav").arg(milliseconds), milliseconds));
    }

    QTemporaryDir Dir;
    AudioOutput Output;
    SdlAudioPlayer Player{Output};
    QSignalSpy Notices{&Player, &AudioPlayer::OnNotify};
};

TEST_F(AudioPlayerTest, ModesFollowOpenPlayPauseStopAndClose) {
    EXPECT_EQ(Player.Mode(), pmNotReady);
    OpenFile(LongMs);
    EXPECT_EQ(Player.Mode(), pmStopped);
    Player.Play();
    EXPECT_EQ(Player.Mode(), pmPlaying);
    Player.Pause();
    EXPECT_EQ(Player.Mode(), pmPaused);
    Player.Pause();
    EXPECT_EQ(Player.Mode(), pmPlaying);
    Player.Stop();
    EXPECT_EQ(Player.Mode(), pmStopped);
    Player.Close();
    EXPECT_EQ(Player.Mode(), pmNotReady);
}

TEST_F(AudioPlayerTest, PlayRunsToTheEndWherePositionEqualsLength) {
    OpenFile(ShortMs);
    EXPECT_NEAR(double(Player.Length()), ShortMs, 1);
    EXPECT_EQ(Player.Position(), 0);
    Player.Play();
    ASSERT_TRUE(WaitForNotices(Notices, 1));
    EXPECT_EQ(Player.Mode(), pmStopped);
    EXPECT_EQ(Player.Position(), Player.Length());
}

TEST_F(AudioPlayerTest, PositionAdvancesWhilePlayingAndStaysBelowLengthUntilTheEnd) {
    OpenFile(LongMs);
    Player.Play();
    ASSERT_TRUE(WaitUntil([&] { return Player.Position() > 0; }));
    const qint64 early = Player.Position();
    ASSERT_TRUE(WaitUntil([&] { return Player.Position() > early; }));
    EXPECT_LT(Player.Position(), Player.Length());
}

struct HaltCase {
    const char* Name;
    void (AudioPlayer::*Halt)();
    PlayerMode HaltedMode;
    void (AudioPlayer::*GoOn)();
};

class AudioHaltTest : public AudioPlayerTest, public ::testing::WithParamInterface<HaltCase> {};

TEST_P(AudioHaltTest, HaltingHoldsThePositionAndPlaybackGoesOnFromIt) {
    const HaltCase& c = GetParam();
    OpenFile(LongMs);
    Player.Play();
    ASSERT_TRUE(WaitUntil([&] { return Player.Position() > 0; }));
    (Player.*c.Halt)();
    const qint64 halted = Player.Position();
    ASSERT_TRUE(LetTimePass(ShortMs));
    EXPECT_EQ(Player.Position(), halted);
    EXPECT_EQ(Player.Mode(), c.HaltedMode);
    // The output held still: playback goes on exactly from where it halted.
    AudioOutput::Lock still(Output);
    (Player.*c.GoOn)();
    EXPECT_EQ(Player.Mode(), pmPlaying);
    EXPECT_EQ(Player.Position(), halted);
}

INSTANTIATE_TEST_SUITE_P(
    , AudioHaltTest,
    ::testing::Values(HaltCase{"PauseThenResume", &AudioPlayer::Pause, pmPaused, &AudioPlayer::Pause},
                      HaltCase{"StopThenPlay", &AudioPlayer::Stop, pmStopped, &AudioPlayer::Play}),
    [](const auto& testCase) { return std::string(testCase.param.Name); });

TEST_F(AudioPlayerTest, PauseWhileStoppedDoesNothingAndLeavesNotifyPending) {
    OpenFile(ShortMs);
    Player.SetNotify(false);
    Player.Pause();
    EXPECT_EQ(Player.Mode(), pmStopped);
    Player.Play(); // takes the pending false
    ASSERT_TRUE(RunOut(Player));
    EXPECT_EQ(Notices.count(), 0);
}

struct RewindCase {
    const char* Name;
    bool AutoRewind;
    PlayerMode ModeAfterReplay;
    bool AtEndAfterReplay;
};

class AudioAutoRewindTest : public AudioPlayerTest, public ::testing::WithParamInterface<RewindCase> {};

TEST_P(AudioAutoRewindTest, PlayAtTheEndRewindsOnlyWithAutoRewind) {
    const RewindCase& c = GetParam();
    EXPECT_TRUE(Player.AutoRewind()) << "on from creation";
    Player.SetAutoRewind(c.AutoRewind);
    OpenFile(ShortMs);
    Player.Play();
    ASSERT_TRUE(WaitForNotices(Notices, 1));
    {
        AudioOutput::Lock still(Output);
        Player.Play();
        EXPECT_EQ(Player.Mode(), c.ModeAfterReplay);
        EXPECT_EQ(Player.Position() == Player.Length(), c.AtEndAfterReplay);
    }
    ASSERT_TRUE(RunOut(Player));
    ASSERT_EQ(Notices.count(), 2) << "the replay's notice arrives in both cases";
    EXPECT_EQ(Notices.at(1).at(1).toLongLong(), 2) << "a play begun at the end is a play of its own";
}

INSTANTIATE_TEST_SUITE_P(, AudioAutoRewindTest,
                         ::testing::Values(RewindCase{"On", true, pmPlaying, false},
                                           RewindCase{"Off", false, pmStopped, true}),
                         [](const auto& testCase) { return std::string(testCase.param.Name); });

// Each row runs commands on an open file of ShortMs and lists the play numbers of the
// notices that arrive in all, after any play has run out. The rows run on the SDL player and
// on the fake one the model and window tests use, which must keep the same contract.
struct NoticeCase {
    const char* Name;
    std::function<void(AudioPlayer&, const QString& other)> Commands;
    std::vector<qint64> Plays;
};

enum class Kind { Sdl, Fake };

class AudioNoticeTest : public AudioPlayerTest,
                        public ::testing::WithParamInterface<std::tuple<Kind, NoticeCase>> {};

TEST_P(AudioNoticeTest, EveryAskedForNoticeArrivesExactlyOnceAndNamesItsPlay) {
    const auto& [kind, c] = GetParam();
    FakeAudioPlayer fake;
    AudioPlayer& player = kind == Kind::Sdl ? static_cast<AudioPlayer&>(Player) : fake;
    QSignalSpy notices(&player, &AudioPlayer::OnNotify);
    player.SetFileName(Write(QStringLiteral("tone.wav"), ShortMs));
    player.Open();
    c.Commands(player, Write(QStringLiteral("other.wav"), ShortMs));
    if (kind == Kind::Sdl) {
        ASSERT_TRUE(RunOut(Player));
    } else {
        fake.EndNow();
        QCoreApplication::processEvents();
    }
    std::vector<qint64> plays;
    for (const QList<QVariant>& notice : notices) {
        EXPECT_EQ(notice.at(0).value<QObject*>(), &player);
        plays.push_back(notice.at(1).toLongLong());
    }
    EXPECT_EQ(plays, c.Plays);
}

INSTANTIATE_TEST_SUITE_P(, AudioNoticeTest,
                         ::testing::Combine(::testing::Values(Kind::Sdl, Kind::Fake),
                                            ::testing::Values(NoticeCase{"PlayToTheEnd",
                                                                         [](AudioPlayer& p, auto&) {
                                                                             p.Play();
                                                                         },
                                                                         {1}},
                                                              NoticeCase{"NotifyFalseSuppressesThePlay",
                                                                         [](AudioPlayer& p, auto&) {
                                                                             p.SetNotify(false);
                                                                             p.Play();
                                                                         },
                                                                         {}},
                                                              NoticeCase{"NotifyFalseSuppressesOnlyOnePlay",
                                                                         [](AudioPlayer& p, auto&) {
                                                                             p.SetNotify(false);
                                                                             p.Play();
                                                                             p.Play();
                                                                         },
                                                                         {1}},
                                                              NoticeCase{
                                                                  "PlayWhilePlayingKeepsTheEarlierNotice",
                                                                  [](AudioPlayer& p, auto&) {
                                                                      p.Play();
                                                                      p.Play();
                                                                  },
                                                                  {1, 1}},
                                                              NoticeCase{"PlayNotAskingLeavesTheEarlierNoti"
                                                                         "cePending",
                                                                         [](AudioPlayer& p, auto&) {
                                                                             p.Play();
                                                                             p.SetNotify(false);
                                                                             p.Play();
                                                                         },
                                                                         {1}},
                                                              NoticeCase{"StopCutsThePlayShort",
                                                                         [](AudioPlayer& p, auto&) {
                                                                             p.Play();
                                                                             p.Stop();
                                                                         },
                                                                         {1}},
                                                              NoticeCase{"PlayAfterStopBeginsAnotherPlay",
                                                                         [](AudioPlayer& p, auto&) {
                                                                             p.Play();
                                                                             p.Stop();
                                                                             p.Play();
                                                                         },
                                                                         {1, 2}},
                                                              NoticeCase{"StopAskingAddsItsOwn",
                                                                         [](AudioPlayer& p, auto&) {
                                                                             p.Play();
                                                                             p.SetNotify(true);
                                                                             p.Stop();
                                                                         },
                                                                         {1, 0}},
                                                              NoticeCase{
                                                                  "StopWhileStopped",
                                                                  [](AudioPlayer& p, auto&) { p.Stop(); },
                                                                  {}},
                                                              NoticeCase{"CloseCutsThePlayShort",
                                                                         [](AudioPlayer& p, auto&) {
                                                                             p.Play();
                                                                             p.Close();
                                                                         },
                                                                         {1}},
                                                              NoticeCase{"CloseAskingAddsItsOwn",
                                                                         [](AudioPlayer& p, auto&) {
                                                                             p.Play();
                                                                             p.SetNotify(true);
                                                                             p.Close();
                                                                         },
                                                                         {1, 0}},
                                                              NoticeCase{
                                                                  "OpenOfAnotherFileCutsThePlayShort",
                                                                  [](AudioPlayer& p, const QString& other) {
                                                                      p.Play();
                                                                      p.SetFileName(other);
                                                                      p.Open();
                                                                      p.Play();
                                                                  },
                                                                  {1, 2}},
                                                              NoticeCase{
                                                                  "OpenAsking",
                                                                  [](AudioPlayer& p, const QString& other) {
                                                                      p.SetNotify(true);
                                                                      p.SetFileName(other);
                                                                      p.Open();
                                                                  },
                                                                  {0}},
                                                              NoticeCase{"PauseThenResumeIsOnePlay",
                                                                         [](AudioPlayer& p, auto&) {
                                                                             p.Play();
                                                                             p.Pause();
                                                                             p.Pause();
                                                                         },
                                                                         {1, 1}},
                                                              NoticeCase{"PlayAfterPauseIsOnePlay",
                                                                         [](AudioPlayer& p, auto&) {
                                                                             p.Play();
                                                                             p.Pause();
                                                                             p.Play();
                                                                         },
                                                                         {1, 1}},
                                                              NoticeCase{"PauseAskingSupersedesThePlay",
                                                                         [](AudioPlayer& p, auto&) {
                                                                             p.Play();
                                                                             p.SetNotify(true);
                                                                             p.Pause();
                                                                         },
                                                                         {1, 0}},
                                                              NoticeCase{"PauseThenStop",
                                                                         [](AudioPlayer& p, auto&) {
                                                                             p.Play();
                                                                             p.Pause();
                                                                             p.Stop();
                                                                         },
                                                                         {1}},
                                                              NoticeCase{"ResumeNotAskingKeepsThePlayNotice",
                                                                         [](AudioPlayer& p, auto&) {
                                                                             p.Play();
                                                                             p.Pause();
                                                                             p.SetNotify(false);
                                                                             p.Pause();
                                                                         },
                                                                         {1}},
                                                              NoticeCase{
                                                                  "PauseWhileStopped",
                                                                  [](AudioPlayer& p, auto&) { p.Pause(); },
                                                                  {}})),
                         [](const auto& testCase) {
                             return std::string(std::get<0>(testCase.param) == Kind::Sdl ? "Sdl" : "Fake") +
                                    std::get<1>(testCase.param).Name;
                         });

// What the notice's receiver sees at delivery: the chain of recitations relies on it to tell
// a play that ran to its end from one that was cut short or superseded.
struct Seen {
    PlayerMode Mode = pmNotReady;
    bool AtEnd = false;
};

class AudioNoticeStateTest : public AudioPlayerTest {
protected:
    void SetUp() override {
        AudioPlayerTest::SetUp();
        QObject::connect(&Player, &AudioPlayer::OnNotify, &Receiver, [this](QObject* sender) {
            EXPECT_EQ(sender, static_cast<QObject*>(&Player));
            Log.push_back({Player.Mode(), Player.Position() == Player.Length()});
        });
    }

    QObject Receiver;
    std::vector<Seen> Log;
};

TEST_F(AudioNoticeStateTest, NaturalEndIsSeenStoppedAtTheEnd) {
    OpenFile(ShortMs);
    Player.Play();
    ASSERT_TRUE(WaitForNotices(Notices, 1));
    ASSERT_EQ(Log.size(), 1u);
    EXPECT_EQ(Log[0].Mode, pmStopped);
    EXPECT_TRUE(Log[0].AtEnd);
}

TEST_F(AudioNoticeStateTest, SupersededPlayIsReportedAtOnceWhilePlaybackGoesOn) {
    OpenFile(LongMs);
    Player.Play();
    Player.Play();
    ASSERT_TRUE(WaitForNotices(Notices, 1));
    ASSERT_EQ(Log.size(), 1u);
    EXPECT_EQ(Log[0].Mode, pmPlaying);
    EXPECT_FALSE(Log[0].AtEnd);
    Player.Stop();
    ASSERT_TRUE(WaitForNotices(Notices, 2));
    EXPECT_EQ(Log[1].Mode, pmStopped);
    EXPECT_FALSE(Log[1].AtEnd);
}

TEST_F(AudioNoticeStateTest, PlayCutShortIsSeenBeforeTheEnd) {
    OpenFile(LongMs);
    Player.Play();
    ASSERT_TRUE(WaitUntil([&] { return Player.Position() > 0; }));
    Player.Stop();
    ASSERT_TRUE(WaitForNotices(Notices, 1));
    EXPECT_EQ(Log[0].Mode, pmStopped);
    EXPECT_FALSE(Log[0].AtEnd);
}

TEST_F(AudioPlayerTest, NoticesArriveOnlyThroughTheEventLoop) {
    bool insideCommand = false;
    int deliveredInside = 0;
    QObject::connect(
        &Player, &AudioPlayer::OnNotify, &Player, [&] { deliveredInside += insideCommand; },
        Qt::DirectConnection);
    Player.SetFileName(Write(QStringLiteral("a.wav"), LongMs));
    insideCommand = true;
    Player.SetNotify(true);
    Player.Open();
    Player.Play();
    Player.Play();
    Player.SetNotify(true);
    Player.Stop();
    Player.Close();
    insideCommand = false;
    EXPECT_EQ(Notices.count(), 0);
    // Open, the superseded play, the stopped play and the stop: all queued by the commands.
    QCoreApplication::processEvents();
    EXPECT_EQ(Notices.count(), 4);
    EXPECT_EQ(deliveredInside, 0);
}

TEST_F(AudioPlayerTest, CloseWithoutAFileKeepsAPendingNotify) {
    Player.SetNotify(true);
    Player.Close();
    EXPECT_EQ(Player.Mode(), pmNotReady);
    OpenFile(ShortMs); // asks, by the Notify the Close left
    QCoreApplication::processEvents();
    EXPECT_EQ(Notices.count(), 1);
}

TEST_F(AudioPlayerTest, NoticesOfADestroyedPlayerAreNeverDelivered) {
    QObject receiver;
    int delivered = 0;
    const QString file = Write(QStringLiteral("a.wav"), 40);
    const auto open = [&] {
        auto player = std::make_unique<SdlAudioPlayer>(Output);
        QObject::connect(player.get(), &AudioPlayer::OnNotify, &receiver, [&] { ++delivered; });
        player->SetFileName(file);
        player->Open();
        player->Play();
        return player;
    };
    // Queued, not yet delivered: the notice of a play cut short.
    auto queued = open();
    queued->Stop();
    queued.reset();
    // Still playing: the audio thread would post the play's end.
    auto playing = open();
    playing.reset();
    ASSERT_TRUE(LetTimePass(ShortMs));
    QCoreApplication::processEvents();
    EXPECT_EQ(delivered, 0);
}

TEST_F(AudioPlayerTest, SecondOpenOfAnotherFilePlaysTheNewFile) {
    OpenFile(LongMs);
    Player.Play();
    ASSERT_TRUE(WaitUntil([&] { return Player.Position() > 0; }));
    Player.SetFileName(Write(QStringLiteral("b.wav"), ShortMs, {FixtureEncoding::Pcm8, 11025, 2}));
    Player.Open();
    EXPECT_EQ(Player.Mode(), pmStopped);
    EXPECT_EQ(Player.Position(), 0);
    EXPECT_NEAR(double(Player.Length()), ShortMs, 1);
    Player.Play();
    ASSERT_TRUE(WaitForNotices(Notices, 2));
    EXPECT_EQ(Player.Position(), Player.Length());
}

TEST_F(AudioPlayerTest, CommandsWithoutAFileRaiseNoMciDeviceOpen) {
    const std::vector<std::pair<const char*, std::function<void()>>> commands = {
        {"Play", [&] { Player.Play(); }},
        {"Stop", [&] { Player.Stop(); }},
        {"Pause", [&] { Player.Pause(); }},
        {"Length", [&] { (void)Player.Length(); }},
    };
    for (bool afterClose : {false, true}) {
        if (afterClose) {
            OpenFile(ShortMs);
            Player.Close();
        }
        for (const auto& [name, command] : commands) {
            try {
                command();
                ADD_FAILURE() << name << " raised nothing";
            } catch (const AudioError& error) {
                EXPECT_STREQ(error.what(), "No MCI device open") << name;
            }
        }
        EXPECT_NO_THROW(Player.Close());
        EXPECT_EQ(Player.Mode(), pmNotReady);
        EXPECT_EQ(Player.Position(), 0);
    }
}

TEST_F(AudioPlayerTest, EnabledIsStoredAndIgnoredByCommands) {
    EXPECT_TRUE(Player.Enabled());
    Player.SetEnabled(false);
    EXPECT_FALSE(Player.Enabled());
    OpenFile(ShortMs);
    Player.Play();
    ASSERT_TRUE(WaitForNotices(Notices, 1));
}

struct BadFileCase {
    const char* Name;
    std::function<void(const QString& path)> Write;
    // A piece of the decoder's own message, which Open must pass on.
    const char* MessagePart;
};

class AudioBadFileTest : public AudioPlayerTest, public ::testing::WithParamInterface<BadFileCase> {};

TEST_P(AudioBadFileTest, OpenFailsWithTheDecodersMessageAndLeavesNoFileOpen) {
    OpenFile(ShortMs);
    const QString path = Dir.filePath(QStringLiteral("bad.wav"));
    GetParam().Write(path);
    Player.SetFileName(path);
    try {
        Player.Open();
        FAIL() << "Open accepted a bad file";
    } catch (const AudioError& error) {
        EXPECT_THAT(error.what(), ::testing::HasSubstr(GetParam().MessagePart));
    }
    EXPECT_EQ(Player.Mode(), pmNotReady);
    EXPECT_THROW(Player.Play(), AudioError);
}

INSTANTIATE_TEST_SUITE_P(
    , AudioBadFileTest,
    ::testing::Values(
        BadFileCase{"Missing", [](const QString&) {}, "Couldn't open"},
        BadFileCase{"Empty", [](const QString& path) { WriteBytes(path, {}); }, "RIFF header"},
        BadFileCase{"NotRiff", [](const QString& path) { WriteBytes(path, "This is no sound at all.\n"); },
                    "not a Waveform"},
        BadFileCase{"GarbageAfterRiffHeader",
                    [](const QString& path) {
                        WriteBytes(path, QByteArray("RIFF\x24\0\0\0WAVE", 12) + QByteArray(64, '\x7f'));
                    },
                    "fmt chunk"},
        BadFileCase{"TruncatedPcm",
                    [](const QString& path) { WriteTruncatedWav(path, {FixtureEncoding::Pcm16}); },
                    "data chunk"},
        BadFileCase{"TruncatedImaAdpcm",
                    [](const QString& path) { WriteTruncatedWav(path, {FixtureEncoding::ImaAdpcm}); },
                    "data chunk"},
        BadFileCase{"UnsupportedGsm",
                    [](const QString& path) {
                        WriteWav(path, {FixtureEncoding::Gsm610, 8000});
                    },
                    "format tag"}),
    [](const auto& testCase) { return std::string(testCase.param.Name); });

// The queue and the hand-over on both players, from one table: the model and window tests
// drive the fake player, so it must keep the SDL player's contract. A recording of ShortMs
// plays and another is queued behind it, short (ShortMs) or long (QueuedLongMs, which no
// step outlasts).
constexpr int QueuedLongMs = 10000;

// What a step of a row waits for or makes happen, on either player.
struct QueueDriver {
    AudioPlayer& Player;
    // The open file has played to its end; the notice of its play is not handled yet.
    std::function<bool()> EndOpen;
    // The queued recording has played to its end.
    std::function<bool()> EndQueued;
    // Some playback time passes.
    std::function<bool()> LetTimePass;
    // Runs commands with the output held still.
    std::function<void(const std::function<void()>&)> Atomically;
    QString Other;
};

struct QueueContractCase {
    const char* Name;
    bool QueueLong;
    // Runs right after Play and Queue, the output held still, when given.
    std::function<void(QueueDriver&, const QString& queued)> AtOnce;
    // Runs after that; checks the player on the way.
    std::function<void(QueueDriver&, const QString& queued)> Steps;
};

class AudioQueueContractTest : public AudioPlayerTest,
                               public ::testing::WithParamInterface<std::tuple<Kind, QueueContractCase>> {};

TEST_P(AudioQueueContractTest, BothPlayersKeepTheQueueContract) {
    const auto& [kind, c] = GetParam();
    FakeAudioPlayer fake;
    AudioPlayer& player = kind == Kind::Sdl ? static_cast<AudioPlayer&>(Player) : fake;
    const QString queued = Write(QStringLiteral("queued.wav"), c.QueueLong ? QueuedLongMs : ShortMs);
    const auto spin = [](const std::function<bool()>& condition) {
        // Without running events, so that no notice is handled meanwhile.
        QDeadlineTimer deadline(AudioTimeoutMs);
        while (!condition() && !deadline.hasExpired())
            QThread::msleep(1);
        return condition();
    };
    QueueDriver driver{player, {}, {}, {}, {}, Write(QStringLiteral("other.wav"), ShortMs)};
    if (kind == Kind::Sdl) {
        driver.EndOpen = [&] { return spin([&] { return Player.Position() == Player.Length(); }); };
        driver.EndQueued = [&] { return spin([&] { return Player.Mode() != pmPlaying; }); };
        driver.LetTimePass = [&] { return LetTimePass(ShortMs); };
        driver.Atomically = [&](const std::function<void()>& commands) {
            AudioOutput::Lock still(Output);
            commands();
        };
    } else {
        driver.EndOpen = [&] {
            fake.EndNow();
            return true;
        };
        driver.EndQueued = [&] {
            fake.Advance(QueuedLongMs);
            return true;
        };
        driver.LetTimePass = [&] {
            fake.Advance(ShortMs);
            return true;
        };
        driver.Atomically = [](const std::function<void()>& commands) { commands(); };
    }
    player.SetFileName(Write(QStringLiteral("open.wav"), ShortMs));
    player.Open();
    driver.Atomically([&] {
        player.Play();
        player.Queue(queued);
        EXPECT_EQ(player.QueuedFile(), queued);
        if (c.AtOnce)
            c.AtOnce(driver, queued);
    });
    c.Steps(driver, queued);
}

QList<qint64> PlaysNoticed(QSignalSpy& notices) {
    QCoreApplication::processEvents();
    QList<qint64> plays;
    for (const QList<QVariant>& notice : notices)
        plays << notice.at(1).toLongLong();
    return plays;
}

INSTANTIATE_TEST_SUITE_P(
    , AudioQueueContractTest,
    ::testing::Combine(
        ::testing::Values(Kind::Sdl, Kind::Fake),
        ::testing::Values(QueueContractCase{"AdoptedWhileItSounds",
                                            true,
                                            {},
                                            [](QueueDriver& d, const QString& queued) {
                                                ASSERT_TRUE(d.EndOpen());
                                                EXPECT_EQ(d.Player.Mode(), pmPlaying)
                                                    << "the queued recording is heard";
                                                EXPECT_EQ(d.Player.Position(), d.Player.Length())
                                                    << "of the open file";
                                                EXPECT_TRUE(d.Player.Adopt(queued));
                                                EXPECT_EQ(d.Player.FileName(), queued);
                                                EXPECT_EQ(d.Player.Mode(), pmPlaying);
                                                EXPECT_LT(d.Player.Position(), d.Player.Length());
                                                EXPECT_EQ(d.Player.CurrentPlay(), 2);
                                            }},
                          QueueContractCase{"NotAdoptedOnceItHasEnded",
                                            false,
                                            {},
                                            [](QueueDriver& d, const QString& queued) {
                                                ASSERT_TRUE(d.EndOpen());
                                                ASSERT_TRUE(d.EndQueued());
                                                EXPECT_EQ(d.Player.Mode(), pmStopped);
                                                EXPECT_FALSE(d.Player.Adopt(queued));
                                                EXPECT_NE(d.Player.FileName(), queued);
                                            }},
                          QueueContractCase{"NotAdoptedBeforeItHasBegun", true,
                                            [](QueueDriver& d, const QString& queued) {
                                                EXPECT_FALSE(d.Player.Adopt(queued));
                                            },
                                            [](QueueDriver& d, const QString& queued) {
                                                EXPECT_EQ(d.Player.QueuedFile(), queued);
                                            }},
                          QueueContractCase{"PausedInTheHandOverItWaitsAndTheNoticeWithIt",
                                            true,
                                            {},
                                            [](QueueDriver& d, const QString& queued) {
                                                QSignalSpy notices(&d.Player, &AudioPlayer::OnNotify);
                                                ASSERT_TRUE(d.EndOpen());
                                                d.Player.Pause();
                                                EXPECT_EQ(d.Player.Mode(), pmPaused);
                                                ASSERT_TRUE(d.LetTimePass());
                                                EXPECT_EQ(PlaysNoticed(notices), QList<qint64>{})
                                                    << "held while paused";
                                                d.Player.Play();
                                                EXPECT_EQ(d.Player.Mode(), pmPlaying);
                                                EXPECT_EQ(PlaysNoticed(notices), QList<qint64>{1});
                                                EXPECT_TRUE(d.Player.Adopt(queued));
                                            }},
                          QueueContractCase{"AdoptedWhilePausedInTheHandOverStaysPaused",
                                            true,
                                            {},
                                            [](QueueDriver& d, const QString& queued) {
                                                QSignalSpy notices(&d.Player, &AudioPlayer::OnNotify);
                                                ASSERT_TRUE(d.EndOpen());
                                                d.Player.Pause();
                                                EXPECT_TRUE(d.Player.Adopt(queued));
                                                EXPECT_EQ(d.Player.Mode(), pmPaused);
                                                const qint64 at = d.Player.Position();
                                                ASSERT_TRUE(d.LetTimePass());
                                                EXPECT_EQ(d.Player.Position(), at);
                                                EXPECT_EQ(PlaysNoticed(notices), QList<qint64>{1})
                                                    << "released at Adopt";
                                                d.Player.Pause();
                                                EXPECT_EQ(d.Player.Mode(), pmPlaying);
                                            }},
                          QueueContractCase{"DroppedWhilePausedInTheHandOverLeavesNothingToResume",
                                            true,
                                            {},
                                            [](QueueDriver& d, const QString& queued) {
                                                QSignalSpy notices(&d.Player, &AudioPlayer::OnNotify);
                                                ASSERT_TRUE(d.EndOpen());
                                                d.Player.Pause();
                                                d.Player.DropQueued();
                                                EXPECT_EQ(d.Player.Mode(), pmPaused);
                                                d.Player.Pause();
                                                EXPECT_EQ(d.Player.Mode(), pmStopped);
                                                EXPECT_EQ(d.Player.Position(), d.Player.Length());
                                                EXPECT_EQ(PlaysNoticed(notices), QList<qint64>{1});
                                                EXPECT_FALSE(d.Player.Adopt(queued));
                                            }},
                          QueueContractCase{"StopCutsItInTheHandOver",
                                            true,
                                            {},
                                            [](QueueDriver& d, const QString& queued) {
                                                ASSERT_TRUE(d.EndOpen());
                                                d.Player.Stop();
                                                EXPECT_EQ(d.Player.Mode(), pmStopped);
                                                EXPECT_EQ(d.Player.QueuedFile(), QString());
                                                EXPECT_FALSE(d.Player.Adopt(queued));
                                            }},
                          QueueContractCase{"OpenCutsItInTheHandOver",
                                            true,
                                            {},
                                            [](QueueDriver& d, const QString& queued) {
                                                ASSERT_TRUE(d.EndOpen());
                                                d.Player.SetFileName(d.Other);
                                                d.Player.Open();
                                                EXPECT_EQ(d.Player.Mode(), pmStopped);
                                                EXPECT_EQ(d.Player.QueuedFile(), QString());
                                                EXPECT_FALSE(d.Player.Adopt(queued));
                                            }},
                          QueueContractCase{"PausingBeforeItBeginsDropsIt", true,
                                            [](QueueDriver& d, const QString&) { d.Player.Pause(); },
                                            [](QueueDriver& d, const QString& queued) {
                                                EXPECT_EQ(d.Player.QueuedFile(), QString());
                                                d.Player.Pause();
                                                ASSERT_TRUE(d.EndOpen());
                                                EXPECT_TRUE(d.EndQueued());
                                                EXPECT_EQ(d.Player.Mode(), pmStopped) << "nothing follows";
                                                EXPECT_FALSE(d.Player.Adopt(queued));
                                            }},
                          QueueContractCase{"NothingIsQueuedWhilePaused", true,
                                            [](QueueDriver& d, const QString& queued) {
                                                d.Player.Pause();
                                                d.Player.Queue(queued);
                                            },
                                            [](QueueDriver& d, const QString&) {
                                                EXPECT_EQ(d.Player.QueuedFile(), QString());
                                            }})),
    [](const auto& param) {
        return std::string(std::get<0>(param.param) == Kind::Sdl ? "Sdl" : "Fake") +
               std::get<1>(param.param).Name;
    });

} // namespace
