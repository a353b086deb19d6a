#!/usr/bin/env bash
# Makes the default content in the data folder with the content tool: quran.dat typeset from
# the public text, snd.wav with sample recordings, and the farewell sound beside them.
# A file is made again only when it is missing or older than the tool (or the artwork) it
# comes from, and the folder is checked with `golvar-content verify` until a check passes.
set -euo pipefail
build=${1:-build}
data=${2:-data}
cd "$(dirname "$0")/.."
mkdir -p "$data"

tool="$build/golvar-content"
if [ ! -x "$tool" ]; then
    echo "make-content: $tool is missing; build it first (make build)" >&2
    exit 1
fi

# stale FILE SOURCE: FILE is missing or older than SOURCE.
stale() { [ ! -e "$1" ] || [ "$2" -nt "$1" ]; }

changed=0
if stale "$data/quran.dat" "$tool"; then
    echo "make-content: typesetting $data/quran.dat"
    "$tool" build-text "$data"
    changed=1
fi
if stale "$data/snd.wav" "$tool"; then
    echo "make-content: making the sample recordings $data/snd.wav"
    "$tool" sample-sounds "$data"
    changed=1
fi
farewell="$build/artwork/Tavashih.wav"
if [ -f "$farewell" ] && stale "$data/Tavashih.wav" "$farewell"; then
    cp "$farewell" "$data/Tavashih.wav"
fi

# The stamp records a passed check; without it (a check that failed, or never ran) the
# folder is checked again even when nothing had to be made.
stamp="$data/.verified"
if [ "$changed" = 1 ] || stale "$stamp" "$data/quran.dat" || stale "$stamp" "$data/snd.wav"; then
    rm -f "$stamp"
    echo "make-content: checking $data"
    "$tool" verify "$data"
    touch "$stamp"
fi
