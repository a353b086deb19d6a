// The progress window: the map's colours by state and its clicks, the CSV round trip through
// the window, a failed import changing nothing, and a damaged learner's file.
#include "content/MushafCounts.h"
#include "memorise/ProgressMapView.h"
#include "memorise/ProgressWindow.h"
#include "model/AyehSearch.h"
#include "tests/learning/LearningTestSupport.h"

#include <QFile>
#include <QLabel>
#include <QListWidget>
#include <QPushButton>
#include <QRadioButton>
#include <QSignalSpy>
#include <QTest>
#include <algorithm>
#include <tuple>

namespace {

constexpr int Today = 2461000;

// Soureh 1 on page 1, soureh 2's first five ayehs on page 2, every other ayeh on the pages
// after them in turn, ten a page.
AyehPages TestPages() {
    AyehPages pages;
    int index = 0;
    for (int s = 1; s <= SourehCount; ++s)
        for (int a = 1; a <= NumberOfAyehs(s); ++a, ++index)
            pages.Set(s, a,
                      s == 1               ? 1
                      : (s == 2 && a <= 5) ? 2
                                           : std::min(LastPageID, 3 + (index - 12) / 10));
    return pages;
}

ReviewState Memorised() {
    return {5, 2600, 40, Today - 5, Today + 35};
}
ReviewState Learning() {
    return {1, 2500, 1, Today, Today + 1};
}
ReviewState Overdue() {
    return {2, 2500, 6, Today - 8, Today - 2};
}

// Fatiha memorised, soureh 2's ayeh 3 due and its ayeh 4 learning, the ayehs of page 3
// learning; nothing else.
std::vector<AyehReview> TestReviews() {
    std::vector<AyehReview> reviews;
    for (int a = 1; a <= 7; ++a)
        reviews.push_back({1, a, Memorised()});
    reviews.push_back({2, 3, Overdue()});
    reviews.push_back({2, 4, Learning()});
    for (int a = 6; a <= 15; ++a)
        reviews.push_back({2, a, Learning()});
    return reviews;
}

struct CellCase {
    const char* Name;
    ProgressUnit Unit;
    int Number;
    Progress Expected;
};

void PrintTo(const CellCase& c, std::ostream* out) {
    *out << c.Name;
}

class MapCell : public ::testing::TestWithParam<CellCase> {
protected:
    void SetUp() override {
        View.resize(500, 700);
        View.SetMap(MakeProgressMap(TestReviews(), Pages, Today));
        View.SetUnit(GetParam().Unit);
    }
    AyehPages Pages = TestPages();
    TProgressMapView View;
};

TEST_P(MapCell, IsPaintedInItsStatesColour) {
    const QImage picture = View.grab().toImage();
    const QRect cell = View.CellRect(GetParam().Number);
    ASSERT_FALSE(cell.isEmpty());
    // A corner pixel: the cell's number is drawn in its middle.
    EXPECT_EQ(picture.pixelColor(cell.topLeft() + QPoint(1, 1)), ProgressColour(GetParam().Expected));
}

TEST_P(MapCell, ClickAsksForThatCell) {
    QSignalSpy pages(&View, &TProgressMapView::PageChosen);
    QSignalSpy sourehs(&View, &TProgressMapView::SourehChosen);
    QTest::mouseClick(&View, Qt::LeftButton, {}, View.CellRect(GetParam().Number).center());
    QSignalSpy& asked = GetParam().Unit == ProgressUnit::Pages ? pages : sourehs;
    QSignalSpy& other = GetParam().Unit == ProgressUnit::Pages ? sourehs : pages;
    ASSERT_EQ(asked.count(), 1);
    EXPECT_EQ(asked.at(0).at(0).toInt(), GetParam().Number);
    EXPECT_EQ(other.count(), 0);
}

INSTANTIATE_TEST_SUITE_P(
    Progress, MapCell,
    ::testing::Values(CellCase{"PageAllMemorised", ProgressUnit::Pages, 1, Progress::Memorised},
                      CellCase{"PageOneAyehDue", ProgressUnit::Pages, 2, Progress::Due},
                      CellCase{"PageLearning", ProgressUnit::Pages, 3, Progress::Learning},
                      CellCase{"PageUntouched", ProgressUnit::Pages, 4, Progress::NotStarted},
                      CellCase{"LastPage", ProgressUnit::Pages, LastPageID, Progress::NotStarted},
                      CellCase{"SourehMemorised", ProgressUnit::Sourehs, 1, Progress::Memorised},
                      CellCase{"SourehDue", ProgressUnit::Sourehs, 2, Progress::Due},
                      CellCase{"SourehUntouched", ProgressUnit::Sourehs, SourehCount, Progress::NotStarted}),
    [](const auto& row) { return std::string(row.param.Name); });

TEST(ProgressMap, ReadsRightToLeftThenDownAndIgnoresTheMargin) {
    TProgressMapView view;
    view.resize(500, 700);
    EXPECT_GT(view.CellRect(1).left(), view.CellRect(2).right());
    EXPECT_GT(view.CellRect(40).top(), view.CellRect(1).bottom());
    QSignalSpy pages(&view, &TProgressMapView::PageChosen);
    QTest::mouseClick(&view, Qt::LeftButton, {}, QPoint(1, 1));
    QTest::mouseClick(&view, Qt::LeftButton, {}, QPoint(view.width() - 1, view.height() - 1));
    EXPECT_EQ(pages.count(), 0);
}

class ProgressWindowTest : public LearnerFileTest {
protected:
    QString Csv() const { return Dir.filePath(QStringLiteral("out.csv")); }
    AyehPages Pages = TestPages();
};

TEST_F(ProgressWindowTest, CsvRoundTripCarriesTheMapAndTheNotes) {
    std::unique_ptr<LearnerData> first = OpenData();
    const std::tuple<int, int, Grade> grades[] = {
        {1, 1, Grade::Good}, {1, 2, Grade::Forgot}, {2, 3, Grade::Easy}};
    for (const auto& [s, a, g] : grades)
        first->RecordGrade(s, a, g);
    first->SetNote(2, 3, QStringLiteral("وقف، \"سه\"\nخط دوم"));
    TProgressWindow from(nullptr, first.get(), Pages, {});
    ASSERT_TRUE(from.ExportTo(Csv()).Ok);

    const QString otherPath = Dir.filePath(QStringLiteral("other.db"));
    LearnerOpening other = LearnerData::Open(otherPath, Clock);
    ASSERT_TRUE(other.Data);
    TProgressWindow to(nullptr, other.Data.get(), Pages, {});
    const TProgressWindow::Outcome imported = to.ImportFrom(Csv());
    ASSERT_TRUE(imported.Ok) << imported.Message.toStdString();
    EXPECT_EQ(to.Map->Map().Pages, from.Map->Map().Pages);
    EXPECT_EQ(to.Map->Map().AyehCounts.ByState, from.Map->Map().AyehCounts.ByState);
    EXPECT_EQ(other.Data->Notes(), first->Notes());
    EXPECT_EQ(to.NotesList->count(), 1);
}

TEST_F(ProgressWindowTest, FailedImportIsToldAndChangesNothing) {
    std::unique_ptr<LearnerData> data = OpenData();
    data->RecordGrade(1, 1, Grade::Good);
    TProgressWindow window(nullptr, data.get(), Pages, {});
    const std::vector<Progress> before = window.Map->Map().Pages;
    QFile bad(Csv());
    ASSERT_TRUE(bad.open(QIODevice::WriteOnly));
    bad.write("kind,soureh,ayeh,time,grade,note\r\ngrade,1,2,2026-03-20T09:00:00.000+03:30,3,\r\n"
              "grade,1,3,yesterday,3,\r\n");
    bad.close();
    const TProgressWindow::Outcome outcome = window.ImportFrom(Csv());
    EXPECT_FALSE(outcome.Ok);
    EXPECT_TRUE(outcome.Message.contains(QStringLiteral("3"))) << outcome.Message.toStdString();
    EXPECT_EQ(data->Grades().size(), 1u);
    window.Refresh();
    EXPECT_EQ(window.Map->Map().Pages, before);
}

TEST_F(ProgressWindowTest, DamagedFileIsToldAndGivesAnEmptyPlan) {
    QFile damaged(Path());
    ASSERT_TRUE(damaged.open(QIODevice::WriteOnly));
    damaged.write(QByteArray(8192, 'x'));
    damaged.close();
    LearnerOpening opening = LearnerData::Open(Path(), Clock);
    ASSERT_EQ(opening.Result, LearnerOpening::Outcome::MovedAside);
    TProgressWindow window(nullptr, opening.Data.get(), Pages, {}, opening.Message);
    EXPECT_FALSE(window.Notice->text().isEmpty());
    EXPECT_EQ(window.Notice->text(), opening.Message);
    EXPECT_EQ(window.Map->Map().PageCounts[Progress::NotStarted], PageCount);
    EXPECT_TRUE(window.ExportButton->isEnabled());
}

TEST_F(ProgressWindowTest, WithoutDataTheWindowSaysSoAndOffersNoCsv) {
    TProgressWindow window(nullptr, nullptr, Pages, {});
    EXPECT_FALSE(window.Notice->text().isEmpty());
    EXPECT_FALSE(window.ImportButton->isEnabled());
    EXPECT_FALSE(window.ImportFrom(Csv()).Ok);
}

TEST_F(ProgressWindowTest, TheToggleCountsSourehsInsteadOfPages) {
    std::unique_ptr<LearnerData> data = OpenData();
    data->RecordGrade(2, 1, Grade::Good);
    TProgressWindow window(nullptr, data.get(), Pages, {});
    const QLabel* untouched = window.Counts[size_t(Progress::NotStarted)];
    EXPECT_TRUE(untouched->text().contains(PersianNumber(PageCount - 1))) << untouched->text().toStdString();
    window.BySoureh->setChecked(true);
    EXPECT_EQ(window.Map->Unit(), ProgressUnit::Sourehs);
    EXPECT_TRUE(untouched->text().contains(PersianNumber(SourehCount - 1)))
        << untouched->text().toStdString();
}

} // namespace
