#!/usr/bin/env bash
# Runs every benchmark built in the given build folder and prints its figures.
set -eu
build=${1:-build}
for b in "$build"/bench/bench_*; do
    [ -x "$b" ] || continue
    echo "== $(basename "$b")"
    "$b"
done
