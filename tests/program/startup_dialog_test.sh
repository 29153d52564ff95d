#!/usr/bin/env bash
# startup_dialog_test.sh -- the startup dialog of the program under Xvfb (a 1280x1024 screen, so
# every offered resolution fits): Escape, Cancel and the close box end the program with 0 before
# any folder is scanned or window made; Return starts an 800x600 window on the current folder;
# 1024x768 picked in the resolution list gives a 1024x768 window.
# Usage: startup_dialog_test.sh /path/to/quillmere
set -u

program=$(realpath "$1")
# shellcheck source=tests/program/lib.sh
source "$(dirname "$0")/lib.sh"

# Three pictures, two files that are no pictures and a sub-folder whose picture stays unloaded.
gallery="$work/gallery"
mkdir -p "$gallery/Sub"
convert -size 64x48 xc:tomato "$gallery/red.jpg" || fail "cannot write a picture"
convert -size 48x64 xc:teal "$gallery/Teal.GIF" || fail "cannot write a picture"
convert -size 64x64 xc:orange "BMP3:$gallery/orange.bmp" || fail "cannot write a picture"
convert -size 64x64 xc:white "BMP3:$gallery/Sub/inner.bmp" || fail "cannot write a picture"
echo "notes" >"$gallery/notes.txt"
echo "not a picture" >"$gallery/cover.jpg.txt"

# The dialog was answered with the given keys (or closed) and the program ended with 0 without
# a gallery window and without scanning: standard output stays empty.
expect_cancelled() {
    expect_exit_zero "$1"
    expect_no_gallery_window "$1"
    [ -s "$work/stdout" ] && fail "$1: output after the dialog was cancelled"
    echo "$1: cancelled"
}

# Starts the program, waits for its dialog and watches for any other window.
open_dialog() {
    start_program "$gallery"
    watch_windows
    wait_for_dialog
}

start_xvfb 1280x1024x24

# Escape cancels. The dialog itself is a light window of its own, not the gallery's size.
open_dialog
size=$(window_size "$dialog")
capture_window "$dialog" "$size"
keep_capture startup_dialog.png
echo "dialog: $size, mean grey $(mean_of "$size+0+0")"
[ "$size" != "800x600" ] || fail "the dialog has the gallery window's size"
holds "$(mean_of "$size+0+0") > 0.6" || fail "the dialog is not drawn"
dialog_keys Escape
expect_cancelled "Escape"

# Cancel: backwards from the folder box, the last control is Cancel.
open_dialog
dialog_keys shift+Tab space
expect_cancelled "Cancel"

# The close box.
open_dialog
send_close_request "$dialog"
expect_cancelled "close box"

# Return takes the initial choices: an 800x600 window (windowed: this screen has no 800x600 mode,
# so fullscreen would have asked first) on the folder the program runs in, named by its absolute
# path; exactly its three pictures are loaded.
start_gallery "$gallery"
wait_for_loading_lines 3
capture_room
check_region "floor" 300x100+250+480
[ -z "$(window_named "Fullscreen Mode Failed")" ] ||
    fail "a fullscreen question came up for a windowed start"
gallery_keys Escape
expect_exit_zero "Escape in the gallery"
start=$(realpath "$gallery")
for name in orange.bmp red.jpg Teal.GIF; do echo "Loading $start/$name"; done | sort >"$work/expected"
sort "$work/stdout" | diff "$work/expected" - >&2 || fail "not the folder's three pictures"

# 1024x768 is the entry below the initial 800x600; Alt+I takes the focus back to the folder box,
# where Return is OK.
start_program "$gallery"
wait_for_dialog
dialog_keys Tab Tab Down alt+i Return
wait_for_dialog_closed
wait_for_gallery 1024x768
wait_for_loading_lines 3
sleep 1
capture_window "$window" 1024x768
check_region "floor at the bottom of the larger window" 400x120+312+640
check_region "ceiling at its top" 300x100+362+20
gallery_keys Escape
expect_exit_zero "Escape in the 1024x768 gallery"

echo "PASS"
