#!/usr/bin/env bash
# room_memory_test.sh -- a room's peak memory is bounded for the room, not per picture: with
# sixteen decode workers (QUILLMERE_CORES=16), ten GIFs of a 7000 x 7000 canvas and ten
# 6000 x 6000 PNGs each stay within 300 MB above a folder of one such picture.
# Usage: room_memory_test.sh /path/to/quillmere
set -u

program=$(realpath "$1")
# shellcheck source=tests/program/lib.sh
source "$(dirname "$0")/lib.sh"

# Under AddressSanitizer freed blocks wait in its quarantine and every block carries red zones:
# the peak is then the sanitizer's, not the program's. The bound is checked in the plain build.
if ldd "$program" 2>/dev/null | grep -q libasan; then
    echo "not measured: the program is built with AddressSanitizer"
    exit 0
fi

# A GIF whose canvas is 7000 x 7000 and whose one frame is a single pixel: a few dozen bytes that
# the decoder turns into 196 MB of canvas.
write_canvas_gif() {
    python3 - "$1" <<'CODE'
import struct, sys
screen = struct.pack('<6sHHBBB', b'GIF89a', 7000, 7000, 0x80, 0, 0) + b'\xff\x00\x00\x00\x00\xff'
frame = b',' + struct.pack('<HHHHB', 0, 0, 1, 1, 0) + b'\x02\x02\x44\x01\x00'
open(sys.argv[1], 'wb').write(screen + frame + b';')
CODE
}

mkdir -p "$work/gif1" "$work/gif10" "$work/png1" "$work/png10"
write_canvas_gif "$work/gif1/Canvas 00.gif"
convert -size 6000x6000 gradient:navy-orange "$work/png1/Poster 00.png"
for i in 01 02 03 04 05 06 07 08 09 10; do
    write_canvas_gif "$work/gif10/Canvas $i.gif"
    cp "$work/png1/Poster 00.png" "$work/png10/Poster $i.png"
done

export QUILLMERE_CORES=16

# Opens the folder, waits for its room and prints the program's peak resident memory in MB.
room_peak() {
    local folder=$1 count=$2 peak
    start_gallery "$folder"
    wait_for_loading_lines "$count" 120
    capture_room >/dev/null
    peak=$(awk '/^VmHWM:/ { print int($2 / 1024) }' "/proc/$app_pid/status")
    gallery_keys Escape
    expect_exit_zero "$folder" >/dev/null
    grep -c "ERROR: Unable to load" "$work/stderr" >"$work/refused"
    [ "$(cat "$work/refused")" -eq 0 ] || fail "$folder: pictures were refused"
    echo "$peak"
}

start_xvfb
for kind in gif png; do
    one=$(room_peak "$work/${kind}1" 1) || exit 1
    ten=$(room_peak "$work/${kind}10" 10) || exit 1
    echo "$kind: one picture $one MB, ten pictures $ten MB at 16 cores"
    holds "$ten - $one <= 300" || fail "$kind: the room took $((ten - one)) MB more than one picture"
done

echo "PASS"
