#!/usr/bin/env bash
# empty_room_test.sh -- the program under Xvfb on a folder with sub-folders and no pictures: its
# window shows textured walls, floor and ceiling, before and after a switch to fullscreen and
# back, and it exits with 0 on Escape and on the window's close request.
# Usage: empty_room_test.sh /path/to/quillmere
set -u

program=$(realpath "$1")
# shellcheck source=tests/program/lib.sh
source "$(dirname "$0")/lib.sh"

mkdir -p "$work/gallery/Landscapes" "$work/gallery/Portraits" "$work/gallery/.hidden"

# Captures the current window and checks that walls, floor and ceiling are drawn textured.
check_room() {
    capture_window
    check_region "left wall" 100x200+20+200
    check_region "right wall" 100x200+680+200
    check_region "ceiling" 200x100+300+20
    check_region "floor" 300x100+250+480
}

# Presses F2 and waits for the window made anew in the other mode.
switch_mode() {
    gallery_keys F2
    wait_for_gallery 800x600 "$window"
}

start_xvfb

# First run: let it draw and check the room; switch to fullscreen and back and check again;
# quit with Escape.
start_gallery
sleep 2
check_room
keep_capture empty_room_capture.png
switch_mode
switch_mode
sleep 1
check_room
gallery_keys Escape
expect_exit_zero "Escape"

# Second run: the window's close request, as a window manager's close box sends it.
start_gallery
sleep 1
send_close_request "$window"
expect_exit_zero "close request"

echo "PASS"
