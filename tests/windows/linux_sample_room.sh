#!/usr/bin/env bash
# linux_sample_room.sh -- the Linux program's view of the sample gallery's first room from the
# start pose, as region means (see sample_room_regions.sh): the reference the Windows program is
# held to. sample_room_test.sh runs it when the Linux program is built; its output, made with
#   tests/windows/linux_sample_room.sh build/quillmere >tests/windows/sample_room_linux.txt
# is kept for runs without it. Usage: linux_sample_room.sh /path/to/quillmere
set -u

program=$(realpath "$1")
# shellcheck source=tests/program/lib.sh
source "$(dirname "$0")/../program/lib.sh"
# shellcheck source=tests/windows/sample_room_regions.sh
source "$(dirname "$0")/sample_room_regions.sh"

samples=$(realpath "$(dirname "$0")/../../samples")
[ -d "$samples" ] || fail "no sample gallery in $samples (make samples)"

start_xvfb
start_gallery "$samples" >&2
wait_for_loading_lines 10 >&2
capture_room >&2
# Two captures a second apart agree: every picture is in.
for _ in $(seq 20); do
    cp "$work/capture.png" "$work/previous.png"
    sleep 1
    capture_window >&2
    change=$(compare -metric RMSE "$work/previous.png" "$work/capture.png" null: 2>&1 |
        sed 's/.*(\(.*\))/\1/')
    holds "$change < 0.01" && break
done
measure_sample_room "$work/capture.png"
gallery_keys Escape
expect_exit_zero "Escape" >&2
