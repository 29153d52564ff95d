# Quillmere build entry points: `make run` sets up, builds and starts the gallery in samples/;
# `make test` sets up, builds and runs every test, then again under ASan and UBSan.
JOBS ?= $(shell nproc)
CMAKE_FLAGS ?=

.PHONY: all deps test-deps build run test test-plain test-sanitized bench format clean

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

test: test-deps test-plain test-sanitized

test-plain:
	cmake -S . -B build -DCMAKE_BUILD_TYPE=RelWithDebInfo -DQUILLMERE_TESTS=ON $(CMAKE_FLAGS)
	cmake --build build -j $(JOBS)
	cd build && ctest --output-on-failure -j $(JOBS)

test-sanitized:
	cmake -S . -B build-asan -DCMAKE_BUILD_TYPE=Debug -DQUILLMERE_TESTS=ON \
	      -DQUILLMERE_SANITIZE=ON $(CMAKE_FLAGS)
	cmake --build build-asan -j $(JOBS)
	cd build-asan && ctest --output-on-failure -j $(JOBS)

bench: deps
	cmake -S . -B build -DCMAKE_BUILD_TYPE=RelWithDebInfo -DQUILLMERE_TESTS=ON $(CMAKE_FLAGS)
	cmake --build build -j $(JOBS)
	scripts/run-benchmarks.sh build

format:
	clang-format -i $$(git ls-files '*.cpp' '*.h')

clean:
	rm -rf build build-asan
