#!/bin/sh
# docs-check.py fails on each break planted in a scratch copy of README.md and docs/, naming it: a link to
# no file, an anchor that no heading has (on its own page and on another), an image that is not there, a
# table cell and a paragraph over their limits. It takes what GitHub takes: a heading's anchor without its
# punctuation and code marks, a repeated heading's by its number, a link inside a code span or block as text.
# The copy as it stands passes first, so that each failure is the planted break's.
#   planted-check.sh SOURCE_DIR
set -u
source_dir=$(cd "$1" && pwd)
check="$(dirname "$0")/docs-check.py"
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
fail() {
    echo "FAIL: $*"
    exit 1
}
# The pages are copied, to be changed; everything else they may link to stands in as a link to the original.
fresh_copy() {
    rm -rf "$work/tree"
    mkdir -p "$work/tree/docs"
    for entry in "$source_dir"/* "$source_dir"/docs/*; do
        name=${entry#"$source_dir"/}
        case "$name" in
        docs) ;;
        README.md | docs/*.md) cp "$entry" "$work/tree/$name" ;;
        *) ln -s "$entry" "$work/tree/$name" ;;
        esac
    done
}
fresh_copy
"$check" "$work/tree" >"$work/out" || fail "the unchanged copy is refused: $(cat "$work/out")"

# FILE;LINES TO ADD (\n between lines);WHAT IT SAYS (empty: it must pass)
while IFS=';' read -r file lines says; do
    fresh_copy
    printf '\n%b\n' "$lines" >>"$work/tree/$file"
    if "$check" "$work/tree" >"$work/out"; then
        [ -z "$says" ] || fail "with '$lines' added to $file it passes"
    else
        [ -n "$says" ] || fail "with '$lines' added to $file it fails: $(cat "$work/out")"
        grep -qF "$says" "$work/out" || fail "with '$lines' added to $file it does not say \"$says\": $(cat "$work/out")"
    fi
done <<'LINES'
README.md;[a page](docs/no-such-page.md);link docs/no-such-page.md: no such file
docs/README.md;[a page](no-such-page.md#intro);link no-such-page.md#intro: no such file
docs/README.md;[a heading](#no-such-heading);link #no-such-heading: no heading with the anchor
docs/README.md;[a heading](../README.md#no-such-heading);link ../README.md#no-such-heading: no heading
docs/README.md;![a picture](no-such-picture.png);image no-such-picture.png: no such file
docs/README.md;## Who wins? (`make test`)\n[its anchor](#who-wins-make-test);
docs/README.md;## Twice\n## Twice\n[the second](#twice-1);
docs/README.md;## Twice\n## Twice\n[a third](#twice-2);no heading with the anchor #twice-2
docs/README.md;`[in code](no-such-page.md)`\n```\n[in a block](no-such-page.md)\n```;
LINES

fresh_copy
printf '\n| a | %0301d |\n' 0 >>"$work/tree/docs/README.md"
"$check" "$work/tree" >"$work/out" && fail "a table cell of 301 characters passes"
grep -qF "a table cell of 301 characters" "$work/out" || fail "the long cell is not named: $(cat "$work/out")"

fresh_copy
printf '\nline\nline\nline\nline\nline\nline\nline\nline\nline\n' >>"$work/tree/docs/README.md"
"$check" "$work/tree" >"$work/out" && fail "a paragraph of 9 lines passes"
grep -qF "a paragraph of 9 lines" "$work/out" || fail "the long paragraph is not named: $(cat "$work/out")"
echo "every planted break is named, and what GitHub takes passes"
