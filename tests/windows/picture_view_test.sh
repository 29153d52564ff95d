#!/usr/bin/env bash
# picture_view_test.sh -- quillmere.exe under Wine: walked up to the last picture of room 1,
# Enter opens it full size over black; Right shows the next picture, the first of room 2; Escape
# goes back into room 2 before that picture, where Enter opens it again; the wheel steps on and
# a right click closes the view. Escape then ends the program with 0.
# Usage: picture_view_test.sh quillmere.exe
set -u

program=$(realpath "$1")
# shellcheck source=tests/windows/lib.sh
source "$(dirname "$0")/lib.sh"

# Twelve pictures of 640 x 360, each its own flat colour: at their own size in the middle of
# the 800 x 600 view.
folder="$work/Twelve"
mkdir -p "$folder"
colour_of() { echo "$(($1 * 20)) $((240 - $1 * 15)) $((60 + $1 * 10))"; }
for n in $(seq 1 12); do
    read -r r g b <<<"$(colour_of "$n")"
    convert -size 640x360 "xc:rgb($r,$g,$b)" "BMP3:$folder/picture$(printf %02d "$n").bmp" ||
        fail "cannot write a picture"
done

# The middle of the view shows picture n, with black beside it.
expect_view_of() {
    local n=$1 r g b sr sg sb
    read -r r g b <<<"$(colour_of "$n")"
    for _ in $(seq 30); do
        capture_window
        read -r sr sg sb <<<"$(mean_rgb 200x100+300+250)"
        holds "(255*$sr - $r)^2 + (255*$sg - $g)^2 + (255*$sb - $b)^2 < 12" && break
        sleep 0.5
    done
    echo "view of picture $n: $sr $sg $sb (the picture is $r $g $b)"
    holds "(255*$sr - $r)^2 + (255*$sg - $g)^2 + (255*$sb - $b)^2 < 12" ||
        fail "the view does not show picture $n"
    holds "$(mean_of 60x400+10+100) < 0.02" || fail "no black beside picture $n"
}

# White caption strokes where the facing caption stands.
caption_pixels() {
    convert "$work/capture.png" -crop 200x24+300+283 +repage \
        -fx "min(r,min(g,b)) > 0.8 ? 1 : 0" -format "%[fx:round(mean*w*h)]" info:
}

start_program "$work" "$(windows_path "$folder")"
wait_for_dialog
keys_to "$dialog" Return
wait_for_dialog_closed
wait_for_gallery
wait_for_loading_lines 10
capture_room

# Down the room to slot 9, to the picture wall, turned to face it (heading 90).
keys_to "$window" $(printf 'Up %.0s' $(seq 46)) $(printf 'shift+Left %.0s' 1 2 3) \
    $(printf 'Left %.0s' $(seq 45))
for _ in $(seq 20); do
    sleep 0.5
    capture_window
    holds "$(caption_pixels) > 40" && break
done
holds "$(caption_pixels) > 40" || fail "no caption before picture 10"

keys_to "$window" Return
expect_view_of 10
keep_capture picture_view_fit.png
keys_to "$window" Right
expect_view_of 11

keys_to "$window" Escape
for _ in $(seq 100); do
    tr -d '\r' <"$work/stdout" | grep -qx "Loading Room 2..." && break
    sleep 0.1
done
tr -d '\r' <"$work/stdout" | grep -qx "Loading Room 2..." || fail "no Loading Room 2... line"
capture_room
keep_capture picture_view_back.png
echo "caption pixels after the view closed: $(caption_pixels)"
holds "$(caption_pixels) > 40" || fail "no caption before the picture last shown"

# Facing that picture, Enter opens it again; a notch of the wheel towards the user steps on
# and a right click closes the view.
keys_to "$window" Return
expect_view_of 11
geometry=$(client_geometry)
IFS='x+' read -r _ _ left top <<<"$geometry"
xdotool mousemove $((left + 400)) $((top + 300))
xdotool click 5
expect_view_of 12
xdotool click 3
capture_room
holds "$(caption_pixels) > 40" || fail "no caption after the right click closed the view"

keys_to "$window" Escape
expect_exit_zero "Escape"
echo "PASS"
