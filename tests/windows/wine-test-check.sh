#!/bin/sh
# legs/wine-test, with a stand-in for Wine: a start that failed without a word is made again, at most twice,
# and counted; a run that said anything, or the third silent failure, ends with its own status.
#   wine-test-check.sh SOURCE_DIR
set -u
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
cp "$1/legs/wine-test" "$work/wine-test"
fail() {
    echo "FAIL: $*"
    exit 1
}

# The stand-in plays the given outcomes in turn, one per start: "silent STATUS" or "says STATUS".
stand_in() {
    printf '%s\n' "$@" >"$work/outcomes"
    : >"$work/starts"
    cat >"$work/wine-run" <<'SH'
#!/bin/sh
here=$(dirname "$0")
echo start >>"$here/starts"
set -- $(sed -n "$(wc -l <"$here/starts")p" "$here/outcomes")
[ "$1" = says ] && echo "the program's own words" >&2
exit "$2"
SH
    chmod +x "$work/wine-run"
}
run() {
    : >"$work/restarts"
    QUORVEL_WINE_RESTARTS="$work/restarts" "$work/wine-test" program.exe --flag >"$work/out" 2>"$work/err"
    status=$?
    starts=$(wc -l <"$work/starts")
    restarts=$(wc -l <"$work/restarts")
}

stand_in "silent 53" "silent 1" "says 0"
run
[ "$status" -eq 0 ] && [ "$starts" -eq 3 ] && [ "$restarts" -eq 2 ] ||
    fail "two silent failures, then a run: status $status after $starts starts, $restarts counted"
grep -q "the program's own words" "$work/err" || fail "the run's own output was lost"
grep -q "Wine ended program.exe with status 53" "$work/restarts" || fail "a restart does not say why"

stand_in "says 1" "says 0"
run
[ "$status" -eq 1 ] && [ "$starts" -eq 1 ] && [ "$restarts" -eq 0 ] ||
    fail "a failing run that printed: status $status after $starts starts"

stand_in "silent 5" "silent 5" "silent 5" "says 0"
run
[ "$status" -eq 5 ] && [ "$starts" -eq 3 ] ||
    fail "three silent failures: status $status after $starts starts"
echo "wine-test restarts only silent starts, at most twice"
