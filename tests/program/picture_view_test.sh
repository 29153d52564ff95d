#!/usr/bin/env bash
# picture_view_test.sh -- the program under Xvfb: walked up to the last picture of room 1, Enter
# opens it full size over black with its information line; Right shows the next picture, the
# first of room 2; Escape goes back into the gallery, into room 2 before that picture with its
# caption showing, and Enter there opens it again. Usage: picture_view_test.sh /path/to/quillmere
set -u

program=$(realpath "$1")
# shellcheck source=tests/program/lib.sh
source "$(dirname "$0")/lib.sh"

# Twelve pictures of 640 x 360, each its own flat colour: shown at their own size in the middle
# of the 800 x 600 view, from (80, 120) to (720, 480).
gallery="$work/gallery"
mkdir -p "$gallery"
colour_of() { echo "$(($1 * 20)) $((240 - $1 * 15)) $((60 + $1 * 10))"; }
for n in $(seq 1 12); do
    read -r r g b <<<"$(colour_of "$n")"
    convert -size 640x360 "xc:rgb($r,$g,$b)" "BMP3:$gallery/picture$(printf %02d "$n").bmp" ||
        fail "cannot write a picture"
done

# The mean colour "r g b" (0 to 255) of a region of the last capture.
mean_colour() {
    convert "$work/capture.png" -crop "$1" +repage \
        -format "%[fx:round(255*mean.r)] %[fx:round(255*mean.g)] %[fx:round(255*mean.b)]" info:
}

# The middle of the view shows picture n: its colour, and black beside it.
expect_view_of() {
    local n=$1 r g b sr sg sb
    read -r r g b <<<"$(colour_of "$n")"
    for _ in $(seq 20); do
        capture_window
        read -r sr sg sb <<<"$(mean_colour 200x100+300+250)"
        holds "($sr - $r)^2 + ($sg - $g)^2 + ($sb - $b)^2 < 12" && break
        sleep 0.5
    done
    echo "view of picture $n: $sr $sg $sb (the picture is $r $g $b)"
    holds "($sr - $r)^2 + ($sg - $g)^2 + ($sb - $b)^2 < 12" || fail "the view does not show picture $n"
    holds "$(mean_of 60x400+10+100) < 0.02" || fail "no black beside picture $n"
    # The information line under it: white letters on the band at the bottom.
    holds "$(bright_pixels 600x20+100+578 0.9) > 100" || fail "no information line under picture $n"
}

start_xvfb
start_gallery "$gallery"
capture_room

# Down the room to slot 9 (46 steps from z = -11.9 put the eye at z = 11.1, 0.44 along the
# slot), to the picture wall, and turned to face it (heading 90).
press Up 46
press shift+Left 3
press Left 45
for _ in $(seq 20); do
    sleep 0.5
    capture_window
    holds "$(bright_pixels 200x24+300+283 0.8) > 40" && break
done
holds "$(bright_pixels 200x24+300+283 0.8) > 40" || fail "no caption before picture 10"

gallery_keys Return
expect_view_of 10
keep_capture picture_view_fit.png

gallery_keys Right
expect_view_of 11
keep_capture picture_view_next.png

gallery_keys Escape
wait_for_line "Loading Room 2..."
capture_room
keep_capture picture_view_back.png
caption=$(bright_pixels 200x24+300+283 0.8)
echo "caption pixels after the view closed: $caption"
holds "$caption > 40" || fail "no caption before the picture last shown"

# Facing that picture: Enter opens it again.
gallery_keys Return
expect_view_of 11
gallery_keys Escape
sleep 0.5
gallery_keys Escape
expect_exit_zero "Escape"
echo "PASS"
