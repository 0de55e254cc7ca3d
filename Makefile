# A thin front over CMake and the scripts in scripts/ and legs/. Written for any make (GNU make, and BSD make with
# its own syntax left out), so `make run` works as it stands on the BSDs too.
#   make run      build the game and its tools, and start the game
#   make test     does this build work on this machine? Installs the Debian packages that are missing, builds,
#                 and runs the suite here: the unit tests, the real programs end to end, the tournament's
#                 checks, valgrind's sessions, the install and the package, the documentation's links
#   make lint     the style checks, with this machine's clang-format, shellcheck and clang-tidy
#   make test-all for releases and CI: make test, then the suite's longer checks, make lint, the sanitizer
#                 build, the fuzzer, the suite in fresh Debian 13 and testing roots, the arm64 build under
#                 qemu, the same games on every build, and the Windows build under Wine (root, disk, network)
#   make install  install what make run or make build built: into PREFIX (/usr/local), under DESTDIR if given
#   make build    build everything that installs (the game, quorvel-tournament, quorvel-sprites, icons, pages)
#   make windows  the Windows zip, build-windows/quorvel-<version>-windows-x64.zip
#   make deb      the Debian package;  make bench  the benchmarks;  make docs  the screenshot and animation
#   make clean    remove every build folder;  make clean-roots  remove the Debian roots of the legs (as root)
BUILD_DIR ?= build
BUILD_TYPE ?= RelWithDebInfo
PREFIX ?= /usr/local
FUZZ_SECONDS ?= 60
# Every core: nproc on Linux, sysctl on the BSDs and macOS.
JOBS_COMMAND = nproc 2>/dev/null || sysctl -n hw.ncpu 2>/dev/null || echo 2

# The legs share build folders, so they run one after another even under make -j (the builds themselves
# use every core).
.NOTPARALLEL:

.PHONY: run install test lint test-all bench docs deb windows build build-tests install-after-run test-more \
	test-sanitize test-fuzz test-trixie test-testing test-same-games test-windows clean clean-roots

# Without a display the game says so itself, in one line, and ends with status 1; make then adds its own line
# for the failed command and ends with its own status for a failure (2 in GNU make, 1 in BSD make).
run: build
	$(BUILD_DIR)/quorvel

# What the README's `cmake --install build --prefix /usr/local` does, with the names that users of a Makefile
# give (DESTDIR: a staging root, as a package's build uses). It builds nothing: built by root, the build
# folder would hold files that its user could no longer change.
install:
	@[ -f $(BUILD_DIR)/cmake_install.cmake ] || { echo "make install: nothing is built in $(BUILD_DIR); make build builds it"; exit 1; }
	DESTDIR="$(DESTDIR)" cmake --install $(BUILD_DIR) --prefix "$(PREFIX)"

# The suite on this machine, but for what make test-all adds (CTest's labels lint and test-all). Every
# package that it needs is installed at once, so that apt runs once. SUITE_OPTIONS=--without-compared-games,
# as the Debian roots run it, leaves out what the same-games leg compares instead (see legs/run-tests).
test:
	./scripts/install-deps --test
	$(MAKE) install-after-run
	$(MAKE) build-tests
	./legs/run-tests $(BUILD_DIR) $(SUITE_OPTIONS) -LE '^(lint|test-all)$$'

lint:
	./legs/lint $(BUILD_DIR)

# The legs, one after another, stopping at the first that fails; legs/all starts meanwhile, in the
# background, what the later legs would otherwise wait for on the network (the Debian roots, Wine).
test-all:
	./legs/all "$(MAKE)" test test-more lint test-sanitize test-fuzz test-trixie test-testing test-same-games \
		test-windows

# One recipe for both: build-tests builds the suite as well, and installs what it needs first.
build build-tests:
	./scripts/install-deps $$([ $@ = build-tests ] && echo --test)
	cmake -S . -B $(BUILD_DIR) -DCMAKE_BUILD_TYPE=$(BUILD_TYPE) \
		-DQUORVEL_BUILD_TESTS=$$([ $@ = build-tests ] && echo ON || echo OFF)
	cmake --build $(BUILD_DIR) -j "$$($(JOBS_COMMAND))"

# What make run builds is all that installs: installed into a scratch prefix before the suite builds more.
install-after-run: build
	./tests/package/install-check.sh after-run $(BUILD_DIR)

# The suite's checks that only make test-all runs: the long forms of checks that make test runs in short,
# the tool built a second time without FFmpeg, and the checks of the legs themselves.
test-more: build-tests
	./legs/run-tests $(BUILD_DIR) -L '^test-all$$'

test-sanitize:
	./legs/check-sanitize

test-fuzz:
	./legs/check-fuzz $(FUZZ_SECONDS)

# Debian 13 with its SFML 2.6, and the arm64 port cross-built there; Debian testing with its SFML 3.
test-trixie:
	./legs/check-debian trixie --arm64

test-testing:
	./legs/check-debian testing

# It compares the games of the legs before it, so it runs them first.
test-same-games: build-tests test-trixie test-testing
	./legs/with-display ./legs/play-seeds $(BUILD_DIR)/tools/tournament/quorvel-tournament $(BUILD_DIR)/games
	./legs/check-same-games $(BUILD_DIR)/games build-trixie/games build-trixie/games-arm64 build-testing/games

test-windows:
	./legs/check-windows

windows:
	./scripts/build-windows

bench:
	./scripts/run-bench

# docs/screenshot.png and docs/demo.gif, from the real program in a virtual X server.
docs:
	./scripts/make-docs

# The package holds what make build builds; help2man adds the tool's manual page, dpkg-dev its dependencies.
deb:
	./scripts/install-deps --deb
	$(MAKE) build
	cd $(BUILD_DIR) && cpack -G DEB

clean:
	rm -rf $(BUILD_DIR) build build-*
	@echo "The Debian roots of the legs are kept outside this folder; make clean-roots removes them."

# As root, through sudo: the roots are root's (see legs/debian-root).
clean-roots:
	./legs/as-root ./legs/debian-root remove
