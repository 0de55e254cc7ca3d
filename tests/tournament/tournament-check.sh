#!/bin/bash
# The tournament tool as a user runs it: reproducible in a fresh process and with any number of jobs,
# shards of a tournament, a sweep or a map that merge into exactly one run, clear errors with status 2 for bad
# values and bad files, paths that cannot be written refused before any game, links, FIFOs, devices and
# standard output written as the user means them, no file unless asked for, and no half-written file when a
# run is interrupted, a worker crashes or the path goes bad.
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
# A sweep played in seed shards merges into exactly the one sweep, as a tournament's do, and its file into itself.
run sweepLow --sweep rock=30-70/40 --seeds 11-18 --csv "$work/sweepLow.csv"
run sweepHigh --sweep rock=30-70/40 --seeds 19-30 --jobs 2 --csv "$work/sweepHigh.csv"
run sweepMerged --merge "$work/sweepHigh.csv" "$work/sweepLow.csv" --csv "$work/sweepMerged.csv" \
    --svg "$work/sweepMerged.svg"
same sweep sweepMerged
run sweepItself --merge "$work/sweep.csv" --csv "$work/sweepItself.csv" --svg "$work/sweepItself.svg"
same sweep sweepItself
# A map: the same files with any number of jobs, each start's games those of its own tournament, in the map's
# order, and seed shards that merge into exactly the one map.
run map --map 9/3 --seeds 11-14 --jobs 1 --csv "$work/map.csv" --svg "$work/map.svg"
run mapJobs --map 9/3 --seeds 11-14 --jobs 2 --csv "$work/mapJobs.csv" --svg "$work/mapJobs.svg"
same map mapJobs
for rocks in 0 3 6 9; do
    for papers in $(seq 0 3 $((9 - rocks))); do
        run one --start "$rocks,$papers,$((9 - rocks - papers))" --seeds 11-14 --jobs 2 --csv "$work/one.csv"
        tail -n +2 "$work/one.csv"
    done
done >"$work/oneByOne.csv"
tail -n +2 "$work/map.csv" | cmp -s - "$work/oneByOne.csv" ||
    fail "the map's games are not those of its starts played one by one: $(diff "$work/oneByOne.csv" <(tail -n +2 "$work/map.csv") | head -3)"
[ "$(grep -c "<title>" "$work/map.svg")" -eq 10 ] || fail "the map's chart has not a cell with a tooltip per start"
python3 -c "import sys, xml.etree.ElementTree as E; E.parse(sys.argv[1])" "$work/map.svg" ||
    fail "the map's SVG is not well-formed XML"
# A start whose games mostly ran to the cap is hatched, not coloured as a winner: with two games, where both did.
run mapCapped --map 9/3 --seeds 1-2 --max-frames 5 --jobs 2 --csv "$work/mapCapped.csv" --svg "$work/mapCapped.svg"
capped=$(awk -F'"' 'NR > 1 && /,undecided,/ { n[$2]++ } END { for (s in n) if (n[s] == 2) c++; print c + 0 }' \
    "$work/mapCapped.csv")
[ "$capped" -gt 0 ] && [ "$(grep -c "<polygon [^>]*fill='url(#undecided)'" "$work/mapCapped.svg")" -eq "$capped" ] ||
    fail "the map's chart does not hatch exactly the $capped starts whose games ran to the cap"
run mapLow --map 9/3 --seeds 11-12 --jobs 2 --csv "$work/mapLow.csv"
run mapHigh --map 9/3 --seeds 13-14 --csv "$work/mapHigh.csv"
run mapMerged --merge "$work/mapHigh.csv" "$work/mapLow.csv" --csv "$work/mapMerged.csv" --svg "$work/mapMerged.svg"
same map mapMerged
# A start whose games all ran to the cap has no median length, rather than one of 0 frames.
run capped --sweep size=30,90 --seeds 1-2 --max-frames 10 --jobs 2
{ [ "$(grep -c "| none decided  |$" "$work/capped.txt")" -eq 2 ] && ! grep -q " 0 frames" "$work/capped.txt"; } ||
    fail "a sweep of undecided games gives them a median length: $(cat "$work/capped.txt")"

# Outputs where the user means them. A link is followed to its file, which gets what a plain file gets, and
# stays a link; a FIFO, a device and standard output are written where they stand and stay what they are.
run direct --seeds 11-15 --jobs 2 --csv "$work/direct.csv" --svg "$work/direct.svg"
echo old | tee "$work/target.csv" >"$work/target.svg"
ln -s target.csv "$work/link.csv"
ln -s target.svg "$work/link.svg"
run linked --seeds 11-15 --jobs 2 --csv "$work/link.csv" --svg "$work/link.svg"
{ [ -L "$work/link.csv" ] && [ -L "$work/link.svg" ]; } || fail "a link was replaced by a file"
{ cmp -s "$work/target.csv" "$work/direct.csv" && cmp -s "$work/target.svg" "$work/direct.svg"; } ||
    fail "the files behind the links are not what the run wrote"
"$tool" --seeds 11-15 --csv "$work/link.csv" --svg "$work/target.csv" >/dev/null 2>"$work/one.err"
status=$?
{ [ "$status" -eq 2 ] && cmp -s "$work/target.csv" "$work/direct.csv"; } ||
    fail "a link and its file as --csv and --svg: status $status, $(cat "$work/one.err")"
mkfifo "$work/fifo"
cat "$work/fifo" >"$work/fifo.got" &
pid=$!
run fifo --seeds 11-15 --jobs 2 --csv "$work/fifo"
ends_within_20_s "the FIFO's reader"
{ [ -p "$work/fifo" ] && cmp -s "$work/fifo.got" "$work/direct.csv"; } ||
    fail "the FIFO's reader did not get the CSV, or the FIFO was replaced"
# Only root can make a device; as a user the check writes to the system's own null device instead, which a run
# must leave as it is just the same.
device=/dev/null
if [ "$(id -u)" -eq 0 ]; then
    device=$work/null
    mknod "$device" c 1 3
fi
"$tool" --seeds 11-15 --jobs 2 --csv "$device" >/dev/null 2>"$work/device.err"
status=$?
{ [ "$status" -eq 0 ] && [ -c "$device" ]; } ||
    fail "--csv $device: status $status, $(stat -c %F "$device"), $(cat "$work/device.err")"
lines=$("$tool" --seeds 11-15 --jobs 2 --csv - 2>"$work/stdout.err" | wc -l)
[ "$lines" -eq 6 ] || fail "--csv - gave $lines lines, not the header and one per game: $(cat "$work/stdout.err")"
grep -q "^QUORVEL tournament: 5 games" "$work/stdout.err" || fail "with --csv -, the summary is not on standard error"
"$tool" --seeds 11-15 --jobs 2 --csv /dev/full >/dev/null 2>"$work/full.err"
status=$?
{ [ "$status" -ne 0 ] && grep -qx "quorvel-tournament: cannot write /dev/full: No space left on device" "$work/full.err"; } ||
    fail "--csv /dev/full: status $status, $(cat "$work/full.err")"

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
    "--jobs 0" "--no-such-option" "--start 0,0,0" "--start 30,50" "--sweep rock=1-2000/1" "--sweep rock=20,20" \
    "--map 150/7" "--map 3003/3" "--map 3000/1 --games 3" "--map 150/10 --start 150"; do
    # shellcheck disable=SC2086 # each case is meant to split into words
    refused "'$bad'" $bad
done
run other --seeds 41-45 --frame-time 0.02 --csv "$work/other.csv"
refused "other settings" --merge "$work/low.csv" "$work/other.csv"
refused "overlapping seeds" --merge "$work/first.csv" "$work/low.csv"
run otherSweep --sweep rock=30,50 --seeds 31-32 --csv "$work/otherSweep.csv"
# A sweep's file with a tournament's (one of whose starts it has) or another sweep's, in either order.
while read -r one other; do
    refused "$one with $other" --merge "$work/$one.csv" "$work/$other.csv"
    grep -q ": they are not shards of one run$" "$work/bad.err" || fail "$one with $other: $(cat "$work/bad.err")"
done <<EOF
sweepLow uneven
uneven sweepLow
sweepLow otherSweep
EOF
refused "a sweep's overlapping shards" --merge "$work/sweep.csv" "$work/sweepLow.csv"
grep -v '^[0-9]*,[A-Za-z]*,[0-9]*,"3,0,6",' "$work/map.csv" >"$work/mapShort.csv"
refused "a map with a start missing" --merge "$work/mapShort.csv"
grep -q "are of 9 of the 10 starts of the map 9/3" "$work/bad.err" || fail "a map with a start missing: $(cat "$work/bad.err")"
sed '5s/,[0-9]*,150,/,x,150,/' "$work/low.csv" >"$work/mangled.csv"
refused "a malformed row" --merge "$work/mangled.csv"
# A shard dealt by another C library's rand(), written by hand: it merges with no shard of glibc's, and the
# chart cannot replay its game here.
printf 'seed,winner,frames,start,frame_time,max_frames,generator\n41,ROCK,200,150,0.0166666675,20000,16807\n' \
    >"$work/otherRand.csv"
refused "rows of two generators" --merge "$work/low.csv" "$work/otherRand.csv"
{ grep -q "glibc's rand" "$work/bad.err" && grep -q "16807" "$work/bad.err"; } ||
    fail "the refused merge does not name both generators: $(cat "$work/bad.err")"
refused "a chart of another generator's games" --merge "$work/otherRand.csv"

# as_a_user COMMAND...: runs it as a user whom permission bits stop. Root reads and writes whatever they say,
# so as root it runs as nobody, and the scratch folder lets everyone through. (env runs a command as it is.)
chmod o+x "$work"
as_a_user() {
    if [ "$(id -u)" -eq 0 ]; then setpriv --reuid=65534 --regid=65534 --clear-groups "$@"; else "$@"; fi
}

# Every path to write is checked before the first game, in every mode: a bad one is refused at once with
# status 2 and the one line that names it and the system's reason (no game played, so no speed line), and
# is left as it was.
mkdir "$work/folder" "$work/locked"
touch "$work/plain"
chmod 555 "$work/locked"
while IFS='|' read -r runner option path reason mode; do
    # shellcheck disable=SC2086 # the mode's options are meant to split into words
    "$runner" "$tool" $mode "$option" "$path" >/dev/null 2>"$work/path.err"
    status=$?
    [ "$status" -eq 2 ] && [ "$(cat "$work/path.err")" = "quorvel-tournament: cannot write $path: $reason" ] ||
        fail "$mode $option $path: status $status, $(cat "$work/path.err")"
done <<EOF
env|--svg|$work/nowhere/chart.svg|No such file or directory|--games 20 --jobs 2
env|--csv|$work/folder|Is a directory|--sweep rock=30-70/40 --seeds 1-10 --jobs 2
env|--csv|$work/plain/games.csv|Not a directory|--merge $work/low.csv
as_a_user|--svg|$work/locked/chart.svg|Permission denied|--games 20 --jobs 2
EOF
[ -z "$(ls -A "$work/folder")$(ls -A "$work/locked")" ] && [ ! -e "$work/nowhere" ] && [ ! -s "$work/plain" ] ||
    fail "a refused path was changed"
# A device is written where it stands: a user who may make no file in /dev may still write to /dev/null.
# The suite's display admits only its own user, so the user plays on a virtual display of the tool's own.
(
    unset DISPLAY XAUTHORITY
    as_a_user "$tool" --seeds 11-12 --jobs 2 --csv /dev/null >/dev/null 2>"$work/user.err"
) || fail "--csv /dev/null as a user: $(cat "$work/user.err")"
# A path that goes bad while the games are played fails the run with the reason, and leaves no file. The tool
# is held still while its workers play, so that the folder is there before it can write.
"$tool" --games 1000 --jobs 2 --csv "$work/late.csv" >/dev/null 2>"$work/late.err" &
pid=$!
for _ in $(seq 100); do
    [ "$(pgrep -c -P "$pid")" -eq 2 ] && break
    sleep 0.1
done
kill -STOP "$pid"
mkdir "$work/late.csv" || fail "the folder could not be made in the file's place"
kill -CONT "$pid"
wait "$pid"
status=$?
pid=""
[ "$status" -eq 1 ] && grep -qx "quorvel-tournament: cannot write $work/late.csv: Is a directory" "$work/late.err" ||
    fail "a folder made in the file's place during the run: status $status, $(cat "$work/late.err")"
[ -z "$(ls -A "$work/late.csv")" ] && ! ls "$work"/late.csv.part-* >/dev/null 2>&1 || fail "the failed run left a file"

# What cannot be merged, read or not, is refused with status 2 and one line that names it and why, never with
# an abort: a folder, a file that is gone, one that fails as it is read, one without read permission.
cp "$work/low.csv" "$work/secret.csv"
chmod 000 "$work/secret.csv"
printf 'seed,winner,frames,start,frame_time,max_frames\n0,ROCK,200,150,0.0166666675,20000\n' >"$work/zero.csv"
while IFS='|' read -r runner path why; do
    "$runner" "$tool" --merge "$path" >/dev/null 2>"$work/merge.err"
    status=$?
    [ "$status" -eq 2 ] && [ "$(cat "$work/merge.err")" = "quorvel-tournament: $path: $why" ] ||
        fail "--merge $path: status $status, $(cat "$work/merge.err")"
done <<EOF
env|$work/folder|cannot be read: Is a directory
env|$work/gone.csv|cannot be read: No such file or directory
env|/proc/self/mem|cannot be read: Input/output error
as_a_user|$work/secret.csv|cannot be read: Permission denied
env|/dev/zero|line 1 is not the header 'seed,winner,frames,start,frame_time,max_frames'
env|$work/zero.csv|line 2: the seed '0' is not a seed from 1 to 4294967295: seed 0 plays the same game as seed 1
EOF

# The last two seeds there are: a seed counter of 32 bits would wrap round after the last and never finish.
timeout 60 "$tool" --seeds 4294967294-4294967295 --jobs 2 >"$work/last.txt" 2>"$work/last.err" ||
    fail "the last two seeds did not finish within 60 s: $(cat "$work/last.err")"
grep -q "2 games, seeds 4294967294-4294967295" "$work/last.txt" || fail "the last two seeds: $(head -1 "$work/last.txt")"

# Without --csv or --svg nothing is written.
mkdir "$work/quiet"
(cd "$work/quiet" && "$tool" --games 3 >/dev/null 2>&1) || fail "a run without files failed"
[ -z "$(ls -A "$work/quiet")" ] || fail "a run without --csv or --svg wrote $(ls -A "$work/quiet")"

# runs PID: the process runs (a process that has ended counts as gone even before it is reaped).
runs() {
    ps -o stat= -p "$1" | grep -qv Z
}
# socket_of PID: the file of the X socket that the server PID listens on.
socket_of() {
    local held
    held=$(find "/proc/$1/fd" -lname 'socket:*' -printf '%l\n' 2>/dev/null | tr -dc '0-9\n')
    awk -v held="$held" 'BEGIN { split(held, list, "\n"); for (i in list) inode[list[i]] = 1 }
        ($7 in inode) && $8 ~ "^/tmp/[.]X11-unix/" { print $8 }' /proc/net/unix
}
# long [without-display]: a long run in the background, its CSV asked for, in $pid; without a display, the
# tool's temporary folder is $work/stop-tmp, and its server's process is in $server once the workers run.
long() {
    mkdir -p "$work/stop" "$work/stop-tmp"
    if [ "${1:-}" = without-display ]; then
        env -u DISPLAY TMPDIR="$work/stop-tmp" "$tool" --games 100000 --jobs 2 --csv "$work/stop/out.csv" \
            >/dev/null 2>"$work/stop.err" &
    else
        "$tool" --games 100000 --jobs 2 --csv "$work/stop/out.csv" >/dev/null 2>"$work/stop.err" &
    fi
    pid=$!
    for _ in $(seq 100); do
        workers=$(pgrep -P "$pid" -f -- "--games 100000")
        [ "$(echo "$workers" | wc -w)" -eq 2 ] && break
        sleep 0.1
    done
    server=$(pgrep -P "$pid" -x Xvfb)
    sleep 0.5
}
# stopped SIGNAL WHOM STATUS [without-display]: a long run stopped by SIGNAL sent to the tool or to one of its
# workers ends with STATUS and a clear message, and leaves no file behind; without a display, its server is
# gone with it, and so are the server's socket and every temporary file.
stopped() {
    long "${4:-}"
    local socket=""
    [ -n "$server" ] && socket=$(socket_of "$server")
    if [ "$2" = tool ]; then kill "-$1" "$pid"; else kill "-$1" "$(echo "$workers" | head -1)"; fi
    ends_within_20_s "SIG$1 to the $2"
    [ "$status" -eq "$3" ] || fail "SIG$1 to the $2: status $status, not $3"
    grep -q "quorvel-tournament: stopped" "$work/stop.err" || fail "SIG$1 to the $2: no clear message"
    [ -z "$(ls -A "$work/stop")" ] || fail "SIG$1 to the $2 left $(ls -A "$work/stop")"
    if [ -n "${4:-}" ]; then
        [ -n "$server" ] || fail "SIG$1 to the $2: no server of the tool's own was found"
        [ -n "$socket" ] || fail "SIG$1 to the $2: the socket of the tool's server was not found"
        runs "$server" && fail "SIG$1 to the $2 left the tool's X server running"
        # The socket's file may only stand where another server has taken the number since.
        [ -e "$socket" ] && ! grep -q " $socket\$" /proc/net/unix && fail "SIG$1 to the $2 left $socket"
        [ -z "$(ls -A "$work/stop-tmp")" ] || fail "SIG$1 to the $2 left $(ls -A "$work/stop-tmp")"
    fi
}
stopped INT tool 130
grep -q "interrupted by Ctrl-C" "$work/stop.err" || fail "SIGINT is not named: $(cat "$work/stop.err")"
stopped TERM tool 130
grep -q "interrupted by SIGTERM" "$work/stop.err" || fail "SIGTERM is not named: $(cat "$work/stop.err")"
stopped INT tool 130 without-display
stopped TERM tool 130 without-display
# Killed outright, the tool cannot end its server, which then ends by itself.
long without-display
kill -KILL "$pid"
ends_within_20_s "SIGKILL to the tool"
for _ in $(seq 200); do
    runs "$server" || break
    sleep 0.1
done
runs "$server" && fail "the X server of a tool killed outright still runs 20 s later"
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
{ [ "$(wc -l <"$work/moved.err")" -eq 1 ] && grep -q "cannot find the game's assets" "$work/moved.err"; } ||
    fail "a watch without assets: not the one line that says so: $(cat "$work/moved.err")"

# An empty DISPLAY names no display: the games find one of their own, and the watch says it has none.
DISPLAY='' "$tool" --games 2 >"$work/empty.txt" 2>"$work/empty.err" || fail "a run with DISPLAY empty: $(cat "$work/empty.err")"
DISPLAY='' "$tool" --watch 7 >/dev/null 2>"$work/empty.err"
status=$?
{ [ "$status" -eq 1 ] && grep -q "needs a display" "$work/empty.err"; } ||
    fail "a watch with DISPLAY empty: status $status, $(cat "$work/empty.err")"

"$tool" --help | grep -q -- "--frame-time" || fail "--help does not describe the options"
# Every exit status is listed, 2 for a watch or a recording that cannot start among them.
"$tool" --help | tr '\n' ' ' | grep -q "2 for a bad option, a CSV file that cannot be merged, or a watch or a recording that cannot start" ||
    fail "--help does not list every exit status"
echo "PASS"
