#!/usr/bin/env bash
# clang-tidy with the checks of .clang-tidy over the production sources (every library and
# program; not the tests, the benchmarks or the fuzz targets), with the build's
# compile_commands.json, one file per core. Any finding fails the run.
# Usage: lint.sh [BUILD]; the build must be configured and built (the generated moc headers).
set -euo pipefail
build=${1:-build}
cd "$(dirname "$0")/.."
root=$(pwd)
build=$(cd "$build" && pwd)
if [ ! -f "$build/compile_commands.json" ]; then
    echo "lint: $build/compile_commands.json is missing; configure the build first" >&2
    exit 1
fi
# Sources of the tree only: the build's own (moc, resources) and the test-side folders are left out.
skip="tests/|bench/|fuzz/"
case "$build/" in
    "$root"/*) skip="$skip|${build#"$root"/}/" ;;
esac
log=$(mktemp)
trap 'rm -f "$log"' EXIT
start=$(date +%s)
status=0
run-clang-tidy -quiet -p "$build" -j "${JOBS:-$(nproc)}" "^$root/(?!$skip)[^/]+/.*\\.cpp\$" >"$log" 2>&1 || status=$?
# clang-tidy's counts of the warnings it suppressed in library headers are noise.
grep -v -E '^[0-9]+ warnings? (and [0-9]+ errors? )?generated\.$|^Suppressed [0-9]+ warnings|^Use -header-filter|^clang-tidy-?[0-9]* .*-p=|^Running clang-tidy' "$log" || true
echo "lint: $(($(date +%s) - start)) s, $([ "$status" = 0 ] && echo clean || echo FAILED)"
exit "$status"
