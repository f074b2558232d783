# Two commands for a newcomer: `make run` and `make test`.
# `make run` builds an optimised program with debug symbols in build-run/,
# `make test` keeps its debug build in build/, `make bench` measures a
# Release build in build-bench/.
BUILD ?= build
RUN_BUILD ?= build-run
BENCH_BUILD ?= build-bench
JOBS ?= $(shell nproc)
# the program and its siblings, without the tests
PROGRAM_TARGETS = velmora velmora-cli check_update datensicherung velmora_template
BENCH_ARGS ?=

.PHONY: all deps configure build run test bench clean format

all: build

deps:
	@scripts/install-deps

$(BUILD)/build.ninja:
	cmake -S . -B $(BUILD) -G Ninja

$(RUN_BUILD)/build.ninja:
	cmake -S . -B $(RUN_BUILD) -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo

$(BENCH_BUILD)/build.ninja:
	cmake -S . -B $(BENCH_BUILD) -G Ninja -DCMAKE_BUILD_TYPE=Release

configure: deps $(BUILD)/build.ninja

build: configure
	cmake --build $(BUILD) -j $(JOBS)

run: deps $(RUN_BUILD)/build.ninja
	cmake --build $(RUN_BUILD) -j $(JOBS) --target $(PROGRAM_TARGETS)
	cd $(RUN_BUILD) && ./velmora

test: build
	cd $(BUILD) && ctest --output-on-failure -j $(JOBS)

# Generates the years once into /tmp (VELMORA_BENCH_DIR), then prints one
# line per operation; BENCH_ARGS="--n=100000" measures one size only.
bench: deps $(BENCH_BUILD)/build.ninja
	cmake --build $(BENCH_BUILD) -j $(JOBS) --target velmora_bench
	$(BENCH_BUILD)/bench/velmora_bench --benchmark_color=false $(BENCH_ARGS)

format:
	clang-format -i $$(git ls-files '*.cpp' '*.h')

clean:
	rm -rf $(BUILD) $(RUN_BUILD) $(BENCH_BUILD)
