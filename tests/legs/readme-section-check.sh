#!/bin/sh
# make-docs never writes a README whose markers it cannot find in pairs: scripts/readme-section puts a
# sweep's table between its markers and keeps the rest, and with a marker missing or astray says which and
# leaves the README as it was. It runs on scratch copies of the project's README.
#   readme-section-check.sh SOURCE_DIR
set -u
source_dir=$1
# shellcheck source=tests/legs/check-common.sh
. "$(dirname "$0")/check-common.sh"
section="$source_dir/scripts/readme-section"
echo "| a table |" >"$work/table"

cp "$source_dir/README.md" "$work/README.md"
"$section" "$work/README.md" sweep-rock "$work/table" || fail "the README's own markers were refused"
awk '$0 == "<!-- sweep-rock -->" { getline; print; exit }' "$work/README.md" | grep -qx "| a table |" ||
    fail "the table is not under its start marker"
[ "$(tail -n 20 "$work/README.md")" = "$(tail -n 20 "$source_dir/README.md")" ] || fail "the README's end was not kept"

# WHAT IT SAYS|SED SCRIPT: a README with its markers so changed is refused, saying so, and left as it is.
while IFS='|' read -r says change; do
    sed "$change" "$source_dir/README.md" >"$work/README.md"
    cp "$work/README.md" "$work/planted"
    "$section" "$work/README.md" sweep-rock "$work/table" 2>"$work/err" && fail "taken with sed '$change'"
    grep -qF "$says" "$work/err" || fail "with sed '$change' it does not say \"$says\": $(cat "$work/err")"
    cmp -s "$work/README.md" "$work/planted" || fail "with sed '$change' the README was rewritten"
done <<'EOF'
no line "<!-- end of sweep-rock -->"|/^<!-- end of sweep-rock -->$/d
no line "<!-- sweep-rock -->"|/^<!-- sweep-rock -->$/d
the line "<!-- sweep-rock -->" stands 2 times|/^<!-- sweep-rock -->$/p
the line "<!-- end of sweep-rock -->" stands before|s/^<!-- sweep-rock -->$/=/; s/^<!-- end of sweep-rock -->$/<!-- sweep-rock -->/; s/^=$/<!-- end of sweep-rock -->/
EOF
echo "make-docs' README markers are put between in pairs, and a missing one is named"
