// A memorisation sitting: words revealed and hidden again, grades moving it on (turning the
// page where the next ayeh is on another), passages across pages and sourehs, and the
// choices kept in the settings file.
#include "content/ContentKeys.h"
#include "learning/Sitting.h"
#include "tests/learning/LearningTestSupport.h"

#include <QSettings>
#include <QStringList>
#include <ostream>

namespace {

struct ScriptCase {
    const char* Name;
    SittingHint Hint;
    std::vector<SittingAyeh> Ayehs;
    // w reveal a word, a reveal the ayeh, b step back, 1 to 4 grade, e end
    const char* Script;
    // After each action: its answer (+ done, - nothing to do, s same page, n new page,
    // e ended, . none), the position, ':' and the words shown of every ayeh.
    const char* Trace;
};

void PrintTo(const ScriptCase& c, std::ostream* out) {
    *out << c.Name;
}

char Act(MemorisationSitting& sitting, char action) {
    const auto yes = [](bool done) { return done ? '+' : '-'; };
    switch (action) {
    case 'w':
        return yes(sitting.RevealWord());
    case 'a':
        return yes(sitting.RevealAyeh());
    case 'b':
        return yes(sitting.StepBack());
    case 'e':
        sitting.End();
        return '.';
    default:
        switch (sitting.GiveGrade(*GradeFromNumber(action - '0'))) {
        case SittingStep::SamePage:
            return 's';
        case SittingStep::NewPage:
            return 'n';
        case SittingStep::Ended:
            return 'e';
        }
    }
    return '?';
}

class SittingScript : public ::testing::TestWithParam<ScriptCase> {};

TEST_P(SittingScript, RevealsStepsBackAndGoesOn) {
    MemorisationSitting sitting(GetParam().Ayehs, GetParam().Hint);
    QStringList trace;
    for (const char* action = GetParam().Script; *action; ++action) {
        const char answer = Act(sitting, *action);
        QString token = QChar::fromLatin1(answer) + QString::number(sitting.Position()) + u':';
        for (size_t i = 0; i < sitting.Ayehs().size(); ++i)
            token += (i ? QStringLiteral(",") : QString()) + QString::number(sitting.ShownWords(i));
        trace << token;
    }
    EXPECT_EQ(trace.join(u' ').toStdString(), GetParam().Trace);
}

const std::vector<SittingAyeh> TwoOnAPage = {{1, 1, 1, 3}, {1, 2, 1, 2}};
const std::vector<SittingAyeh> TwoPages = {{1, 7, 1, 3}, {2, 1, 2, 2}};

INSTANTIATE_TEST_SUITE_P(
    Scripts, SittingScript,
    ::testing::Values(
        ScriptCase{"WordByWordThenTheNextAyehHidden", SittingHint::Nothing, TwoOnAPage, "wwww3",
                   "+0:1,0 +0:2,0 +0:3,0 -0:3,0 s1:3,0"},
        ScriptCase{"StepBackStopsAtTheHint", SittingHint::FirstWord, TwoOnAPage, "wbbab3",
                   "+0:2,1 +0:1,1 -0:1,1 +0:3,1 +0:2,1 s1:3,1"},
        ScriptCase{"GradedUnrevealedTheLastEnds", SittingHint::Nothing, TwoOnAPage, "13", "s1:3,0 e2:3,2"},
        ScriptCase{"TheNextAyehOnAnotherPage", SittingHint::Nothing, TwoPages, "a4", "+0:3,0 n1:3,0"},
        ScriptCase{"EndShowsAllAndStopsEverything", SittingHint::Nothing, TwoOnAPage, "wewb3",
                   "+0:1,0 .2:3,2 -2:3,2 -2:3,2 e2:3,2"},
        ScriptCase{"AOneWordAyehUnderTheHint",
                   SittingHint::FirstWord,
                   {{1, 1, 1, 1}, {1, 2, 1, 4}},
                   "wb3w",
                   "-0:1,1 -0:1,1 s1:1,1 +1:1,2"},
        ScriptCase{"NoWordsKnown", SittingHint::Nothing, {{1, 1, 1, 0}}, "wa3", "-0:0 -0:0 e1:0"}),
    [](const auto& row) { return std::string(row.param.Name); });

// Fatiha on page 1, the first five ayehs of soureh 2 on page 2, the sixth on page 3.
AyehPages SmallBook() {
    AyehPages pages;
    for (int ayeh = 1; ayeh <= 7; ++ayeh)
        pages.Set(1, ayeh, 1);
    for (int ayeh = 1; ayeh <= 6; ++ayeh)
        pages.Set(2, ayeh, ayeh <= 5 ? 2 : 3);
    return pages;
}

int WordsOf(int sourehId, int ayehId) {
    return sourehId * 10 + ayehId;
}

TEST(SittingPassage, CrossesSourehsAndTurnsThePageWhereTheNextAyehIsOnAnother) {
    MemorisationSitting sitting(PassageAyehs(1, 6, 2, 6, SmallBook(), WordsOf), SittingHint::Nothing);
    ASSERT_EQ(sitting.Ayehs().size(), 8u);
    EXPECT_EQ(sitting.Current(), (SittingAyeh{1, 6, 1, 16}));
    std::string steps;
    while (!sitting.Ended())
        steps += sitting.GiveGrade(Grade::Good) == SittingStep::NewPage ? 'n' : '.';
    EXPECT_EQ(steps, ".n....n.");
    EXPECT_EQ(sitting.Grades().size(), 8u);
    EXPECT_TRUE(PassageAyehs(2, 6, 1, 6, SmallBook(), WordsOf).empty());
    EXPECT_TRUE(PassageAyehs(1, 8, 2, 6, SmallBook(), WordsOf).empty());
}

TEST(SittingPassage, OverWhatIsDueFollowsTheDueListPageByPage) {
    const std::vector<DuePage> due = {{1, {{1, 2, {}}, {1, 5, {}}}}, {3, {{2, 6, {}}}}};
    EXPECT_EQ(DueAyehs(due, WordsOf),
              (std::vector<SittingAyeh>{{1, 2, 1, 12}, {1, 5, 1, 15}, {2, 6, 3, 26}}));
}

using SittingRecord = LearnerFileTest;

TEST_F(SittingRecord, AGradeIsRecordedBeforeTheSittingMovesOnAndAFailureKeepsItsPlace) {
    const auto data = OpenData();
    ASSERT_TRUE(data);
    MemorisationSitting sitting({{1, 7, 1, 3}, {1, 8, 1, 2}}, SittingHint::Nothing);
    EXPECT_EQ(GradeAndRecord(sitting, *data, Grade::Hard), SittingStep::SamePage);
    EXPECT_EQ(data->Review(1, 7)->Repetitions, 1);
    EXPECT_THROW(GradeAndRecord(sitting, *data, Grade::Good), LearningError); // 1:8 is no ayeh
    EXPECT_EQ(sitting.Position(), 1u);
    EXPECT_EQ(sitting.Grades(), std::vector<Grade>{Grade::Hard});
}

struct OptionsCase {
    const char* Name;
    const char* Hint;
    const char* Play;
    SittingOptions Expected;
};

void PrintTo(const OptionsCase& c, std::ostream* out) {
    *out << c.Name;
}

class SittingOptionsStored : public ::testing::TestWithParam<OptionsCase> {};

TEST_P(SittingOptionsStored, AreReadBackOrFallBackToTheDefault) {
    QTemporaryDir folder;
    ASSERT_TRUE(folder.isValid());
    const QString file = folder.filePath(QStringLiteral("settings.ini"));
    {
        QSettings settings(file, QSettings::IniFormat);
        WriteSittingOptions(settings, {SittingHint::FirstWord, true});
        const QString group = QString::fromLatin1(MemoriseGroup) + u'/';
        if (GetParam().Hint)
            settings.setValue(group + QLatin1String(MemoriseHintValue), QString::fromLatin1(GetParam().Hint));
        if (GetParam().Play)
            settings.setValue(group + QLatin1String(MemorisePlayRevealedValue),
                              QString::fromLatin1(GetParam().Play));
    }
    const QSettings settings(file, QSettings::IniFormat);
    EXPECT_EQ(ReadSittingOptions(settings), GetParam().Expected);
}

INSTANTIATE_TEST_SUITE_P(
    Stored, SittingOptionsStored,
    ::testing::Values(OptionsCase{"KeptForTheNextStart", nullptr, nullptr, {SittingHint::FirstWord, true}},
                      OptionsCase{"HintOutOfRange", "2", nullptr, {SittingHint::Nothing, true}},
                      OptionsCase{"HintNotANumber", "first", nullptr, {SittingHint::Nothing, true}},
                      OptionsCase{"PlayNotATruthValue", nullptr, "often", {SittingHint::FirstWord, false}}),
    [](const auto& row) { return std::string(row.param.Name); });

} // namespace
