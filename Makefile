# The two entry points of a fresh Debian machine: `make test` and `make run`.
JOBS ?= $(shell nproc)
ARGS ?=

.PHONY: deps test run build-dev build-release bench fuzz screenshots clean

deps:
	scripts/install-deps

build-dev: deps
	cmake --preset dev
	cmake --build --preset dev -j $(JOBS)

build-release: deps
	cmake --preset release
	cmake --build --preset release -j $(JOBS)

fuzz: deps
	cmake --preset fuzz
	cmake --build --preset fuzz -j $(JOBS)
	scripts/run-fuzzers build/fuzz

test: build-dev fuzz
	ctest --preset dev -j $(JOBS)

# The desktop window on your crontab; TEMPOLANE_DEMO=1 make run opens it on sample data.
run: build-release
	build/release/src/app/tempolane $(ARGS)

bench: build-release
	scripts/run-benchmarks build/release

# Renders the main states of the windows, light and dark, to build/screenshots/*.png.
screenshots: build-dev
	cmake --build --preset dev --target screenshots

clean:
	rm -rf build
