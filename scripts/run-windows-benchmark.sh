#!/bin/bash
# run-windows-benchmark.sh -- the Windows program's room benchmark under Wine: the Linux build
# writes the ten photographs, the Windows build enters their folder (scripts/wine-session.sh).
set -eu
cd "$(dirname "$0")/.."
build=build-windows
jobs=${JOBS:-$(nproc)}

cmake -S . -B build -DCMAKE_BUILD_TYPE=RelWithDebInfo -DQUILLMERE_TESTS=ON >/dev/null
cmake --build build -j "$jobs" --target write_photographs >/dev/null
cmake -S . -B $build -DCMAKE_TOOLCHAIN_FILE=cmake/mingw-w64-x86_64.cmake \
      -DCMAKE_BUILD_TYPE=Release -DQUILLMERE_TESTS=ON >/dev/null
cmake --build $build -j "$jobs" --target bench_room_load >/dev/null

photos=$PWD/$build/bench-photographs
rm -rf "$photos"
mkdir -p "$photos"
build/bench/write_photographs "$photos"

. scripts/wine-session.sh
# Wine shows the Linux root as drive Z:.
# The room's "Loading" lines are left out; the figures remain.
scripts/wine-run.sh $build/bench/bench_room_load.exe "Z:${photos//\//\\}" | grep -v "^Loading "
rm -rf "$photos"
