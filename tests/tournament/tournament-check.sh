#!/bin/bash
# The tournament tool as a user runs it: reproducible in a fresh process, clear errors with status 2 for
# bad values, and well-formed output files.
#   tournament-check.sh QUORVEL_TOURNAMENT
set -u
tool=$1
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
fail() {
    echo "FAIL: $*"
    exit 1
}

run() {
    "$tool" --seeds 11-40 --csv "$work/$1.csv" --svg "$work/$1.svg" >"$work/$1.txt" 2>"$work/$1.err" ||
        fail "the run $1 failed: $(cat "$work/$1.err")"
}
run first
run second
cmp -s "$work/first.csv" "$work/second.csv" || fail "the same seeds gave different games in a fresh process"

[ "$(head -1 "$work/first.csv")" = "seed,winner,frames" ] || fail "wrong CSV header: $(head -1 "$work/first.csv")"
[ "$(tail -n +2 "$work/first.csv" | wc -l)" -eq 30 ] || fail "the CSV has not one row per game"
tail -n +2 "$work/first.csv" | grep -vqE '^[0-9]+,(ROCK|PAPER|SCISSORS|undecided),[0-9]+$' &&
    fail "a CSV row is malformed"
python3 -c "import sys, xml.etree.ElementTree as E; E.parse(sys.argv[1])" "$work/first.svg" ||
    fail "the SVG is not well-formed XML"
summed=$(grep -E '^\| (ROCK|PAPER|SCISSORS|undecided) ' "$work/first.txt" | awk -F'|' '{ s += $3 } END { print s }')
[ "$summed" = "30" ] || fail "the summary's games add up to $summed, not 30"
grep -q "games per second" "$work/first.txt" || fail "the summary gives no speed"

for bad in "--games -3" "--games 0" "--frame-time nan" "--frame-time abc" "--start 7" "--seeds 5-1" "--max-frames x" \
    "--no-such-option"; do
    # shellcheck disable=SC2086 # each case is meant to split into words
    "$tool" $bad --csv "$work/bad.csv" --svg "$work/bad.svg" >"$work/bad.out" 2>"$work/bad.err"
    status=$?
    [ "$status" -eq 2 ] || fail "'$bad' ended with status $status, not 2"
    grep -q "quorvel-tournament: " "$work/bad.err" || fail "'$bad' gave no clear error: $(cat "$work/bad.err")"
    [ -e "$work/bad.csv" ] && fail "'$bad' still wrote a CSV file"
done
"$tool" --help | grep -q -- "--frame-time" || fail "--help does not describe the options"
echo "PASS"
