# Two commands do all the set-up on a fresh Debian 12 machine:
#   make run   installs what is missing, builds, and starts MarunIzbor in the demo directory
#   make test  installs what is missing, builds, and runs every test
BUILD_DIR ?= build
JOBS ?= $(shell nproc 2>/dev/null || echo 2)

ASAN_BUILD_DIR ?= build-asan

.PHONY: all deps bench-deps configure build run test test-asan bench format clean

all: build

deps:
	@scripts/install-deps

configure: deps
	@cmake -S . -B $(BUILD_DIR) -DCMAKE_BUILD_TYPE=RelWithDebInfo >/dev/null

build: configure
	@cmake --build $(BUILD_DIR) --parallel $(JOBS)

run: build
	cd examples/demo && $(abspath $(BUILD_DIR))/MarunIzbor

test: build
	cd $(BUILD_DIR) && ctest --output-on-failure --parallel $(JOBS)

# The whole suite again, built with AddressSanitizer and UndefinedBehaviorSanitizer.
test-asan: deps
	@cmake -S . -B $(ASAN_BUILD_DIR) -DCMAKE_BUILD_TYPE=Debug -DMARUN_SANITIZE=ON >/dev/null
	@cmake --build $(ASAN_BUILD_DIR) --parallel $(JOBS)
	cd $(ASAN_BUILD_DIR) && ASAN_OPTIONS=detect_leaks=1:abort_on_error=1 \
		UBSAN_OPTIONS=print_stacktrace=1:halt_on_error=1 \
		ctest --output-on-failure --parallel $(JOBS)

bench-deps: deps
	@scripts/install-deps bench

# Benchmarks, never part of make test: writes bench/results.md.
bench: bench-deps build
	BUILD_DIR=$(abspath $(BUILD_DIR)) bench/run-benchmarks

format: configure
	@cmake --build $(BUILD_DIR) --target format

clean:
	rm -rf $(BUILD_DIR) $(ASAN_BUILD_DIR)
