#!/usr/bin/env bash
# The launcher: options, the content-folder checks and the working directory the reader gets.
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
printf 'reader in %s with %d arguments\n' "$(pwd)" "$#"
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
run "installed content" 0 "^reader in $installed with 0 arguments$" "^$"
run_with "$scratch/links/golvar-quran" "through a symbolic link" 0 \
    "^reader in $installed with 0 arguments$" "^$"
run "content folder relative to the caller" 0 "^reader in $mine with 0 arguments$" "^$" \
    --content "../my content"
run "content folder, joined form" 0 "^reader in $mine with 0 arguments$" "^$" \
    "--content=$mine"
run "content folder without snd.wav" 2 "^$" "no readable snd.wav" --content "$scratch/no-sound"
run "missing content folder" 2 "^$" "'$scratch/none' does not exist" --content "$scratch/none"
run "content folder is a file" 2 "^$" "does not exist" --content "$mine/quran.dat"
run "--content without a folder" 2 "^$" "needs a folder" --content
run "--content with an empty folder name" 2 "^$" "needs a folder" --content=
run "unknown option" 2 "^$" "unknown argument '--fullscreen'" --fullscreen
run "stray argument" 2 "^$" "unknown argument 'quran.dat'" quran.dat
# CDPATH must not redirect a relative content folder to a same-named one elsewhere.
mkdir -p "$scratch/elsewhere/local" "$scratch/decoy/local"
touch "$scratch/elsewhere/local/quran.dat" "$scratch/elsewhere/local/snd.wav"
CDPATH="$scratch/decoy" run "CDPATH ignored" 0 "^reader in $scratch/elsewhere/local with 0" "^$" \
    --content local

# The per-user content folder: used once it holds snd.wav, with links to the installed text
# and farewell sound made (again) at every start.
mkdir -p "$user"
run "per-user folder without snd.wav" 0 "^reader in $installed with 0 arguments$" "^$"
touch "$user/snd.wav"
run "per-user content" 0 "^reader in $user with 0 arguments$" "^$"
for name in quran.dat Tavashih.wav; do
    [ "$(readlink "$user/$name")" = "$installed/$name" ] ||
        fail "per-user $name links to '$(readlink "$user/$name")', not to $installed/$name"
done
ln -sfn "$scratch/moved/quran.dat" "$user/quran.dat"
run "per-user content after the installation moved" 0 "^reader in $user with 0 arguments$" "^$"
[ "$(readlink "$user/quran.dat")" = "$installed/quran.dat" ] || fail "a stale link to quran.dat was not made again"
rm "$user/quran.dat"
echo "the user's own text" > "$user/quran.dat"
run "per-user content with a text of its own" 0 "^reader in $user with 0 arguments$" "^$"
[ ! -L "$user/quran.dat" ] && grep -q "own text" "$user/quran.dat" || fail "the user's own quran.dat was replaced"
run "--content wins over the per-user content" 0 "^reader in $mine with 0 arguments$" "^$" --content "$mine"
run "per-user folder named in the help" 0 "per-user content folder.$user" "^$" --help
rm "$user/snd.wav"
mkdir "$user/snd.wav"
run "per-user snd.wav unusable" 1 "^$" "lacks a readable snd.wav; remove that folder" 
rm -r "$user"
run "per-user folder removed" 0 "^reader in $installed with 0 arguments$" "^$"

rm "$installed/snd.wav"
run "installed content incomplete" 1 "^$" "installed content is incomplete" 
touch "$installed/snd.wav"
rm "$prefix/lib/golvar-quran/golvar-quran"
run "reader missing" 1 "^$" "reader is missing"

finish
