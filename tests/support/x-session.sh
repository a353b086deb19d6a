# Shared by the scripts that drive the reader on a real X server: sourced, never run alone.

# private_user FOLDER: a user of its own inside FOLDER (home, settings, cache, data and runtime
# folders) on the X11 platform with the silent sound driver.
private_user() {
    export HOME="$1/home" XDG_CONFIG_HOME="$1/home/.config" XDG_CACHE_HOME="$1/home/.cache"
    export XDG_DATA_HOME="$1/home/.local/share" XDG_RUNTIME_DIR="$1/runtime"
    mkdir -p "$HOME" "$XDG_CONFIG_HOME" "$XDG_CACHE_HOME" "$XDG_DATA_HOME" "$XDG_RUNTIME_DIR"
    chmod 700 "$XDG_RUNTIME_DIR"
    export QT_QPA_PLATFORM=xcb SDL_AUDIODRIVER=dummy
    unset WAYLAND_DISPLAY QT_SCALE_FACTOR QT_SCREEN_SCALE_FACTORS
}

# start_xvfb FOLDER: Xvfb on the first free display number, reported by the server itself;
# sets xvfb_pid (for the caller to end) and DISPLAY. Status 1, with the server's messages in
# FOLDER/xvfb.log, when no server can be started. The server keeps what a client changed (the
# keyboard's keys) when that client ends, instead of starting afresh.
start_xvfb() {
    Xvfb -displayfd 5 -screen 0 1024x768x24 -nolisten tcp -noreset 5>"$1/display" >/dev/null 2>"$1/xvfb.log" &
    xvfb_pid=$!
    for _ in $(seq 100); do
        [ -s "$1/display" ] && break
        kill -0 "$xvfb_pid" 2>/dev/null || break
        sleep 0.1
    done
    [ -s "$1/display" ] || return 1
    export DISPLAY=":$(head -n 1 "$1/display")"
}

# bind_letters TEXT: gives every letter of TEXT that the keyboard lacks a spare key of its own.
# xdotool types such a letter by binding it to a spare key for the moment, and a program slow
# to read its keys (under the sanitizers, on a loaded machine) reads the key after it was bound
# to the next letter: the letter is lost or changed. Bound once, before the program starts,
# nothing is rebound while it reads.
bind_letters() {
    local LC_ALL=C.UTF-8 spare=() letter code i=0
    read -r -a spare < <(xmodmap -pke | awk 'NF == 3 && $3 == "=" && $2 > 8 { printf "%s ", $2 }')
    while IFS= read -r -n 1 letter; do
        [ -n "$letter" ] || continue
        code=$(printf 'U%04X' "'$letter")
        xmodmap -pke | grep -qw "$code" && continue
        [ "$i" -lt ${#spare[@]} ] || return 1
        xmodmap -e "keycode ${spare[$i]} = $code" || return 1
        i=$((i + 1))
    done < <(printf '%s' "$1")
}
