#!/usr/bin/env bash
# fullscreen_refused_test.sh -- quillmere.exe under Wine with fullscreen at 640x480 picked in its
# startup dialog, a mode the 1024x768 display has not: ChangeDisplaySettingsW refuses it and a
# Win32 message box asks whether to go on in a window. No ends the program with 0 before any
# gallery window is made or picture loaded; Yes gives a 640x480 window showing the gallery.
# Usage: fullscreen_refused_test.sh /path/to/quillmere.exe
set -u

program=$(realpath "$1")
# shellcheck source=tests/windows/lib.sh
source "$(dirname "$0")/lib.sh"

question="Fullscreen Mode Failed"
gallery="$work/gallery"
mkdir -p "$gallery"
convert -size 64x48 xc:tomato "$gallery/red.jpg" || fail "cannot write a picture"
convert -size 48x64 xc:teal "$gallery/teal.bmp" || fail "cannot write a picture"

# Starts the program and picks 640x480 (the first entry) and Fullscreen in the dialog: Alt+I
# goes to the folder box, Tab to "..." and on to the resolution list, Home picks its first
# entry, Tab and Space tick Fullscreen, Return is OK. Records the display's windows titled
# Quillmere into $work/seen meanwhile, and waits for the question; sets box.
start_fullscreen_640() {
    start_program "$gallery"
    wait_for_dialog
    (while running; do titled_windows Quillmere; sleep 0.05; done) >"$work/seen" &
    watcher=$!
    keys_to "$dialog" alt+i Tab Tab Home Tab space Return
    box=""
    for _ in $(seq 200); do
        box=$(titled_windows "$question" | awk '{ print $1; exit }')
        [ -n "$box" ] && break
        running || fail_ended "before the question"
        sleep 0.1
    done
    [ -n "$box" ] || fail "no message box titled \"$question\" appeared"
    sleep 0.3
}

# A message box: a light ground with dark text and buttons on it.
check_message_box() {
    capture_frame "$box"
    local size dark
    size=$(convert "$work/capture.png" -format "%wx%h" info:)
    dark=$(convert "$work/capture.png" -fx "max(r,max(g,b)) < 0.35 ? 1 : 0" \
        -format "%[fx:round(mean*w*h)]" info:)
    echo "message box: $size, mean grey $(mean_of "$size+0+0"), $dark dark pixels"
    holds "$(mean_of "$size+0+0") > 0.6" || fail "the message box has no light ground"
    holds "$dark > 200" || fail "the message box shows no text"
}

# No (its mnemonic N): the program ends with 0; no gallery window was made, nothing loaded.
start_fullscreen_640
check_message_box
keep_capture fullscreen_question.png
keys_to "$box" n
expect_exit_zero "No"
wait "$watcher"
others=$(awk -v d="$dialog" '$1 != d' "$work/seen" | sort -u)
[ -z "$others" ] || fail "No: a gallery window appeared: $others"
[ -s "$work/stdout" ] && fail "No: pictures were loaded"
grep -q "$question" "$work/stderr" && fail "No: the question went to standard error"

# Yes (the default button): a 640x480 window shows the folder's two pictures.
start_fullscreen_640
check_message_box
keys_to "$box" Return
wait_for_gallery 640x480
wait_for_loading_lines 2
sleep 1
capture_window
holds "$(mean_of 200x80+220+390) > 0.3" || fail "Yes: no lit floor in the window"
keys_to "$window" Escape
expect_exit_zero "Escape after Yes"
wait "$watcher"
echo "PASS"
