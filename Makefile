# The two entry points of a fresh Debian machine: `make test` and `make run`.
JOBS ?= $(shell nproc)
ARGS ?=
# The number shown beside the version in a packaged build: the count of commits, when known.
BUILD_NUMBER ?= $(shell git rev-list --count HEAD 2>/dev/null)

.PHONY: deps test run build-dev build-release bench fuzz package screenshots clean

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

# Last, the optimised programs that `make run` and the package start: the optimiser warns
# about things the debug build cannot see, and warnings are errors.
test: build-dev fuzz
	ctest --preset dev -j $(JOBS)
	cmake --preset release
	cmake --build --preset release -j $(JOBS) --target tempolane tempolane-cli tempolane-watcher

# The desktop window on your crontab; TEMPOLANE_DEMO=1 make run opens it on sample data.
run: build-release
	build/release/src/app/tempolane $(ARGS)

# build/package/tempolane_VERSION_ARCH.deb, for `apt-get install ./tempolane_*.deb`.
package: deps
	cmake --preset package -DTEMPOLANE_BUILD_NUMBER=$(BUILD_NUMBER)
	cmake --build --preset package -j $(JOBS)

bench: build-release
	scripts/run-benchmarks build/release

# Renders the main states of the windows, light and dark, to build/screenshots/*.png.
screenshots: build-dev
	cmake --build --preset dev --target screenshots

clean:
	rm -rf build
