#!/usr/bin/env bash
# The Debian package as a person gets it, on this machine: lintian finds no error in it;
# `apt-get install ./golvar-quran_…deb` installs it; /usr/bin/golvar-quran starts the reader
# under Xvfb and its main window shows, on the installed content; a recitation folder imported
# through the window (right click on the reciter list, folder, name) lands in the per-user
# content folder and the reader goes on there; the next start through the launcher runs there
# too, with the installed text; removing the package leaves nothing of it in /usr.
#
#   install-test.sh PACKAGE_BUILD_DIR
#
# Needs root (apt-get), Xvfb, xdotool, lintian and sqlcipher; exits 77 (skipped) without them.
# A golvar-quran installed beforehand is not touched: the check fails instead.
set -uo pipefail
source "$(dirname "$0")/checks.sh"
source "$(dirname "$0")/../support/x-session.sh"
source_dir=$(cd "$(dirname "$0")/../.." && pwd)

deb=$(ls -t "$1"/golvar-quran_*_amd64.deb 2>/dev/null | head -n 1)
[ -n "$deb" ] || { fail "no package in $1 (make package makes it)"; finish; }
deb=$(readlink -f "$deb")
[ "$(id -u)" = 0 ] || skip "apt-get install needs root"
for tool in apt-get Xvfb xdotool lintian sqlcipher; do
    command -v "$tool" >/dev/null || skip "$tool is not installed (scripts/setup.sh installs it)"
done
installed() { dpkg-query -W -f='${Status}' golvar-quran 2>/dev/null | grep -q 'ok installed'; }
if installed; then
    fail "golvar-quran is installed on this machine already; remove it first (this check installs and removes it)"
    finish
fi

make_scratch
started=$SECONDS
xvfb_pid=
reader_pid=
we_installed=
cleanup() {
    set +e
    [ -n "$reader_pid" ] && kill -KILL "$reader_pid" 2>/dev/null && wait "$reader_pid" 2>/dev/null
    [ -n "$xvfb_pid" ] && kill "$xvfb_pid" 2>/dev/null && wait "$xvfb_pid" 2>/dev/null
    if [ -n "$we_installed" ] && installed; then
        DEBIAN_FRONTEND=noninteractive apt-get remove --purge -y -qq golvar-quran >/dev/null 2>&1
    fi
    rm -rf "$scratch"
}
trap cleanup EXIT

check_lintian "$deb"

# --- Install ---
# What the package will put in /usr, and which of its folders are there already.
dpkg-deb -c "$deb" | awk '{ print $6 }' | sed 's|^\./|/|; s|/$||' | grep '^/usr/' | sort > "$scratch/paths"
: > "$scratch/new"
while read -r path; do
    if [ ! -e "$path" ] && [ ! -L "$path" ]; then
        echo "$path" >> "$scratch/new"
    elif [ ! -d "$path" ]; then
        fail "$path is in /usr before the package is installed"
    fi
done < "$scratch/paths"
we_installed=yes
if ! (cd "$(dirname "$deb")" && DEBIAN_FRONTEND=noninteractive apt-get install -y -qq "./$(basename "$deb")") > "$scratch/apt.log" 2>&1; then
    fail "apt-get install failed: $(tail -n 5 "$scratch/apt.log")"
    finish
fi
installed || { fail "the package is not installed after apt-get install"; finish; }
echo "installed in $((SECONDS - started)) s"
data=/usr/share/golvar-quran
before=$(cd "$data" && ls -la --time-style=+%s.%N . && sha256sum -- *)

# --- A private user and an X server ---
private_user "$scratch"
user="$XDG_DATA_HOME/VelsorHost/GolvarQuran"
start_xvfb "$scratch" || skip "no X server could be started: $(tail -n 3 "$scratch/xvfb.log")"

# Polls a condition for up to `limit` seconds.
within() {
    local limit=$1
    shift
    for _ in $(seq $((limit * 5))); do
        "$@" && return 0
        sleep 0.2
    done
    return 1
}
windows() { xdotool search --onlyvisible --class GolvarQuran 2>/dev/null | sort; }
# new_window BEFORE: a visible window of the reader that was not in BEFORE.
new_window() { comm -13 <(echo "$1") <(windows) | head -n 1; }
# wait_window BEFORE SECONDS: waits for one and prints it.
wait_window() {
    local found=
    for _ in $(seq $(($2 * 5))); do
        found=$(new_window "$1")
        [ -n "$found" ] && break
        sleep 0.2
    done
    echo "$found"
}
opened() { find "/proc/$reader_pid/fd" -type l -exec readlink {} + 2>/dev/null | grep -qx "$1"; }
runs_in() { [ "$(readlink "/proc/$reader_pid/cwd")" = "$1" ]; }
# enter_text WINDOW TEXT: types TEXT into the focused field of a dialog that has just appeared.
# Keys that reach a freshly mapped dialog before it has settled its focus can be lost, so the
# text is typed a second time over the first once the dialog holds the keyboard.
enter_text() {
    xdotool windowfocus --sync "$1" 2>/dev/null
    within 10 test "$(xdotool getwindowfocus 2>/dev/null)" = "$1"
    local pass
    for pass in 1 2; do
        xdotool key ctrl+a
        xdotool type --delay 10 "$2"
    done
}

start_reader() {
    /usr/bin/golvar-quran > "$scratch/reader.log" 2>&1 &
    reader_pid=$!
    window=$(timeout 60 xdotool search --sync --onlyvisible --name '3/3' | head -n 1)
    [ -n "$window" ] || { fail "the main window did not appear: $(tail -n 5 "$scratch/reader.log")"; finish; }
    [ "$(readlink "/proc/$reader_pid/exe")" = /usr/lib/golvar-quran/golvar-quran ] ||
        fail "the running program is $(readlink "/proc/$reader_pid/exe"), not the installed reader"
}
# The farewell window has no close box without a window manager: the reader is killed.
stop_reader() {
    kill -KILL "$reader_pid" 2>/dev/null
    wait "$reader_pid" 2>/dev/null
    reader_pid=
}

# --- First start: the installed content ---
start_reader
echo "main window shown $((SECONDS - started)) s after the start of the check"
within 30 opened "$data/snd.wav" || fail "the reader has not opened $data/snd.wav"
runs_in "$data" || fail "the reader runs in $(readlink "/proc/$reader_pid/cwd"), not in $data"

# --- A small recitation: soureh 1 and soureh 114, WAV files of 8000 Hz noise ---
le16() { printf "\\x$(printf %02x $(($1 & 255)))\\x$(printf %02x $(($1 >> 8 & 255)))"; }
le32() { le16 $(($1 & 65535)); le16 $(($1 >> 16)); }
write_wav() { # path milliseconds
    local bytes=$(($2 * 16))
    {
        printf 'RIFF'; le32 $((36 + bytes)); printf 'WAVEfmt '; le32 16; le16 1; le16 1
        le32 8000; le32 16000; le16 2; le16 16; printf 'data'; le32 "$bytes"
        head -c "$bytes" /dev/urandom
    } > "$1"
}
recitation="$scratch/recitation"
mkdir -p "$recitation"
fixture=()
for a in 1 2 3 4 5 6 7; do fixture+=("001$(printf %03d $a)"); done
for a in 1 2 3 4 5 6; do fixture+=("114$(printf %03d $a)"); done
for name in "${fixture[@]}"; do write_wav "$recitation/$name.wav" 400; done

# --- Import through the window, as a person does it ---
xdotool windowfocus --sync "$window" 2>/dev/null
shown=$(windows)
# A right click on the reciter list (its place in the window is fixed), then the first entry.
xdotool mousemove --window "$window" 700 157 click 3
menu=$(wait_window "$shown" 10)
[ -n "$menu" ] || { fail "no menu on a right click on the reciter list"; finish; }
shown=$(windows)
xdotool key Down Return
folder_dialog=$(wait_window "$shown" 10)
[ -n "$folder_dialog" ] || { fail "no folder dialog from the menu's first entry"; finish; }
shown=$(windows)
enter_text "$folder_dialog" "$recitation"
xdotool key Return
name_dialog=$(wait_window "$shown" 10)
[ -n "$name_dialog" ] || { fail "no name asked after the folder"; finish; }
enter_text "$name_dialog" "Package Test Reciter"
xdotool key Return
within 300 test -f "$user/snd.wav" || { fail "no $user/snd.wav after the import: $(tail -n 5 "$scratch/reader.log")"; finish; }
within 60 runs_in "$user" || fail "the reader does not go on in $user after the import"
within 30 opened "$user/snd.wav" || fail "the reader has not opened the imported $user/snd.wav"
for name in quran.dat Tavashih.wav; do
    [ "$(readlink -f "$user/$name")" = "$data/$name" ] || fail "the per-user $name is not a link to $data/$name"
done
echo "recitation imported through the window $((SECONDS - started)) s after the start of the check"
stop_reader

# The imported reciter: one recording per file (001001 doubles as the Bismillah), its name.
sound_key=$(sed -n 's/.*SoundDatabaseKey = "\(.*\)";/\1/p' "$source_dir/content/ContentKeys.h")
query() { sqlcipher "$user/snd.wav" "PRAGMA key='$sound_key'; $1" | grep -v '^ok$'; }
count=$(query "SELECT count(*) FROM Sounds WHERE GhariID = 1;")
[ "$count" = $((${#fixture[@]} + 1)) ] || fail "reciter 1 has $count recordings, expected $((${#fixture[@]} + 1))"
[ "$(query "SELECT Name FROM Reciters WHERE GhariID = 1;")" = "Package Test Reciter" ] ||
    fail "reciter 1 is named '$(query "SELECT Name FROM Reciters WHERE GhariID = 1;")'"
[ "$(query "SELECT count(DISTINCT GhariID) FROM Sounds;")" = 5 ] || fail "the other reciters' recordings were not kept"

# --- The next start, through the launcher: the per-user folder with the installed text ---
start_reader
within 30 opened "$user/snd.wav" || fail "the next start has not opened $user/snd.wav"
opened "$data/quran.dat" || fail "the next start has not opened the installed $data/quran.dat"
runs_in "$user" || fail "the next start runs in $(readlink "/proc/$reader_pid/cwd"), not in $user"
stop_reader

after=$(cd "$data" && ls -la --time-style=+%s.%N . && sha256sum -- *)
[ "$before" = "$after" ] || fail "the installed content changed: $(diff <(echo "$before") <(echo "$after"))"

# --- Remove: nothing of the package is left in /usr ---
if ! DEBIAN_FRONTEND=noninteractive apt-get remove --purge -y -qq golvar-quran > "$scratch/apt.log" 2>&1; then
    fail "apt-get remove failed: $(tail -n 5 "$scratch/apt.log")"
fi
installed && fail "the package is still installed after apt-get remove"
while read -r path; do
    [ -e "$path" ] || [ -L "$path" ] && fail "$path is left behind after removal"
done < "$scratch/new"
leftovers=$(find /usr -xdev \( -iname '*golvar*' -o -iname '*velsorhost*' \) 2>/dev/null)
[ -z "$leftovers" ] || fail "left in /usr after removal: $leftovers"
echo "package-test took $((SECONDS - started)) s"

finish
