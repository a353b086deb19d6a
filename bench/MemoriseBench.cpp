// The memorisation windows: drawing the progress map of the 604 pages, and opening the due
// list («مرور امروز») over a learner's file in which all 6236 ayehs are graded and due. The
// ayehs lie on the pages in Mushaf order, ten or eleven a page, so that no content is needed.
#include "bench/BenchLearner.h"
#include "bench/BenchSupport.h"
#include "content/MushafCounts.h"
#include "learning/LearnerCsv.h"
#include "learning/LearnerData.h"
#include "learning/ReviewPlan.h"
#include "memorise/DueDialog.h"
#include "memorise/ProgressMapView.h"

#include <QApplication>
#include <QDir>
#include <QFile>
#include <QImage>
#include <QPainter>
#include <QTimeZone>
#include <algorithm>
#include <benchmark/benchmark.h>
#include <chrono>
#include <cstdio>
#include <cstdlib>

namespace {

using Learner = BenchLearner;

// The ayehs lie on the pages in Mushaf order, ten or eleven a page.
Learner& TheLearner() {
    static Learner& learner = []() -> Learner& {
        Learner& made = GradedLearner();
        int index = 0;
        for (int soureh = 1; soureh <= SourehCount; ++soureh)
            for (int ayeh = 1; ayeh <= NumberOfAyehs(soureh); ++ayeh, ++index)
                made.Pages.Set(soureh, ayeh, 1 + index * PageCount / TotalAyehCount);
        return made;
    }();
    return learner;
}

template <typename Step> void MeasureMedian(benchmark::State& state, Step step) {
    std::vector<double> each;
    for (auto _ : state) {
        const auto start = std::chrono::steady_clock::now();
        step();
        each.push_back(
            std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - start).count());
    }
    std::nth_element(each.begin(), each.begin() + std::ptrdiff_t(each.size() / 2), each.end());
    state.counters["median_ms"] = each[each.size() / 2];
}

// The map of the pages, numbered, at the size the window gives it, into an image as the
// window's backing store would take it.
void BM_DrawProgressMap(benchmark::State& state) {
    Learner& learner = TheLearner();
    TProgressMapView view;
    view.resize(view.sizeHint());
    view.SetMap(MakeProgressMap(learner.Data->Reviews(), learner.Pages, learner.Data->Today()));
    QImage image(view.size(), QImage::Format_ARGB32_Premultiplied);
    MeasureMedian(state, [&] {
        QPainter painter(&image);
        view.render(&painter);
    });
}
BENCHMARK(BM_DrawProgressMap)->Unit(benchmark::kMillisecond);

// From the command to the dialog drawn: the states read, the due ayehs grouped by page, the
// table filled and the dialog painted once.
void BM_OpenDueDialog(benchmark::State& state) {
    Learner& learner = TheLearner();
    size_t rows = 0;
    MeasureMedian(state, [&] {
        TDueDialog dialog(nullptr, DueToday(learner.Data->Reviews(), learner.Pages, learner.Data->Today()),
                          {});
        benchmark::DoNotOptimize(dialog.grab());
        rows = size_t(dialog.Due().size());
    });
    state.counters["due_pages"] = double(rows);
}
BENCHMARK(BM_OpenDueDialog)->Unit(benchmark::kMillisecond);

} // namespace

int main(int argc, char** argv) {
    PrivateHome home;
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication application(argc, argv);
    benchmark::Initialize(&argc, argv);
    if (benchmark::ReportUnrecognizedArguments(argc, argv))
        return 1;
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
