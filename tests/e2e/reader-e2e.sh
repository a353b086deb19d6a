#!/usr/bin/env bash
# The built reader on a real X server, driven as a person would: pointer clicks and key
# presses through the X test extension, the screen read back from the window's pixels.
#
#   reader-e2e.sh READER DATA
#
# A click on an ayeh turns it red on the screen and starts its recording in the cache;
# closing the window stores the position; the next start shows that ayeh red again. Then
# Ctrl+F, a word typed and Enter turn the ayeh that holds it red, and Ctrl+Page Down from
# page 1 leaves page 2 current.
# Exits 77 (skipped) when no X server can be started or DATA holds no content.
set -euo pipefail

reader=$(realpath "$1")
data=$(realpath -m "$2")

skip() {
    echo "SKIPPED: $*"
    exit 77
}
fail() {
    echo "FAILED: $*" >&2
    exit 1
}

[ -x "$reader" ] || fail "the reader $reader has not been built"
[ -f "$data/quran.dat" ] && [ -f "$data/snd.wav" ] || skip "no content in $data (make content makes it)"
for tool in Xvfb xdotool xmodmap import convert sqlcipher; do
    command -v "$tool" >/dev/null || skip "$tool is not installed (scripts/setup.sh installs it)"
done

work=$(mktemp -d /tmp/golvar-e2e.XXXXXX)
xvfb_pid=
reader_pid=
cleanup() {
    set +e
    [ -n "$reader_pid" ] && kill -KILL "$reader_pid" 2>/dev/null && wait "$reader_pid" 2>/dev/null
    [ -n "$xvfb_pid" ] && kill "$xvfb_pid" 2>/dev/null && wait "$xvfb_pid" 2>/dev/null
    rm -rf "$work"
}
trap cleanup EXIT

# A private user: settings, cache and runtime folders inside the work folder.
source "$(dirname "$0")/../support/x-session.sh"
private_user "$work"

settings="$XDG_CONFIG_HOME/VelsorHost/GolvarQuran.conf"
cache="$XDG_CACHE_HOME/VelsorHost/GolvarQuran"

# --- The X server: the first free display number, reported by the server itself ---
start_xvfb "$work" || skip "no X server could be started: $(tail -n 3 "$work/xvfb.log")"
# The word searched for below, typed letter for letter with keys that stay as they are.
word='الكرسي'
bind_letters "$word" || fail "the keyboard has no spare keys for the letters of $word"

# --- The geometry of the first two ayehs, from the content ---
# The database key and the default line bands are read from the headers the reader is built with.
source_dir=$(cd "$(dirname "$0")/../.." && pwd)
quran_key=$(sed -n 's/.*QuranDatabaseKey = "\(.*\)";/\1/p' "$source_dir/content/ContentKeys.h")
query() {
    sqlcipher "$data/quran.dat" "PRAGMA key='$quran_key'; $1" | grep -v '^ok$'
}
# Default line bands of a page; a Lines row of the page overrides them.
read -r -a default_rows <<<"$(tr '\n' ' ' <"$source_dir/content/PageGeometry.h" |
    sed -n 's/.*DefaultLineRows\[[^]]*\] = {\([^}]*\)}.*/\1/p' | tr -d ',')"
[ ${#default_rows[@]} -eq 16 ] || fail "cannot read the default line bands from PageGeometry.h"
band() { # page line -> "start end"
    local row
    row=$(query "SELECT StartRow, EndRow FROM Lines WHERE PageID = $1 AND LineID = $2;")
    if [ -n "$row" ]; then echo "${row/|/ }"; else echo "${default_rows[$(($2 - 1))]} ${default_rows[$2]}"; fi
}
read -r page1 line1 end1 start_col1 end_col1 < <(query \
    "SELECT PageID, StartLine, EndLine, StartCol, EndCol FROM Ayeh WHERE SourehID = 1 AND AyehID = 1;" | tr '|' ' ')
read -r page2 line2 end2 start_col2 end_col2 < <(query \
    "SELECT PageID, StartLine, EndLine, StartCol, EndCol FROM Ayeh WHERE SourehID = 1 AND AyehID = 2;" | tr '|' ' ')
[ -n "${page2:-}" ] || fail "the content has no ayeh 1:2"
[ "$page1" = "$page2" ] || fail "ayehs 1:1 and 1:2 are not on one page"
read -r top1 bottom1 < <(band "$page1" "$line1")
read -r top2 bottom2 < <(band "$page2" "$line2")
read -r _ last_bottom2 < <(band "$page2" "$end2")
read -r _ last_bottom1 < <(band "$page1" "$end1")

# The parts of the ayehs on their first lines, in picture columns. The page picture lies
# right of the scroll bar (the window reads right to left), whose width depends on the widget
# style: the columns looked at keep a margin wider than any scroll bar from each end.
margin=24
if [ "$line1" = "$end1" ]; then left1=$end_col1; else left1=0; fi
if [ "$line2" = "$end2" ]; then left2=$end_col2; else left2=0; fi
left1=$((left1 + margin)) start_col1=$((start_col1 - margin))
left2=$((left2 + margin)) start_col2=$((start_col2 - margin))
((left1 < start_col1 && left2 < start_col2)) || fail "ayehs 1:1 and 1:2 are too narrow on their first lines"

# The scroll box: picture at (97, 255) of the window, 274 rows seen of 690, steps of 46.
box_x=97 box_y=255 box_height=274 max_scroll=$((690 - 274))
clamp() { local v=$1; ((v < 0)) && v=0; ((v > max_scroll)) && v=$max_scroll; echo "$v"; }
# Where the scroll box stands after an ayeh running from row start to row end is shown,
# from a box standing at position.
scroll_into_view() {
    local pos start=$2 end=$3 top bottom
    pos=$(clamp $(($1 / 46 * 46)))
    top=$pos bottom=$((pos + box_height))
    ((start >= bottom)) && pos=$(clamp $((end - box_height)))
    ((end <= top)) && pos=$(clamp "$start")
    ((start < bottom && end > bottom)) && pos=$(clamp $((end - box_height)))
    ((start < top && end > top)) && pos=$(clamp "$start")
    echo "$pos"
}

# --- The screen ---
window=
# Red pixels (255, 0, 0) of the window inside picture columns x0..x1, rows y0..y1, with the
# box scrolled to scroll.
red_in() {
    local x0=$1 x1=$2 y0=$3 y1=$4 scroll=$5 top bottom
    top=$((y0 - scroll)) bottom=$((y1 - scroll))
    ((top < 0)) && top=0
    ((bottom > box_height - 1)) && bottom=$((box_height - 1))
    ((bottom < top)) && { echo 0; return; }
    import -window "$window" "$work/shot.ppm" 2>/dev/null || { echo 0; return; }
    convert "$work/shot.ppm" -crop "$((x1 - x0 + 1))x$((bottom - top + 1))+$((box_x + x0))+$((box_y + top))" \
        +repage -depth 8 -compress none ppm:- |
        awk 'NR == 1 { next } { for (i = 1; i <= NF; i++) v[n++] = $i }
             END { c = 0; for (i = 3; i + 2 < n; i += 3) if (v[i] == 255 && v[i + 1] == 0 && v[i + 2] == 0) c++; print c }'
}
# Polls a condition for up to ten seconds.
eventually() {
    for _ in $(seq 50); do
        "$@" && return 0
        sleep 0.2
    done
    return 1
}
is_red() { (($(red_in "$@") >= 10)); }
not_red() { (($(red_in "$@") == 0)); }

start_reader() {
    (cd "$data" && exec "$reader") >"$work/reader.log" 2>&1 &
    reader_pid=$!
    window=$(timeout 30 xdotool search --sync --onlyvisible --name '3/3' | head -n 1) ||
        fail "the main window did not appear: $(tail -n 5 "$work/reader.log")"
    xdotool windowfocus --sync "$window" 2>/dev/null || true
}
# The farewell window has no close box without a window manager, and the sound library turns
# SIGTERM into a quit request the reader does not act on: the reader is killed outright.
stop_reader() {
    kill -KILL "$reader_pid" 2>/dev/null || true
    wait "$reader_pid" 2>/dev/null || true
    reader_pid=
}
click() { xdotool mousemove --window "$window" "$1" "$2" click 1; }

# --- First start: ayeh 1:1 is red, 1:2 is not ---
start_reader
scroll=$(scroll_into_view 0 "$top1" "$last_bottom1")
eventually is_red "$left1" "$start_col1" "$top1" "$bottom1" "$scroll" || fail "ayeh 1:1 is not red at the first start"
not_red "$left2" "$start_col2" "$top2" "$bottom2" "$scroll" || fail "ayeh 1:2 is red before it was clicked"

# Nine hearings of the clicked ayeh: the repeat box, typed into.
click $((645 + 20)) $((202 + 13))
xdotool key --clearmodifiers ctrl+a
xdotool type --delay 50 9

# --- A click on ayeh 1:2 turns it red and starts its recording ---
x=$(((left2 + start_col2) / 2))
y=$(((top2 + bottom2) / 2))
click $((box_x + x)) $((box_y + y - scroll))
scroll=$(scroll_into_view "$scroll" "$top2" "$last_bottom2")
eventually is_red "$left2" "$start_col2" "$top2" "$bottom2" "$scroll" || fail "ayeh 1:2 did not turn red when clicked"
eventually test -f "$cache/sounds/1-1-2.wav" || fail "the recording of 1:2 is not in the cache folder"

# Pause, then the exit button: the position is stored as the window closes.
click $((678 + 37)) $((530 + 11))
click $((678 + 37)) $((554 + 11))
eventually grep -qx 'LastSoureh=1' "$settings" || fail "closing did not store the soureh: $(cat "$settings" 2>/dev/null)"
grep -qx 'LastAyeh=2' "$settings" || fail "closing did not store ayeh 2: $(cat "$settings")"
stop_reader

# --- Second start: ayeh 1:2 is red again, and 1:1 is not ---
start_reader
scroll=$(scroll_into_view 0 "$top2" "$last_bottom2")
eventually is_red "$left2" "$start_col2" "$top2" "$bottom2" "$scroll" || fail "ayeh 1:2 is not red at the second start"
not_red "$left1" "$start_col1" "$top1" "$bottom1" "$scroll" || fail "ayeh 1:1 is red at the second start"

# The columns of a whole line, inside the margin.
full_left=$margin full_right=$((462 - 1 - margin))

# --- Ctrl+F, a word, Enter: ayeh 2:255, which holds it, is red on its page ---
[ "$(query "SELECT count(*) FROM AyehText;")" -gt 0 ] 2>/dev/null || fail "the content has no ayeh texts to search"
read -r kpage kline kend _ _ < <(query \
    "SELECT PageID, StartLine, EndLine, StartCol, EndCol FROM Ayeh WHERE SourehID = 2 AND AyehID = 255;" | tr '|' ' ')
[ -n "${kpage:-}" ] && ((kend > kline)) || fail "ayeh 2:255 does not run over more than one line"
read -r ktop _ < <(band "$kpage" "$kline")
read -r _ kbottom < <(band "$kpage" "$kend")
read -r ktop2 kbottom2 < <(band "$kpage" $((kline + 1)))
xdotool key --clearmodifiers ctrl+f
focus_left() { [ "$(xdotool getwindowfocus 2>/dev/null)" != "$window" ]; }
eventually focus_left || fail "Ctrl+F opened no search window"
xdotool type --delay 100 "$word"
xdotool key --clearmodifiers Return
scroll=$(scroll_into_view "$scroll" "$ktop" "$kbottom")
# The second line of the ayeh is all its own.
eventually is_red "$full_left" "$full_right" "$ktop2" "$kbottom2" "$scroll" ||
    fail "ayeh 2:255 did not turn red after searching for its word"

# --- Ctrl+G, 1, Enter, then Ctrl+Page Down: page 2 with its first ayeh red and current ---
read -r fline < <(query "SELECT StartLine FROM Ayeh WHERE PageID = 2 ORDER BY SourehID, AyehID LIMIT 1;")
read -r ftop fbottom < <(band 2 "$fline")
xdotool windowfocus --sync "$window" 2>/dev/null || true
xdotool key --clearmodifiers ctrl+g
xdotool type 1
xdotool key --clearmodifiers Return
scroll=$(scroll_into_view 0 "$top1" "$last_bottom1")
eventually is_red "$left1" "$start_col1" "$top1" "$bottom1" "$scroll" || fail "Ctrl+G, 1 and Enter did not show page 1"
xdotool key --clearmodifiers ctrl+Next
scroll=$(scroll_into_view 0 "$ftop" "$fbottom")
eventually is_red "$full_left" "$full_right" "$ftop" "$fbottom" "$scroll" ||
    fail "Ctrl+Page Down from page 1 did not show page 2 with its first ayeh red"
click $((678 + 37)) $((554 + 11))
eventually grep -qx 'LastSoureh=2' "$settings" || fail "page 2's first ayeh is not current: $(cat "$settings")"
grep -qx 'LastAyeh=1' "$settings" || fail "page 2's first ayeh is not current: $(cat "$settings")"
stop_reader
echo "PASSED: click, recording, stored position, restart, search and page keys on $DISPLAY"
