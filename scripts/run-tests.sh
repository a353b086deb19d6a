#!/usr/bin/env bash
# Runs the whole suite headless: no display, no sound card, no writes outside temporary folders.
set -euo pipefail
build=${1:-build}
cd "$(dirname "$0")/.."
runtime=$(mktemp -d /tmp/golvar-runtime.XXXXXX)
chmod 700 "$runtime"
trap 'rm -rf "$runtime"' EXIT
export XDG_RUNTIME_DIR="$runtime"
export QT_QPA_PLATFORM=offscreen
export SDL_AUDIODRIVER=dummy
ctest --test-dir "$build" --output-on-failure -j "$(nproc)" --timeout 600
