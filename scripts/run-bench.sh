#!/usr/bin/env bash
# Runs every benchmark on the content in DATA and prints one table of figures against their
# targets (also written to BUILD/bench-results.md). Usage: run-bench.sh [BUILD] [DATA]
# Environment: BENCH_REPETITIONS (model benchmarks, default 7), BENCH_STARTS (default 7),
# BENCH_GAP_RUNS (default 2), BENCH_SKIP_BUILD_TEXT=1 to leave out the 604-page typesetting.
set -euo pipefail
build=${1:-build}
data=${2:-data}
cd "$(dirname "$0")/.."
build=$(cd "$build" && pwd)
data=$(cd "$data" && pwd)
export GOLVAR_BENCH_DATA="$data" QT_QPA_PLATFORM=offscreen
for tool in bench-model bench-mushaf bench-memorise bench-mushafview bench-startup bench-memory bench-gap golvar-content; do
    if [ ! -x "$build/$tool" ]; then
        echo "run-bench: $build/$tool is missing (libbenchmark-dev installed? tests enabled?)" >&2
        exit 1
    fi
done
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT

machine="$(nproc) cores, $(grep -m1 'model name' /proc/cpuinfo | cut -d: -f2 | sed 's/^ *//')"
echo "run-bench: $machine; load before: $(cut -d' ' -f1-3 /proc/loadavg)"

echo "== reading model (Google Benchmark)"
SDL_AUDIODRIVER=dummy "$build/bench-model" --benchmark_repetitions="${BENCH_REPETITIONS:-7}" \
    --benchmark_display_aggregates_only=true --benchmark_out="$work/model.json" --benchmark_out_format=json

echo "== the Mushaf page drawn from its glyphs (Google Benchmark)"
"$build/bench-mushaf" --benchmark_repetitions="${BENCH_REPETITIONS:-7}" \
    --benchmark_display_aggregates_only=true --benchmark_out="$work/mushaf.json" --benchmark_out_format=json

echo "== the memorisation windows (Google Benchmark)"
"$build/bench-memorise" --benchmark_repetitions="${BENCH_REPETITIONS:-7}" \
    --benchmark_display_aggregates_only=true --benchmark_out="$work/memorise.json" --benchmark_out_format=json

echo "== the Mushaf view (Google Benchmark)"
"$build/bench-mushafview" --benchmark_repetitions="${BENCH_REPETITIONS:-7}" \
    --benchmark_display_aggregates_only=true --benchmark_out="$work/mushafview.json" --benchmark_out_format=json

echo "== gap between recordings (main window, SDL disk driver)"
: > "$work/gap.txt"
for run in $(seq "${BENCH_GAP_RUNS:-2}"); do
    "$build/bench-gap" | tee -a "$work/gap.txt"
done

echo "== start-up"
SDL_AUDIODRIVER=dummy "$build/bench-startup" "${BENCH_STARTS:-7}" | tee "$work/startup.txt"

echo "== memory"
SDL_AUDIODRIVER=dummy "$build/bench-memory" | tee "$work/memory.txt"

if [ "${BENCH_SKIP_BUILD_TEXT:-0}" != 1 ]; then
    echo "== build-text of the 604 pages (once)"
    start=$(date +%s.%N)
    "$build/golvar-content" build-text "$work/text" > /dev/null
    end=$(date +%s.%N)
    echo "build_text_s $(echo "$end - $start" | bc)" | tee "$work/buildtext.txt"
else
    : > "$work/buildtext.txt"
fi
load="$(cut -d' ' -f1-3 /proc/loadavg)"

python3 scripts/bench-table.py "$work" "$machine" "$load" > "$build/bench-results.md"
cat "$build/bench-results.md"
