#!/bin/sh
# legs/run-tests runs what it is asked to or fails saying why: a case named to be left out that no test of
# the build is named after, natively or among the GoogleTest cases of a cross build, and options that leave
# no test to run, fail it. It runs on stand-in build folders, whose tests CTest only lists (-N).
#   left-out-tests-check.sh SOURCE_DIR
set -u
source_dir=$1
# shellcheck source=tests/legs/check-common.sh
. "$(dirname "$0")/check-common.sh"

# A native build, whose CTest tests are the GoogleTest cases themselves, and a build without tests.
mkdir -p "$work/native" "$work/empty"
cat >"$work/native/CTestTestfile.cmake" <<'EOF'
add_test(Differential.One "true")
add_test(lint.clang-format "true")
add_test(e2e.window "true")
set_tests_properties(e2e.window PROPERTIES LABELS e2e)
EOF
# A cross build: CTest runs each program whole through its emulator, and the program lists its cases.
mkdir -p "$work/cross"
echo "CMAKE_TOOLCHAIN_FILE:FILEPATH=$source_dir/cmake/aarch64-linux-gnu.cmake" >"$work/cross/CMakeCache.txt"
cat >"$work/cross/emulator" <<'EOF'
#!/bin/sh
shift 2
exec "$@"
EOF
cat >"$work/cross/program" <<'EOF'
#!/bin/sh
[ "$1" = --gtest_list_tests ] || exit 1
printf 'Suite.\n  CaseOne\n  CaseTwo\n'
EOF
chmod +x "$work/cross/emulator" "$work/cross/program"
cat >"$work/cross/CTestTestfile.cmake" <<EOF
add_test(program.part-0 "$work/cross/emulator" "-L" "/" "$work/cross/program")
EOF

# BUILD|STATUS|WHAT IT SAYS|OPTION...: each run of legs/run-tests, with the status and line it must give.
while IFS='|' read -r build status says options; do
    # shellcheck disable=SC2086 # the options are meant to split into words
    (
        set -f
        exec env DISPLAY=:0 "$source_dir/legs/run-tests" "$work/$build" $options -N
    ) >"$work/out" 2>&1
    actual=$?
    [ "$actual" -eq "$status" ] || fail "run-tests $build $options: status $actual, not $status: $(cat "$work/out")"
    grep -q -e "$says" "$work/out" || fail "run-tests $build $options does not say \"$says\": $(cat "$work/out")"
done <<'EOF'
native|0|Total Tests: 1|--without Differential.One why --without lint.* why
native|1|is named so: Differential.Onee|--without Differential.Onee why
native|1|is named so: nolint.\*|--without nolint.* why
native|1|no test of .* to run with -L x11|-L x11
empty|1|has no tests|-L e2e
cross|0|Total Tests: 1|--without Suite.CaseTwo why
cross|1|is named so: Suite.CaseThree|--without Suite.CaseThree why
EOF
echo "a misnamed left-out case and a run of no test fail run-tests, saying which"
