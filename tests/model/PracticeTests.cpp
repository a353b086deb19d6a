// The practice plan kept in the settings file: what a damaged entry falls back to, and the
// pause each kind of plan leaves after a recording.
#include "content/ContentKeys.h"
#include "model/Practice.h"

#include <QSettings>
#include <QTemporaryDir>
#include <functional>
#include <gtest/gtest.h>
#include <ostream>
#include <string>

namespace {

// A plan unlike the default in every value.
PracticePlan Kept() {
    PracticePlan plan;
    plan.FromSoureh = 2;
    plan.FromAyeh = 255;
    plan.ToSoureh = 3;
    plan.ToAyeh = 4;
    plan.Rounds = EndlessRounds;
    plan.Pause = PracticePause::TwiceAyehLength;
    plan.PauseSeconds = 12;
    return plan;
}

QString Key(const char* value) {
    return QString::fromLatin1(PracticeGroup) + u'/' + QString::fromLatin1(value);
}

struct StoredCase {
    const char* Name;
    // What is left in the file after Kept() was written; null leaves it as written.
    std::function<void(QSettings&)> Damage;
    std::function<void(PracticePlan&)> Expected;
};

void PrintTo(const StoredCase& c, std::ostream* out) {
    *out << c.Name;
}

class PracticeSettingsTest : public ::testing::TestWithParam<StoredCase> {};

TEST_P(PracticeSettingsTest, ReadsWhatIsSoundAndFallsBackForWhatIsNot) {
    QTemporaryDir folder;
    ASSERT_TRUE(folder.isValid());
    const QString file = folder.filePath(QStringLiteral("settings.ini"));
    {
        QSettings settings(file, QSettings::IniFormat);
        WritePracticePlan(settings, Kept());
        if (GetParam().Damage)
            GetParam().Damage(settings);
    }
    // A fresh reader, as at the next start.
    const QSettings settings(file, QSettings::IniFormat);
    PracticePlan expected = Kept();
    if (GetParam().Expected)
        GetParam().Expected(expected);
    EXPECT_TRUE(ReadPracticePlan(settings) == expected);
}

const PracticePlan Default;

void DefaultPassage(PracticePlan& p) {
    p.FromSoureh = Default.FromSoureh;
    p.FromAyeh = Default.FromAyeh;
    p.ToSoureh = Default.ToSoureh;
    p.ToAyeh = Default.ToAyeh;
}

INSTANTIATE_TEST_SUITE_P(
    Stored, PracticeSettingsTest,
    ::testing::Values(
        StoredCase{"KeptForTheNextStart", nullptr, nullptr},
        StoredCase{"NothingStoredGivesTheDefault", [](QSettings& s) { s.remove(PracticeGroup); },
                   [](PracticePlan& p) { p = Default; }},
        StoredCase{"RoundsNotANumber", [](QSettings& s) { s.setValue(Key(PracticeRoundsValue), "viele"); },
                   [](PracticePlan& p) { p.Rounds = Default.Rounds; }},
        StoredCase{"RoundsBeyondTheMost", [](QSettings& s) { s.setValue(Key(PracticeRoundsValue), 100); },
                   [](PracticePlan& p) { p.Rounds = Default.Rounds; }},
        StoredCase{"AnUnknownPause", [](QSettings& s) { s.setValue(Key(PracticePauseValue), 7); },
                   [](PracticePlan& p) { p.Pause = Default.Pause; }},
        StoredCase{"PauseSecondsBelowTheFewest",
                   [](QSettings& s) { s.setValue(Key(PracticePauseSecondsValue), 0); },
                   [](PracticePlan& p) { p.PauseSeconds = Default.PauseSeconds; }},
        StoredCase{"AnEndBeforeTheStartGivesTheDefaultPassage",
                   [](QSettings& s) { s.setValue(Key(PracticeToSourehValue), 1); }, DefaultPassage},
        StoredCase{"AnAyehTheSourehDoesNotHaveGivesTheDefaultPassage",
                   [](QSettings& s) { s.setValue(Key(PracticeToAyehValue), 201); }, DefaultPassage}),
    [](const ::testing::TestParamInfo<StoredCase>& testCase) { return std::string(testCase.param.Name); });

struct PauseCase {
    const char* Name;
    PracticePause Pause;
    int Soureh;
    qint64 Expected;
};

void PrintTo(const PauseCase& c, std::ostream* out) {
    *out << c.Name;
}

class PracticePauseTest : public ::testing::TestWithParam<PauseCase> {};

TEST_P(PracticePauseTest, FollowsARecordingOf3200Milliseconds) {
    PracticePlan plan;
    plan.Pause = GetParam().Pause;
    plan.PauseSeconds = 4;
    EXPECT_EQ(PracticePauseMs(plan, GetParam().Soureh, 3200), GetParam().Expected);
}

INSTANTIATE_TEST_SUITE_P(Pauses, PracticePauseTest,
                         ::testing::Values(PauseCase{"None", PracticePause::None, 2, 0},
                                           PauseCase{"Fixed", PracticePause::Fixed, 2, 4000},
                                           PauseCase{"AsLongAsTheAyeh", PracticePause::AyehLength, 2, 3200},
                                           PauseCase{"TwiceAsLong", PracticePause::TwiceAyehLength, 2, 6400},
                                           PauseCase{"NoneAfterTheBismillah", PracticePause::Fixed, 0, 0}),
                         [](const ::testing::TestParamInfo<PauseCase>& testCase) {
                             return std::string(testCase.param.Name);
                         });

} // namespace
