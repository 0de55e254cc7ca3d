#!/bin/sh
# The same-games check never compares the games of an earlier run: a Debian leg empties its games folders
# before anything can skip it, the check says nothing is the same when it has fewer than two builds, and
# make runs the legs whose games it compares before it. The legs run from a scratch copy, with the games of
# an earlier run planted and a stand-in for legs/debian-mirror that names an archive nothing answers at.
#   stale-games-check.sh SOURCE_DIR
set -u
source_dir=$1
# shellcheck source=tests/legs/check-common.sh
. "$(dirname "$0")/check-common.sh"

cp -r "$source_dir/legs" "$work/legs"
# Port 9 (discard): nothing answers there.
archive=http://127.0.0.1:9/debian
printf '#!/bin/sh\necho %s\n' "$archive" >"$work/legs/debian-mirror"
# This machine's games, and the very same files left in the Debian 13 leg's folders by an earlier run.
for dir in build/games build-trixie/games build-trixie/games-arm64; do
    mkdir -p "$work/$dir"
    for file in summary-150.txt games-150.csv summary-300.txt games-300.csv; do
        echo "1,ROCK,211" >"$work/$dir/$file"
    done
    echo "an earlier run" >"$work/$dir/build.txt"
done

"$work/legs/check-debian" trixie --arm64 >"$work/leg.log" 2>&1 || fail "the leg failed instead of skipping: $(cat "$work/leg.log")"
grep -q "SKIPPED: the Debian trixie leg did not run: Debian's archive ($archive) is out of reach" "$work/leg.log" ||
    fail "the leg did not say that it skipped, and why: $(cat "$work/leg.log")"
[ ! -e "$work/build-trixie/games" ] && [ ! -e "$work/build-trixie/games-arm64" ] ||
    fail "the skipped leg left the games of an earlier run in place"

"$work/legs/check-same-games" "$work/build/games" "$work/build-trixie/games" "$work/build-trixie/games-arm64" \
    >"$work/same.log" 2>&1 && fail "the same-games check passed with one build's games: $(cat "$work/same.log")"
grep -q "the same" "$work/same.log" && fail "the same-games check says the same: $(cat "$work/same.log")"

# make, asked for the comparison alone, runs both Debian legs before it.
make -n -C "$source_dir" test-same-games 2>/dev/null | awk '
    /check-debian trixie/ { trixie = NR } /check-debian testing/ { testing = NR } /check-same-games/ { same = NR }
    END { exit !(trixie && testing && same > trixie && same > testing) }
' || fail "make test-same-games does not run the Debian legs before the comparison"
echo "a skipped Debian leg leaves no games behind, and nothing is called the same"
