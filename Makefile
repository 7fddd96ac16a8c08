# The commands of the README: `make run`, `make test` and `make dist`. Each installs what is
# missing.
JOBS ?= 2

.PHONY: all test run dist deps native windows clean

all: native windows

deps:
	@tools/install-deps.sh

native: deps
	cmake --preset native >/dev/null
	cmake --build --preset native -j$(JOBS)

windows: deps
	cmake --preset windows >/dev/null
	cmake --build --preset windows -j$(JOBS)

test: native windows
	ctest --preset native -j$(JOBS)
	ctest --preset windows -j$(JOBS)

run: windows
	tools/run-windows.sh build/windows/platform/win32/padwire.exe

# The download: build/windows/padwire-<version>-win64.zip.
dist: deps
	cmake --preset windows >/dev/null
	cmake --build --preset windows --target dist -j$(JOBS)

clean:
	rm -rf build
