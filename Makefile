# The two commands: `make run` and `make test`; and `make test-sanitize`.
BUILD ?= build
CMAKE_FLAGS ?=

# The unit suite built with sanitizers in a folder of its own. SANITIZE=thread with another
# SANITIZE_BUILD and SANITIZE_TESTS (a ctest -R pattern) runs chosen tests under ThreadSanitizer.
SANITIZE ?= address,undefined
SANITIZE_BUILD ?= build-sanitize
SANITIZE_TESTS ?=
# Left out there: the program under a private X server (slow: e2e, faults, acceptance), the
# fuzzers (sanitized already, by clang), the install checks and the threaded tests' own
# ThreadSanitizer build, which cannot be combined with the others; under ThreadSanitizer also
# the parsers' own AddressSanitizer build.
SANITIZE_SKIP ?= e2e;faults;acceptance;fuzz;install;events_tsan$(if $(filter thread,$(SANITIZE)),;parsers_asan)
SUPPRESSIONS := $(CURDIR)/tests/sanitize
# Full stacks through Qt, which has no frame pointers, so that suppressions see whose memory it is.
SANITIZE_ENV := \
  ASAN_OPTIONS=check_initialization_order=1:detect_stack_use_after_return=1:fast_unwind_on_malloc=0 \
  LSAN_OPTIONS=suppressions=$(SUPPRESSIONS)/lsan.supp:print_suppressions=0 \
  UBSAN_OPTIONS=print_stacktrace=1:halt_on_error=1 \
  TSAN_OPTIONS=halt_on_error=1:second_deadlock_stack=1

.PHONY: all deps configure build run test bench translations build-sanitize test-sanitize clean

all: build

deps:
	@scripts/install-deps

configure: deps
	@test -f $(BUILD)/build.ninja || cmake -S . -B $(BUILD) -G Ninja $(CMAKE_FLAGS)

build: configure
	@cmake --build $(BUILD) -j2

run: build
	@./$(BUILD)/hourling

test: build
	@ctest --test-dir $(BUILD) --output-on-failure --timeout 600 -j2

# Brings every translations/hourling_<language>.ts up to date with the texts of the sources and
# forms (lupdate). NEW=<language>, such as NEW=de, first starts the file for one more language.
translations: configure
	@$(if $(NEW),test -f translations/hourling_$(NEW).ts || printf '%s\n' \
	  '<?xml version="1.0" encoding="utf-8"?>' '<!DOCTYPE TS>' \
	  '<TS version="2.1" language="$(NEW)" sourcelanguage="ja"/>' > translations/hourling_$(NEW).ts)
	@cmake --build $(BUILD) --target update_translations

build-sanitize: deps
	@# Configured every time, so that a changed list of skipped folders takes effect.
	@cmake -S . -B $(SANITIZE_BUILD) -G Ninja \
	  -DCMAKE_BUILD_TYPE=Debug -DCMAKE_CXX_FLAGS_DEBUG="-g -O1" \
	  -DHOURLING_SANITIZE=$(SANITIZE) "-DHOURLING_SKIP_TEST_DIRS=$(SANITIZE_SKIP)" $(CMAKE_FLAGS)
	@cmake --build $(SANITIZE_BUILD) -j2

test-sanitize: build-sanitize
	@$(SANITIZE_ENV) ctest --test-dir $(SANITIZE_BUILD) --output-on-failure --timeout 900 -j2 \
	  $(if $(SANITIZE_TESTS),-R '$(SANITIZE_TESTS)')

# Not part of `make test`: takes a few minutes and writes docs/benchmarks.md. SECTIONS="60 10"
# runs only the sections under bench/sections/ whose names begin so, and prints the page, or
# writes it to OUTPUT=file; BENCH_IDLE_SECONDS=10 shortens the idle stretches for a try.
SECTIONS ?=
OUTPUT ?=
bench: build
	@BUILD=$(BUILD) BENCH_SECTIONS='$(SECTIONS)' bench/run-all.sh $(OUTPUT)

clean:
	rm -rf $(BUILD) $(SANITIZE_BUILD)
