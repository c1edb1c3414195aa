# Two commands for a newcomer: `make demo` and `make test` (Debian 12, as root).
SHELL := /bin/bash
ROOT := $(CURDIR)
JOBS ?= $(shell nproc)
CONFIGURE := cmake -S . -DCMAKE_BUILD_TYPE=RelWithDebInfo

.PHONY: all deps checkwin prefix build build-host build-win32 build-win64 test demo screenshots bench clean

all: build

deps:
	@scripts/deps.sh

# Stops at once when HB_WIN asks for a build this machine's kernel cannot run (it asks
# the kernel, not Wine, which deps may not have installed yet).
checkwin:
	@source scripts/wineenv.sh

prefix: deps
	@scripts/wineprefix.sh

build-host: deps
	@$(CONFIGURE) -B build/host >/dev/null
	@cmake --build build/host -j$(JOBS)

# Both Windows trees are built on every machine, so that neither stops compiling
# unnoticed; the 32-bit one ships. Their builds run the native tree's tools.
build-win32: build-host
	@$(CONFIGURE) -B build/win32 -DCMAKE_TOOLCHAIN_FILE=cmake/mingw-i686.cmake >/dev/null
	@cmake --build build/win32 -j$(JOBS)

build-win64: build-host
	@$(CONFIGURE) -B build/win64 -DCMAKE_TOOLCHAIN_FILE=cmake/mingw-x86_64.cmake >/dev/null
	@cmake --build build/win64 -j$(JOBS)

build: build-host build-win32 build-win64

# Every label (unit natively; win32 and e2e under Wine, the GUI under Xvfb) in one
# ctest run, so that the last line is ctest's own summary. The Windows tests run the
# tree this machine executes (scripts/wineenv.sh says which; HB_WIN=32 or 64 forces it).
test: checkwin build prefix
	@scripts/run-tests.sh

demo: checkwin build prefix
	@scripts/demo.sh

screenshots: checkwin build prefix
	@scripts/screenshots.sh

bench: checkwin build prefix
	@scripts/bench.sh

clean:
	rm -rf build/host build/win32 build/win64
