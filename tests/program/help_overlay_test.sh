#!/usr/bin/env bash
# help_overlay_test.sh -- F1 lays the help text over the running gallery, down its left side,
# with the frame counter in the top-right corner; F1 again takes it away and leaves the room as
# it was; Escape ends the program with 0. Usage: help_overlay_test.sh /path/to/quillmere
set -u

program=$(realpath "$1")
# shellcheck source=tests/program/lib.sh
source "$(dirname "$0")/lib.sh"

gallery="$work/gallery"
mkdir -p "$gallery/Folder"
convert -size 320x240 gradient:gold-darkgreen "$gallery/picture.jpg" || fail "cannot write a picture"

# Light pixels (text strokes) of the help column and of the counter's corner in a capture.
text_column() {
    bright_pixels 300x440+0+0 0.85 "$1"
}
counter_corner() {
    bright_pixels 70x26+730+0 0.85 "$1"
}

start_xvfb
start_gallery "$gallery"
wait_for_loading_lines 1
capture_room
cp "$work/capture.png" "$work/plain.png"

gallery_keys F1
sleep 1.5
capture_window
cp "$work/capture.png" "$work/help.png"
keep_capture help_overlay.png
plain_column=$(text_column "$work/plain.png")
help_column=$(text_column "$work/help.png")
plain_corner=$(counter_corner "$work/plain.png")
help_corner=$(counter_corner "$work/help.png")
echo "light pixels of the left column: $plain_column without help, $help_column with it"
echo "light pixels of the top-right corner: $plain_corner without help, $help_corner with it"
# Twenty-two lines of text, most of them long, against the few light spots of the room.
holds "$help_column > $plain_column + 1500" || fail "no help text down the left side"
holds "$help_corner > $plain_corner + 40" || fail "no frame counter in the top-right corner"
# The text starts at the top: its first line sits on the counter's baseline.
holds "$(bright_pixels 300x25+0+0 0.85 "$work/help.png") > 40" || fail "no first help line"

gallery_keys F1
sleep 1
capture_window
changed=$(differing_share "$work/plain.png" "$work/capture.png")
echo "share of the view changed after the help was hidden: $changed"
holds "$changed < 0.005" || fail "the room is not as it was once the help is hidden"

gallery_keys Escape
expect_exit_zero "Escape"
[ "$(grep -c '^Loading ' "$work/stdout")" -eq 1 ] || fail "the help reloaded the room"
echo "PASS"
