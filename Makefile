# Entry points. Everything installs what it needs first (tools/setup.sh, as root).
SHELL := /bin/bash
ROOT := $(CURDIR)
WIN ?= build/windows
NATIVE ?= build/native
JOBS ?= 2

.PHONY: run test build native setup prefix bench fuzz clean

setup:
	@bash tools/setup.sh

$(WIN)/build.ninja: | setup
	@bash tools/build-libjpeg.sh windows
	@cmake -S . -B $(WIN) -G Ninja -DCMAKE_TOOLCHAIN_FILE=$(ROOT)/cmake/mingw-w64-x86_64.cmake \
	  -DLIBJPEG_ROOT=$(ROOT)/build/deps/windows/libjpeg >/dev/null

build: setup $(WIN)/build.ninja
	@cmake --build $(WIN) -j $(JOBS) --target tarvokdiy

native: setup
	@bash tools/build-libjpeg.sh native
	@cmake -S . -B $(NATIVE) -G Ninja -DLIBJPEG_ROOT=$(ROOT)/build/deps/native/libjpeg >/dev/null
	@cmake --build $(NATIVE) -j $(JOBS)

prefix: setup
	@bash tools/wine-prefix.sh

run: build prefix
	@bash tools/run.sh

test: setup native $(WIN)/build.ninja prefix
	@cmake --build $(WIN) -j $(JOBS)
	@cd $(NATIVE) && ctest --output-on-failure -j $(JOBS)
	@if [ -f tools/fuzz.sh ]; then bash tools/fuzz.sh --short; fi
	@bash tools/with-display.sh bash -c 'cd $(WIN) && ctest --output-on-failure'

bench: build prefix
	@cmake --build $(WIN) -j $(JOBS) --target bench
	@bash tools/bench.sh $(WIN)/bench.exe

fuzz: setup
	@bash tools/fuzz.sh

clean:
	rm -rf build/windows build/native
