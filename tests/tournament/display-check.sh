#!/bin/bash
# quorvel-tournament and its display. Where there is none (a server, ssh, CI, and several shards a machine in
# the many-machines recipe) every bulk run starts a virtual display of its own and ends it: in each of ROUNDS
# rounds, 12 runs with a chart, 4 one after another with one job, 4 with two and 4 at the same time, all
# succeed with the same chart, and leave no server and no file behind. Without Xvfb, one line says which
# package gives it. A display that is set but cannot be opened ends every mode with status 1 and one line
# naming it, before any game.
#   display-check.sh QUORVEL_TOURNAMENT VIDEO_BUILT(ON|OFF) ROUNDS
set -u
tool=$1
video=$2
rounds=$3
# shellcheck source=tests/tournament/check-common.sh
. "$(dirname "$0")/check-common.sh"

unset DISPLAY
# The tool's temporary files go here, where no other process puts any; its servers name their file from here.
export TMPDIR=$work/tmp
mkdir "$TMPDIR"

# run NAME JOBS: a run of three games with a chart, which must succeed and draw the first run's chart.
run() {
    "$tool" --seeds 1-3 --jobs "$2" --svg "$work/$1.svg" >/dev/null 2>"$work/$1.err" ||
        fail "run $1 with $2 jobs, without a display: status $?: $(tr '\r' '\n' <"$work/$1.err" | tail -3)"
    cmp -s "$work/first.svg" "$work/$1.svg" || fail "run $1 drew another chart"
}
"$tool" --seeds 1-3 --jobs 1 --svg "$work/first.svg" >/dev/null 2>&1 || fail "the first run without a display failed"
for i in $(seq $((4 * rounds))); do
    run "one-job-$i" 1
done
for i in $(seq $((4 * rounds))); do
    run "two-jobs-$i" 2
done
for i in $(seq "$rounds"); do
    together=()
    for k in 1 2 3 4; do
        run "together-$i-$k" 1 &
        together+=($!)
    done
    failed=0
    for one in "${together[@]}"; do
        wait "$one" || failed=1
    done
    [ "$failed" -eq 0 ] || exit 1
done
[ -z "$(ls -A "$TMPDIR")" ] || fail "the runs left $(ls -A "$TMPDIR") in the temporary folder"
pgrep -f -- "-auth $TMPDIR/" >/dev/null && fail "the runs left a server running: $(pgrep -af -- "-auth $TMPDIR/")"

# Without Xvfb on the path: one line that names the package, status 1, and nothing left.
PATH=/nonexistent "$tool" --games 2 >/dev/null 2>"$work/no-xvfb.err"
status=$?
{ [ "$status" -eq 1 ] && [ "$(wc -l <"$work/no-xvfb.err")" -eq 1 ] && grep -q "package xvfb" "$work/no-xvfb.err"; } ||
    fail "without Xvfb: status $status, $(cat "$work/no-xvfb.err")"
[ -z "$(ls -A "$TMPDIR")" ] || fail "without Xvfb, the run left $(ls -A "$TMPDIR")"

# A display that cannot be opened, as a stale DISPLAY over ssh: every mode that draws says so in one line,
# with status 1, and plays nothing.
"$tool" --seeds 1-2 --csv "$work/shard.csv" >/dev/null 2>&1 || fail "the shard to merge could not be played"
modes=("--games 2 --csv $work/closed.csv" "--sweep rock=30-70/40 --seeds 1-2 --csv $work/closed.csv"
    "--merge $work/shard.csv --svg $work/closed.svg" "--watch 7")
[ "$video" = ON ] && modes+=("--watch 7 --record $work/closed.mp4")
for mode in "${modes[@]}"; do
    # shellcheck disable=SC2086 # each mode is meant to split into words
    DISPLAY=:77 "$tool" $mode >/dev/null 2>"$work/closed.err"
    status=$?
    { [ "$status" -eq 1 ] && [ "$(wc -l <"$work/closed.err")" -eq 1 ] &&
        grep -q "^quorvel-tournament: no X display at :77 could be opened" "$work/closed.err"; } ||
        fail "'$mode' on a display that cannot be opened: status $status, $(cat "$work/closed.err")"
    for file in "$work"/closed.*; do
        [ "$file" = "$work/closed.err" ] || fail "'$mode' on a display that cannot be opened wrote $file"
    done
done
echo "PASS"
