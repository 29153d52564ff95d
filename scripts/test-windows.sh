#!/bin/bash
# test-windows.sh -- cross-builds the Windows program and its tests in build-windows/ and runs
# them under Wine on a private Xvfb (scripts/wine-session.sh). Arguments go to ctest (-R NAME
# runs some tests only).
set -eu
cd "$(dirname "$0")/.."
build=build-windows
jobs=${JOBS:-$(nproc)}

cmake -S . -B $build -DCMAKE_TOOLCHAIN_FILE=cmake/mingw-w64-x86_64.cmake \
      -DCMAKE_BUILD_TYPE=Release -DQUILLMERE_TESTS=ON
cmake --build $build -j "$jobs"

. scripts/wine-session.sh
cd $build
ctest --output-on-failure -j "$jobs" --timeout 300 "$@"
