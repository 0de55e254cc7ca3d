#!/bin/sh
# quorvel-tournament on a system without FFmpeg's development files: the project configures and builds with
# pkg-config looking in an empty folder (so FFmpeg's libraries cannot be found), the tool's checks that do
# not record pass on that build, and --record says in one line, with status 2, that this build has no video
# recording. (The watch's checks run on the build after this one.)
#   without-video-check.sh SOURCE_DIR BUILD_DIR
set -u
source_dir=$1
build_dir=$2
fail() {
    echo "FAIL: $*"
    exit 1
}

mkdir -p "$build_dir.nothing"
# What was found in an earlier run is forgotten, so that the search is made afresh; what was compiled stays.
rm -f "$build_dir/CMakeCache.txt"
PKG_CONFIG_LIBDIR="$build_dir.nothing" PKG_CONFIG_PATH="" cmake -S "$source_dir" -B "$build_dir" \
    -DCMAKE_BUILD_TYPE=RelWithDebInfo -DQUORVEL_BUILD_TESTS=OFF >"$build_dir.log" 2>&1 || fail "configuring failed: $(cat "$build_dir.log")"
grep -q "built without video recording" "$build_dir.log" || fail "the configuration does not say that video is left out"
cmake --build "$build_dir" -j "$(nproc)" --target quorvel-tournament >>"$build_dir.log" 2>&1 ||
    fail "building failed: $(tail -20 "$build_dir.log")"
tool="$build_dir/tools/tournament/quorvel-tournament"
if ldd "$tool" | grep -q libav; then
    fail "the tool still links FFmpeg: $(ldd "$tool" | grep libav)"
fi

"$source_dir/tests/tournament/tournament-check.sh" "$tool" || fail "the tool's checks fail on the build without video"

out=$(mktemp -d)
trap 'rm -rf "$out"' EXIT
"$tool" --watch 7 --record "$out/seven.mp4" >"$out/stdout" 2>"$out/stderr"
status=$?
[ "$status" -eq 2 ] || fail "--record in a build without video: status $status, not 2"
[ "$(wc -l <"$out/stderr")" -eq 1 ] && grep -q "^quorvel-tournament: this build has no video recording" "$out/stderr" ||
    fail "--record in a build without video: not the one line that says so: $(cat "$out/stderr")"
[ -z "$(find "$out" -mindepth 1 ! -name stdout ! -name stderr)" ] || fail "--record in a build without video left a file"
echo "PASS"
