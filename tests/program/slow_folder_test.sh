#!/usr/bin/env bash
# slow_folder_test.sh -- folders on slow storage, staged with the slow folder library (every
# open, stat, listing step and read waits; no entry types in listings): a ten-picture room
# comes in at most twice the time its files take to read, with no file opened, stat'ed or read
# more often than needed, none of it on the thread that answers the window, and its thumbnails
# written without reading a file again; and a folder of many entries shows its window and loading screen at
# once, answering Escape, while its scan goes on.
# Usage: slow_folder_test.sh /path/to/quillmere   (QM_SLOW_FS names the library)
set -u

program=$(realpath "$1")
# shellcheck source=tests/program/lib.sh
source "$(dirname "$0")/lib.sh"
[ -f "${QM_SLOW_FS:-}" ] || fail "QM_SLOW_FS does not name the slow folder library"

mkdir -p "$work/slow/room" "$work/slow/many"
for i in 01 02 03 04 05 06 07 08 09 10; do
    convert -size 1600x1200 "plasma:fractal" -seed "$i" -quality 90 "$work/slow/room/Photo $i.jpg"
done
for i in $(seq 1000 1399); do
    : >"$work/slow/many/note $i.txt"
done

export SLOW_FS_ROOT=$work/slow SLOW_FS_NO_DTYPE=1 SLOW_FS_COUNTS=$work/counts
export ASAN_OPTIONS="${ASAN_OPTIONS:-}:verify_asan_link_order=0"

now_ms() {
    echo $(($(date +%s%N) / 1000000))
}

# The counts of the library: opens, stats, reads, folder opens, listing steps, bytes, and the
# waits of the main thread.
counts() {
    od -An -t u8 -w64 "$work/counts" | awk '{ print $1, $2, $3, $4, $5, $6, $7 }'
}

start_xvfb

# The time the ten files take to read, one after the other, through the same library.
export SLOW_FS_DELAY_MS=50
rm -f "$work/counts"
start=$(now_ms)
for f in "$work/slow/room/"*.jpg; do
    LD_PRELOAD=$QM_SLOW_FS cat "$f" >/dev/null
done
io=$(($(now_ms) - start))
echo "reading the ten files: $io ms; $(counts)"
read -r _ _ _ _ _ file_bytes _ <<<"$(counts)"

# The room: from the dialog's Return to the room on screen.
rm -f "$work/counts"
export LD_PRELOAD=$QM_SLOW_FS
start_program "$work/slow/room"
wait_for_dialog
start=$(now_ms)
dialog_keys Return
wait_for_dialog_closed
wait_for_gallery
for _ in $(seq 600); do
    capture_window
    holds "$(mean_of 300x100+250+480) > 0.3" && break
    sleep 0.05
done
room=$(($(now_ms) - start))
room_counts=$(counts)
read -r opens stats reads folders steps bytes main <<<"$room_counts"
echo "room: $room ms; opens $opens, stats $stats, reads $reads, folder opens $folders," \
    "listing steps $steps, bytes $bytes, waits on the main thread $main"
keep_capture slow_room.png
# The background writes the room's thumbnails from the pixels the room decoded, at the lowest
# priority: on a machine busy with other tests that can take a while.
for _ in $(seq 600); do
    [ "$(find "$XDG_CACHE_HOME/thumbnails/x-large" -name '*.png' 2>/dev/null | wc -l)" -ge 10 ] && break
    sleep 0.1
done
thumbnails=$(find "$XDG_CACHE_HOME/thumbnails/x-large" -name '*.png' 2>/dev/null | wc -l)
after_counts=$(counts)
echo "after the background: $after_counts; $thumbnails thumbnails"
gallery_keys Escape
expect_exit_zero "slow room"
# Each picture is opened once and read once to its end, in reads as large as the decoder's
# head (a 600 KB file takes three); each file is stat'ed once for its stamp and once for its
# type, as the listing gives none: the scan's second pass takes the types the first asked, the
# folder being unchanged (one look at the folder itself per pass tells); the folder itself is
# listed once per pass.
holds "$room <= 2 * $io" || fail "the room took $room ms, more than twice the $io ms of reading"
holds "$opens <= 10" || fail "$opens opens for ten pictures"
holds "$stats <= 22" || fail "$stats stats for ten pictures"
holds "$reads <= 30" || fail "$reads reads for ten pictures"
holds "$bytes <= $file_bytes" || fail "$bytes bytes read of $file_bytes"
holds "$folders <= 2" || fail "the folder was listed $folders times"
holds "$main == 0" || fail "the main thread waited $main times for the slow folder"
holds "$thumbnails == 10" || fail "$thumbnails thumbnails written for ten pictures"
[ "$after_counts" = "$room_counts" ] ||
    fail "writing the thumbnails went back to the files: $room_counts, then $after_counts"

# Four hundred entries at 20 ms a stat: a scan of many seconds. The window and its loading screen
# come at once, and Escape is answered while the scan goes on.
export SLOW_FS_DELAY_MS=20
rm -f "$work/counts"
start_program "$work/slow/many"
wait_for_dialog
start=$(now_ms)
dialog_keys Return
wait_for_dialog_closed
wait_for_gallery
shown=$(($(now_ms) - start))
sleep 0.5
capture_window
keep_capture slow_loading.png
echo "many entries: window after $shown ms, $(counts)"
holds "$shown < 3000" || fail "the window took $shown ms to appear"
holds "$(bright_pixels 780x40+10+300 0.8) > 50" || fail "no loading screen while scanning"
read -r _ stats _ <<<"$(counts)"
holds "$stats < 400" || fail "the scan had ended before the window was looked at"
start=$(now_ms)
gallery_keys Escape
for _ in $(seq 40); do
    xwininfo -id "$window" >/dev/null 2>&1 || break
    sleep 0.025
done
gone=$(($(now_ms) - start))
echo "Escape during the scan: window gone after $gone ms"
holds "$gone < 1000" || fail "Escape took $gone ms during the scan"
expect_exit_zero "Escape during the scan"

echo "PASS"
