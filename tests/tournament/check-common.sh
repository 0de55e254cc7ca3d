# shellcheck shell=bash
# What the tournament's checks share, sourced by each: a scratch folder, a background tool to end on exit,
# a failure that says why, and a bounded wait for the tool to stop.

work=$(mktemp -d)
pid=""
cleanup() {
    [ -n "$pid" ] && kill -9 "$pid" 2>/dev/null
    rm -rf "$work"
}
trap cleanup EXIT
fail() {
    echo "FAIL: $*"
    exit 1
}

# ends_within_20_s WHAT: the background tool in $pid has stopped within 20 s of being told to, and its status
# is in $status; a tool that hangs fails here with a message, not as the test's time-out.
ends_within_20_s() {
    for _ in $(seq 200); do
        kill -0 "$pid" 2>/dev/null || break
        sleep 0.1
    done
    kill -0 "$pid" 2>/dev/null && fail "$1: still running 20 s later"
    wait "$pid"
    # shellcheck disable=SC2034 # read by the checks that source this file
    status=$?
    pid=""
}
