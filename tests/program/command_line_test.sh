#!/usr/bin/env bash
# command_line_test.sh -- the program's command line and its exit status: --help and --version
# print and end with 0, an argument it does not understand gives the usage and 2, no display
# gives one line of reason and a non-zero status, and a folder named relative to the current one
# opens as an absolute path. Usage: command_line_test.sh /path/to/quillmere
set -u

program=$(realpath "$1")
# shellcheck source=tests/program/lib.sh
source "$(dirname "$0")/lib.sh"

# Runs the program with the arguments and no display to wait on; sets code, and leaves its
# output in $work/out and $work/err.
run() {
    env -u DISPLAY -u WAYLAND_DISPLAY "$program" "$@" >"$work/out" 2>"$work/err"
    code=$?
}

run --help
[ "$code" -eq 0 ] && [ ! -s "$work/err" ] || fail "--help: exit code $code, $(cat "$work/err")"
[ "$(head -n 1 "$work/out")" = "Usage: quillmere [FOLDER]" ] || fail "--help: $(head -n 1 "$work/out")"
run --version
[ "$code" -eq 0 ] && grep -qx "quillmere [0-9][0-9.]*" "$work/out" || fail "--version: $code"

for arguments in "--fullscreen" "one two"; do
    # shellcheck disable=SC2086
    run $arguments
    [ "$code" -eq 2 ] || fail "$arguments: exit code $code, not 2"
    grep -qxF "Usage: quillmere [FOLDER]" "$work/err" || fail "$arguments: no usage line"
    [ -s "$work/out" ] && fail "$arguments: output on standard output"
done

run
[ "$code" -ne 0 ] || fail "no display: exit code 0"
[ "$(wc -l <"$work/err")" -eq 1 ] || fail "no display: not one line: $(cat "$work/err")"
echo "no display: exit code $code, $(cat "$work/err")"

start_xvfb
mkdir -p "$work/gallery/Named"
convert -size 64x48 xc:tomato "$work/gallery/Named/red.jpg" || fail "cannot write a picture"
start_program "$work/gallery" Named
wait_for_dialog
dialog_keys Return
wait_for_dialog_closed
wait_for_gallery
wait_for_line "Loading $(realpath "$work/gallery/Named")/red.jpg"
gallery_keys Escape
expect_exit_zero "Escape in the named folder"
echo "PASS"
