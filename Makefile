# A thin front over CMake. `make run` builds and starts the game; `make test` builds and runs every test.
BUILD_DIR ?= build
BUILD_TYPE ?= RelWithDebInfo
JOBS ?= $(shell nproc)

.PHONY: run test build build-tests clean

run: build
	@if [ -z "$${DISPLAY:-}" ] && [ -z "$${WAYLAND_DISPLAY:-}" ]; then \
		echo "make run: no display; start it from a desktop session (the tests run without one)"; exit 1; fi
	cd $(CURDIR) && ./$(BUILD_DIR)/quorvel

test: build-tests
	./tools/run-tests $(BUILD_DIR)

build:
	./tools/install-deps
	cmake -S . -B $(BUILD_DIR) -DCMAKE_BUILD_TYPE=$(BUILD_TYPE) -DQUORVEL_BUILD_TESTS=OFF
	cmake --build $(BUILD_DIR) --target quorvel -j $(JOBS)

build-tests:
	./tools/install-deps --test
	cmake -S . -B $(BUILD_DIR) -DCMAKE_BUILD_TYPE=$(BUILD_TYPE) -DQUORVEL_BUILD_TESTS=ON
	cmake --build $(BUILD_DIR) -j $(JOBS)

clean:
	rm -rf $(BUILD_DIR)
