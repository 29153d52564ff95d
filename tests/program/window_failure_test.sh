#!/usr/bin/env bash
# window_failure_test.sh -- a gallery window that cannot be made (SDL's dummy video driver has
# no OpenGL): its error box comes up, and after OK the program ends with a non-zero status and
# the reason on standard error. Usage: window_failure_test.sh /path/to/quillmere
set -u

program=$(realpath "$1")
# shellcheck source=tests/program/lib.sh
source "$(dirname "$0")/lib.sh"

mkdir -p "$work/gallery"
start_xvfb
export SDL_VIDEODRIVER=dummy
start_program
unset SDL_VIDEODRIVER
wait_for_dialog
dialog_keys Return
wait_for_dialog_closed
box=$(wait_for_window_named "Initialization Error") || exit 1
check_message_box "$box"
keep_capture error_box.png
keys_to "$box" Return
for _ in $(seq 100); do running || break; sleep 0.1; done
running && fail "the program is still running after the error box"
wait "$app_pid"
code=$?
app_pid=""
[ "$code" -ne 0 ] || fail "exit code 0 after a failed window"
grep -qxF "ERROR: Failed to create window." "$work/stderr" || fail "no reason on standard error"
echo "PASS"
