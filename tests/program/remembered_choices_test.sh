#!/usr/bin/env bash
# remembered_choices_test.sh -- the startup dialog's choices kept from one run to the next under
# Xvfb: a damaged settings file costs one warning line and the start goes on; OK keeps the
# choices, and the next run's dialog starts with them (window size, folder) unless the command
# line names another folder.
# Usage: remembered_choices_test.sh /path/to/quillmere
set -u

program=$(realpath "$1")
# shellcheck source=tests/program/lib.sh
source "$(dirname "$0")/lib.sh"

gallery="$work/gallery"
other="$work/other"
mkdir -p "$gallery" "$other"
convert -size 64x48 xc:tomato "$gallery/red.jpg" || fail "cannot write a picture"
convert -size 64x64 xc:orange "BMP3:$gallery/orange.bmp" || fail "cannot write a picture"
convert -size 48x64 xc:teal "$other/teal.gif" || fail "cannot write a picture"
settings="$XDG_CONFIG_HOME/quillmere/settings.ini"
keep_settings=1

# Room for a 1024x768 window.
start_xvfb 1280x1024x24

# Binary garbage where the settings belong: one warning, then a first run's dialog.
mkdir -p "$(dirname "$settings")"
head -c 300 /dev/urandom >"$settings"
printf 'size=1024x768\n\0\1\2' >>"$settings"
start_gallery "$gallery"
wait_for_loading_lines 2
gallery_keys Escape
expect_exit_zero "a damaged settings file"
[ "$(grep -c . "$work/stderr")" -eq 1 ] || fail "not one line on standard error"
grep -q "^WARNING: .*$settings" "$work/stderr" || fail "no warning naming the settings file"
grep -qx "size=800x600" "$settings" || fail "OK did not write the settings file anew"
echo "damaged file: one warning, started at 800x600"

# 1024x768 picked (Tab Tab Down from the folder box), then OK.
start_program "$gallery"
wait_for_dialog
dialog_keys Tab Tab Down alt+i Return
wait_for_dialog_closed
wait_for_gallery 1024x768
wait_for_loading_lines 2
gallery_keys Escape
expect_exit_zero "1024x768 picked"
[ -s "$work/stderr" ] && fail "output on standard error after a good run"

# Started elsewhere with Return at once: the remembered size and folder.
start_program "$work"
wait_for_dialog
dialog_keys Return
wait_for_dialog_closed
wait_for_gallery 1024x768
wait_for_loading_lines 2
gallery_keys Escape
expect_exit_zero "the remembered choices"
start=$(realpath "$gallery")
for name in orange.bmp red.jpg; do echo "Loading $start/$name"; done >"$work/expected"
grep '^Loading [^R]' "$work/stdout" | sort | diff "$work/expected" - >&2 ||
    fail "not the remembered folder's pictures"
echo "remembered: 1024x768 on $start"

# A folder on the command line wins over the remembered one; the size is still remembered.
start_program "$work" "$other"
wait_for_dialog
dialog_keys Return
wait_for_dialog_closed
wait_for_gallery 1024x768
wait_for_loading_lines 1
gallery_keys Escape
expect_exit_zero "a folder on the command line"
grep -qx "Loading $(realpath "$other")/teal.gif" "$work/stdout" ||
    fail "not the named folder's picture"
grep -qx "folder=$(realpath "$other")" "$settings" || fail "the named folder is not kept"

# Cancel keeps nothing.
cp "$settings" "$work/before"
start_program "$gallery"
wait_for_dialog
dialog_keys Tab Tab Up Escape
expect_exit_zero "Cancel"
cmp -s "$settings" "$work/before" || fail "Cancel changed the settings file"

echo "PASS"
