# shellcheck shell=sh
# What the legs' checks share, sourced by each: a scratch folder removed on exit, and a failure that says why.

work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
fail() {
    echo "FAIL: $*"
    exit 1
}
