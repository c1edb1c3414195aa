# Two commands for a newcomer: `make demo` and `make test` (Debian 12, as root).
# Each runs in phases (scripts/run.sh): the packages, the build trees it needs, the Wine
# prefix, then the command; it names the build it runs in its first line and the time of
# each phase in its last.
SHELL := /bin/bash
export HB_JOBS ?= $(shell nproc)

# A build this machine cannot run (HB_WIN=32 where the kernel cannot execute i386 code) is
# refused at once, in one line, before anything is installed or built.
ifneq ($(filter-out clean deps,$(or $(MAKECMDGOALS),all)),)
  refusal := $(shell source scripts/wineenv.sh 2>&1 >/dev/null)
  ifneq ($(refusal),)
    $(error $(refusal))
  endif
endif

.PHONY: all build deps prefix test demo screenshots bench clean

# Both Windows trees whole (without the benches), and the native one.
all: build

deps:
	@scripts/deps.sh

# The tests run every label (unit natively; win32 and e2e under Wine, the GUI under Xvfb)
# in one ctest run over the native tree and the Windows tree this machine executes
# (HB_WIN=32 or 64 forces which), with the static checks of the other Windows tree's
# programs, of which only the programs are built.
build prefix test demo screenshots bench:
	@scripts/run.sh $@

clean:
	rm -rf build/host build/win32 build/win64 build/tests-win32 build/tests-win64
