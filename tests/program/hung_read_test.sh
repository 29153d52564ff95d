#!/usr/bin/env bash
# hung_read_test.sh -- a picture whose reads never return (a hung mount, staged with the slow
# folder library): the window stays alive with its loading screen, Escape or the close request
# takes it away within a second, and the process ends at once, also when the hung picture is
# being prepared for the next room in the background.
# Usage: hung_read_test.sh /path/to/quillmere   (QM_SLOW_FS names the library)
set -u

program=$(realpath "$1")
# shellcheck source=tests/program/lib.sh
source "$(dirname "$0")/lib.sh"
[ -f "${QM_SLOW_FS:-}" ] || fail "QM_SLOW_FS does not name the slow folder library"

mkdir -p "$work/gallery" "$work/next"
convert -size 640x480 gradient:red-blue "$work/gallery/Stuck.jpg"
for i in 01 02 03 04 05 06 07 08 09 10; do
    convert -size 64x48 xc:green "$work/next/Picture $i.jpg"
done
convert -size 64x48 xc:green "$work/next/Stuck.jpg"

export LD_PRELOAD=$QM_SLOW_FS SLOW_FS_ROOT=$work SLOW_FS_DELAY_MS=0 SLOW_FS_HANG=Stuck.jpg
export ASAN_OPTIONS="${ASAN_OPTIONS:-}:verify_asan_link_order=0"

# Sends the keys (or the close request) and fails unless the window is gone within a second and
# the process within two.
expect_prompt_end() {
    local how=$1 start gone=""
    start=$(date +%s%N)
    if [ "$how" = close ]; then
        send_close_request "$window"
    else
        gallery_keys Escape
    fi
    for _ in $(seq 40); do
        if ! xwininfo -id "$window" >/dev/null 2>&1; then
            gone=$(($(date +%s%N) - start))
            break
        fi
        sleep 0.025
    done
    [ -n "$gone" ] || fail "$how: the window was still there after a second"
    echo "$how: window gone after $((gone / 1000000)) ms"
    holds "$gone < 1000000000" || fail "$how: the window took $((gone / 1000000)) ms to go"
    for _ in $(seq 20); do
        running || break
        sleep 0.1
    done
    running && fail "$how: the process lingers after its window went"
    wait "$app_pid"
    local code=$?
    app_pid=""
    [ "$code" -eq 0 ] || fail "$how: exit code $code"
}

start_xvfb

# Room 1's one picture never arrives: the loading screen stays up and keeps being drawn.
for how in Escape close; do
    start_gallery
    wait_for_line "Loading $work/gallery/Stuck.jpg"
    sleep 1
    capture_window
    holds "$(bright_pixels 780x40+10+300 0.8) > 50" || fail "$how: no loading screen text"
    holds "$(mean_of 300x100+250+480) < 0.1" || fail "$how: a room instead of the loading screen"
    expect_prompt_end "$how"
done

# Room 1 loads; the hung picture is the first of room 2, which the background prepares.
start_gallery "$work/next"
wait_for_loading_lines 10
capture_room
sleep 1
expect_prompt_end Escape

echo "PASS"
