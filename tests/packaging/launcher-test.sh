#!/usr/bin/env bash
# The launcher: options, the content-folder checks and the content folder it hands the reader.
# The reader is replaced by a stand-in that reports its working directory and arguments, in a
# tree laid out as the installation is.
# Usage: launcher-test.sh LAUNCHER VERSION
set -uo pipefail
source "$(dirname "$0")/checks.sh"
launcher=$1
version=$2
make_scratch

prefix="$scratch/prefix"
mkdir -p "$prefix/bin" "$prefix/lib/golvar-quran" "$prefix/share/golvar-quran"
cp "$launcher" "$prefix/bin/golvar-quran"
chmod 755 "$prefix/bin/golvar-quran"
cat > "$prefix/lib/golvar-quran/golvar-quran" <<'READER'
#!/bin/sh
printf 'reader in %s with' "$(pwd)"
printf ' [%s]' "$@"
printf '\n'

READER
chmod 755 "$prefix/lib/golvar-quran/golvar-quran"
installed="$prefix/share/golvar-quran"
touch "$installed/quran.dat" "$installed/snd.wav" "$installed/Tavashih.wav"
# A user of its own, without a per-user content folder yet.
export HOME="$scratch/home"
export XDG_DATA_HOME="$scratch/data"
user="$XDG_DATA_HOME/VelsorHost/GolvarQuran"
mkdir -p "$HOME"

mine="$scratch/my content"
mkdir -p "$mine" "$scratch/no-sound" "$scratch/elsewhere"
touch "$mine/quran.dat" "$mine/snd.wav" "$scratch/no-sound/quran.dat"
mkdir -p "$scratch/links"
ln -s "$prefix/bin/golvar-quran" "$scratch/links/golvar-quran"

# run NAME EXPECTED_STATUS STDOUT_PATTERN STDERR_PATTERN ARGS...: runs the installed launcher
# from the folder "elsewhere" (a relative --content is relative to it) and matches its output
# against extended regular expressions ("" matches anything, "^$" demands silence).
run_with() {
    local command=$1 name=$2 status=$3 out_re=$4 err_re=$5
    shift 5
    local out err actual
    out=$(cd "$scratch/elsewhere" && "$command" "$@" 2>"$scratch/stderr")
    actual=$?
    err=$(cat "$scratch/stderr")
    [ "$actual" -eq "$status" ] || fail "$name: exit status $actual, expected $status (stderr: $err)"
    [[ "$out" =~ $out_re ]] || fail "$name: stdout '$out' does not match '$out_re'"
    [[ "$err" =~ $err_re ]] || fail "$name: stderr '$err' does not match '$err_re'"
}
run() { run_with "$prefix/bin/golvar-quran" "$@"; }

run "help" 0 "^Usage: golvar-quran \[--content DIR\].*--version.*$installed" "^$" --help
run "short help" 0 "^Usage: golvar-quran" "^$" -h
run "version" 0 "^golvar-quran $version$" "^$" --version
elsewhere="$scratch/elsewhere"
run "installed content" 0 "^reader in $elsewhere with \[--default-content\] \[$installed\]$" "^$"
run_with "$scratch/links/golvar-quran" "through a symbolic link" 0 \
    "^reader in $elsewhere with \[--default-content\] \[$installed\]$" "^$"
run "content folder relative to the caller" 0 "^reader in $elsewhere with \[--content\] \[../my content\]$" "^$" \
    --content "../my content"
run "content folder, joined form" 0 "^reader in $elsewhere with \[--content\] \[$mine\]$" "^$" \
    "--content=$mine"
run "content folder without snd.wav" 2 "^$" "no readable snd.wav" --content "$scratch/no-sound"
run "missing content folder" 2 "^$" "'$scratch/none' does not exist" --content "$scratch/none"
run "content folder is a file" 2 "^$" "does not exist" --content "$mine/quran.dat"
run "--content without a folder" 2 "^$" "needs a folder" --content
run "--content with an empty folder name" 2 "^$" "needs a folder" --content=
run "unknown option" 2 "^$" "unknown argument '--fullscreen'" --fullscreen
run "stray argument" 2 "^$" "unknown argument 'quran.dat'" quran.dat
# The per-user content is the reader's to choose: the launcher only names it in the help.
run "per-user folder named in the help" 0 "per-user content folder.$user" "^$" --help

rm "$installed/snd.wav"
run "installed content incomplete" 1 "^$" "installed content is incomplete" 
touch "$installed/snd.wav"
rm "$prefix/lib/golvar-quran/golvar-quran"
run "reader missing" 1 "^$" "reader is missing"

finish
