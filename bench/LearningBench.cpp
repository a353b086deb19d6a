// The learner's paths: recording a grade (one transaction, synced to disk) and opening the
// due list, on a learner's file in which all 6236 ayehs are graded and due.
#include "bench/BenchLearner.h"
#include "bench/BenchSupport.h"
#include "content/ContentKeys.h"
#include "content/Database.h"
#include "content/MushafCounts.h"
#include "learning/LearnerCsv.h"
#include "learning/LearnerData.h"
#include "learning/ReviewPlan.h"

#include <QDir>
#include <QFile>
#include <QTimeZone>
#include <algorithm>
#include <benchmark/benchmark.h>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <memory>
#include <vector>

namespace {

using Learner = BenchLearner;

// The ayehs on the pages of the content's print.
Learner& TheLearner() {
    static Learner& learner = []() -> Learner& {
        Learner& made = GradedLearner();
        const QString previous = QDir::currentPath();
        QDir::setCurrent(ContentFolder());
        made.Pages = ReadAyehPages(Connection(QuranConnectionString));
        QDir::setCurrent(previous);
        return made;
    }();
    return learner;
}

void BM_RecordGrade(benchmark::State& state) {
    Learner& learner = TheLearner();
    std::vector<double> each;
    int ayeh = 0;
    for (auto _ : state) {
        const auto start = std::chrono::steady_clock::now();
        learner.Data->RecordGrade(2, ayeh % NumberOfAyehs(2) + 1, Grade::Good);
        each.push_back(
            std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - start).count());
        ++ayeh;
    }
    std::nth_element(each.begin(), each.begin() + std::ptrdiff_t(each.size() / 2), each.end());
    state.counters["median_ms"] = each[each.size() / 2];
}
BENCHMARK(BM_RecordGrade)->Unit(benchmark::kMillisecond);

// What «مرور امروز» waits for: every ayeh's state read and the due ones grouped by page.
void BM_OpenDueList(benchmark::State& state) {
    Learner& learner = TheLearner();
    size_t due = 0;
    for (auto _ : state) {
        const std::vector<DuePage> pages =
            DueToday(learner.Data->Reviews(), learner.Pages, learner.Data->Today());
        due = 0;
        for (const DuePage& page : pages)
            due += page.Ayehs.size();
        benchmark::DoNotOptimize(due);
    }
    state.counters["due_ayehs"] = double(due);
}
BENCHMARK(BM_OpenDueList)->Unit(benchmark::kMillisecond);

// The states behind the progress map's 604 pages and 114 sourehs.
void BM_ProgressMap(benchmark::State& state) {
    Learner& learner = TheLearner();
    for (auto _ : state)
        benchmark::DoNotOptimize(
            MakeProgressMap(learner.Data->Reviews(), learner.Pages, learner.Data->Today()).Pages.data());
}
BENCHMARK(BM_ProgressMap)->Unit(benchmark::kMillisecond);

// Once a session: every ayeh's page from quran.dat.
void BM_ReadAyehPages(benchmark::State& state) {
    const QString previous = QDir::currentPath();
    QDir::setCurrent(ContentFolder());
    const Connection quran(QuranConnectionString);
    QDir::setCurrent(previous);
    for (auto _ : state)
        benchmark::DoNotOptimize(ReadAyehPages(quran).PageOf(114, 6));
}
BENCHMARK(BM_ReadAyehPages)->Unit(benchmark::kMillisecond);

} // namespace
