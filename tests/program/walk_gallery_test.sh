#!/usr/bin/env bash
# walk_gallery_test.sh -- the program under Xvfb, walked with the keyboard through a gallery of
# thirteen pictures and two sub-folders: down the room and through the far door into room 2,
# back into room 1, along the door wall to the first sub-folder's door and through it. The window
# shows the doors with their name plates and labels, the standard output tells the walk, and
# Escape ends the program with 0. Usage: walk_gallery_test.sh /path/to/quillmere
set -u

program=$(realpath "$1")
# shellcheck source=tests/program/lib.sh
source "$(dirname "$0")/lib.sh"

# Thirteen flat-coloured pictures (a room holds ten), two sub-folders with pictures of their own
# and a hidden folder that is no door.
gallery="$work/gallery"
mkdir -p "$gallery/Alpha" "$gallery/Beta" "$gallery/.hidden"
for n in $(seq 1 13); do
    convert -size 160x120 "xc:rgb($((n * 18)),$((250 - n * 15)),120)" \
        "BMP3:$gallery/picture$(printf %02d "$n").bmp" || fail "cannot write a picture"
done
for sub in Alpha Beta; do
    convert -size 120x160 xc:navy "BMP3:$gallery/$sub/inside1.bmp" || fail "cannot write a picture"
    convert -size 120x160 xc:gold "$gallery/$sub/inside2.jpg" || fail "cannot write a picture"
done

# Names of a folder's files or visible sub-folders in the order the program lists them: by name,
# letter case aside (these names differ by more than case, all ASCII: sorting upper-cased keys
# bytewise is that order).
listed() {
    find "$1" -mindepth 1 -maxdepth 1 -type "$2" ! -name '.*' -printf '%f\n' |
        LC_ALL=C sort -f
}
mapfile -t pictures < <(listed "$gallery" f)
first_folder=$(listed "$gallery" d | head -n 1)

start_xvfb
start_gallery "$gallery"

# Room 1 from the start pose: the doors of slots 1 and 2 stand on the right wall, dark iron
# under a grey plate with the folder name in white on it.
capture_room
keep_capture walk_gallery_start.png
check_region "left wall" 100x150+20+220
door=$(mean_of 50x150+705+220)
wall=$(mean_of 60x120+455+180)
plate=$(mean_of 30x12+660+135)
echo "door $door, wall $wall, plate $plate"
holds "$door < 0.8 * $wall" || fail "no dark iron door where door 1 stands"
holds "$plate > 0.35 && $plate < 0.6" || fail "no grey plate above door 1"
label1=$(bright_pixels 60x40+695+80 0.9)
label2=$(bright_pixels 20x16+572+180 0.9)
echo "white label pixels on the plate of door 1: $label1, of door 2: $label2"
holds "$label1 > 40 && $label1 < 600" || fail "no legible label on the plate of door 1"
holds "$label2 > 10" || fail "no label on the plate of door 2"
holds "$(bright_pixels 120x80+640+130 0.9) < 5" || fail "white pixels below the plate of door 1"

# Down the room to the far end wall (48 steps reach the stop) and through its door.
press Up 60
gallery_keys Return
wait_for_line "Loading Room 2..."
capture_room

# Turned round at the near end wall (heading 180), the door leads back to the far end of room 1.
press Left 90
gallery_keys Return
wait_for_line "Loading Room 1..."
capture_room
keep_capture walk_gallery_back.png

# From the far end, facing back: 41 steps put the eye at z = 8.6, in the band of door 1; turned
# to the door wall (heading 270) and walked up to it, the viewer stands before the door.
press Up 41
press Left 45
press Up 5
# The door fills the view (its iron is the one bluish surface) and the caption with the folder
# name is faded in over it, about 70 % opaque this far from the middle of the spot (its light
# strokes then stand well above the dark iron); the keys may still be on their way, so look a
# few times.
for _ in $(seq 20); do
    sleep 1
    capture_window
    iron=$(convert "$work/capture.png" -fx 'b > r + 0.03 ? 1 : 0' -format '%[fx:mean]' info:)
    caption=$(bright_pixels 100x24+350+283 0.6)
    holds "$iron > 0.2 && $caption > 50" && break
done
keep_capture walk_gallery_door.png
echo "share of bluish iron in view: $iron, caption pixels: $caption"
holds "$iron > 0.2" || fail "no door in front of the viewer"
holds "$caption > 50" || fail "no caption for door 1"

gallery_keys Return
wait_for_line "Folder Index: 1"
capture_room
keep_capture walk_gallery_inside.png
check_region "left wall" 100x150+20+220

gallery_keys Escape
expect_exit_zero "Escape"

# The standard output tells the whole walk: room 1's ten pictures, room 2's three, room 1 again,
# the door, the sub-folder. The dialog's folder box holds the absolute current directory, so the
# pictures are named by absolute paths.
start=$(realpath "$gallery")
paths=("${pictures[@]/#/$start/}")
{
    printf 'Loading %s\n' "${paths[@]:0:10}"
    echo "Loading Room 2..."
    printf 'Loading %s\n' "${paths[@]:10}"
    echo "Loading Room 1..."
    printf 'Loading %s\n' "${paths[@]:0:10}"
    echo "Folder Index: 1"
    listed "$gallery/$first_folder" f | sed "s|^|Loading $start/$first_folder/|"
} >"$work/expected"
diff "$work/expected" "$work/stdout" >"$work/diff" || {
    cat "$work/diff" >&2
    fail "the standard output does not tell the walk"
}
echo "PASS"
