# lib.sh -- shared helpers of the whole-program tests: a private Xvfb display, the program started
# in a folder, its startup dialog answered with keys, its windows found, driven and captured, its
# output lines and exit code checked, and captures measured. Source it after setting program (an
# absolute path). Defines work (a temporary folder removed on exit), app_pid, dialog and window.
# shellcheck shell=bash

: "${program:?set program to the absolute path of the program before sourcing lib.sh}"

work=$(mktemp -d)
# The program writes thumbnails: into the test's own cache, never the user's. Its settings
# likewise; start_program clears them, so every start is a first run unless the test sets
# keep_settings.
export XDG_CACHE_HOME="$work/cache"
export XDG_CONFIG_HOME="$work/config"
keep_settings=""
xvfb_pid=""
watcher_pid=""
app_pid=""
dialog=""
window=""

# The folder chooser's settings live in memory: no D-Bus or dconf needed.
export GSETTINGS_BACKEND=memory
# No shader cache on disk: nothing is written into the home folder.
export MESA_SHADER_CACHE_DISABLE=true

qm_cleanup() {
    if [ -n "$app_pid" ] && kill -0 "$app_pid" 2>/dev/null; then
        kill -9 "$app_pid" 2>/dev/null
        wait "$app_pid" 2>/dev/null
    fi
    stop_watching_windows
    if [ -n "$xvfb_pid" ]; then
        kill "$xvfb_pid" 2>/dev/null
        wait "$xvfb_pid" 2>/dev/null
    fi
    rm -rf "$work"
}
trap qm_cleanup EXIT
trap 'exit 1' INT TERM HUP

# Reports the failure with the end of the program's output streams and ends the test.
fail() {
    echo "FAIL: $*" >&2
    for f in "$work"/stdout "$work"/stderr; do
        [ -s "$f" ] && { echo "--- $(basename "$f"):" >&2; tail -20 "$f" >&2; }
    done
    exit 1
}

# Holds an awk condition, e.g. "1.2 > 0.5".
holds() {
    awk "BEGIN { exit !($1) }"
}

# Starts Xvfb with one screen (default 800x600x24) on a free display and exports DISPLAY.
start_xvfb() {
    local screen=${1:-800x600x24}
    # Xvfb picks a free display itself and writes its number once it accepts clients. Without
    # -noreset it resets whenever its last client leaves (between two runs of the program) and
    # drops a client that connects meanwhile.
    Xvfb -displayfd 3 -screen 0 "$screen" -nolisten tcp -noreset 3>"$work/display" \
        2>"$work/xvfb.log" &
    xvfb_pid=$!
    for _ in $(seq 100); do
        [ -s "$work/display" ] && break
        sleep 0.1
    done
    [ -s "$work/display" ] || fail "Xvfb did not start"
    DISPLAY=":$(head -n 1 "$work/display")"
    export DISPLAY
}

# --- Windows -------------------------------------------------------------------------------------

# The title of a window (its _NET_WM_NAME), empty when it has none.
window_title() {
    xprop -id "$1" _NET_WM_NAME 2>/dev/null | sed -n 's/^[^"]*"\(.*\)"$/\1/p'
}

# The size WxH of a window.
window_size() {
    xwininfo -id "$1" 2>/dev/null |
        awk '/^ *Width:/ { w = $2 } /^ *Height:/ { h = $2 } END { if (w) print w "x" h }'
}

# Visible windows of the program, found by process: the SDL window's title escapes xdotool's
# name search once GTK has set the locale.
program_windows() {
    xdotool search --onlyvisible --pid "$app_pid" 2>/dev/null
}

# Prints the id of a top-level window whose name is exactly the text, if there is one.
window_named() {
    xwininfo -root -children 2>/dev/null | grep -F "\"$1\":" | awk '{ print $1; exit }'
}

# Waits up to the given seconds (default 20) for a top-level window whose name is exactly the
# text and prints its id; fails when none appears.
wait_for_window_named() {
    local name=$1 seconds=${2:-20} id
    for _ in $(seq $((seconds * 10))); do
        id=$(window_named "$name")
        [ -n "$id" ] && { echo "$id"; return 0; }
        sleep 0.1
    done
    fail "no window named \"$name\" appeared"
}

# Records the display's top-level windows every 50 ms into $work/windows, until the program
# ends or stop_watching_windows; shows whether a window existed only briefly.
watch_windows() {
    (
        while kill -0 "$app_pid" 2>/dev/null; do
            xwininfo -root -children 2>/dev/null | grep '^ *0x'
            sleep 0.05
        done
    ) >"$work/windows" &
    watcher_pid=$!
}

stop_watching_windows() {
    if [ -n "$watcher_pid" ]; then
        kill "$watcher_pid" 2>/dev/null
        wait "$watcher_pid" 2>/dev/null
        watcher_pid=""
    fi
}

# A message box (a GTK message dialog) is a window of its own with dark text on a light
# ground; captures it into $work/capture.png.
check_message_box() {
    local size dark
    size=$(window_size "$1")
    capture_window "$1" "$size"
    dark=$(convert "$work/capture.png" -fx "max(r,max(g,b)) < 0.35 ? 1 : 0" \
        -format "%[fx:round(mean*w*h)]" info:)
    echo "message box: $size, mean grey $(mean_of "$size+0+0"), $dark dark pixels"
    holds "$(mean_of "$size+0+0") > 0.6" || fail "the message box has no light ground"
    holds "$dark > 100" || fail "the message box shows no text"
}

# Fails when any window titled Quillmere other than the startup dialog was seen by the watcher.
expect_no_gallery_window() {
    stop_watching_windows
    local dialog_hex others
    dialog_hex=$(printf '0x%x' "${dialog:-0}")
    others=$(grep -F '"Quillmere":' "$work/windows" | awk -v d="$dialog_hex" '$1 != d' | sort -u)
    [ -z "$others" ] || fail "$1: a gallery window appeared: $others"
}

# --- The program and its startup dialog ----------------------------------------------------------

# True while the program runs.
running() {
    kill -0 "$app_pid" 2>/dev/null
}

# Fails for a program that ended too early, with its exit code.
fail_ended() {
    wait "$app_pid"
    local code=$?
    app_pid=""
    fail "the program ended $1 (exit code $code)"
}

# Starts the program in a folder (default $work/gallery), with any further arguments on its
# command line, without waiting for anything; sets app_pid. Standard output and error go to
# $work/stdout and $work/stderr.
start_program() {
    local folder=${1:-$work/gallery}
    [ $# -gt 0 ] && shift
    dialog=""
    window=""
    [ -n "$keep_settings" ] || rm -rf "$XDG_CONFIG_HOME"
    (cd "$folder" && exec "$program" "$@" >"$work/stdout" 2>"$work/stderr") &
    app_pid=$!
}

# Waits for the startup dialog, the program's first window titled Quillmere; sets dialog.
wait_for_dialog() {
    local id
    for _ in $(seq 300); do
        running || fail_ended "before its startup dialog appeared"
        for id in $(program_windows); do
            if [ "$(window_title "$id")" = "Quillmere" ]; then
                dialog=$id
                # Let GTK settle its initial focus before keys arrive.
                sleep 0.3
                return 0
            fi
        done
        sleep 0.1
    done
    fail "no startup dialog appeared"
}

# Sends keys to a window: keys only reach it after it is given the focus, and then only through a
# plain xdotool key (not one addressed with --window).
keys_to() {
    local target=$1
    shift
    xdotool windowfocus --sync "$target" 2>/dev/null || fail "cannot focus window $target"
    xdotool key --delay 60 "$@"
}

# Sends keys to the startup dialog: Tab and Shift+Tab walk its controls, Space toggles, Down picks
# the next entry of a focused list, Alt+I goes to the folder box, Return is OK, Escape is Cancel.
dialog_keys() {
    keys_to "$dialog" "$@"
}

# Waits up to 20 s for the startup dialog to be gone.
wait_for_dialog_closed() {
    for _ in $(seq 200); do
        xwininfo -id "$dialog" >/dev/null 2>&1 || return 0
        kill -0 "$app_pid" 2>/dev/null || return 0
        sleep 0.1
    done
    fail "the startup dialog did not close"
}

# Waits for the gallery window: a visible window of the program titled Quillmere that is neither
# the dialog nor the given former window, of the given size (default 800x600); sets window.
wait_for_gallery() {
    local size=${1:-800x600} former=${2:-} id seen=""
    window=""
    for _ in $(seq 300); do
        running || fail_ended "before its gallery window appeared"
        for id in $(program_windows); do
            if [ "$id" = "$dialog" ] || [ "$id" = "$former" ] ||
                [ "$(window_title "$id")" != "Quillmere" ]; then
                continue
            fi
            seen=$(window_size "$id")
            if [ "$seen" = "$size" ]; then
                window=$id
                return 0
            fi
        done
        sleep 0.1
    done
    [ -n "$seen" ] && fail "the gallery window is $seen, not $size"
    fail "no gallery window appeared"
}

# Starts the program in a folder, answers its dialog with the given keys (default Return, taking
# the initial choices) and waits for a gallery window of 800x600.
start_gallery() {
    local folder=${1:-$work/gallery}
    [ $# -gt 0 ] && shift
    start_program "$folder"
    wait_for_dialog
    if [ $# -eq 0 ]; then
        dialog_keys Return
    else
        dialog_keys "$@"
    fi
    wait_for_dialog_closed
    wait_for_gallery
}

# Sends keys to the gallery window.
gallery_keys() {
    keys_to "$window" "$@"
}

# Sends one key to the gallery window the given number of times, one press and release each.
press() {
    xdotool windowfocus --sync "$window" 2>/dev/null || fail "cannot focus the gallery window"
    xdotool key --delay 15 --repeat "$2" --repeat-delay 15 "$1"
}

# Sends the close request of a window manager's close box (WM_DELETE_WINDOW) to a window.
send_close_request() {
    if [ ! -x "$work/close_window" ]; then
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
        cc -o "$work/close_window" "$work/close_window.c" -lX11 2>"$work/cc.log" ||
            fail "cannot build the close request sender (C compiler and Xlib headers needed)"
    fi
    "$work/close_window" "$1" || fail "cannot send the close request"
}

# --- Output and exit ------------------------------------------------------------------------------

# Waits up to the given seconds (default 30) until standard output holds a line that equals the
# text exactly.
wait_for_line() {
    local text=$1 seconds=${2:-30}
    for _ in $(seq $((seconds * 10))); do
        grep -qxF -- "$text" "$work/stdout" 2>/dev/null && return 0
        running || fail_ended "while waiting for \"$text\""
        sleep 0.1
    done
    fail "no line \"$text\" on standard output"
}

# Waits up to the given seconds (default 30) until standard output holds the given number of
# lines that begin with "Loading " and name a picture.
wait_for_loading_lines() {
    local count=$1 seconds=${2:-30}
    for _ in $(seq $((seconds * 10))); do
        [ "$(grep -c '^Loading [^R]' "$work/stdout" 2>/dev/null)" -ge "$count" ] && return 0
        running || fail_ended "while loading pictures"
        sleep 0.1
    done
    fail "fewer than $count pictures loaded"
}

# Waits up to 20 s for the program to end and checks its exit code and its error output.
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

# --- Captures ------------------------------------------------------------------------------------

# Captures a window (default the gallery window) into $work/capture.png and checks its size
# (default 800x600).
capture_window() {
    local target=${1:-$window} size=${2:-800x600} captured
    import -window "$target" "$work/capture.png" 2>/dev/null || fail "cannot capture the window"
    captured=$(convert "$work/capture.png" -format "%wx%h" info:)
    [ "$captured" = "$size" ] || fail "window client area is $captured, not $size"
}

# Waits until a room stands in the window (its floor lit; a loading screen is black there) and
# captures it.
capture_room() {
    sleep 1
    for _ in $(seq 60); do
        capture_window
        holds "$(mean_of 300x100+250+480) > 0.3" && return 0
        sleep 0.5
    done
    fail "no room in the window"
}

# Prints "mean deviation" of the grey values (0 to 1) of a region WxH+X+Y of a capture (default
# the last one).
region_stats() {
    convert "${2:-$work/capture.png}" -crop "$1" +repage -colorspace gray \
        -format "%[fx:mean] %[fx:standard_deviation]" info:
}

# Mean grey of a region, as a number awk can compare.
mean_of() {
    local stats
    stats=$(region_stats "$@") || fail "cannot measure $1"
    echo "${stats%% *}"
}

# A region is lit (not black) and textured (not one flat colour).
check_region() {
    local name=$1 stats mean deviation
    stats=$(region_stats "$2") || fail "cannot measure the $name"
    read -r mean deviation <<<"$stats"
    echo "$name: mean $mean, deviation $deviation"
    holds "$mean > 0.08" || fail "the $name is black"
    holds "$deviation > 0.01" || fail "the $name is not textured"
}

# Pixels of a region WxH+X+Y of a capture (default the last one) whose red, green and blue all
# exceed the level: the white strokes of text, which nothing else in the room comes near.
bright_pixels() {
    convert "${3:-$work/capture.png}" -crop "$1" +repage \
        -fx "min(r,min(g,b)) > $2 ? 1 : 0" -format "%[fx:round(mean*w*h)]" info:
}

# Share (0 to 1) of the pixels of two captures of one size that differ by more than 10 %.
differing_share() {
    local count
    count=$(compare -metric AE -fuzz 10% "$1" "$2" null: 2>&1 >/dev/null)
    convert "$1" -format "%[fx:${count%% *} / (w*h)]" info:
}

# Saves the last capture under a name for a look: beside the program, where the build keeps it.
keep_capture() {
    cp "$work/capture.png" "$(dirname "$program")/$1"
    echo "capture saved to $(dirname "$program")/$1"
}
