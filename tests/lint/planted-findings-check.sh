#!/bin/sh
# Each style check fails on a finding planted in a scratch repository that holds the project's style
# configuration, names the file, and passes once the finding is gone, so that a check which finds nothing
# because it reads nothing, or fails whatever it reads, is caught.
#   planted-findings-check.sh SOURCE_DIR
set -u
source_dir=$1
# shellcheck source=tests/legs/check-common.sh
. "$source_dir/tests/legs/check-common.sh"

cd "$work" || exit 1
cp "$source_dir/.clang-format" "$source_dir/.clang-tidy" "$source_dir/.shellcheckrc" .
git init -q .
printf '#include <cstdio>\n\nint main() {\n    std::puts("planted");\n    return 0;\n}\n' >planted.cpp
# shellcheck disable=SC2016 # the expansion is the planted script's own
printf '#!/bin/sh\necho "$1"\n' >planted.sh
printf '[{"directory": "%s", "file": "%s/planted.cpp", "command": "c++ -std=c++17 -c planted.cpp"}]\n' \
    "$work" "$work" >compile_commands.json

# check TOOL: the check's own run over the scratch repository; its report is in $work/TOOL.log.
check() {
    "$source_dir/tests/lint/lint-check.sh" "$1" "$work" "$work" 0 1 >"$work/$1.log" 2>&1
}
for tool in clang-format shellcheck clang-tidy; do
    check "$tool" || fail "$tool fails on the clean files: $(cat "$work/$tool.log")"
done

# A brace on a line of its own, an unquoted expansion, and a C array where the style wants std::array.
sed -i 's/^int main() {$/int main()\n{/' planted.cpp
check clang-format && fail "clang-format passes a brace on a line of its own"
grep -q "planted.cpp" clang-format.log || fail "clang-format does not name the file: $(cat clang-format.log)"
# shellcheck disable=SC2016 # likewise
printf '#!/bin/sh\necho $1\n' >planted.sh
check shellcheck && fail "shellcheck passes an unquoted expansion"
grep -q "SC2086" shellcheck.log || fail "shellcheck does not name the finding: $(cat shellcheck.log)"
printf '#include <cstdio>\n\nint main() {\n    int counts[3] = {1, 2, 3};\n    std::printf("%%d", counts[1]);\n    return 0;\n}\n' >planted.cpp
check clang-tidy && fail "clang-tidy passes a C array"
grep -q "modernize-avoid-c-arrays" clang-tidy.log || fail "clang-tidy does not name the finding: $(cat clang-tidy.log)"
echo "each style check fails on its planted finding, and passes without it"
