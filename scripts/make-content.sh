#!/usr/bin/env bash
# Makes the default content in the data folder with the content tool, unless it is already there.
set -euo pipefail
build=${1:-build}
data=${2:-data}
cd "$(dirname "$0")/.."
mkdir -p "$data"
