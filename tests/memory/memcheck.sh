#!/bin/bash
# Runs the real program under valgrind's memcheck for a short session that ends with E, and fails on any
# memory error or leak.
#
#   memcheck.sh QUORVEL KEEP_LOADED_SHIM SOURCE_DIR [truncated-png]
#
# With truncated-png, the program runs from a folder whose sprite sheet is cut short, so the path of a
# failed texture load is checked too.
#
# The shim keeps Mesa's software driver loaded until exit, so the few hundred bytes that the driver keeps
# for good stay reachable from it instead of turning into leaks from an unloaded module. What newer Mesa
# releases keep besides is suppressed by library (graphics-stack.supp), so every leak of ours still fails.
set -u
quorvel=$1
shim=$2
source_dir=$3

log=$(mktemp)
run_dir=$(mktemp -d)
trap 'rm -rf "$log" "$run_dir"' EXIT

mkdir -p "$run_dir/assets/textures" "$run_dir/assets/fonts"
cp "$source_dir/assets/fonts/pixelated.ttf" "$run_dir/assets/fonts/"
if [ "${4:-}" = "truncated-png" ]; then
    head -c 200 "$source_dir/assets/textures/objects.png" >"$run_dir/assets/textures/objects.png"
else
    cp "$source_dir/assets/textures/objects.png" "$run_dir/assets/textures/"
fi
cd "$run_dir" || exit 1
LD_PRELOAD=$shim valgrind --tool=memcheck --leak-check=full --show-leak-kinds=definite,indirect,possible \
    --errors-for-leak-kinds=definite,indirect,possible --track-origins=yes --keep-debuginfo=yes \
    --num-callers=40 --suppressions="$source_dir/tests/memory/graphics-stack.supp" --error-exitcode=99 --log-file="$log" "$quorvel" >/dev/null 2>&1 &
pid=$!

if ! window=$("$source_dir/legs/quorvel-window" "$pid" 60); then
    kill -9 "$pid" 2>/dev/null
    echo "FAIL: no window under valgrind within 60 s"
    cat "$log"
    exit 1
fi

# Let the simulation run for a while: spawning, chasing, converting and drawing all happen under memcheck.
sleep 3
xdotool windowfocus --sync "$window" && xdotool key e
for _ in $(seq 600); do
    kill -0 "$pid" 2>/dev/null || break
    sleep 0.1
done
if kill -0 "$pid" 2>/dev/null; then
    kill -9 "$pid"
    echo "FAIL: the program did not end within 60 s of E"
    exit 1
fi
wait "$pid"
status=$?

grep -E "ERROR SUMMARY|definitely lost|indirectly lost|possibly lost|still reachable" "$log"
if [ "$status" -ne 0 ] || ! grep -q "ERROR SUMMARY: 0 errors" "$log"; then
    echo "FAIL: exit status $status"
    cat "$log"
    exit 1
fi
echo "PASS: no memory error and no leak"
