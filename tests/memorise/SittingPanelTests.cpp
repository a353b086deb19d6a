// The sitting panel's keys driving the sitting: words revealed and hidden, grades kept in the
// learner's data, the next ayeh and the page turn announced, the words left to hide, Escape
// ending it.
#include "memorise/SittingPanel.h"
#include "tests/learning/LearningTestSupport.h"

#include <QApplication>
#include <QKeyEvent>
#include <QLabel>
#include <QPushButton>
#include <QSignalSpy>
#include <QTest>
#include <functional>
#include <set>

namespace {

// Two ayehs on page 1, a third on page 2.
std::vector<SittingAyeh> Passage() {
    return {{1, 1, 1, 4}, {1, 2, 1, 3}, {1, 3, 2, 2}};
}

struct KeyCase {
    const char* Name;
    SittingHint Hint;
    std::vector<QKeyCombination> Keys; // Qt::Key_unknown stands for the Persian digit of "Text"
    const char* Text;
    size_t Position;
    int Shown;                   // of the ayeh at Position
    std::vector<Grade> Recorded; // the grades the data holds for ayehs 1, 2, 3 in order
    int PageTurns;
    bool Ended;
};

void PrintTo(const KeyCase& c, std::ostream* out) {
    *out << c.Name;
}

class PanelKeys : public LearnerFileTest, public ::testing::WithParamInterface<KeyCase> {};

TEST_P(PanelKeys, DriveTheSitting) {
    std::unique_ptr<LearnerData> data = OpenData();
    TSittingPanel panel(nullptr, Passage(), GetParam().Hint, data.get(), {});
    QSignalSpy turns(&panel, &TSittingPanel::PageTurnNeeded);
    QSignalSpy ended(&panel, &TSittingPanel::Ended);
    for (const QKeyCombination key : GetParam().Keys) {
        if (key.key() == Qt::Key_unknown)
            for (const QChar digit : QString::fromUtf8(GetParam().Text)) {
                // As a Persian keyboard layout sends it: the digit's own code and text.
                QKeyEvent press(QEvent::KeyPress, int(digit.unicode()), Qt::NoModifier, QString(digit));
                QApplication::sendEvent(&panel, &press);
            }
        else
            QTest::keyClick(&panel, key.key(), key.keyboardModifiers());
    }
    const MemorisationSitting& sitting = panel.Sitting();
    EXPECT_EQ(sitting.Position(), GetParam().Position);
    if (!sitting.Ended()) {
        EXPECT_EQ(sitting.ShownWords(sitting.Position()), GetParam().Shown);
    }
    std::vector<Grade> recorded;
    for (const GradeRecord& grade : data->Grades())
        recorded.push_back(grade.Value);
    EXPECT_EQ(recorded, GetParam().Recorded);
    EXPECT_EQ(turns.count(), GetParam().PageTurns);
    EXPECT_EQ(ended.count(), GetParam().Ended ? 1 : 0);
}

INSTANTIATE_TEST_SUITE_P(
    Sitting, PanelKeys,
    ::testing::Values(
        KeyCase{"SpaceAndLeftRevealWords",
                SittingHint::Nothing,
                {Qt::Key_Space, Qt::Key_Left},
                "",
                0,
                2,
                {},
                0,
                false},
        KeyCase{"RightStepsBack",
                SittingHint::Nothing,
                {Qt::Key_Space, Qt::Key_Space, Qt::Key_Right},
                "",
                0,
                1,
                {},
                0,
                false},
        KeyCase{"RightNeverHidesTheHint",
                SittingHint::FirstWord,
                {Qt::Key_Right, Qt::Key_Right},
                "",
                0,
                1,
                {},
                0,
                false},
        KeyCase{"EnterRevealsTheAyeh", SittingHint::Nothing, {Qt::Key_Return}, "", 0, 4, {}, 0, false},
        KeyCase{"RevealStopsAtTheLastWord",
                SittingHint::Nothing,
                {Qt::Key_Enter, Qt::Key_Space},
                "",
                0,
                4,
                {},
                0,
                false},
        KeyCase{"GradeGoesOnToTheNextAyeh",
                SittingHint::FirstWord,
                {Qt::Key_Return, Qt::Key_3},
                "",
                1,
                1,
                {Grade::Good},
                0,
                false},
        KeyCase{"PersianDigitsGrade",
                SittingHint::Nothing,
                {Qt::Key_unknown},
                "۱۴",
                2,
                0,
                {Grade::Forgot, Grade::Easy},
                1,
                false},
        KeyCase{"LastGradeEnds",
                SittingHint::Nothing,
                {Qt::Key_2, Qt::Key_4, Qt::Key_1},
                "",
                3,
                0,
                {Grade::Hard, Grade::Easy, Grade::Forgot},
                1,
                true},
        KeyCase{"EscapeEndsWithoutGrading",
                SittingHint::Nothing,
                {Qt::Key_Space, Qt::Key_Escape},
                "",
                3,
                0,
                {},
                0,
                true},
        KeyCase{
            "OtherDigitsDoNothing", SittingHint::Nothing, {Qt::Key_5, Qt::Key_0}, "", 0, 0, {}, 0, false}),
    [](const auto& row) { return std::string(row.param.Name); });

TEST(SittingPanel, AnnouncesEachAyehAndItsRevealedWords) {
    TSittingPanel panel(nullptr, Passage(), SittingHint::FirstWord, nullptr, {});
    QSignalSpy ayehs(&panel, &TSittingPanel::AyehChanged);
    QSignalSpy revealed(&panel, &TSittingPanel::RevealedChanged);
    panel.show();
    ASSERT_EQ(ayehs.count(), 1);
    EXPECT_EQ(revealed.takeLast(), (QList<QVariant>{1, 1, 1}));
    panel.RevealWord();
    EXPECT_EQ(revealed.takeLast(), (QList<QVariant>{1, 1, 2}));
    panel.GradeButtons[2]->click();
    EXPECT_EQ(ayehs.takeLast(), (QList<QVariant>{1, 2, 1}));
    EXPECT_EQ(revealed.takeLast(), (QList<QVariant>{1, 2, 1}));
    panel.GradeButtons[2]->click();
    EXPECT_EQ(ayehs.takeLast(), (QList<QVariant>{1, 3, 2}));
}

struct HiddenCase {
    const char* Name;
    SittingHint Hint;
    std::function<void(TSittingPanel&)> Steps;
    std::set<WordKey> Hidden;
};

void PrintTo(const HiddenCase& c, std::ostream* out) {
    *out << c.Name;
}

class PanelHiddenWords : public ::testing::TestWithParam<HiddenCase> {};

TEST_P(PanelHiddenWords, AreTheWordsNotYetSeen) {
    TSittingPanel panel(nullptr, Passage(), GetParam().Hint, nullptr, {});
    GetParam().Steps(panel);
    EXPECT_EQ(panel.HiddenWords(), GetParam().Hidden);
}

INSTANTIATE_TEST_SUITE_P(
    Hiding, PanelHiddenWords,
    ::testing::Values(
        HiddenCase{"AtTheStartAllOfThePassage",
                   SittingHint::Nothing,
                   [](TSittingPanel&) {},
                   {{1, 1, 1},
                    {1, 1, 2},
                    {1, 1, 3},
                    {1, 1, 4},
                    {1, 2, 1},
                    {1, 2, 2},
                    {1, 2, 3},
                    {1, 3, 1},
                    {1, 3, 2}}},
        HiddenCase{"TheHintKeepsEachAyehsFirstWord",
                   SittingHint::FirstWord,
                   [](TSittingPanel&) {},
                   {{1, 1, 2}, {1, 1, 3}, {1, 1, 4}, {1, 2, 2}, {1, 2, 3}, {1, 3, 2}}},
        HiddenCase{"ARevealShowsTheNextWordAndBackHidesIt",
                   SittingHint::Nothing,
                   [](TSittingPanel& p) {
                       p.RevealWord();
                       p.RevealWord();
                       p.StepBack();
                   },
                   {{1, 1, 2}, {1, 1, 3}, {1, 1, 4}, {1, 2, 1}, {1, 2, 2}, {1, 2, 3}, {1, 3, 1}, {1, 3, 2}}},
        HiddenCase{"AGradedAyehStaysShown",
                   SittingHint::FirstWord,
                   [](TSittingPanel& p) {
                       p.RevealAyeh();
                       p.GiveGrade(Grade::Good);
                       p.RevealWord();
                   },
                   {{1, 2, 3}, {1, 3, 2}}},
        HiddenCase{"TheEndShowsEverything", SittingHint::Nothing, [](TSittingPanel& p) { p.End(); }, {}}),
    [](const auto& row) { return std::string(row.param.Name); });

TEST_F(LearnerFileTest, GradeThatCannotBeKeptLeavesTheSittingAtItsAyeh) {
    std::unique_ptr<LearnerData> data = OpenData();
    // An ayeh the Mushaf does not have cannot be graded.
    TSittingPanel panel(nullptr, {{1, 8, 1, 3}, {2, 1, 2, 4}}, SittingHint::Nothing, data.get(), {});
    QTest::keyClick(&panel, Qt::Key_3);
    EXPECT_EQ(panel.Sitting().Position(), 0u);
    EXPECT_FALSE(panel.Error->isHidden());
    EXPECT_TRUE(data->Grades().empty());
}

} // namespace
