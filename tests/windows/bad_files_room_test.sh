#!/usr/bin/env bash
# bad_files_room_test.sh -- quillmere.exe under Wine in a folder, named on its command line, that
# holds two files it cannot show (a FIFO, which Wine sees as a file, and a 54-byte BMP header
# claiming 65535x65535 pixels) beside a V5 BMP and a JPEG with EXIF orientation 6 (WIC under Wine
# gives no EXIF: the program reads the orientation itself). The startup dialog still shows, with
# the folder in its box; the program stays alive, reports "ERROR: Unable to load" for exactly the
# two bad files, and hangs the good ones upright: the quadrant colours of each, seen face on,
# stand where they belong. Escape ends it with 0. Usage: bad_files_room_test.sh quillmere.exe
set -u

program=$(realpath "$1")
# shellcheck source=tests/windows/lib.sh
source "$(dirname "$0")/lib.sh"

# In name order: slot 1 (behind the start pose) the bomb, slot 2 the turned JPEG, slot 3 the
# V5 BMP, slot 4 the FIFO.
folder="$work/Bad files"
mkdir -p "$folder"
mkfifo "$folder/4 pipe.jpg" || fail "cannot make a FIFO"
# BITMAPFILEHEADER and BITMAPINFOHEADER only: 65535 x 65535 at 24 bits, no pixels.
{
    printf 'BM\x36\0\0\0\0\0\0\0\x36\0\0\0\x28\0\0\0\xff\xff\0\0\xff\xff\0\0\x01\0\x18\0'
    head -c 24 /dev/zero
} >"$folder/1 bomb.bmp"
[ "$(stat -c %s "$folder/1 bomb.bmp")" -eq 54 ] || fail "the bomb is not 54 bytes"
# Four quadrants, 80x60 each: red, lime over blue, yellow.
quadrants() {
    convert \( -size 80x60 xc:red xc:lime +append \) \( -size 80x60 xc:blue xc:yellow +append \) \
        -append -strip "$@"
}
# ImageMagick's BMP is a V5 (124-byte header).
quadrants "$folder/3 upright.bmp" || fail "cannot write the BMP"
[ "$(od -A n -t u4 -j 14 -N 4 "$folder/3 upright.bmp" | tr -d ' ')" = 124 ] ||
    fail "the BMP has no V5 header"
# The JPEG stores the quadrants as above, and an APP1 Exif block after SOI says orientation 6:
# turned 90 degrees clockwise it shows blue, red over yellow, lime, portrait.
quadrants -quality 95 "$work/stored.jpg" || fail "cannot write the JPEG"
{
    head -c 2 "$work/stored.jpg"
    printf '\xff\xe1\x00\x22Exif\0\0MM\0\x2a\0\0\0\x08\0\x01\x01\x12\0\x03\0\0\0\x01\0\x06\0\0\0\0\0\0'
    tail -c +3 "$work/stored.jpg"
} >"$folder/2 turned.jpg"
[ "$(identify -format '%[orientation]' "$folder/2 turned.jpg")" = RightTop ] ||
    fail "the JPEG carries no orientation 6"

start_program "$work" "$(windows_path "$folder")"
wait_for_dialog
keys_to "$dialog" Return
wait_for_dialog_closed
wait_for_gallery
wait_for_loading_lines 4
capture_room
keep_capture bad_files_start.png

# From the start pose slot 2 hangs on the left wall near by, slot 3 further on.
turned=$(quadrant_layout 80x160+35+115)
upright=$(quadrant_layout 40x80+195+205)
echo "orientation 6 JPEG: $turned; V5 BMP: $upright"
[ "$turned" = "blue red yellow lime" ] || fail "the orientation 6 JPEG hangs as $turned"
[ "$upright" = "red lime blue yellow" ] || fail "the V5 BMP hangs as $upright"

# Alive a while later, and the errors name exactly the two bad files.
sleep 1
running || fail_ended "after loading the room"
named=$(windows_path "$folder")
printf 'ERROR: Unable to load %s\n' "$named\\1 bomb.bmp" "$named\\4 pipe.jpg" >"$work/expected"
# The C runtime ends lines with CR LF.
tr -d '\r' <"$work/stderr" | grep 'ERROR' | sort >"$work/errors"
diff "$work/expected" "$work/errors" >&2 || fail "not one error line for each bad file"
printf 'Loading %s\n' "$named\\"{"1 bomb.bmp","2 turned.jpg","3 upright.bmp","4 pipe.jpg"} |
    diff - <(tr -d '\r' <"$work/stdout") >&2 || fail "the folder on the command line was not loaded"

keys_to "$window" Escape
expect_exit_zero "Escape"
echo "PASS"
