# The two commands of the quick start, and installation.
#   make demo     install what is missing, build, show a sample message
#   make test     install what is missing, build both platforms, run every test
#   make install  put mailview and its manual page under $(DESTDIR)$(PREFIX)

PREFIX ?= /usr/local
WERROR ?= OFF
JOBS ?= $(shell nproc)

.PHONY: all deps linux win32 build demo test install clean

all: build

deps:
	@scripts/deps.sh

linux: deps
	cmake --preset linux -DMAILVIEW_WERROR=$(WERROR) >/dev/null
	cmake --build --preset linux -j $(JOBS)

win32: deps
	cmake --preset win32 -DMAILVIEW_WERROR=$(WERROR) >/dev/null
	cmake --build --preset win32 -j $(JOBS)

build: linux win32

demo: linux
	scripts/demo.sh

test: build
	ctest --preset linux -j $(JOBS)
	ctest --preset win32

# Figures, not tests: intake throughput against cat, start-up against zenity.
.PHONY: bench
bench: build
	bench/run.sh

install:
	test -x build/linux/mailview || $(MAKE) linux
	install -D -m 755 build/linux/mailview $(DESTDIR)$(PREFIX)/bin/mailview

clean:
	rm -rf build
