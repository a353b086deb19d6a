// Finding an ayeh by its words, as every keystroke in the search dialog does: each of the
// 6236 ayehs' Arabic text and translation searched, the matches ranked and cut to the list's
// limit; and reading the texts at the first search.
#include "bench/BenchSupport.h"
#include "content/Database.h"
#include "model/AyehSearch.h"

#include <benchmark/benchmark.h>
#include <memory>

namespace {

const TAyehIndex& TheIndex() {
    static const std::unique_ptr<TAyehIndex> index = TAyehIndex::Load(*OpenContentQuran());
    return *index;
}

void BM_Search(benchmark::State& state, const char16_t* words) {
    const TAyehIndex& index = TheIndex();
    if (!index.HasArabicText()) {
        state.SkipWithError("quran.dat has no AyehText table; run `make content`");
        return;
    }
    const QString query = QString::fromUtf16(words);
    int total = 0;
    for (auto _ : state) {
        const TSearchResult result = index.Search(query);
        benchmark::DoNotOptimize(result.Hits.data());
        total = result.Total;
    }
    state.counters["matches"] = total;
}
// A rare word, a word in most ayehs, a Persian word of the translation, three words, and the
// first letter typed, which matches nearly every ayeh.
BENCHMARK_CAPTURE(BM_Search, RareWord, u"الكرسي")->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(BM_Search, CommonWord, u"الله")->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(BM_Search, PersianWord, u"پروردگار")->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(BM_Search, ThreeWords, u"الله لا إله")->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(BM_Search, OneLetter, u"م")->Unit(benchmark::kMillisecond);

void BM_LoadSearchIndex(benchmark::State& state) {
    const std::unique_ptr<Connection> quran = OpenContentQuran();
    for (auto _ : state)
        benchmark::DoNotOptimize(TAyehIndex::Load(*quran).get());
}
BENCHMARK(BM_LoadSearchIndex)->Unit(benchmark::kMillisecond)->Iterations(5);

} // namespace
