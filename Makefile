# The two commands: `make run` and `make test`.
BUILD ?= build
CMAKE_FLAGS ?=

.PHONY: all deps configure build run test bench clean

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

# Not part of `make test`: takes a few minutes and writes docs/benchmarks.md.
bench: build
	@BUILD=$(BUILD) bench/run-all.sh

clean:
	rm -rf $(BUILD)
