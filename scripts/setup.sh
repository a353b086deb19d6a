#!/usr/bin/env bash
# Installs what the build, the tests and the default content need, and nothing twice.
# Runs as root on Debian 12; a second run only checks.
set -euo pipefail
cd "$(dirname "$0")/.."

packages=(
    build-essential cmake ninja-build pkg-config
    qt6-base-dev qt6-base-dev-tools libgl-dev
    libsqlcipher-dev sqlcipher
    libsdl2-dev libsndfile1-dev
    fonts-hosny-amiri fonts-noto-core
    libgtest-dev libgmock-dev libbenchmark-dev
    nodejs npm
    xvfb xauth xdotool x11-utils imagemagick
    clang libclang-rt-14-dev
    appstream desktop-file-utils groff-base dpkg-dev file ccache
    lintian
)

missing=()
for p in "${packages[@]}"; do
    # nodejs/npm may come from another source than Debian's; a working command is enough.
    case "$p" in
        nodejs) command -v node >/dev/null && continue ;;
        npm) command -v npm >/dev/null && continue ;;
    esac
    dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q 'install ok installed' || missing+=("$p")
done

if [ ${#missing[@]} -gt 0 ]; then
    echo "setup: installing ${missing[*]}"
    export DEBIAN_FRONTEND=noninteractive
    apt-get update -qq
    apt-get install -y -qq --no-install-recommends "${missing[@]}"
fi

# Public text sources for the content tool, pinned, fetched once into .cache/.
sources=.cache/sources
if [ ! -f "$sources/quran-db/package.json" ]; then
    echo "setup: fetching quran-db 1.2.4"
    mkdir -p "$sources"
    tarball=$(cd "$sources" && npm pack --silent quran-db@1.2.4 | tail -n 1)
    rm -rf "$sources/quran-db"
    mkdir -p "$sources/quran-db"
    tar -xzf "$sources/$tarball" -C "$sources/quran-db" --strip-components=1
    rm -f "$sources/$tarball"
fi
