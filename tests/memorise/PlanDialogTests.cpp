// The due list over a plan and the note dialog with the tooltip it feeds.
#include "memorise/DueDialog.h"
#include "memorise/NoteDialog.h"
#include "model/AyehSearch.h"
#include "tests/learning/LearningTestSupport.h"

#include <QAbstractItemModel>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QSignalSpy>
#include <QTableView>

namespace {

AyehReview DueOn(int soureh, int ayeh, int day) {
    return {soureh, ayeh, ReviewState{1, 2500, 1, day - 1, day}};
}

struct DueRowCase {
    const char* Name;
    std::vector<std::pair<int, int>> Ayehs; // soureh, ayeh, all on one page
    std::vector<int> Runs;                  // first and last of each run, soureh after soureh
    int Sourehs;
};

void PrintTo(const DueRowCase& c, std::ostream* out) {
    *out << c.Name;
}

class DuePageRow : public ::testing::TestWithParam<DueRowCase> {};

TEST_P(DuePageRow, NamesItsSourehsAndRunsOfAyehs) {
    const QStringList names = {QStringLiteral("الف"), QStringLiteral("ب"), QStringLiteral("ج")};
    DuePage page{7, {}};
    for (const auto& [s, a] : GetParam().Ayehs)
        page.Ayehs.push_back(DueOn(s, a, 10));
    const DueRow row = DescribeDuePage(page, names);
    EXPECT_EQ(row.Page, PersianNumber(7));
    EXPECT_EQ(row.Count, PersianNumber(int(GetParam().Ayehs.size())));
    EXPECT_EQ(row.Sourehs.split(QStringLiteral("، ")).size(), GetParam().Sourehs);
    // Each run once, as "first–last" or a single number, in order.
    qsizetype at = 0;
    const std::vector<int>& runs = GetParam().Runs;
    for (size_t i = 0; i < runs.size(); i += 2) {
        const QString run = runs[i] == runs[i + 1]
                                ? PersianNumber(runs[i])
                                : PersianNumber(runs[i]) + QChar(0x2013) + PersianNumber(runs[i + 1]);
        const qsizetype found = row.Ayehs.indexOf(run, at);
        ASSERT_GE(found, at) << row.Ayehs.toStdString();
        at = found + run.size();
    }
}

INSTANTIATE_TEST_SUITE_P(
    Due, DuePageRow,
    ::testing::Values(DueRowCase{"OneAyeh", {{2, 5}}, {5, 5}, 1},
                      DueRowCase{"OneRun", {{1, 1}, {1, 2}, {1, 3}}, {1, 3}, 1},
                      DueRowCase{"Gaps", {{1, 1}, {1, 2}, {1, 4}, {1, 6}, {1, 7}}, {1, 2, 4, 4, 6, 7}, 1},
                      DueRowCase{"TwoSourehs", {{2, 285}, {2, 286}, {3, 1}}, {285, 286, 1, 1}, 2}),
    [](const auto& row) { return std::string(row.param.Name); });

TEST(DueDialog, ListsThePlanPageByPageAndStartsOverAllOfIt) {
    AyehPages pages;
    pages.Set(1, 1, 1);
    pages.Set(1, 2, 1);
    pages.Set(2, 6, 3);
    pages.Set(2, 7, 3);
    const int today = 100;
    const std::vector<AyehReview> reviews = {DueOn(1, 1, today), DueOn(1, 2, today + 1),
                                             DueOn(2, 6, today - 3), DueOn(2, 7, today)};
    TDueDialog dialog(nullptr, DueToday(reviews, pages, today), {});
    const QAbstractItemModel& rows = *dialog.Table->model();
    const auto cell = [&](int row, int column) { return rows.index(row, column).data().toString(); };
    ASSERT_EQ(rows.rowCount(), 2);
    EXPECT_EQ(cell(0, 0), PersianNumber(1));
    EXPECT_EQ(cell(0, 3), PersianNumber(1));
    EXPECT_EQ(cell(1, 0), PersianNumber(3));
    EXPECT_EQ(cell(1, 3), PersianNumber(2));

    QSignalSpy started(&dialog, &TDueDialog::StartRequested);
    dialog.StartButton->click();
    ASSERT_EQ(started.count(), 1);
    const auto due = started.at(0).at(0).value<std::vector<DuePage>>();
    std::vector<std::pair<int, int>> ayehs;
    for (const DuePage& page : due)
        for (const AyehReview& ayeh : page.Ayehs)
            ayehs.emplace_back(ayeh.SourehID, ayeh.AyehID);
    EXPECT_EQ(ayehs, (std::vector<std::pair<int, int>>{{1, 1}, {2, 6}, {2, 7}}));
}

TEST(DueDialog, NothingDueOffersNoStart) {
    TDueDialog dialog(nullptr, {}, {});
    EXPECT_EQ(dialog.Table->model()->rowCount(), 0);
    EXPECT_FALSE(dialog.StartButton->isEnabled());
}

class NoteDialogTest : public LearnerFileTest {};

TEST_F(NoteDialogTest, SavesChangesAndRemovesTheAyehsNote) {
    std::unique_ptr<LearnerData> data = OpenData();
    const QString first = QStringLiteral("ادغام در «من يعمل» رعایت نشد");
    const QString second = QStringLiteral("مد لازم کوتاه خوانده شد");
    const struct {
        QString Typed;
        bool Remove;
        QString Kept;
    } steps[] = {{first, false, first},
                 {second, false, second},
                 {QStringLiteral("  \n "), false, QString()},
                 {first, false, first},
                 {second, true, QString()}};
    for (const auto& step : steps) {
        TNoteDialog dialog(nullptr, *data, 2, 255, QStringLiteral("بقره"));
        dialog.Text->setPlainText(step.Typed);
        EXPECT_TRUE(step.Remove ? dialog.Remove() : dialog.Save());
        EXPECT_EQ(data->Note(2, 255), step.Kept);
        EXPECT_TRUE(data->Note(2, 256).isEmpty());
    }
    data->SetNote(2, 255, first);
    TNoteDialog reopened(nullptr, *data, 2, 255, QStringLiteral("بقره"));
    EXPECT_EQ(reopened.Text->toPlainText(), first);
    EXPECT_TRUE(reopened.RemoveButton->isEnabled());
}

TEST(AyehTooltip, ShowsTheNoteBelowTheTranslation) {
    const QString translation = QStringLiteral("به نام خداوند بخشنده مهربان");
    const QString note = QStringLiteral("حرکت میم");
    const QString withNote = AyehTooltip(translation, note);
    EXPECT_TRUE(withNote.startsWith(translation));
    EXPECT_GT(withNote.indexOf(note), translation.size());
    EXPECT_EQ(AyehTooltip(translation, QString()), translation);
    EXPECT_EQ(AyehTooltip(translation, QStringLiteral(" \n")), translation);
    EXPECT_TRUE(AyehTooltip(QString(), note).contains(note));
}

} // namespace
