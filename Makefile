# The two commands of the README: `make run` and `make test`. Both install what is missing.
JOBS ?= 2

.PHONY: all test run deps native windows clean

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

run: native
	build/native/platform/sim/padwire-sim resources/demo.pws

clean:
	rm -rf build
