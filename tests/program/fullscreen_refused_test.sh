#!/usr/bin/env bash
# fullscreen_refused_test.sh -- fullscreen at 1024x768 picked in the startup dialog on an 800x600
# screen, which has no such mode: the program asks whether to go on in a window. No ends it with
# 0 before any window is made; Yes gives a 1024x768 window, and a later F2 asks again, where No
# ends the program with 0. Usage: fullscreen_refused_test.sh /path/to/quillmere
set -u

program=$(realpath "$1")
# shellcheck source=tests/program/lib.sh
source "$(dirname "$0")/lib.sh"

question="Fullscreen Mode Failed"
gallery="$work/gallery"
mkdir -p "$gallery/Inner"
convert -size 64x48 xc:tomato "$gallery/red.jpg" || fail "cannot write a picture"
convert -size 48x64 xc:teal "$gallery/teal.gif" || fail "cannot write a picture"

# Starts the program and answers its dialog with 1024x768 (the entry below the initial 800x600)
# and Fullscreen (backwards from the folder box: Cancel, OK, smooth mouse, mouse navigation,
# High, Fullscreen), then waits for the question; sets box.
start_fullscreen_1024() {
    start_program "$gallery"
    watch_windows
    wait_for_dialog
    dialog_keys Tab Tab Down alt+i shift+Tab shift+Tab shift+Tab shift+Tab shift+Tab shift+Tab \
        space alt+i Return
    wait_for_dialog_closed
    box=$(wait_for_window_named "$question") || exit 1
}


start_xvfb 800x600x24

# No: the program ends with 0; no window was made and no picture loaded.
start_fullscreen_1024
check_message_box "$box"
keep_capture fullscreen_question.png
keys_to "$box" Escape
expect_exit_zero "No at start"
expect_no_gallery_window "No at start"
[ -s "$work/stdout" ] && fail "No at start: pictures were loaded"

# Yes: a 1024x768 window (larger than this screen) shows the folder's two pictures.
start_fullscreen_1024
check_message_box "$box"
keys_to "$box" Return
wait_for_gallery 1024x768
wait_for_loading_lines 2
sleep 1

# F2 tries fullscreen again and asks again: No ends the program with 0.
gallery_keys F2
box=$(wait_for_window_named "$question") || exit 1
check_message_box "$box"
keys_to "$box" Escape
expect_exit_zero "No on F2"
loaded=$(grep -c '^Loading ' "$work/stdout")
[ "$loaded" -eq 2 ] || fail "the pictures were loaded $loaded times, not once each"
echo "PASS"
