# Quillmere build entry points: `make run` sets up, builds and starts the gallery in samples/;
# `make test` sets up, builds and runs every test, then again under ASan and UBSan;
# `make install` installs into PREFIX (default /usr/local), below DESTDIR when that is set;
# `make fuzz` feeds mutated picture files to the picture path for FUZZ_SECONDS;
# `make windows` cross-builds the Windows program, build-windows/quillmere.exe.
JOBS ?= $(shell nproc)
PREFIX ?= /usr/local
CMAKE_FLAGS ?=
FUZZ_SECONDS ?= 1800

.PHONY: all deps test-deps fuzz-deps build run install test test-plain test-sanitized \
        test-threads test-tools test-windows windows windows-deps bench bench-windows fuzz samples artwork \
        format clean check-layers mutants

all: build

deps:
	scripts/install-deps.sh

test-deps:
	scripts/install-deps.sh --test

fuzz-deps:
	scripts/install-deps.sh --fuzz

windows-deps:
	scripts/install-deps.sh --windows

build: deps
	cmake -S . -B build -DCMAKE_BUILD_TYPE=RelWithDebInfo $(CMAKE_FLAGS)
	cmake --build build -j $(JOBS) --target quillmere

run: build
	cd samples && ../build/quillmere

install: build
	DESTDIR="$(DESTDIR)" cmake --install build --prefix "$(PREFIX)"

test: test-deps check-layers test-plain test-sanitized test-threads test-tools test-windows

# Every include stays within what its layer may reach (see the script for the layers).
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

# The picture pipeline's tests once more under ThreadSanitizer: the stores, the decode workers,
# the background and the room loader all work across threads.
test-threads:
	cmake -S . -B build-tsan -DCMAKE_BUILD_TYPE=RelWithDebInfo -DQUILLMERE_TESTS=ON \
	      -DQUILLMERE_THREAD_SANITIZE=ON $(CMAKE_FLAGS)
	cmake --build build-tsan -j $(JOBS) --target quillmere_pipeline_tests
	cd build-tsan && ctest --output-on-failure -j $(JOBS)

# The programs in tools/ that make the bundled artwork and sample gallery, and their tests.
test-tools:
	cmake -S tools -B build-tools -DCMAKE_BUILD_TYPE=Release
	cmake --build build-tools -j $(JOBS)
	cd build-tools && ctest --output-on-failure

# One self-contained x86_64 Windows program, cross-built with MinGW-w64.
windows: windows-deps
	cmake -S . -B build-windows -DCMAKE_TOOLCHAIN_FILE=cmake/mingw-w64-x86_64.cmake \
	      -DCMAKE_BUILD_TYPE=Release $(CMAKE_FLAGS)
	cmake --build build-windows -j $(JOBS) --target quillmere

# The Windows program and its tests, cross-built and run under Wine on a private Xvfb.
test-windows:
	JOBS=$(JOBS) scripts/test-windows.sh

samples: deps
	cmake -S tools -B build-tools -DCMAKE_BUILD_TYPE=Release
	cmake --build build-tools -j $(JOBS) --target make_samples
	build-tools/make_samples samples

bench: deps
	cmake -S . -B build -DCMAKE_BUILD_TYPE=RelWithDebInfo -DQUILLMERE_TESTS=ON $(CMAKE_FLAGS)
	cmake --build build -j $(JOBS)
	scripts/run-benchmarks.sh build

# The Windows program's room benchmark under Wine.
bench-windows: test-deps
	JOBS=$(JOBS) scripts/run-windows-benchmark.sh

format:
	clang-format -i $$(git ls-files '*.cpp' '*.h')

# Simple faults planted in the lines a change touches; lists those no test catches.
MUTANTS_ARGS ?=
mutants: test-deps
	scripts/mutants.py $(MUTANTS_ARGS)


# libFuzzer with AddressSanitizer on the picture path (file bytes, decoder, thumbnail composer),
# seeded with the sample gallery and one small file of each further format (tests/fuzz/seeds);
# new inputs collect in build-fuzz/corpus, crashes in build-fuzz/crashes. Not part of
# `make test`.
fuzz: fuzz-deps
	cmake -S . -B build-fuzz -DCMAKE_BUILD_TYPE=RelWithDebInfo -DCMAKE_CXX_COMPILER=clang++ \
	      -DQUILLMERE_FUZZ=ON $(CMAKE_FLAGS)
	cmake --build build-fuzz -j $(JOBS) --target picture_path_fuzzer
	mkdir -p build-fuzz/corpus build-fuzz/crashes
	build-fuzz/tests/fuzz/picture_path_fuzzer -max_total_time=$(FUZZ_SECONDS) -max_len=65536 \
	    -artifact_prefix=build-fuzz/crashes/ build-fuzz/corpus samples tests/fuzz/seeds

clean:
	rm -rf build build-asan build-tsan build-tools build-fuzz build-mutants build-windows
