# Two commands do all the set-up on a fresh Debian 12 machine:
#   make run   installs what is missing, builds, and starts MarunIzbor in the demo directory
#   make test  installs what is missing, builds, and runs every test
BUILD_DIR ?= build
JOBS ?= $(shell nproc 2>/dev/null || echo 2)

.PHONY: all deps configure build run test format clean

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

format: configure
	@cmake --build $(BUILD_DIR) --target format

clean:
	rm -rf $(BUILD_DIR)
