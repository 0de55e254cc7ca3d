#!/bin/sh
# A Debian root builds exactly the files of the user's work tree: the bundle that legs/tree-bundle writes
# for it holds the untracked files and every change as it stands in the work tree (not as staged), leaves
# out the ignored files and the deleted ones, and leaves the user's index and stash as they were. It runs
# in a scratch repository with the project's ignore rules.
#   tree-bundle-check.sh SOURCE_DIR
set -u
source_dir=$1
# shellcheck source=tests/legs/check-common.sh
. "$(dirname "$0")/check-common.sh"
git() {
    command git -C "$work/tree" -c user.name=check -c user.email=check@localhost "$@"
}

mkdir -p "$work/tree/legs" "$work/tree/arena"
cp "$source_dir/.gitignore" "$work/tree/"
cp "$source_dir/legs/tree-bundle" "$work/tree/legs/"
for file in arena/Kept.cpp arena/Staged.cpp arena/Gone.cpp; do
    echo "committed" >"$work/tree/$file"
done
git init -q
git add -A
git commit -q -m "the last commit"

echo "staged" >"$work/tree/arena/Staged.cpp"
git add arena/Staged.cpp
echo "as it stands" >"$work/tree/arena/Staged.cpp"
rm "$work/tree/arena/Gone.cpp"
echo "untracked" >"$work/tree/arena/New.cpp"
mkdir -p "$work/tree/build"
echo "ignored" >"$work/tree/build/New.o"
echo "ignored" >"$work/tree/compile_commands.json"
index=$(cksum <"$work/tree/.git/index")

"$work/tree/legs/tree-bundle" "$work/quorvel.bundle" >"$work/log" 2>&1 || fail "tree-bundle failed: $(cat "$work/log")"
command git clone -q --branch leg "$work/quorvel.bundle" "$work/clone" || fail "the bundle has no branch leg"
files=$(cd "$work/clone" && find . -path ./.git -prune -o -type f -print | LC_ALL=C sort | tr '\n' ' ')
[ "$files" = "./.gitignore ./arena/Kept.cpp ./arena/New.cpp ./arena/Staged.cpp ./legs/tree-bundle " ] ||
    fail "the bundle's files are not the work tree's: $files"
[ "$(cat "$work/clone/arena/Staged.cpp")" = "as it stands" ] || fail "the bundle holds a file as staged, not as it stands"
[ "$(cksum <"$work/tree/.git/index")" = "$index" ] || fail "tree-bundle changed the user's index"
[ -z "$(git stash list)" ] || fail "tree-bundle left a stash"
echo "the bundle holds the work tree as it stands, untracked files included and ignored ones left out"
