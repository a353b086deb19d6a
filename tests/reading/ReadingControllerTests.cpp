// The reading controller without a window: the continuous recitation and the practice run
// on the fixture book with the player whose clock the test moves, and the selection in plain
// fields, as a view would hold it.
#include "reading/ReadingController.h"
#include "tests/model/ModelTestSupport.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>
#include <QSet>
#include <algorithm>
#include <cstddef>
#include <gtest/gtest.h>
#include <ostream>
#include <string>
#include <tuple>
#include <vector>

namespace {

// The selection as plain fields: a soureh list of all 114 sourehs, so that an entry's place is
// its soureh's number - 1.
class FakeSelection final : public IReadingSelection {
public:
    FakeSelection() {
        for (int soureh = 1; soureh <= 114; ++soureh)
            Sourehs << QString::number(soureh);
    }
    int SourehIndex() const override { return Soureh; }
    int SourehCount() const override { return int(Sourehs.size()); }
    void SetSourehIndex(int index) override { Soureh = index < SourehCount() ? index : -1; }
    void SetSourehs(const QStringList& names) override {
        Sourehs = names;
        Soureh = names.isEmpty() ? -1 : 0;
    }
    int AyehIndex() const override { return Ayeh; }
    int AyehCount() const override { return int(Ayehs.size()); }
    void SetAyehIndex(int index) override { Ayeh = index < AyehCount() ? index : -1; }
    void SetAyehs(const QStringList& numbers) override {
        Ayehs = numbers;
        Ayeh = numbers.isEmpty() ? -1 : 0;
    }
    int RepeatCount() const override { return Count; }
    void SetRepeatCount(int count) override { Count = count; }
    void ShowTranslation(const QString& text) override { Translation = text; }

    QStringList Sourehs;
    QStringList Ayehs;
    int Soureh = -1;
    int Ayeh = -1;
    int Count = 1;
    QString Translation;
};

// The recording that began at a step and the repeat count then.
struct Step {
    QString Recording;
    int Count = 0;
    bool operator==(const Step&) const = default;
};

void PrintTo(const Step& step, std::ostream* out) {
    *out << step.Recording.toStdString() << " x" << step.Count;
}

QString Rec(int soureh, int ayeh) {
    return TQuran::SoundFileName(1, soureh, ayeh);
}
const QString Bismillah = TQuran::SoundFileName(1, 0, 0);

class ControllerTest : public ModelTest {
protected:
    void SetUp() override {
        OpenBook();
        Book->GhariID = 1;
        Reading = std::make_unique<TReadingController>(&Selection, nullptr, [this] { return Book.get(); });
        QObject::connect(&Player, &AudioPlayer::OnNotify, Reading.get(), [this](QObject*, qint64 play) {
            ++Notices;
            Reading->PlayerNotified(play);
            Record();
        });
    }
    void TearDown() override {
        Reading.reset();
        ModelTest::TearDown();
    }

    QString Loaded() const {
        return Player.FileName().isEmpty() ? QString() : QFileInfo(Player.FileName()).fileName();
    }
    void Record() {
        const Step step{Loaded(), Selection.Count};
        if (Steps.empty() || Steps.back() != step)
            Steps.push_back(step);
    }
    // Handles every notice and event queued, and those they queue in turn.
    void Settle() {
        for (int seen = -1; seen != Notices;) {
            seen = Notices;
            QCoreApplication::processEvents();
        }
    }
    QString Queued() const { return QFileInfo(Player.QueuedFile()).fileName(); }
    // The ayeh chosen in the lists as the user does, then the recite command.
    void Recite(int sourehId, int ayehId, int count) {
        Selection.SetSourehIndex(sourehId - 1);
        Reading->SourehChosen();
        Selection.SetAyehIndex(ayehId - 1);
        Selection.Count = count;
        Reading->ReciteChosen();
        Steps.clear();
        Record();
    }
    // Each recording ends as soon as it has begun until count steps have been seen or the
    // chain stops; the first count steps.
    std::vector<Step> StepsUntil(size_t count) {
        for (int recordings = 0; recordings < 100 && Steps.size() < count; ++recordings) {
            if (Player.Mode() != pmPlaying)
                break;
            Player.EndNow();
            Settle();
        }
        return std::vector<Step>(Steps.begin(),
                                 Steps.begin() + std::ptrdiff_t(std::min(count, Steps.size())));
    }

    FakeSelection Selection;
    std::unique_ptr<TReadingController> Reading;
    std::vector<Step> Steps;
    int Notices = 0;
};

// --- The continuous recitation ---

struct ChainCase {
    const char* Name;
    int Soureh;
    int Ayeh;
    int Count;
    std::vector<Step> Expected;
    // Whether the chain ends with the last of them.
    bool Ends = false;
};

void PrintTo(const ChainCase& c, std::ostream* out) {
    *out << c.Name;
}

class ChainTest : public ControllerTest, public ::testing::WithParamInterface<ChainCase> {};

TEST_P(ChainTest, RecitesWhatFollowsEachRecording) {
    const ChainCase& c = GetParam();
    Recite(c.Soureh, c.Ayeh, c.Count);
    EXPECT_EQ(StepsUntil(c.Expected.size()), c.Expected);
    // One more recording ends: the chain goes on, or it has ended.
    EXPECT_EQ(StepsUntil(c.Expected.size() + 1).size() > c.Expected.size(), !c.Ends);
}

INSTANTIATE_TEST_SUITE_P(
    Cases, ChainTest,
    ::testing::Values(
        ChainCase{
            "TheCountRunsDownThenTheChainMovesOnAyehByAyeh",
            1,
            3,
            3,
            {{Rec(1, 3), 3}, {Rec(1, 3), 2}, {Rec(1, 3), 1}, {Rec(1, 4), 1}, {Rec(1, 5), 1}, {Rec(1, 6), 1}}},
        ChainCase{"TheLastSourehWrapsToTheFirstWithoutABismillah",
                  114,
                  3,
                  1,
                  {{Rec(114, 3), 1}, {Rec(1, 1), 1}, {Rec(1, 2), 1}}},
        ChainCase{"TheEndOfTheFirstSourehLeadsToTheBismillahAndThenTheSecondSoureh",
                  1,
                  7,
                  1,
                  {{Rec(1, 7), 1}, {Bismillah, 1}, {Rec(2, 1), 1}, {Rec(2, 2), 1}}},
        ChainCase{"ABismillahSoundsOnceAndTheFirstAyehAsOftenAsTheCount",
                  2,
                  1,
                  3,
                  {{Bismillah, 3}, {Rec(2, 1), 3}, {Rec(2, 1), 2}, {Rec(2, 1), 1}, {Rec(2, 2), 1}}},
        // Content without the next soureh: the chain ends with the soureh's last ayeh.
        ChainCase{"TheChainEndsWhereTheBookHasNoNextSoureh", 2, 5, 1, {{Rec(2, 5), 1}}, true}),
    [](const ::testing::TestParamInfo<ChainCase>& testCase) { return std::string(testCase.param.Name); });

TEST_F(ControllerTest, EachStepIsToldToViewsWithItsAyehTranslationAndPage) {
    Recite(1, 7, 1);
    std::vector<std::tuple<int, int, int>> told;
    QObject::connect(Reading.get(), &TReadingController::CurrentAyehChanged,
                     [&](int soureh, int ayeh, int page) { told.emplace_back(soureh, ayeh, page); });
    // 1:7, then the Bismillah of soureh 2, whose ayeh 1 is current from then on.
    ASSERT_EQ(StepsUntil(3).size(), 3u);
    const std::vector<std::tuple<int, int, int>> expected = {{2, 1, FixtureBook::FindAyeh(2, 1).PageID}};
    EXPECT_EQ(told, expected);
    EXPECT_EQ(Selection.Soureh + 1, 2);
    EXPECT_EQ(Selection.Ayeh + 1, 1);
    EXPECT_EQ(Selection.Translation, FixtureBook::FindAyeh(2, 1).Translation());
}

// --- The practice ---

PracticePlan Passage(int fromSoureh, int fromAyeh, int toSoureh, int toAyeh, int rounds) {
    PracticePlan plan;
    plan.FromSoureh = fromSoureh;
    plan.FromAyeh = fromAyeh;
    plan.ToSoureh = toSoureh;
    plan.ToAyeh = toAyeh;
    plan.Rounds = rounds;
    return plan;
}

struct PracticeCase {
    const char* Name;
    PracticePlan Plan;
    int Count;
    std::vector<Step> Expected;
    // Whether the practice still runs after the steps: only a practice without end.
    bool StillRuns;
};

void PrintTo(const PracticeCase& c, std::ostream* out) {
    *out << c.Name;
}

class PracticeRunTest : public ControllerTest, public ::testing::WithParamInterface<PracticeCase> {};

TEST_P(PracticeRunTest, RunsThePassageInItsRounds) {
    const PracticeCase& c = GetParam();
    Selection.Count = c.Count;
    Reading->StartPractice(c.Plan);
    Steps.clear();
    Record();
    EXPECT_EQ(StepsUntil(c.Expected.size()), c.Expected);
    EXPECT_EQ(StepsUntil(c.Expected.size() + 1).size() > c.Expected.size(), c.StillRuns);
    EXPECT_EQ(Reading->Practicing(), c.StillRuns);
    EXPECT_EQ(Player.Mode() == pmPlaying, c.StillRuns);
}

INSTANTIATE_TEST_SUITE_P(
    Cases, PracticeRunTest,
    ::testing::Values(
        PracticeCase{
            "InOrderForItsRoundsAndThenTheRecitationStops",
            Passage(1, 5, 1, 7, 2),
            1,
            {{Rec(1, 5), 1}, {Rec(1, 6), 1}, {Rec(1, 7), 1}, {Rec(1, 5), 1}, {Rec(1, 6), 1}, {Rec(1, 7), 1}},
            false},
        PracticeCase{"EachAyehAsOftenAsTheCountSaidAndASourehBeginsWithItsBismillah",
                     Passage(1, 7, 2, 1, 1),
                     2,
                     {{Rec(1, 7), 2}, {Rec(1, 7), 1}, {Bismillah, 2}, {Rec(2, 1), 2}, {Rec(2, 1), 1}},
                     false},
        PracticeCase{"WithoutEndTheRoundsGoOn",
                     Passage(1, 2, 1, 3, EndlessRounds),
                     1,
                     {{Rec(1, 2), 1}, {Rec(1, 3), 1}, {Rec(1, 2), 1}, {Rec(1, 3), 1}, {Rec(1, 2), 1}},
                     true}),
    [](const ::testing::TestParamInfo<PracticeCase>& testCase) { return std::string(testCase.param.Name); });

TEST_F(ControllerTest, AChoiceOfTheUsersInTheListsEndsThePracticeButTheChainsOwnDoNot) {
    Selection.Count = 1;
    Reading->StartPractice(Passage(1, 2, 1, 4, EndlessRounds));
    Steps.clear();
    Record();
    StepsUntil(3);
    ASSERT_TRUE(Reading->Practicing());
    Reading->SelectionChanged();
    EXPECT_FALSE(Reading->Practicing());
}

// --- The recording queued to follow ---

TEST_F(ControllerTest, TheQueuedRecordingIsAdoptedWhereItSoundsWhenNothingChanged) {
    Recite(2, 1, 1);
    ASSERT_EQ(Loaded(), Bismillah);
    EXPECT_EQ(Queued(), Rec(2, 1));
    Player.EndNow();
    // The ayeh sounds on while its notice waits.
    Player.Advance(20);
    Settle();
    EXPECT_EQ(Loaded(), Rec(2, 1));
    EXPECT_EQ(Player.Mode(), pmPlaying);
    EXPECT_EQ(Player.Position(), 20);
    EXPECT_EQ(Player.Plays, (QStringList{Player.Plays.front(), Book->Sounds->LoadedFile()}));
    EXPECT_EQ(Queued(), Rec(2, 2));
}

TEST_F(ControllerTest, TheCacheHoldsTheRecordingPlayingAndTheOneQueuedNeverMore) {
    Recite(1, 6, 2);
    for (int step = 0; step < 6; ++step) {
        ASSERT_EQ(Player.Mode(), pmPlaying);
        ASSERT_FALSE(Queued().isEmpty());
        const QSet<QString> expected{Loaded(), Queued()};
        const QStringList cached = QDir(CacheFolder()).entryList(QDir::Files | QDir::Hidden, QDir::Name);
        EXPECT_EQ(QSet<QString>(cached.begin(), cached.end()), expected) << "step " << step;
        Player.EndNow();
        Settle();
    }
}

// A practice's pause: the next ayeh begins after exactly that much silence.
struct PauseCase {
    const char* Name;
    PracticePause Pause;
    int Seconds;
    bool TimesTheLength; // 1 or 2 lengths of the recording, else Seconds
    int Lengths;
};

void PrintTo(const PauseCase& c, std::ostream* out) {
    *out << c.Name;
}

class PracticePauseTest : public ControllerTest, public ::testing::WithParamInterface<PauseCase> {};

TEST_P(PracticePauseTest, TheNextAyehBeginsAfterExactlyThePause) {
    PracticePlan plan = Passage(1, 2, 1, 2, 2);
    plan.Pause = GetParam().Pause;
    plan.PauseSeconds = GetParam().Seconds;
    Reading->StartPractice(plan);
    ASSERT_EQ(Loaded(), Rec(1, 2));
    const qint64 length = Player.Length();
    const qint64 pause = GetParam().TimesTheLength ? GetParam().Lengths * length : GetParam().Seconds * 1000;
    Player.Advance(length + pause - 1);
    Settle();
    EXPECT_EQ(Player.Plays.size(), 1);
    EXPECT_EQ(Loaded(), Rec(1, 2)) << "the ayeh stays current through its pause";
    Player.Advance(1);
    Settle();
    EXPECT_EQ(Player.Plays.size(), 2);
    EXPECT_EQ(Loaded(), Rec(1, 2));
    EXPECT_EQ(Player.Position(), 0);
}

INSTANTIATE_TEST_SUITE_P(
    Pauses, PracticePauseTest,
    ::testing::Values(PauseCase{"Fixed", PracticePause::Fixed, 2, false, 0},
                      PauseCase{"AsLongAsTheAyeh", PracticePause::AyehLength, 5, true, 1},
                      PauseCase{"TwiceAsLong", PracticePause::TwiceAyehLength, 5, true, 2},
                      PauseCase{"None", PracticePause::None, 5, true, 0}),
    [](const ::testing::TestParamInfo<PauseCase>& testCase) { return std::string(testCase.param.Name); });

// --- Pause, pages and ayeh steps ---

TEST_F(ControllerTest, PauseAndContinueAreRefusedWithNothingToPause) {
    EXPECT_FALSE(Reading->PauseOrContinue());
    EXPECT_FALSE(Reading->Paused());
    Recite(1, 3, 1);
    ASSERT_TRUE(Reading->PauseOrContinue());
    EXPECT_TRUE(Reading->Paused());
    EXPECT_EQ(Player.Mode(), pmPaused);
    ASSERT_TRUE(Reading->PauseOrContinue());
    EXPECT_FALSE(Reading->Paused());
    EXPECT_EQ(Player.Mode(), pmPlaying);
}

TEST_F(ControllerTest, APageOutsideTheBookIsRefusedAndAPageTurnShowsItsFirstAyeh) {
    for (const int page : {0, 605, -3})
        EXPECT_FALSE(Reading->GoToPage(page)) << page;
    Reading->ShowStartPosition(1, 1);
    Reading->TurnPage(1);
    const FixtureAyeh& first = FixtureBook::FindAyeh(2, 1);
    ASSERT_EQ(Book->Page->PageID, first.PageID);
    EXPECT_EQ(Book->Soureh->SourehID, 2);
    EXPECT_EQ(Book->Soureh->Ayeh->AyehID, 1);
    EXPECT_EQ(Selection.Translation, first.Translation());
    EXPECT_EQ(Player.Mode(), pmNotReady);
}

} // namespace
