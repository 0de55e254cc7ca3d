#!/bin/sh
# make-docs never writes a page whose markers it cannot find in pairs: scripts/readme-section puts a sweep's
# table between its markers in docs/who-wins.md and keeps the rest, and with a marker missing or astray says
# which and leaves the page as it was. It runs on scratch copies of that page.
#   readme-section-check.sh SOURCE_DIR
set -u
source_dir=$1
# shellcheck source=tests/legs/check-common.sh
. "$(dirname "$0")/check-common.sh"
section="$source_dir/scripts/readme-section"
page="$source_dir/docs/who-wins.md"
echo "| a table |" >"$work/table"

cp "$page" "$work/page.md"
"$section" "$work/page.md" sweep-rock "$work/table" || fail "the page's own markers were refused"
awk '$0 == "<!-- sweep-rock -->" { getline; print; exit }' "$work/page.md" | grep -qx "| a table |" ||
    fail "the table is not under its start marker"
[ "$(tail -n 20 "$work/page.md")" = "$(tail -n 20 "$page")" ] || fail "the page's end was not kept"

# WHAT IT SAYS|SED SCRIPT: a page with its markers so changed is refused, saying so, and left as it is.
while IFS='|' read -r says change; do
    sed "$change" "$page" >"$work/page.md"
    cp "$work/page.md" "$work/planted"
    "$section" "$work/page.md" sweep-rock "$work/table" 2>"$work/err" && fail "taken with sed '$change'"
    grep -qF "$says" "$work/err" || fail "with sed '$change' it does not say \"$says\": $(cat "$work/err")"
    cmp -s "$work/page.md" "$work/planted" || fail "with sed '$change' the page was rewritten"
done <<'EOF'
no line "<!-- end of sweep-rock -->"|/^<!-- end of sweep-rock -->$/d
no line "<!-- sweep-rock -->"|/^<!-- sweep-rock -->$/d
the line "<!-- sweep-rock -->" stands 2 times|/^<!-- sweep-rock -->$/p
the line "<!-- end of sweep-rock -->" stands before|s/^<!-- sweep-rock -->$/=/; s/^<!-- end of sweep-rock -->$/<!-- sweep-rock -->/; s/^=$/<!-- end of sweep-rock -->/
EOF
echo "make-docs' markers in docs/who-wins.md are put between in pairs, and a missing one is named"
