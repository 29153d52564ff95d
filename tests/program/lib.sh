# lib.sh -- shared helpers of the whole-program tests: a private Xvfb display, starting the
# program in a folder and waiting for its window and output lines, its exit code, and window
# captures with region measurements. Source it after setting program (absolute path).
# Defines work (a temporary folder removed on exit), app_pid and window.
# shellcheck shell=bash

: "${program:?set program to the absolute path of the program before sourcing lib.sh}"

work=$(mktemp -d)
xvfb_pid=""
app_pid=""
window=""

qm_cleanup() {
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
trap qm_cleanup EXIT
trap 'exit 1' INT TERM HUP

# Reports the failure with the start of the program's output streams and ends the test.
fail() {
    echo "FAIL: $*" >&2
    for f in "$work"/stdout "$work"/stderr; do
        [ -s "$f" ] && { echo "--- $(basename "$f"):" >&2; tail -20 "$f" >&2; }
    done
    exit 1
}

# Starts Xvfb with one 800x600x24 screen on a free display and exports DISPLAY.
start_xvfb() {
    # Xvfb picks a free display itself and writes its number once it accepts clients.
    Xvfb -displayfd 3 -screen 0 800x600x24 -nolisten tcp 3>"$work/display" 2>"$work/xvfb.log" &
    xvfb_pid=$!
    for _ in $(seq 100); do
        [ -s "$work/display" ] && break
        sleep 0.1
    done
    [ -s "$work/display" ] || fail "Xvfb did not start"
    DISPLAY=":$(head -n 1 "$work/display")"
    export DISPLAY
}

# Starts the program in a folder (default $work/gallery) and waits for its window; sets app_pid
# and window. Standard output and error go to $work/stdout and $work/stderr.
start_program() {
    local folder=${1:-$work/gallery}
    (cd "$folder" && exec "$program" >"$work/stdout" 2>"$work/stderr") &
    app_pid=$!
    window=$(timeout 30 xdotool search --sync --name '^Quillmere$' | head -n 1)
    [ -n "$window" ] || fail "no window named Quillmere appeared"
}

# Waits up to the given seconds (default 30) until standard output holds a line that equals
# the text exactly.
wait_for_line() {
    local text=$1 seconds=${2:-30}
    for _ in $(seq $((seconds * 10))); do
        grep -qxF -- "$text" "$work/stdout" 2>/dev/null && return 0
        kill -0 "$app_pid" 2>/dev/null || fail "the program ended while waiting for \"$text\""
        sleep 0.1
    done
    fail "no line \"$text\" on standard output"
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

# Captures the program's window into $work/capture.png and checks it is 800x600.
capture_window() {
    import -window "$window" "$work/capture.png" || fail "cannot capture the window"
    local size
    size=$(convert "$work/capture.png" -format "%wx%h" info:)
    [ "$size" = "800x600" ] || fail "window client area is $size, not 800x600"
}

# Prints "mean deviation" of the grey values (0 to 1) of a region WxH+X+Y of the capture.
region_stats() {
    convert "$work/capture.png" -crop "$1" +repage -colorspace gray \
        -format "%[fx:mean] %[fx:standard_deviation]" info:
}

# Prints the mean red, green and blue (0 to 1) of a region WxH+X+Y of the capture.
region_colour() {
    convert "$work/capture.png" -crop "$1" +repage \
        -format "%[fx:mean.r] %[fx:mean.g] %[fx:mean.b]" info:
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
