# A thin front over CMake and the check scripts in tools/.
#   make run     build and start the game
#   make test    build and run every check: the suite (unit, end-to-end, valgrind, soak), the sanitizer
#                build of the suite, the fuzzer, the suite against SFML 2.6, and the Windows build under Wine
#   make windows the Windows zip, build-windows/quorvel-<version>-windows-x64.zip
BUILD_DIR ?= build
BUILD_TYPE ?= RelWithDebInfo
JOBS ?= $(shell nproc 2>/dev/null || sysctl -n hw.ncpu 2>/dev/null || echo 2)
FUZZ_SECONDS ?= 60

.PHONY: run test bench deb windows build build-tests test-suite test-sanitize test-fuzz test-sfml26 test-windows clean

run: build
	@if [ -z "$${DISPLAY:-}" ] && [ -z "$${WAYLAND_DISPLAY:-}" ]; then \
		echo "make run: no display; start it from a desktop session (the tests run without one)"; exit 1; fi
	cd $(CURDIR) && ./$(BUILD_DIR)/quorvel

test: test-suite test-sanitize test-fuzz test-sfml26 test-windows

build:
	./tools/install-deps
	cmake -S . -B $(BUILD_DIR) -DCMAKE_BUILD_TYPE=$(BUILD_TYPE) -DQUORVEL_BUILD_TESTS=OFF
	cmake --build $(BUILD_DIR) --target quorvel -j $(JOBS)

build-tests:
	./tools/install-deps --test
	cmake -S . -B $(BUILD_DIR) -DCMAKE_BUILD_TYPE=$(BUILD_TYPE) -DQUORVEL_BUILD_TESTS=ON
	cmake --build $(BUILD_DIR) -j $(JOBS)

test-suite: build-tests
	./tools/run-tests $(BUILD_DIR)

test-sanitize: build-tests
	./tools/check-sanitize

test-fuzz: build-tests
	./tools/check-fuzz $(FUZZ_SECONDS)

test-sfml26: build-tests
	./tools/check-sfml26

test-windows:
	./tools/check-windows

windows:
	./tools/build-windows

bench:
	./tools/run-bench

deb: build-tests
	cd $(BUILD_DIR) && cpack -G DEB

clean:
	rm -rf $(BUILD_DIR) build-sanitize build-fuzz build-sfml26 build-windows
