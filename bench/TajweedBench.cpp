// The tajweed rules of the whole book, as a view that colours every page would compute them:
// the spans of all 6236 ayehs' texts.
#include "bench/BenchSupport.h"
#include "content/Database.h"
#include "tajweed/TajweedRules.h"

#include <benchmark/benchmark.h>
#include <vector>

namespace {

const std::vector<QString>& BookTexts() {
    static const std::vector<QString> texts = [] {
        std::vector<QString> read;
        const std::unique_ptr<Connection> quran = OpenContentQuran();
        ResultSet rows(*quran, Statements::AyehTexts());
        for (rows.First(); !rows.Eof(); rows.Next())
            read.push_back(rows.FieldByName("Text").AsString());
        return read;
    }();
    return texts;
}

void BM_TajweedWholeBook(benchmark::State& state) {
    const std::vector<QString>& texts = BookTexts();
    if (texts.empty()) {
        state.SkipWithError("quran.dat has no AyehText rows; run `make content`");
        return;
    }
    size_t spans = 0;
    for (auto _ : state) {
        spans = 0;
        for (const QString& text : texts)
            spans += FindTajweedSpans(text).size();
        benchmark::DoNotOptimize(spans);
    }
    state.counters["ayehs"] = double(texts.size());
    state.counters["spans"] = double(spans);
}
BENCHMARK(BM_TajweedWholeBook)->Unit(benchmark::kMillisecond);

} // namespace
