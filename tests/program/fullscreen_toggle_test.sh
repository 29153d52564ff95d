#!/usr/bin/env bash
# fullscreen_toggle_test.sh -- F2 switches the running gallery to fullscreen and back (on an
# 800x600 screen, whose own mode fullscreen takes): each switch makes a new window and reloads the
# room's pictures, while the folder, the room and the viewer's place and heading stay, so the
# view is the same before, during and after the round trip.
# Usage: fullscreen_toggle_test.sh /path/to/quillmere
set -u

program=$(realpath "$1")
# shellcheck source=tests/program/lib.sh
source "$(dirname "$0")/lib.sh"

gallery="$work/gallery"
mkdir -p "$gallery/First" "$gallery/Second"
colours=(red-navy gold-darkgreen white-purple orange-teal)
for n in 0 1 2 3; do
    convert -size 320x240 "gradient:${colours[n]}" "$gallery/picture$n.jpg" ||
        fail "cannot write a picture"
done

# Waits for the pictures to have been loaded the given number of times over and for the room
# to stand in the window, then keeps the capture under a name in $work.
capture_after_loads() {
    wait_for_loading_lines $((4 * $1))
    capture_room
    cp "$work/capture.png" "$work/$2.png"
}

start_xvfb
start_gallery "$gallery"
capture_after_loads 1 start

# A few steps in, turned a little to the left and stepped aside: a pose of its own.
press Up 6
press Left 5
press D 1
sleep 1
capture_window
cp "$work/capture.png" "$work/before.png"
moved=$(differing_share "$work/start.png" "$work/before.png")
echo "share of the view changed by walking: $moved"
holds "$moved > 0.2" || fail "walking did not change the view"

# To fullscreen: a new window of the screen's size, the room loaded anew, the same view.
old=$window
gallery_keys F2
wait_for_gallery 800x600 "$old"
capture_after_loads 2 fullscreen
keep_capture fullscreen_toggle_fullscreen.png
changed=$(differing_share "$work/before.png" "$work/fullscreen.png")
echo "share of the view changed in fullscreen: $changed"
holds "$changed < 0.005" || fail "the view in fullscreen is not the view before"

# And back to a window: again the same view.
old=$window
gallery_keys F2
wait_for_gallery 800x600 "$old"
capture_after_loads 3 after
changed=$(differing_share "$work/before.png" "$work/after.png")
echo "share of the view changed after the round trip: $changed"
holds "$changed < 0.005" || fail "the view after the round trip is not the view before"

gallery_keys Escape
expect_exit_zero "Escape"

# Only the pictures were reloaded, three times in the same order; no room or folder changed.
grep -v '^Loading /' "$work/stdout" >&2 && fail "a room or folder changed"
mapfile -t loads <"$work/stdout"
[ "${#loads[@]}" -eq 12 ] || fail "${#loads[@]} pictures loaded, not 12"
for n in 0 1 2 3; do
    if [ "${loads[n]}" != "${loads[n + 4]}" ] || [ "${loads[n]}" != "${loads[n + 8]}" ]; then
        fail "the reloads differ: ${loads[*]}"
    fi
done
echo "PASS"
