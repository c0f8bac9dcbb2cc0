# Building, testing and installing mailview. The quick start is the first two:
#   make demo     install what is missing, build, show a sample message
#   make test     install what is missing, build both platforms and the
#                 arm64 tree, run every test
# and besides them:
#   make linux, make win32, make win64   one build tree (CMakePresets.json)
#   make asan, make fuzz, make fuzz-long the sanitizer tree's tests, fuzzing
#   make bench    the benchmarks' figures (bench/README.md)
#   make install  cmake --install of the Linux tree, under $(DESTDIR)$(PREFIX)
#   make package  the Debian package and the Windows zip, in build/package/

PREFIX ?= /usr/local
WERROR ?= OFF
JOBS ?= $(shell nproc)
# The arm64 tree: the Linux program and its display-free tests, cross-built
# and run under qemu. Not on an arm64 host, whose own tree is that proof;
# `make test ARM64=` leaves it out (scripts/deps.sh reads it too).
ARM64 ?= $(if $(filter aarch64 arm64,$(shell uname -m)),,linux-arm64)
export ARM64

.PHONY: all deps demo-deps linux-deps linux linux-arm64 win32 win64 build demo test asan fuzz fuzz-long install clean

all: build

# Everything the tests need; the demo's own, lighter set below. make test's
# second half is told that it is there (DEPS_DONE).
deps:
	@$(if $(DEPS_DONE),:,scripts/deps.sh test)

demo-deps:
	@scripts/deps.sh demo

# What the Linux tree needs to build, its tests included, and no more.
linux-deps:
	@scripts/deps.sh linux

# Each platform's build tree, named after its CMake preset.
linux: linux-deps
linux-arm64 win32 win64: deps
linux win32 win64:
	cmake --preset $@ -DMAILVIEW_WERROR=$(WERROR) >/dev/null
	cmake --build --preset $@ -j $(JOBS)

# The arm64 tree, unless scripts/deps.sh could not install its packages:
# it says why in build/unavailable/arm64.
ARM64_UNAVAILABLE = build/unavailable/arm64
linux-arm64:
	@if [ -f $(ARM64_UNAVAILABLE) ]; then \
	  echo "Skipping the $@ tree: $$(cat $(ARM64_UNAVAILABLE))"; \
	else \
	  cmake --preset $@ -DMAILVIEW_WERROR=$(WERROR) >/dev/null && \
	  cmake --build --preset $@ -j $(JOBS); \
	fi

build: linux win32 win64

# Only the Linux program: no Windows toolchain, no Wine, no foreign architecture.
demo: demo-deps
	cmake --preset linux -DMAILVIEW_WERROR=$(WERROR) >/dev/null
	cmake --build --preset linux -j $(JOBS) --target mailview
	scripts/demo.sh

# Each tree's results also go to junit.xml in it, from which the last step
# says what was skipped and why.
CTEST = ctest --output-junit junit.xml
test: deps build $(ARM64)
	$(CTEST) --preset linux -j $(JOBS)
	$(CTEST) --preset win32
	$(CTEST) --preset win64
	$(if $(ARM64),[ -f $(ARM64_UNAVAILABLE) ] || $(CTEST) --preset $(ARM64) -j $(JOBS))
	$(MAKE) asan fuzz DEPS_DONE=yes
	@scripts/skipped.py linux win32 win64 $(ARM64:%=%:$(ARM64_UNAVAILABLE)) linux-asan fuzz

# The Linux tests again over a build with AddressSanitizer and UBSan, made
# with clang++: so the program and its tests build with both compilers.
asan: deps
	cmake --preset linux-asan -DMAILVIEW_WERROR=$(WERROR) >/dev/null
	cmake --build --preset linux-asan -j $(JOBS)
	$(CTEST) --preset linux-asan -j $(JOBS)

# Each fuzz target for a minute (clang, libFuzzer, ASan, UBSan).
fuzz: deps
	cmake --preset fuzz -DMAILVIEW_WERROR=$(WERROR) >/dev/null
	cmake --build --preset fuzz -j $(JOBS)
	$(CTEST) --preset fuzz -j $(JOBS)

# Each fuzz target in turn until RUNS executions, then for each the
# executions, executions a second, coverage and findings (logs in
# build/fuzz/long). It fails if any target found something.
RUNS ?= 1000000
fuzz-long: deps
	cmake --preset fuzz -DMAILVIEW_WERROR=$(WERROR) -DMAILVIEW_FUZZ_RUNS=$(RUNS) >/dev/null
	cmake --build --preset fuzz -j $(JOBS) --target fuzz-long

# Figures, not tests: intake throughput against cat, start-up against the
# floor and zenity, the hardest lines against the floor.
.PHONY: bench
bench: build
	bench/run.sh

# What `cmake --install` of the Linux tree lays out: the program and its
# manual page. INSTALL_FROM: the build tree installed, made if need be.
INSTALL_FROM ?= build/linux
install:
	test -x $(INSTALL_FROM)/mailview || $(MAKE) linux
	DESTDIR=$(DESTDIR) cmake --install $(INSTALL_FROM) --prefix $(PREFIX)

# Made by CPack from the three build trees, with SHA256SUMS beside them;
# `make test` checks them with tests/package_test.sh.
.PHONY: package
package: build
	scripts/package.sh build/linux build/package

clean:
	rm -rf build
