# The two commands of the README: `make run` and `make test`. Both install what is missing.
# `make bench` builds both presets and runs every benchmark (tools/run-bench.sh).
JOBS ?= 2

.PHONY: all test run bench deps native windows clean

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

bench: native windows
	tools/run-bench.sh

run: windows
	tools/run-windows.sh build/windows/platform/win32/padwire.exe

clean:
	rm -rf build
