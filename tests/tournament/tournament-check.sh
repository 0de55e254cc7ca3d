#!/bin/bash
# The tournament tool as a user runs it: reproducible in a fresh process and with any number of jobs,
# shards that merge into exactly one run, clear errors with status 2 for bad values and bad files, no file
# unless asked for, and no half-written file when a run is interrupted or a worker crashes.
#   tournament-check.sh QUORVEL_TOURNAMENT
set -u
tool=$1
# shellcheck source=tests/tournament/check-common.sh
. "$(dirname "$0")/check-common.sh"

# run NAME OPTION...: a run that must succeed, its summary in NAME.txt.
run() {
    local name=$1
    shift
    "$tool" "$@" >"$work/$name.txt" 2>"$work/$name.err" || fail "the run $name failed: $(cat "$work/$name.err")"
}
# same A B: the two runs wrote the same summary, CSV and chart, byte for byte.
same() {
    for suffix in txt csv svg; do
        cmp -s "$work/$1.$suffix" "$work/$2.$suffix" || fail "$1 and $2 differ in their .$suffix"
    done
}

run first --seeds 11-40 --jobs 1 --csv "$work/first.csv" --svg "$work/first.svg"
run second --seeds 11-40 --jobs 1 --csv "$work/second.csv" --svg "$work/second.svg"
same first second
run jobs --seeds 11-40 --jobs 3 --csv "$work/jobs.csv" --svg "$work/jobs.svg"
same first jobs
grep -q "games per second with 3 jobs" "$work/jobs.err" || fail "no speed on standard error"

[ "$(head -1 "$work/first.csv")" = "seed,winner,frames,start,frame_time,max_frames" ] ||
    fail "wrong CSV header: $(head -1 "$work/first.csv")"
[ "$(tail -n +2 "$work/first.csv" | wc -l)" -eq 30 ] || fail "the CSV has not one row per game"
tail -n +2 "$work/first.csv" | grep -vqE '^[0-9]+,(ROCK|PAPER|SCISSORS|undecided),[0-9]+,150,0.0166666675,20000$' &&
    fail "a CSV row is malformed"
python3 -c "import sys, xml.etree.ElementTree as E; E.parse(sys.argv[1])" "$work/first.svg" ||
    fail "the SVG is not well-formed XML"
summed=$(grep -E '^\| (ROCK|PAPER|SCISSORS|undecided) ' "$work/first.txt" | awk -F'|' '{ s += $3 } END { print s }')
[ "$summed" = "30" ] || fail "the summary's games add up to $summed, not 30"

# Shards played apart, in any order, merge into exactly the one run over all their seeds.
run low --seeds 11-22 --csv "$work/low.csv"
run high --seeds 23-40 --jobs 2 --csv "$work/high.csv"
run merged --merge "$work/high.csv" "$work/low.csv" --csv "$work/merged.csv" --svg "$work/merged.svg"
same first merged

# An uneven start: its shards merge into the one run over their seeds, its start kept in every row.
run uneven --seeds 11-30 --start 30,50,50 --jobs 1 --csv "$work/uneven.csv" --svg "$work/uneven.svg"
grep -q '^11,[A-Za-z]*,[0-9]*,"30,50,50",' "$work/uneven.csv" || fail "the uneven start is not in the CSV: $(sed -n 2p "$work/uneven.csv")"
run unevenLow --seeds 11-17 --start 30,50,50 --csv "$work/unevenLow.csv"
run unevenHigh --seeds 18-30 --start 30,50,50 --csv "$work/unevenHigh.csv"
run unevenMerged --merge "$work/unevenHigh.csv" "$work/unevenLow.csv" --csv "$work/unevenMerged.csv" \
    --svg "$work/unevenMerged.svg"
same uneven unevenMerged

# A sweep: the same table and files with any number of jobs, and each start's games those of its tournament.
run sweep --sweep rock=30-70/40 --seeds 11-30 --jobs 1 --csv "$work/sweep.csv" --svg "$work/sweep.svg"
run sweepJobs --sweep rock=30-70/40 --seeds 11-30 --jobs 3 --csv "$work/sweepJobs.csv" --svg "$work/sweepJobs.svg"
same sweep sweepJobs
grep '"30,50,50"' "$work/sweep.csv" | cmp -s - <(tail -n +2 "$work/uneven.csv") ||
    fail "the sweep's games from 30,50,50 are not those of its tournament"
python3 -c "import sys, xml.etree.ElementTree as E; E.parse(sys.argv[1])" "$work/sweep.svg" ||
    fail "the sweep's SVG is not well-formed XML"
# A start whose games all ran to the cap has no median length, rather than one of 0 frames.
run capped --sweep size=30,90 --seeds 1-2 --max-frames 10 --jobs 2
[ "$(grep -c "| none decided  |$" "$work/capped.txt")" -eq 2 ] && ! grep -q " 0 frames" "$work/capped.txt" ||
    fail "a sweep of undecided games gives them a median length: $(cat "$work/capped.txt")"

# refused WHY OPTION...: status 2, a clear message, and no file written.
refused() {
    local why=$1
    shift
    "$tool" "$@" --csv "$work/bad.csv" --svg "$work/bad.svg" >"$work/bad.out" 2>"$work/bad.err"
    local status=$?
    [ "$status" -eq 2 ] || fail "$why: status $status, not 2"
    grep -q "quorvel-tournament: " "$work/bad.err" || fail "$why: no clear error: $(cat "$work/bad.err")"
    [ -e "$work/bad.csv" ] || [ -e "$work/bad.svg" ] && fail "$why: still wrote a file"
    return 0
}
for bad in "--games -3" "--games 0" "--frame-time nan" "--frame-time abc" "--start 7" "--seeds 5-1" "--max-frames x" \
    "--jobs 0" "--no-such-option" "--start 0,0,0" "--start 30,50" "--sweep rock=1-2000/1"; do
    # shellcheck disable=SC2086 # each case is meant to split into words
    refused "'$bad'" $bad
done
run other --seeds 41-45 --frame-time 0.02 --csv "$work/other.csv"
refused "other settings" --merge "$work/low.csv" "$work/other.csv"
refused "overlapping seeds" --merge "$work/first.csv" "$work/low.csv"
refused "a sweep's starts" --merge "$work/sweep.csv"
sed '5s/,[0-9]*,150,/,x,150,/' "$work/low.csv" >"$work/mangled.csv"
refused "a malformed row" --merge "$work/mangled.csv"

# The last two seeds there are: a seed counter of 32 bits would wrap round after the last and never finish.
timeout 60 "$tool" --seeds 4294967294-4294967295 --jobs 2 >"$work/last.txt" 2>"$work/last.err" ||
    fail "the last two seeds did not finish within 60 s: $(cat "$work/last.err")"
grep -q "2 games, seeds 4294967294-4294967295" "$work/last.txt" || fail "the last two seeds: $(head -1 "$work/last.txt")"

# Without --csv or --svg nothing is written.
mkdir "$work/quiet"
(cd "$work/quiet" && "$tool" --games 3 >/dev/null 2>&1) || fail "a run without files failed"
[ -z "$(ls -A "$work/quiet")" ] || fail "a run without --csv or --svg wrote $(ls -A "$work/quiet")"

# stopped SIGNAL WHOM STATUS: a long run, its CSV asked for, stopped by SIGNAL sent to the tool or to one of
# its workers, ends with STATUS and a clear message, and leaves no file behind.
stopped() {
    mkdir -p "$work/stop"
    "$tool" --games 100000 --jobs 2 --csv "$work/stop/out.csv" >/dev/null 2>"$work/stop.err" &
    pid=$!
    for _ in $(seq 100); do
        workers=$(pgrep -P "$pid")
        [ "$(echo "$workers" | wc -w)" -eq 2 ] && break
        sleep 0.1
    done
    sleep 0.5
    if [ "$2" = tool ]; then kill "-$1" "$pid"; else kill "-$1" "$(echo "$workers" | head -1)"; fi
    ends_within_20_s "SIG$1 to the $2"
    [ "$status" -eq "$3" ] || fail "SIG$1 to the $2: status $status, not $3"
    grep -q "quorvel-tournament: stopped" "$work/stop.err" || fail "SIG$1 to the $2: no clear message"
    [ -z "$(ls -A "$work/stop")" ] || fail "SIG$1 to the $2 left $(ls -A "$work/stop")"
}
stopped INT tool 130
grep -q "interrupted by Ctrl-C" "$work/stop.err" || fail "SIGINT is not named: $(cat "$work/stop.err")"
stopped TERM tool 130
grep -q "interrupted by SIGTERM" "$work/stop.err" || fail "SIGTERM is not named: $(cat "$work/stop.err")"
# A worker that dies all at once, as in a crash (SIGKILL, which no sanitizer's handler can catch).
stopped KILL worker 1
grep -q "killed by signal 9" "$work/stop.err" || fail "the crash is not named: $(cat "$work/stop.err")"

# Moved where no share/quorvel/assets stands beside its folder, the watch stops before it plays: status 2 and
# one line, never a window of white squares.
mkdir -p "$work/moved/bin"
cp "$tool" "$work/moved/bin/quorvel-tournament"
"$work/moved/bin/quorvel-tournament" --watch 7 >"$work/moved.out" 2>"$work/moved.err"
status=$?
[ "$status" -eq 2 ] || fail "a watch without assets: status $status, not 2"
[ "$(wc -l <"$work/moved.err")" -eq 1 ] && grep -q "cannot find the game's assets" "$work/moved.err" ||
    fail "a watch without assets: not the one line that says so: $(cat "$work/moved.err")"

# An empty DISPLAY names no display: the games find one of their own, and the watch says it has none.
DISPLAY="" "$tool" --games 2 >"$work/empty.txt" 2>"$work/empty.err" || fail "a run with DISPLAY empty: $(cat "$work/empty.err")"
DISPLAY="" "$tool" --watch 7 >/dev/null 2>"$work/empty.err"
status=$?
[ "$status" -eq 1 ] && grep -q "needs a display" "$work/empty.err" ||
    fail "a watch with DISPLAY empty: status $status, $(cat "$work/empty.err")"

"$tool" --help | grep -q -- "--frame-time" || fail "--help does not describe the options"
# Every exit status is listed, 2 for a watch or a recording that cannot start among them.
"$tool" --help | tr '\n' ' ' | grep -q "2 for a bad option, a CSV file that cannot be merged, or a watch or a recording that cannot start" ||
    fail "--help does not list every exit status"
echo "PASS"
