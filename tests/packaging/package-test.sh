#!/usr/bin/env bash
# Builds the Debian package from the build tree and its content into a temporary folder,
# checks its fields, lintian's verdict and its file list, unpacks it and starts the unpacked
# reader on the unpacked content through the unpacked launcher, headless.
# Usage: package-test.sh BUILD_DIR CONTENT_DIR APP_ID VERSION "ICON_SIZES"
set -uo pipefail
source "$(dirname "$0")/checks.sh"
build=$1
content=$2
id=$3
version=$4
read -r -a icon_sizes <<< "${5//;/ }"

for name in quran.dat snd.wav Tavashih.wav; do
    [ -f "$content/$name" ] || skip "no $content/$name: make the content first (make content)"
done
make_scratch

started=$SECONDS
if ! cpack -G DEB --config "$build/CPackConfig.cmake" -B "$scratch/out" > "$scratch/cpack.log" 2>&1; then
    cat "$scratch/cpack.log" >&2
    fail "cpack could not build the package"
    finish
fi
echo "package built in $((SECONDS - started)) s"
deb="$scratch/out/golvar-quran_${version}_amd64.deb"
[ -f "$deb" ] || { fail "no $deb; cpack made: $(ls "$scratch/out")"; finish; }
echo "package size $(du -m "$deb" | cut -f1) MB"

# Fields.
field() { dpkg-deb -f "$deb" "$1"; }
while IFS='|' read -r name expected; do
    [ "$(field "$name")" = "$expected" ] || fail "field $name is '$(field "$name")', expected '$expected'"
done <<FIELDS
Package|golvar-quran
Version|$version
Architecture|amd64
Section|education
FIELDS
[ -n "$(field Description)" ] || fail "no description"
[[ "$(field Maintainer)" =~ ^[^\<]+\ \<[^@\>]+@[^@\>]+\>$ ]] || fail "Maintainer '$(field Maintainer)' is not a name and an address"
if command -v lintian >/dev/null; then
    check_lintian "$deb"
else
    fail "lintian is not installed (scripts/setup.sh installs it)"
fi

# Dependencies: every runtime library and font, and nothing for building.
depends=$(field Depends)
echo "Depends: $depends"
IFS=',' read -r -a relations <<< "$depends"
names=()
for relation in "${relations[@]}"; do
    relation=${relation# }
    names+=("${relation%% *}")
done
for needed in libqt6core6 libqt6gui6 libqt6widgets6 libsqlcipher0 libsdl2-2.0-0 libsndfile1 \
              fonts-hosny-amiri fonts-noto-core; do
    printf '%s\n' "${names[@]}" | grep -qx "$needed" || fail "does not depend on $needed"
done
for name in "${names[@]}"; do
    case $name in
        *-dev | *-dev-tools | cmake | build-essential | libgtest* | libgmock* | libbenchmark*)
            fail "depends on build-time package $name" ;;
    esac
done

# File list: exactly the installed files, owned by root, content and data read-only.
dpkg-deb -c "$deb" > "$scratch/contents" || fail "dpkg-deb -c failed"
awk '$1 !~ /^d/ { print $6 }' "$scratch/contents" | sed 's|^\./|/|' | sort > "$scratch/files"
{
    echo /usr/bin/golvar-content
    echo /usr/bin/golvar-quran
    echo /usr/lib/golvar-quran/golvar-quran
    echo /usr/share/applications/$id.desktop
    echo /usr/share/metainfo/$id.metainfo.xml
    echo /usr/share/man/man1/golvar-content.1.gz
    echo /usr/share/man/man1/golvar-quran.1.gz
    echo /usr/share/doc/golvar-quran/copyright
    echo /usr/share/doc/golvar-quran/changelog.gz
    for name in quran.dat snd.wav Tavashih.wav; do echo /usr/share/golvar-quran/$name; done
    for size in "${icon_sizes[@]}"; do
        echo /usr/share/icons/hicolor/${size}x${size}/apps/$id.png
    done
} | sort > "$scratch/expected"
diff "$scratch/expected" "$scratch/files" > "$scratch/difference" ||
    fail "file list differs from the expected one (< missing, > unexpected): $(cat "$scratch/difference")"
awk '$2 != "root/root" { print }' "$scratch/contents" | grep . &&
    fail "files above are not owned by root"
while read -r mode owner size date time path; do
    case $path in
        ./usr/bin/* | ./usr/lib/golvar-quran/*) expected=-rwxr-xr-x ;;
        ./usr/share/*) expected=-rw-r--r-- ;;
        *) continue ;;
    esac
    [ "$mode" = "$expected" ] || fail "$path has mode $mode, expected $expected"
done < <(grep -v '^d' "$scratch/contents")

# The unpacked tree: metadata validators, icons, and the content equal to the source.
root="$scratch/root"
dpkg-deb -x "$deb" "$root" || fail "dpkg-deb -x failed"
report=$(desktop-file-validate "$root/usr/share/applications/$id.desktop" 2>&1) && [ -z "$report" ] ||
    fail "desktop-file-validate: $report"
report=$(appstreamcli validate-tree --no-net --strict "$root" 2>&1) ||
    fail "appstreamcli validate-tree: $report"
for size in "${icon_sizes[@]}"; do
    icon="$root/usr/share/icons/hicolor/${size}x${size}/apps/$id.png"
    file -b "$icon" | grep -q "^PNG image data, $size x $size," ||
        fail "icon $icon is not a $size x $size PNG: $(file -b "$icon")"
done
data="$root/usr/share/golvar-quran"
for name in quran.dat snd.wav Tavashih.wav; do
    cmp -s "$content/$name" "$data/$name" || fail "packaged $name differs from $content/$name"
done

# Start the unpacked reader through the unpacked launcher. It has no way to quit by itself:
# it must keep running, in the content folder, with both databases open, and must write
# nothing there.
home="$scratch/home"
mkdir -p "$home" "$scratch/runtime"
chmod 700 "$scratch/runtime"
before=$(cd "$data" && ls -la --time-style=+%s.%N . && sha256sum -- *)
HOME="$home" XDG_CONFIG_HOME="$home/.config" XDG_CACHE_HOME="$home/.cache" \
    XDG_DATA_HOME="$home/.local/share" XDG_RUNTIME_DIR="$scratch/runtime" \
    QT_QPA_PLATFORM=offscreen SDL_AUDIODRIVER=dummy \
    "$root/usr/bin/golvar-quran" > "$scratch/reader.log" 2>&1 &
pid=$!
# A reaped or zombie reader has ended.
alive() { [ "$(awk '{ print $3 }' "/proc/$pid/stat" 2>/dev/null)" != Z ] && [ -d "/proc/$pid" ]; }
# The databases are opened once the main window is up; on a loaded machine that takes a while.
opened() {
    local open_files
    open_files=$(find "/proc/$pid/fd" -type l -exec readlink {} + 2>/dev/null)
    grep -qx "$data/quran.dat" <<< "$open_files" && grep -qx "$data/snd.wav" <<< "$open_files"
}
for _ in $(seq 60); do
    alive && ! opened || break
    sleep 0.5
done
if alive; then
    opened || fail "the reader has not opened $data/quran.dat and snd.wav within 30 s"
    [ "$(readlink "/proc/$pid/exe")" = "$root/usr/lib/golvar-quran/golvar-quran" ] ||
        fail "the running program is $(readlink "/proc/$pid/exe"), not the unpacked reader"
    [ "$(readlink "/proc/$pid/cwd")" = "$data" ] ||
        fail "the reader runs in $(readlink "/proc/$pid/cwd"), not in $data"
    sleep 2
    alive || fail "the reader ended soon after start: $(cat "$scratch/reader.log")"
    kill "$pid" 2>/dev/null
    wait "$pid" 2>/dev/null
else
    wait "$pid"
    fail "the reader ended at start with status $?: $(cat "$scratch/reader.log")"
fi
after=$(cd "$data" && ls -la --time-style=+%s.%N . && sha256sum -- *)
[ "$before" = "$after" ] || fail "the reader changed its content folder: $(diff <(echo "$before") <(echo "$after"))"

finish
