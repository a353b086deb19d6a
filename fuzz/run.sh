#!/usr/bin/env bash
# Runs each libFuzzer target for a set time: fuzz/run.sh <build-dir> <seconds> [target...]
# Each target grows its corpus in <build-dir>/corpus/<target> from the seeds in fuzz/seeds/<target>;
# a crashing input lands in <build-dir>/artifacts/<target>/ and makes the run fail. Copy it into
# tests/hardening/corpus/<target>/ so that the test suite replays it from then on.
set -euo pipefail
build=${1:?build folder}
seconds=${2:-60}
shift 2 || true
targets=("$@")
[ ${#targets[@]} -gt 0 ] || targets=(page_blob wav connection_string filter)
cd "$(dirname "$0")/.."
status=0
for target in "${targets[@]}"; do
    corpus="$build/corpus/$target"
    artifacts="$build/artifacts/$target"
    mkdir -p "$corpus" "$artifacts"
    echo "== fuzz_$target for ${seconds}s"
    # The saved regression inputs seed the run as well, so it starts from what once failed.
    seeds=("fuzz/seeds/$target")
    [ -d "tests/hardening/corpus/$target" ] && seeds+=("tests/hardening/corpus/$target")
    if ! "$build/fuzz_$target" "$corpus" "${seeds[@]}" -max_total_time="$seconds" -rss_limit_mb=2048 \
        -timeout=20 -print_final_stats=1 -artifact_prefix="$artifacts/" \
        2>"$build/fuzz_$target.log"; then
        status=1
        echo "fuzz_$target found a failure: see $build/fuzz_$target.log and $artifacts/"
    fi
    grep -E '^stat::(number_of_executed_units|peak_rss_mb)|^Done' "$build/fuzz_$target.log" || true
done
exit $status
