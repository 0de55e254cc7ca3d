#!/bin/sh
# The project's own style rules, each with zero findings, over the files of the work tree that git would
# commit (tracked ones, and untracked ones that no ignore rule names):
#   lint-check.sh clang-format SOURCE_DIR      clang-format --dry-run --Werror, with the root's .clang-format,
#                                              over every C++ file
#   lint-check.sh shellcheck SOURCE_DIR        shellcheck over every shell script: a name ending in .sh, or a
#                                              first line that starts it with sh, bash or dash
#   lint-check.sh clang-tidy SOURCE_DIR BUILD_DIR PART PARTS
#                                              clang-tidy, with the root's .clang-tidy, over part PART (from 0)
#                                              of PARTS of the build's translation units that are the
#                                              project's (compile_commands.json); their headers through the
#                                              configuration's HeaderFilterRegex
set -eu
tool=$1
source_dir=$2
fail() {
    echo "FAIL: $*"
    exit 1
}
command -v "$tool" >/dev/null 2>&1 || fail "$tool is not installed (scripts/install-deps --test installs it)"
cd "$source_dir"
git rev-parse --is-inside-work-tree >/dev/null 2>&1 || fail "the checks find the project's files through git: $source_dir is not a git work tree"

# project_files PATHSPEC...: the files that git would commit, one a line.
project_files() {
    git ls-files --cached --others --exclude-standard -- "$@" | LC_ALL=C sort -u | while IFS= read -r file; do
        [ ! -f "$file" ] || echo "$file"
    done
}
# checked COMMAND...: runs COMMAND on the files named in $listed, and fails unless it succeeds and reports
# nothing (clang-tidy's count of the warnings that it found in other code than ours and left out is no
# finding, nor is the progress line that clang-tidy 18 and later print for each file).
checked() {
    status=0
    tr '\n' '\0' <"$listed" | xargs -0 -r "$@" >"$scratch/report" 2>&1 || status=$?
    if grep -Ev '^([0-9]+ warnings? generated\.|\[[0-9]+/[0-9]+\] Processing file .*\.)$' "$scratch/report"; then
        fail "$tool reports the findings above"
    fi
    [ "$status" -eq 0 ] || fail "$tool failed, saying nothing (xargs' status $status)"
    echo "$tool: no findings in $(grep -c . "$listed") files"
}
scratch=$(mktemp -d)
trap 'rm -rf "$scratch"' EXIT
listed="$scratch/files"

case "$tool" in
clang-format)
    project_files '*.cpp' '*.hpp' '*.c' '*.h' >"$listed"
    checked clang-format --dry-run --Werror
    ;;
shellcheck)
    project_files | while IFS= read -r file; do
        case "$file" in
        *.sh) echo "$file" ;;
        *) if head -n 1 "$file" | grep -Eq '^#! */([a-z/]*/)?(env +)?(ba|da)?sh( |$)'; then echo "$file"; fi ;;
        esac
    done >"$listed"
    checked shellcheck
    ;;
clang-tidy)
    build_dir=$3
    part=$4
    parts=$5
    [ -f "$build_dir/compile_commands.json" ] || fail "no $build_dir/compile_commands.json"
    # CMake writes one "file" line for each translation unit; those under the build folder are generated. The
    # sources that this build does not compile (the benchmarks, the fuzzer) are checked too, with the flags
    # that clang-tidy takes from the nearest source that it does.
    {
        sed -n 's/^ *"file": "\(.*\)",\{0,1\}$/\1/p' "$build_dir/compile_commands.json" |
            awk -v source="$source_dir/" -v build="$build_dir/" 'index($0, source) == 1 && index($0, build) != 1'
        project_files '*.cpp' | sed "s|^|$(pwd)/|"
    } | LC_ALL=C sort -u | awk -v part="$part" -v parts="$parts" 'NR % parts == part' >"$listed"
    [ -s "$listed" ] || fail "no translation unit of the project in part $part of $parts"
    # Without GCC's precompiled header, which clang cannot read: each file includes what it uses itself.
    sed 's| -Winvalid-pch||; s| -include [^ ]*/cmake_pch\.hxx||' "$build_dir/compile_commands.json" \
        >"$scratch/compile_commands.json"
    checked clang-tidy -p "$scratch" --quiet --warnings-as-errors='*'
    ;;
*)
    fail "unknown check $tool"
    ;;
esac
