#!/usr/bin/env bash
# The desktop entry, the AppStream metainfo and the man pages as built, before packaging:
# each must pass its format's validator without a warning and carry the project's version.
# Usage: metadata-test.sh PACKAGING_BUILD_DIR APP_ID VERSION
set -uo pipefail
source "$(dirname "$0")/checks.sh"
dir=$1
id=$2
version=$3

desktop="$dir/$id.desktop"
metainfo="$dir/$id.metainfo.xml"

report=$(desktop-file-validate "$desktop" 2>&1) && [ -z "$report" ] ||
    fail "desktop-file-validate $desktop: $report"
report=$(appstreamcli validate --no-net --strict "$metainfo" 2>&1) ||
    fail "appstreamcli validate $metainfo: $report"

# The menu, the software centre and the launcher must agree on the names.
entry() { sed -n "s/^$1=//p" "$desktop"; }
[ "$(entry Exec)" = golvar-quran ] || fail "desktop entry runs '$(entry Exec)', not the launcher"
[ "$(entry Icon)" = "$id" ] || fail "desktop entry icon '$(entry Icon)' is not named $id"
[ -n "$(entry 'Name\[fa\]')" ] || fail "desktop entry has no Persian name"
grep -q "<launchable type=\"desktop-id\">$id.desktop</launchable>" "$metainfo" ||
    fail "metainfo does not launch $id.desktop"
grep -q "<release version=\"$version\"" "$metainfo" || fail "metainfo lacks release $version"

for page in golvar-quran.1 golvar-content.1; do
    # -ww shows every formatting warning; a clean page prints nothing.
    report=$(groff -man -ww -z -K utf8 "$dir/$page" 2>&1) && [ -z "$report" ] ||
        fail "$page does not format cleanly: $report"
    head -n 1 "$dir/$page" | grep -q "$version" || fail "$page does not name version $version"
    [ "$(gzip -dc "$dir/$page.gz" 2>/dev/null)" = "$(cat "$dir/$page")" ] ||
        fail "$page.gz is not the compressed $page"
done

finish
