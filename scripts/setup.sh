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
    fonts-hosny-amiri fonts-noto-core libfontconfig-dev
    libgtest-dev libgmock-dev libbenchmark-dev
    nodejs npm
    xvfb xauth xdotool x11-utils x11-xserver-utils imagemagick
    clang libclang-rt-14-dev clang-format clang-tidy
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
    apt-get -o DPkg::Lock::Timeout=900 update -qq
    apt-get -o DPkg::Lock::Timeout=900 install -y -qq --no-install-recommends "${missing[@]}"
fi

# Public text sources for the content tool, pinned, fetched once into .cache/ and never
# committed: quran-db (translation, soureh names, juz) and @saqfish/asim (the printed lines).
sources=.cache/sources
# fetch FOLDER PACKAGE@VERSION FILE: unpacks the package into $sources/FOLDER unless FILE is there.
fetch() {
    local folder=$1 package=$2 file=$3 tarball
    [ -f "$sources/$folder/$file" ] && return
    echo "setup: fetching $package"
    mkdir -p "$sources"
    tarball=$(cd "$sources" && npm pack --silent "$package" | tail -n 1)
    rm -rf "${sources:?}/$folder"
    mkdir -p "$sources/$folder"
    tar -xzf "$sources/$tarball" -C "$sources/$folder" --strip-components=1
    rm -f "$sources/$tarball"
}
fetch quran-db quran-db@1.2.4 package.json
fetch asim @saqfish/asim@0.0.5 data/hafs/raw.json
