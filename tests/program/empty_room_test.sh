#!/usr/bin/env bash
# empty_room_test.sh -- the program under Xvfb on a folder with sub-folders and no pictures: its
# window shows textured walls, floor and ceiling, before and after a switch to fullscreen and
# back, and it exits with 0 on Escape and on the window's close request. Usage: empty_room_test.sh /path/to/quillmere
set -u

program=$(realpath "$1")
capture_file="$(dirname "$program")/empty_room_capture.png"
work=$(mktemp -d)
xvfb_pid=""
app_pid=""

cleanup() {
    if [ -n "$app_pid" ] && kill -0 "$app_pid" 2>/dev/null; then
        kill -9 "$app_pid" 2>/dev/null
        wait "$app_pid" 2>/dev/null
    fi
    if [ -n "$xvfb_pid" ]; then
        kill "$xvfb_pid" 2>/dev/null
        wait "$xvfb_pid" 2>/dev/null
    fi
    rm -rf "$work"
}
trap cleanup EXIT
trap 'exit 1' INT TERM HUP

fail() {
    echo "FAIL: $*" >&2
    for f in "$work"/stdout "$work"/stderr; do
        [ -s "$f" ] && { echo "--- $(basename "$f"):" >&2; head -20 "$f" >&2; }
    done
    exit 1
}

mkdir -p "$work/gallery/Landscapes" "$work/gallery/Portraits" "$work/gallery/.hidden"

# Xvfb picks a free display itself and writes its number once it accepts clients.
Xvfb -displayfd 3 -screen 0 800x600x24 -nolisten tcp 3>"$work/display" 2>"$work/xvfb.log" &
xvfb_pid=$!
for _ in $(seq 100); do
    [ -s "$work/display" ] && break
    sleep 0.1
done
[ -s "$work/display" ] || fail "Xvfb did not start"
export DISPLAY=":$(head -n 1 "$work/display")"

# Sets window to the gallery window (the program's window of 800 x 600, titled Quillmere) once
# it is shown; a startup dialog that comes first is answered with Enter, taking its initial
# choices. Windows are found by process: a title in UTF-8 escapes xdotool's name search.
wait_for_gallery() {
    local tries id geometry
    window=""
    for tries in $(seq 300); do
        kill -0 "$app_pid" 2>/dev/null || fail "the program ended before its window appeared"
        for id in $(xdotool search --onlyvisible --pid "$app_pid" 2>/dev/null); do
            geometry=$(xdotool getwindowgeometry "$id" 2>/dev/null | sed -n 's/.*Geometry: //p')
            if [ "$geometry" = "800x600" ]; then
                xprop -id "$id" _NET_WM_NAME | grep -q '"Quillmere"$' ||
                    fail "the window is not titled Quillmere"
                window=$id
                return 0
            fi
            if [ $((tries % 30)) -eq 10 ]; then
                xdotool windowfocus "$id" 2>/dev/null
                xdotool key Return
            fi
        done
        sleep 0.1
    done
    fail "no gallery window appeared"
}

# Starts the program in the gallery folder and waits for its window; sets app_pid and window.
start_program() {
    (cd "$work/gallery" && exec "$program" >"$work/stdout" 2>"$work/stderr") &
    app_pid=$!
    wait_for_gallery
}

# Waits up to 20 s for the program to end and checks its exit code.
expect_exit_zero() {
    for _ in $(seq 200); do
        kill -0 "$app_pid" 2>/dev/null || break
        sleep 0.1
    done
    kill -0 "$app_pid" 2>/dev/null && fail "$1: the program is still running"
    wait "$app_pid"
    local code=$?
    app_pid=""
    [ "$code" -eq 0 ] || fail "$1: exit code $code"
    grep -q "ERROR:" "$work/stderr" && fail "$1: error output"
    return 0
}

# Prints "mean deviation" of the grey values of a region WxH+X+Y of the capture.
region_stats() {
    convert "$work/capture.png" -crop "$1" +repage -colorspace gray \
        -format "%[fx:mean] %[fx:standard_deviation]" info:
}

# A region is lit (not black) and textured (not one flat colour).
check_region() {
    local name=$1 stats mean deviation
    stats=$(region_stats "$2") || fail "cannot measure the $name"
    read -r mean deviation <<<"$stats"
    echo "$name: mean $mean, deviation $deviation"
    awk -v m="$mean" 'BEGIN { exit !(m > 0.08) }' || fail "the $name is black"
    awk -v d="$deviation" 'BEGIN { exit !(d > 0.01) }' || fail "the $name is not textured"
}

# Captures the current window and checks that walls, floor and ceiling are drawn textured.
check_room() {
    import -window "$window" "$work/capture.png" || fail "cannot capture the window"
    local size
    size=$(convert "$work/capture.png" -format "%wx%h" info:)
    [ "$size" = "800x600" ] || fail "window client area is $size, not 800x600"
    check_region "left wall" 100x200+20+200
    check_region "right wall" 100x200+680+200
    check_region "ceiling" 200x100+300+20
    check_region "floor" 300x100+250+480
}

# Presses F2 and waits for the window made anew in the other mode.
switch_mode() {
    xdotool key F2
    sleep 1.5
    kill -0 "$app_pid" 2>/dev/null || fail "the program ended on F2"
    wait_for_gallery
}

# First run: let it draw and check the room; switch to fullscreen and back and check again;
# quit with Escape.
start_program
sleep 2
check_room
cp "$work/capture.png" "$capture_file"
echo "capture saved to $capture_file"
switch_mode
switch_mode
sleep 1
check_room
xdotool windowfocus "$window" 2>/dev/null
xdotool key Escape
expect_exit_zero "Escape"

# Second run: the window's close request, as a window manager's close box sends it.
cat >"$work/close_window.c" <<'CODE'
#include <X11/Xlib.h>
#include <stdlib.h>
int main(int argc, char **argv) {
    Display *display = XOpenDisplay(NULL);
    if (!display || argc < 2)
        return 1;
    Window window = (Window)strtoul(argv[1], NULL, 0);
    XEvent event = {0};
    event.xclient.type = ClientMessage;
    event.xclient.window = window;
    event.xclient.message_type = XInternAtom(display, "WM_PROTOCOLS", False);
    event.xclient.format = 32;
    event.xclient.data.l[0] = (long)XInternAtom(display, "WM_DELETE_WINDOW", False);
    event.xclient.data.l[1] = CurrentTime;
    XSendEvent(display, window, False, NoEventMask, &event);
    XCloseDisplay(display);
    return 0;
}
CODE
if cc -o "$work/close_window" "$work/close_window.c" -lX11 2>"$work/cc.log"; then
    start_program
    sleep 1
    "$work/close_window" "$window" || fail "cannot send the close request"
    expect_exit_zero "close request"
else
    echo "close request not tested: no C compiler with Xlib"
fi

echo "PASS"
