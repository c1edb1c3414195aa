# Two commands for a newcomer: `make demo` and `make test` (Debian 12, as root).
SHELL := /bin/bash
ROOT := $(CURDIR)
JOBS ?= $(shell nproc)
XVFB := xvfb-run -a -s "-screen 0 1024x768x24"

.PHONY: all deps prefix build build-host build-win32 test demo screenshots bench clean

all: build

deps:
	@scripts/deps.sh

prefix: deps
	@scripts/wineprefix.sh

build-host: deps
	@cmake -S . -B build/host -DCMAKE_BUILD_TYPE=RelWithDebInfo >/dev/null
	@cmake --build build/host -j$(JOBS)

build-win32: deps
	@cmake -S . -B build/win32 -DCMAKE_TOOLCHAIN_FILE=cmake/mingw-i686.cmake -DCMAKE_BUILD_TYPE=RelWithDebInfo >/dev/null
	@cmake --build build/win32 -j$(JOBS)

build: build-host build-win32

# Every label (unit natively; win32 and e2e under Wine, the GUI under Xvfb) in one
# ctest run, so that the last line is ctest's own summary.
test: build prefix
	@scripts/run-tests.sh

demo: build prefix
	@scripts/demo.sh

screenshots: build prefix
	@scripts/screenshots.sh

bench: build prefix
	@scripts/bench.sh

clean:
	rm -rf build/host build/win32
