# Shared helpers of the packaging checks: sourced, never run on its own.
# Every check records its failure and the script goes on, so one run reports all faults.

failures=0

fail() {
    printf 'FAIL: %s\n' "$*" >&2
    failures=$((failures + 1))
}

# finish: the exit status of the whole script.
finish() {
    if [ "$failures" -ne 0 ]; then
        printf '%d check(s) failed\n' "$failures" >&2
        exit 1
    fi
    echo 'all checks passed'
    exit 0
}

# skip MESSAGE: ends the script with the status ctest reads as "skipped".
skip() {
    printf 'SKIPPED: %s\n' "$*"
    exit 77
}

# make_scratch: a private temporary folder, removed when the script ends.
make_scratch() {
    scratch=$(mktemp -d "${TMPDIR:-/tmp}/golvar-packaging.XXXXXX")
    trap 'rm -rf "$scratch"' EXIT
}

# check_lintian DEB: lintian must report no error; every tag it reports is listed.
check_lintian() {
    local report status
    report=$(lintian --fail-on error "$1" 2>&1)
    status=$?
    report=$(grep -v 'running with root privileges' <<< "$report")
    [ -z "$report" ] || sed 's/^/lintian: /' <<< "$report"
    echo "lintian: $(grep -c '^E:' <<< "$report") errors, $(grep -c '^W:' <<< "$report") warnings"
    [ "$status" = 0 ] || fail "lintian reports errors (exit status $status)"
}
