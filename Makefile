# Two commands for a newcomer: `make run` and `make test`.
BUILD ?= build
JOBS ?= $(shell nproc)

.PHONY: all deps configure build run test clean format

all: build

deps:
	@scripts/install-deps

$(BUILD)/build.ninja:
	cmake -S . -B $(BUILD) -G Ninja

configure: deps $(BUILD)/build.ninja

build: configure
	cmake --build $(BUILD) -j $(JOBS)

run: build
	cd $(BUILD) && ./velmora

test: build
	cd $(BUILD) && ctest --output-on-failure -j $(JOBS)

format:
	clang-format -i $$(git ls-files '*.cpp' '*.h')

clean:
	rm -rf $(BUILD)
