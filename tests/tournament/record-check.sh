#!/bin/bash
# quorvel-tournament --watch SEED --record FILE as a user runs it: each format read back by ffprobe at
# 1200 x 800, the frame rate asked for and the game's frames plus two seconds of banner; the first frame
# the seed's spawn, as the watch's screenshot check sees it; the last the winner's red banner; the same
# seed recorded twice the same file byte for byte; bad input and Ctrl-C refused with their status and no file.
#   record-check.sh QUORVEL_TOURNAMENT WATCH_CHECK
set -u
tool=$1
watch_check=$2
# shellcheck source=tests/tournament/check-common.sh
. "$(dirname "$0")/check-common.sh"

# record FILE OPTION...: a recording that must succeed.
record() {
    local file=$1
    shift
    "$tool" --watch 7 "$@" --record "$work/$file" 2>"$work/$file.err" || fail "recording $file: $(cat "$work/$file.err")"
}
# probe FILE: width,height,frame rate,frames, as ffprobe reads them back.
probe() {
    ffprobe -v error -count_frames -select_streams v:0 \
        -show_entries stream=width,height,r_frame_rate,nb_read_frames -of csv=p=0 "$work/$1"
}
# frames FRAME_TIME: the frames that seed 7 plays from the 150 start at that frame time, as the tournament
# counts them.
frames() {
    "$tool" --seeds 7-7 --jobs 1 --frame-time "$1" --csv "$work/seven.csv" >/dev/null 2>&1 ||
        fail "the tournament could not play seed 7"
    tail -1 "$work/seven.csv" | cut -d, -f3
}

# A whole game, to its banner: the game's frames, then the banner for 2 s, the win's own frame included.
record seven.mp4
expected="1200,800,60/1,$(($(frames 0.0166666675) + 120))"
[ "$(probe seven.mp4)" = "$expected" ] || fail "seven.mp4 reads back as $(probe seven.mp4), not $expected"
ffmpeg -v error -sseof -0.1 -i "$work/seven.mp4" -frames:v 1 -update 1 "$work/last.png" || fail "no last frame"
red=$(convert "$work/last.png" -fuzz 15% -fill lime -opaque "rgb(255,0,0)" -fuzz 0 -fill black +opaque lime \
    -fill white -opaque lime -format "%[fx:mean*w*h]" info:)
awk -v red="$red" 'BEGIN { exit !(red >= 2000) }' || fail "the last frame shows no red banner ($red red pixels)"

# The other formats, each cut short by the frame cap (an undecided game ends there): the spawn and 30 updates.
record seven.webm --max-frames 30
[ "$(probe seven.webm)" = "1200,800,60/1,31" ] || fail "seven.webm reads back as $(probe seven.webm)"
# A GIF counts time in hundredths of a second, so its test plays at 50 frames a second.
record seven.gif --max-frames 30 --frame-time 0.02
[ "$(probe seven.gif)" = "1200,800,50/1,31" ] || fail "seven.gif reads back as $(probe seven.gif)"
# The GIF keeps the picture's own colours: its first frame is the spawn, checked as the watch's screenshot is.
ffmpeg -v error -i "$work/seven.gif" -frames:v 1 "$work/first.png" || fail "no first frame"
"$watch_check" "$work/first.png" 7 50 || fail "the first frame is not the tournament's spawn for seed 7"

# A link, with its extension in capitals, is followed: the file it names is that video, and the link stays.
ln -s linked.gif "$work/link.GIF"
record link.GIF --max-frames 30 --frame-time 0.02
{ [ -L "$work/link.GIF" ] && cmp -s "$work/linked.gif" "$work/seven.gif"; } ||
    fail "link.GIF: not followed to the GIF that seven.gif is"

# A driver that cannot draw the texture in the window's layout: the frames still come the right way up.
MESA_EXTENSION_OVERRIDE=-GL_ARB_clip_control record plain.gif --max-frames 1 --frame-time 0.02
ffmpeg -v error -i "$work/plain.gif" -frames:v 1 "$work/plain.png" || fail "no first frame without clip control"
"$watch_check" "$work/plain.png" 7 50 || fail "without clip control, the first frame is not the spawn for seed 7"

# The same seed twice: the same file, byte for byte (WebM's container has the most room for a difference).
record again.webm --max-frames 30
cmp "$work/seven.webm" "$work/again.webm" || fail "the same seed recorded twice gives another file"

# refused WHY STATUS FILE OPTION...: that status, one line naming the problem, and no file at all.
refused() {
    local why=$1 status=$2 file=$3
    shift 3
    "$tool" --watch 7 --max-frames 30 "$@" --record "$file" >/dev/null 2>"$work/refused.err"
    local got=$?
    [ "$got" -eq "$status" ] || fail "$why: status $got, not $status"
    grep -q "^quorvel-tournament: " "$work/refused.err" || fail "$why: no message: $(cat "$work/refused.err")"
    [ -f "$file" ] || ls -d "$file".part-* >/dev/null 2>&1 && fail "$why: left $(ls -d "$file"*)"
    return 0
}
refused "an unknown extension" 2 "$work/seven.avi"
refused "a folder that does not exist" 2 "$work/nowhere/seven.mp4"
grep -q "cannot write" "$work/refused.err" || fail "the unwritable path is not named: $(cat "$work/refused.err")"
# A folder in the file's place is refused before the first frame, not after the whole video.
mkdir "$work/folder.mp4"
refused "a folder in the file's place" 2 "$work/folder.mp4"
[ "$(cat "$work/refused.err")" = "quorvel-tournament: cannot write $work/folder.mp4: Is a directory" ] ||
    fail "a folder in the file's place: $(cat "$work/refused.err")"

# An MP4 file is not written in order, which a FIFO cannot take: refused with the reason, the FIFO left as it is.
mkfifo "$work/fifo.mp4"
cat "$work/fifo.mp4" >/dev/null &
pid=$!
refused "an MP4 into a FIFO" 2 "$work/fifo.mp4"
grep -q "cannot write $work/fifo.mp4: a FIFO, a pipe or a terminal cannot take .mp4" "$work/refused.err" ||
    fail "an MP4 into a FIFO: $(cat "$work/refused.err")"
ends_within_20_s "the FIFO's reader"
[ -p "$work/fifo.mp4" ] || fail "the FIFO was replaced"

# Ctrl-C or SIGTERM in the middle of a long game: status 130, the signal named, and no file, partial or final.
for signal in INT TERM; do
    "$tool" --watch 852 --start 300 --record "$work/long.mp4" >/dev/null 2>"$work/long.err" &
    pid=$!
    for _ in $(seq 100); do
        ls "$work"/long.mp4.part-* >/dev/null 2>&1 && break
        sleep 0.1
    done
    sleep 0.5
    kill "-$signal" "$pid"
    ends_within_20_s "SIG$signal"
    [ "$status" -eq 130 ] || fail "SIG$signal: status $status, not 130"
    ls "$work"/long.mp4* >/dev/null 2>&1 && fail "SIG$signal left $(ls "$work"/long.mp4*)"
    name=$([ "$signal" = INT ] && echo Ctrl-C || echo SIGTERM)
    grep -q "stopped, no file written: interrupted by $name" "$work/long.err" ||
        fail "SIG$signal is not named as $name: $(cat "$work/long.err")"
done
echo "PASS"
