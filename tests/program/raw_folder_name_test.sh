#!/usr/bin/env bash
# raw_folder_name_test.sh -- a folder whose name is not UTF-8 (Latin-1 "Caf\xe9") passes through
# the startup dialog by its exact bytes: OK at once, and the same folder picked with "..." after
# the folder box was emptied, both open it. Usage: raw_folder_name_test.sh /path/to/quillmere
set -u
export LC_ALL=C.UTF-8

program=$(realpath "$1")
# shellcheck source=tests/program/lib.sh
source "$(dirname "$0")/lib.sh"

folder="$(realpath "$work")/$(printf 'Caf\351')"
mkdir -p "$folder"
convert -size 64x48 xc:tomato "$folder/red.jpg" || fail "cannot write a picture"

# The dialog was answered; the gallery shows the picture of the folder named by its bytes.
expect_the_folder_opened() {
    wait_for_dialog_closed
    wait_for_gallery
    wait_for_line "Loading $folder/red.jpg"
    gallery_keys Escape
    expect_exit_zero "$1"
    grep -q "No files or directory found" "$work/stderr" && fail "$1: the folder was not found"
    echo "$1: opened"
}

start_xvfb
start_program "$folder"
wait_for_dialog
dialog_keys Return
expect_the_folder_opened "OK at once"

# Alt+I reaches the folder box, Tab the "..." button; the chooser opens in the current folder,
# where Return picks it.
start_program "$folder"
wait_for_dialog
dialog_keys alt+i ctrl+a BackSpace Tab space
chooser=$(wait_for_window_named "Choose initial picture directory") || exit 1
sleep 1
keys_to "$chooser" Return
for _ in $(seq 100); do [ -z "$(window_named "Choose initial picture directory")" ] && break; sleep 0.1; done
dialog_keys alt+i Return
expect_the_folder_opened "picked with ..."
echo "PASS"
