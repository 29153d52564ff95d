#!/usr/bin/env bash
# parent_landing_test.sh -- the way back up: started in the 14th of twenty sub-folders, the viewer
# walks to "Parent Folder(..)" and passes it, and stands in the parent's second room before that
# folder's door, facing it, its caption showing; Enter there enters the folder again.
# Usage: parent_landing_test.sh /path/to/quillmere
set -u

program=$(realpath "$1")
# shellcheck source=tests/program/lib.sh
source "$(dirname "$0")/lib.sh"

# Twelve pictures (room 2 shows the last two) and twenty sub-folders Sub01 to Sub20 (room 2
# shows Sub10 to Sub18, Sub14 behind its fifth door).
gallery="$work/gallery"
mkdir -p "$gallery"
for n in $(seq 1 12); do
    convert -size 80x60 "xc:rgb($((n * 18)),$((250 - n * 15)),120)" \
        "BMP3:$gallery/picture$(printf %02d "$n").bmp" || fail "cannot write a picture"
done
for n in $(seq 1 20); do
    mkdir "$gallery/Sub$(printf %02d "$n")"
done
convert -size 60x80 xc:navy "BMP3:$gallery/Sub14/inside.bmp" || fail "cannot write a picture"

start_xvfb
start_program "$gallery" Sub14
wait_for_dialog
dialog_keys Return
wait_for_dialog_closed
wait_for_gallery
start=$(realpath "$gallery")
wait_for_line "Loading $start/Sub14/inside.bmp"
capture_room

# Two steps down the room put the eye in the parent door's band; turned to the door wall
# (heading 270) and walked up to it, the viewer faces the parent door.
press Up 2
press Right 45
press Up 3
gallery_keys Return
wait_for_line "Folder Index: 0"
wait_for_line "Loading $start/picture12.bmp"
grep -qxF "Loading $start/picture01.bmp" "$work/stdout" && fail "the parent's first room was loaded"

# Before the door: its iron fills the view and the folder's name shows over it.
for _ in $(seq 20); do
    sleep 1
    capture_window
    iron=$(convert "$work/capture.png" -fx 'b > r + 0.03 ? 1 : 0' -format '%[fx:mean]' info:)
    caption=$(bright_pixels 100x24+350+283 0.6)
    holds "$iron > 0.2 && $caption > 50" && break
done
keep_capture parent_landing.png
echo "share of bluish iron in view: $iron, caption pixels: $caption"
holds "$iron > 0.2" || fail "no door in front of the viewer"
holds "$caption > 50" || fail "no caption for the door"

# Enter there is the door of Sub14, the fifth of room 2.
gallery_keys Return
wait_for_line "Folder Index: 5"
capture_room
gallery_keys Escape
expect_exit_zero "Escape"

{
    echo "Loading $start/Sub14/inside.bmp"
    echo "Folder Index: 0"
    echo "Loading $start/picture11.bmp"
    echo "Loading $start/picture12.bmp"
    echo "Folder Index: 5"
    echo "Loading $start/Sub14/inside.bmp"
} >"$work/expected"
diff "$work/expected" "$work/stdout" >"$work/diff" || {
    cat "$work/diff" >&2
    fail "the standard output does not tell the way up and back"
}
echo "PASS"
