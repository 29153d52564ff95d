#!/usr/bin/env bash
# Makes the README pictures: runs the built program under Xvfb and writes docs/dialog.png (the
# startup dialog) and docs/room.png (a room of the sample gallery in samples/, 800x600).
# Usage: scripts/make-readme-captures.sh [path/to/quillmere]  (default build/quillmere)
# Needs Xvfb, xdotool, ImageMagick, and a C compiler with Xlib headers (see install-deps.sh --test).
set -u

root=$(cd "$(dirname "$0")/.." && pwd)
program=$(realpath "${1:-$root/build/quillmere}")
[ -x "$program" ] || { echo "no program at $program: build it first (make build)" >&2; exit 1; }
# shellcheck source=tests/program/lib.sh
source "$root/tests/program/lib.sh"
mkdir -p "$root/docs"

# Writes the last capture to docs/ without metadata (so an unchanged picture stays unchanged);
# further convert options, e.g. a palette, may follow the name.
save_capture() {
    local name=$1
    shift
    convert "$work/capture.png" -strip "$@" -quality 95 "$root/docs/$name" ||
        fail "cannot write docs/$name"
    echo "wrote docs/$name"
}

start_xvfb

# The dialog, its folder box showing a typical picture folder rather than this machine's path.
start_program "$root/samples"
wait_for_dialog
xdotool windowfocus --sync "$dialog" && xdotool type --delay 20 "/home/user/Pictures"
sleep 0.5
capture_window "$dialog" "$(window_size "$dialog")"
save_capture dialog.png
dialog_keys Escape
expect_exit_zero "the dialog"

# The sample gallery's first room, four steps in, turned a little toward the pictures and one
# step toward the doors: framed pictures with their plates on the left, doors with theirs on
# the right, the end door ahead.
start_gallery "$root/samples"
wait_for_loading_lines 10 60
press Up 4
press Left 2
press D 1
capture_room
# A palette of 256 colours keeps the file at a third of its size with no visible change.
save_capture room.png -colors 256
gallery_keys Escape
expect_exit_zero "the gallery"
