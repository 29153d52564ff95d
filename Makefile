# Quillmere build entry points: `make run` sets up, builds and starts the gallery in samples/;
# `make test` sets up, builds and runs every test, then again under ASan and UBSan;
# `make install` installs into PREFIX (default /usr/local), below DESTDIR when that is set.
JOBS ?= $(shell nproc)
PREFIX ?= /usr/local
CMAKE_FLAGS ?=

.PHONY: all deps test-deps build run install test test-plain test-sanitized test-tools bench \
        samples artwork format clean check-layers mutants

all: build

deps:
	scripts/install-deps.sh

test-deps:
	scripts/install-deps.sh --test

build: deps
	cmake -S . -B build -DCMAKE_BUILD_TYPE=RelWithDebInfo $(CMAKE_FLAGS)
	cmake --build build -j $(JOBS) --target quillmere

run: build
	cd samples && ../build/quillmere

install: build
	DESTDIR="$(DESTDIR)" cmake --install build --prefix "$(PREFIX)"

test: test-deps check-layers test-plain test-sanitized test-tools

# Every include points down the layers: platform <- gallery <- images <- render <- app.
check-layers:
	scripts/check-layers.sh

test-plain:
	cmake -S . -B build -DCMAKE_BUILD_TYPE=RelWithDebInfo -DQUILLMERE_TESTS=ON $(CMAKE_FLAGS)
	cmake --build build -j $(JOBS)
	cd build && ctest --output-on-failure -j $(JOBS)

test-sanitized:
	cmake -S . -B build-asan -DCMAKE_BUILD_TYPE=Debug -DQUILLMERE_TESTS=ON \
	      -DQUILLMERE_SANITIZE=ON $(CMAKE_FLAGS)
	cmake --build build-asan -j $(JOBS)
	cd build-asan && ctest --output-on-failure -j $(JOBS)

# The programs in tools/ that make the bundled artwork and sample gallery, and their tests.
test-tools:
	cmake -S tools -B build-tools -DCMAKE_BUILD_TYPE=Release
	cmake --build build-tools -j $(JOBS)
	cd build-tools && ctest --output-on-failure

samples: deps
	cmake -S tools -B build-tools -DCMAKE_BUILD_TYPE=Release
	cmake --build build-tools -j $(JOBS) --target make_samples
	build-tools/make_samples samples

bench: deps
	cmake -S . -B build -DCMAKE_BUILD_TYPE=RelWithDebInfo -DQUILLMERE_TESTS=ON $(CMAKE_FLAGS)
	cmake --build build -j $(JOBS)
	scripts/run-benchmarks.sh build

format:
	clang-format -i $$(git ls-files '*.cpp' '*.h')

# Simple faults planted in the lines a change touches; lists those no test catches.
MUTANTS_ARGS ?=
mutants: test-deps
	scripts/mutants.py $(MUTANTS_ARGS)

clean:
	rm -rf build build-asan build-tools build-mutants
