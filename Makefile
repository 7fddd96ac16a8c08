# The commands of the README: `make run`, `make run-windows`, `make test`, `make dist` and
# `make install`. Each installs what is missing. `make run` starts the Linux program,
# `make run-windows` padwire.exe under Wine. `make install` puts the Linux program and its
# desktop files below PREFIX (DESTDIR in front, for staging); `make uninstall` takes them back. `make fuzz` runs every fuzz target for FUZZ_SECONDS each; `make soak` runs the soak
# test with a fresh seed (PADWIRE_SOAK_SEED=N replays one, PADWIRE_SOAK_TICKS=N sets its length).
# `make bench` builds both presets and runs every benchmark (tools/run-bench.sh).
# `make screenshots` takes the pictures in docs/ again, of both programs (tools/docs-screenshots.sh).
JOBS ?= 2
FUZZ_SECONDS ?= 300
PREFIX ?= /usr/local
DESTDIR ?=
VERSION := $(shell sed -n 's/^project.Padwire VERSION \([0-9.]*\).*/\1/p' CMakeLists.txt)

.PHONY: all test run run-windows dist install uninstall fuzz soak bench screenshots deps native \
        sanitize windows clean

all: native sanitize windows

deps:
	@tools/install-deps.sh

native: deps
	cmake --preset native >/dev/null
	cmake --build --preset native -j$(JOBS)

# clang with AddressSanitizer and UBSan: the native tests again, and the fuzz targets.
sanitize: deps
	cmake --preset sanitize >/dev/null
	cmake --build --preset sanitize -j$(JOBS)

windows: deps
	cmake --preset windows >/dev/null
	cmake --build --preset windows -j$(JOBS)

# The sanitizer run includes a short run of each fuzz target (10 s each, or FUZZ_SECONDS).
test: native sanitize windows
	ctest --preset native -j$(JOBS)
	ctest --preset sanitize -j$(JOBS)
	ctest --preset windows -j$(JOBS)

fuzz: sanitize
	FUZZ_SECONDS=$(FUZZ_SECONDS) ctest --preset fuzz -j$(JOBS)

soak: deps
	cmake --preset native >/dev/null
	cmake --build --preset native --target padwire_soak -j$(JOBS)
	build/native/tests/padwire_soak

bench: native windows
	tools/run-bench.sh

screenshots: deps
	cmake --preset windows >/dev/null
	cmake --build --preset windows --target padwire fake_dinput8 -j$(JOBS)
	cmake --preset native >/dev/null
	cmake --build --preset native --target padwire_scripted -j$(JOBS)
	tools/docs-screenshots.sh

run: deps
	cmake --preset native >/dev/null
	cmake --build --preset native --target padwire -j$(JOBS)
	tools/run-linux.sh build/native/platform/linux/padwire

run-windows: windows
	tools/run-windows.sh build/windows/platform/win32/padwire.exe

# The downloads: build/windows/padwire-<version>-win64.zip and, on Linux, the Debian package
# build/native/padwire_<version>_<arch>.deb.
dist: deps
	cmake --preset windows >/dev/null
	cmake --build --preset windows --target dist -j$(JOBS)
	cmake --preset native >/dev/null
	cmake --build --preset native --target deb -j$(JOBS)

install: deps
	cmake --preset native >/dev/null
	cmake --build --preset native --target padwire -j$(JOBS)
	tools/install.py install --prefix "$(PREFIX)" --destdir "$(DESTDIR)" \
	  --program build/native/platform/linux/padwire --version "$(VERSION)"

uninstall:
	tools/install.py uninstall --prefix "$(PREFIX)" --destdir "$(DESTDIR)"

clean:
	rm -rf build
