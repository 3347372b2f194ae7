# Two commands do all the set-up on a fresh Debian 12 machine:
#   make run   installs what is missing, builds, and starts MarunIzbor in the demo directory
#   make test  installs what is missing, builds, and runs every test
SHELL := /bin/bash
BUILD_DIR ?= build
JOBS ?= $(shell nproc 2>/dev/null || echo 2)

ASAN_BUILD_DIR ?= build-asan
FUZZ_BUILD_DIR ?= build-fuzz
FUZZ_SECONDS ?= 60
FUZZ_TARGETS = decoding lookup newfiles grouping
# How long an input may grow: well past a cut-off line (platform::TextLines::LongLine, 96 KiB) for the
# targets that read descriptor lines; grouping reads none and only slows down with larger inputs.
FUZZ_MAX_LEN ?= 262144
FUZZ_GROUPING_MAX_LEN ?= 70000

# The packages' times are the commit's, so that one commit gives the same bytes wherever and whenever it is
# built (outside a git checkout: the changelog's newest entry).
SOURCE_DATE_EPOCH ?= $(shell git -C $(CURDIR) log -1 --format=%ct 2>/dev/null || \
	dpkg-parsechangelog -l packaging/debian/changelog -STimestamp 2>/dev/null)
export SOURCE_DATE_EPOCH

WINDOWS_BUILD_DIR ?= build-windows
QT_WINDOWS ?= $(HOME)/.cache/marunizbor/qt-6.4.2-windows-static

.PHONY: all deps package-deps test-deps bench-deps configure program build run test test-asan bench memcheck fuzz \
	installed package install format clean render-pictures windows-toolchain windows-configure windows test-windows \
	reproducible

# The build's own lines, without make's "Entering directory" for each of CMake's inner makes; CMake's
# own options ($(1)) come before the "--" that hands the rest to make.
BUILD = cmake --build $(BUILD_DIR) --parallel $(JOBS) $(1) -- --no-print-directory

all: build

deps:
	@scripts/install-deps

package-deps:
	@scripts/install-deps package

test-deps:
	@scripts/install-deps test

configure:
	@cmake -S . -B $(BUILD_DIR) -DCMAKE_BUILD_TYPE=RelWithDebInfo >/dev/null

# The program alone, with what it needs (its pictures): what make run shows.
program: deps
	@$(MAKE) --no-print-directory configure
	@$(call BUILD,--target MarunIzbor)

# What the tests run: the program, the tests, the tools they use (the latency share, the picture renderer) and
# the documentation. The benchmarks are built by make bench.
build: test-deps
	@$(MAKE) --no-print-directory configure
	@$(BUILD)

run: program
	cd examples/demo && $(abspath $(BUILD_DIR))/MarunIzbor

# The suite. CI also builds each package twice and compares them (make reproducible).
test: build
	cd $(BUILD_DIR) && ctest --output-on-failure --parallel $(JOBS)

# The whole suite again, built with AddressSanitizer and UndefinedBehaviorSanitizer.
test-asan: test-deps
	@cmake -S . -B $(ASAN_BUILD_DIR) -DCMAKE_BUILD_TYPE=Debug -DMARUN_SANITIZE=ON >/dev/null
	@cmake --build $(ASAN_BUILD_DIR) --parallel $(JOBS) -- --no-print-directory
	cd $(ASAN_BUILD_DIR) && ASAN_OPTIONS=detect_leaks=1:abort_on_error=1 \
		UBSAN_OPTIONS=print_stacktrace=1:halt_on_error=1 \
		ctest --output-on-failure --parallel $(JOBS)

# MarunIzbor started and closed under valgrind's memcheck: no definite leaks, no memory errors.
memcheck: bench-deps
	@$(MAKE) --no-print-directory configure
	@$(call BUILD,--target MarunIzbor bench_startup)
	BUILD_DIR=$(abspath $(BUILD_DIR)) bench/memcheck

# Each libFuzzer target for FUZZ_SECONDS on its seed corpus in fuzz/corpus/ (left unchanged; what the
# fuzzer finds goes to $(FUZZ_BUILD_DIR)/corpus). libFuzzer lengthens its inputs only slowly, so lines past
# the cut-off come from seeds that hold them: the decoding seeds serve lookup and newfiles too (in lookup
# their first byte picks the key, OpisBaze for the long ones).
fuzz: deps
	@scripts/install-deps fuzz
	@cmake -S . -B $(FUZZ_BUILD_DIR) -DCMAKE_BUILD_TYPE=RelWithDebInfo -DCMAKE_CXX_COMPILER=clang++ \
		-DMARUN_FUZZ=ON -DBUILD_TESTING=OFF >/dev/null
	@cmake --build $(FUZZ_BUILD_DIR) --parallel $(JOBS) $(addprefix --target fuzz_,$(FUZZ_TARGETS))
	@set -e; for target in $(FUZZ_TARGETS); do \
		mkdir -p $(FUZZ_BUILD_DIR)/corpus/$$target; \
		case $$target in \
			grouping) max_len=$(FUZZ_GROUPING_MAX_LEN); seeds= ;; \
			decoding) max_len=$(FUZZ_MAX_LEN); seeds= ;; \
			*) max_len=$(FUZZ_MAX_LEN); seeds=fuzz/corpus/decoding ;; \
		esac; \
		echo "fuzz_$$target, $(FUZZ_SECONDS) s, inputs of at most $$max_len bytes"; \
		QT_QPA_PLATFORM=offscreen $(FUZZ_BUILD_DIR)/fuzz/fuzz_$$target -max_total_time=$(FUZZ_SECONDS) -timeout=10 \
			-max_len=$$max_len -print_final_stats=1 -artifact_prefix=$(FUZZ_BUILD_DIR)/ \
			$(FUZZ_BUILD_DIR)/corpus/$$target fuzz/corpus/$$target $$seeds \
			2>&1 | grep -E '^(#[0-9]+[[:space:]]+DONE|stat::number_of_executed_units|==[0-9]+==|SUMMARY)' || true; \
		test "$${PIPESTATUS[0]}" = 0 || { echo "fuzz_$$target failed"; exit 1; }; \
	done

bench-deps:
	@scripts/install-deps bench

# Benchmarks, never part of make test: writes bench/results.md. WINDOWS_EARLIER=<an earlier Windows package's
# program folder> measures that one too, in the same run, beside the current one.
bench: bench-deps
	@$(MAKE) --no-print-directory configure
	@$(call BUILD,--target benchmarks)
	BUILD_DIR=$(abspath $(BUILD_DIR)) WINDOWS_PACKAGE=$(abspath $(WINDOWS_BUILD_DIR))/package/MarunIzbor \
		WINDOWS_EARLIER=$(WINDOWS_EARLIER) bench/run-benchmarks

# What is installed: the program and its documentation, without the tests.
installed: configure
	@$(call BUILD,--target MarunIzbor documentation)

# The Debian packages in build/: marunizbor_<version>_amd64.deb and its debug symbols, marunizbor-dbgsym.
package: package-deps
	@$(MAKE) --no-print-directory installed
	cd $(BUILD_DIR) && cpack

# Installs into PREFIX (default /usr/local): the program, its menu entry, its icon, its manual page, its
# copyright file and changelog.
PREFIX ?= /usr/local
install: deps
	@$(MAKE) --no-print-directory installed
	cmake --install $(BUILD_DIR) --prefix $(PREFIX)

# Qt for Windows, built once from Debian's own sources into $(QT_WINDOWS) (about 20 minutes): static
# libraries, compiled by clang for mingw-w64, and the toolchain file that builds the program with them.
windows-toolchain: deps
	@MARUN_QT_WINDOWS=$(QT_WINDOWS) scripts/build-qt-windows

# The host build's picture renderer, which the Windows build renders its pictures with.
render-pictures: deps
	@$(MAKE) --no-print-directory configure
	@$(call BUILD,--target render_pictures)

# The same sources cross-built for Windows (clang, lld and mingw-w64). The pictures are rendered by the host
# build.
windows-configure: render-pictures windows-toolchain
	@scripts/install-deps windows
	@cmake -S . -B $(WINDOWS_BUILD_DIR) -DCMAKE_BUILD_TYPE=RelWithDebInfo \
		-DCMAKE_TOOLCHAIN_FILE=$(QT_WINDOWS)/lib/cmake/Qt6/qt.toolchain.cmake \
		-DQT_CHAINLOAD_TOOLCHAIN_FILE=$(QT_WINDOWS)/mingw.cmake \
		-DCMAKE_CROSSCOMPILING_EMULATOR=$(abspath tests/run-under-wine) \
		-DMARUN_RENDER_PICTURES=$(abspath $(BUILD_DIR))/tools/render_pictures >/dev/null

# build-windows/MarunIzbor.exe, one file with Qt linked in; the package, as build-windows/package/MarunIzbor,
# build-windows/marunizbor-<version>-windows-x64.zip and build-windows/marunizbor-<version>-x64.msi; the
# program's debug information in build-windows/debug; and the relinking kit that Qt's licence asks for,
# build-windows/marunizbor-<version>-windows-x64-relinking-kit.zip.
# WINDOWS_TARGETS=MarunIzbor builds the program alone, without the tests. SIGNING_CERTIFICATE (a PKCS#12
# file) with SIGNING_PASSWORD_FILE signs every program and DLL, and the installer; SIGNING_TIMESTAMP_URL
# has each signature timestamped by that server (docs/deploying.md).
windows: windows-configure
	@cmake --build $(WINDOWS_BUILD_DIR) --parallel $(JOBS) $(addprefix --target ,$(WINDOWS_TARGETS)) -- --no-print-directory
	@SIGNING_CERTIFICATE="$(SIGNING_CERTIFICATE)" SIGNING_PASSWORD_FILE="$(SIGNING_PASSWORD_FILE)" \
		SIGNING_TIMESTAMP_URL="$(SIGNING_TIMESTAMP_URL)" scripts/package-windows $(WINDOWS_BUILD_DIR) $(QT_WINDOWS)

# Each package built twice, in two folders, and compared byte for byte: the Debian packages, then the
# Windows zip and installer.
# (CI compares both after make test-windows.)
reproducible:
	@scripts/install-deps reproducible
	@scripts/check-reproducible debian
	@scripts/check-reproducible windows

# The unit and window tests built for Windows and run under Wine.
test-windows: windows
	@scripts/install-deps test-windows
	@scripts/test-windows $(WINDOWS_BUILD_DIR) $(QT_WINDOWS)

format: configure
	@cmake --build $(BUILD_DIR) --target format

clean:
	rm -rf $(BUILD_DIR) $(ASAN_BUILD_DIR) $(FUZZ_BUILD_DIR) $(WINDOWS_BUILD_DIR)
