# lib.sh -- shared helpers of the whole-program tests of quillmere.exe under Wine: the program
# started in a folder with its output in files, its startup dialog and gallery window found by
# title on the display, keys sent with xdotool, the window's client area captured and measured,
# and its exit status checked. The Wine prefix, the display and the persistent wineserver come
# from scripts/test-windows.sh. Source it after setting program (an absolute path to the .exe).
# Defines work (a temporary folder removed on exit), source (the source tree), app_pid, dialog
# and window.
# shellcheck shell=bash

: "${program:?set program to the absolute path of quillmere.exe before sourcing lib.sh}"

source=$(cd "$(dirname "${BASH_SOURCE[0]}")/../.." && pwd)
work=$(mktemp -d)
app_pid=""
dialog=""
window=""
client_size=800x600
# start_program clears the program's settings in the prefix, so every start is a first run
# unless the test sets keep_settings.
keep_settings=""
export WINEDEBUG=-all
export MESA_SHADER_CACHE_DISABLE=true

fail() {
    echo "FAIL: $*" >&2
    for f in "$work"/stdout "$work"/stderr; do
        [ -s "$f" ] && { echo "--- $(basename "$f"):" >&2; tail -20 "$f" >&2; }
    done
    exit 1
}

[ -n "${WINEPREFIX:-}" ] && [ -n "${DISPLAY:-}" ] ||
    fail "run through scripts/test-windows.sh: no Wine prefix or display"

# The Windows process of the program: the wine loader started in start_program waits on it,
# and a window's _NET_WM_PID names it.
windows_pid() {
    [ -n "$window$dialog" ] || return 0
    xprop -id "${window:-$dialog}" _NET_WM_PID 2>/dev/null | awk '{ print $3 }'
}

qm_cleanup() {
    if [ -n "$app_pid" ] && kill -0 "$app_pid" 2>/dev/null; then
        local pid
        pid=$(windows_pid)
        [ -n "$pid" ] && kill -9 "$pid" 2>/dev/null
        kill -9 "$app_pid" 2>/dev/null
        wait "$app_pid" 2>/dev/null
    fi
    rm -rf "$work"
}
trap qm_cleanup EXIT
trap 'exit 1' INT TERM HUP

holds() {
    awk "BEGIN { exit !($1) }"
}

# --- The program ---------------------------------------------------------------------------------

running() {
    kill -0 "$app_pid" 2>/dev/null
}

fail_ended() {
    wait "$app_pid"
    local code=$?
    app_pid=""
    fail "the program ended $1 (exit code $code)"
}

# Starts the program in a folder (a Unix path: Wine sees it under Z:) with any further arguments,
# its standard output and error in $work/stdout and $work/stderr; sets app_pid.
start_program() {
    local folder=$1
    shift
    dialog=""
    window=""
    [ -n "$keep_settings" ] || rm -rf "$WINEPREFIX"/drive_c/users/*/AppData/Roaming/Quillmere
    (cd "$folder" && exec wine "$program" "$@" </dev/null >"$work/stdout" 2>"$work/stderr") &
    app_pid=$!
}

# The Windows path of a Unix path.
windows_path() {
    winepath -w "$1" 2>/dev/null
}

# Visible top-level windows titled exactly so, with their sizes: "id WxH" lines.
titled_windows() {
    xwininfo -root -children 2>/dev/null | grep -F "\"$1\": (\"quillmere.exe\"" |
        awk '{ for (i = 1; i <= NF; i++) if ($i ~ /^[0-9]+x[0-9]+\+/) { split($i, g, "+"); print $1, g[1] } }' |
        while read -r id size; do
            xwininfo -id "$id" 2>/dev/null | grep -q "Map State: IsViewable" && echo "$id $size"
        done
}

# Waits up to 30 s for the startup dialog (a window titled Quillmere, smaller than a gallery);
# sets dialog.
wait_for_dialog() {
    local id size w
    for _ in $(seq 300); do
        running || fail_ended "before its startup dialog appeared"
        while read -r id size; do
            w=${size%x*}
            if [ -n "$id" ] && [ "$w" -lt 700 ]; then
                dialog=$id
                sleep 0.3
                return 0
            fi
        done < <(titled_windows Quillmere)
        sleep 0.1
    done
    fail "no startup dialog appeared"
}

# Keys reach a Wine window once it holds the X input focus.
keys_to() {
    local target=$1
    shift
    xdotool windowfocus --sync "$target" 2>/dev/null || fail "cannot focus window $target"
    xdotool key --delay 60 "$@"
}

wait_for_dialog_closed() {
    for _ in $(seq 200); do
        xwininfo -id "$dialog" 2>/dev/null | grep -q "Map State: IsViewable" || return 0
        running || return 0
        sleep 0.1
    done
    fail "the startup dialog did not close"
}

# Waits up to 30 s for the gallery window: a window titled Quillmere other than the dialog,
# whose client area has the given size (default 800x600); sets window and client_size.
wait_for_gallery() {
    local id size
    client_size=${1:-800x600}
    window=""
    for _ in $(seq 300); do
        running || fail_ended "before its gallery window appeared"
        while read -r id size; do
            [ "$id" = "$dialog" ] && continue
            window=$id
            [ "$(client_geometry)" != "" ] && return 0
        done < <(titled_windows Quillmere)
        sleep 0.1
    done
    [ -n "$window" ] &&
        fail "the gallery window's client area is not $client_size: $(xwininfo -id "$window" -tree)"
    fail "no gallery window appeared"
}

# Waits up to the given seconds (default 30) for the given number of lines on standard output
# that begin with "Loading " and name a picture (not "Loading Room ...").
wait_for_loading_lines() {
    local count=$1 seconds=${2:-30}
    for _ in $(seq $((seconds * 10))); do
        [ "$(grep -c '^Loading [^R]' "$work/stdout" 2>/dev/null)" -ge "$count" ] && return 0
        running || fail_ended "while loading pictures"
        sleep 0.1
    done
    fail "fewer than $count pictures loaded"
}

# Waits up to 20 s for the program to end and checks that it ended with 0.
expect_exit_zero() {
    for _ in $(seq 200); do
        running || break
        sleep 0.1
    done
    running && fail "$1: the program is still running"
    wait "$app_pid"
    local code=$?
    app_pid=""
    [ "$code" -eq 0 ] || fail "$1: exit code $code"
}

# --- Captures ------------------------------------------------------------------------------------

# The absolute geometry WxH+X+Y of the gallery window's client area, an X child window of the
# frame Wine draws itself (windows are unmanaged); empty unless it is client_size.
client_geometry() {
    xwininfo -id "$window" -tree 2>/dev/null | awk -v size="$client_size" '
        $2 == "(has" && index($0, " " size "+") { n = split($0, f, " "); print size f[n]; exit }'
}

# Captures the screen into $work/screen.png and the gallery's client area into
# $work/capture.png.
capture_window() {
    local geometry
    geometry=$(client_geometry)
    [ -n "$geometry" ] || fail "the gallery window has no $client_size client area"
    import -window root "$work/screen.png" 2>/dev/null || fail "cannot capture the screen"
    convert "$work/screen.png" -crop "$geometry" +repage "$work/capture.png" ||
        fail "cannot crop the client area"
}

# Captures a top-level window, frame and all, into $work/capture.png.
capture_frame() {
    local geometry
    geometry=$(xwininfo -id "$1" 2>/dev/null | awk '
        /Absolute upper-left X:/ { x = $4 } /Absolute upper-left Y:/ { y = $4 }
        /^ *Width:/ { w = $2 } /^ *Height:/ { h = $2 }
        END { if (w) print w "x" h "+" x "+" y }')
    [ -n "$geometry" ] || fail "window $1 is gone"
    import -window root "$work/screen.png" 2>/dev/null || fail "cannot capture the screen"
    convert "$work/screen.png" -crop "$geometry" +repage "$work/capture.png" ||
        fail "cannot crop window $1"
}

# Mean grey (0 to 1) of a region WxH+X+Y of a capture (default the last one).
mean_of() {
    convert "${2:-$work/capture.png}" -crop "$1" +repage -colorspace gray -format "%[fx:mean]" \
        info: || fail "cannot measure $1"
}

# Mean red, green and blue (0 to 1) of a region WxH+X+Y of a capture (default the last one).
mean_rgb() {
    convert "${2:-$work/capture.png}" -crop "$1" +repage -scale 1x1\! \
        -format "%[fx:r] %[fx:g] %[fx:b]" info: || fail "cannot measure $1"
}

# Captures until a room stands in the window (the floor lit; a loading screen is black there)
# and two captures a second apart agree: pictures that were still on their way are in.
capture_room() {
    local change
    for _ in $(seq 30); do
        sleep 1
        capture_window
        holds "$(mean_of 300x100+250+480) > 0.3" || continue
        if [ -f "$work/previous.png" ]; then
            change=$(compare -metric RMSE "$work/previous.png" "$work/capture.png" null: 2>&1 |
                sed 's/.*(\(.*\))/\1/')
            holds "$change < 0.01" && { rm -f "$work/previous.png"; return 0; }
        fi
        cp "$work/capture.png" "$work/previous.png"
    done
    fail "no settled room in the window"
}

# Keeps the last capture beside the program for a look.
keep_capture() {
    cp "$work/capture.png" "$(dirname "$program")/$1"
    echo "capture saved to $(dirname "$program")/$1"
}

# The quadrant colours of a picture of red, lime, blue and yellow quadrants within a region
# WxH+X+Y of the last capture, as "top-left top-right bottom-left bottom-right": each colour
# is placed by the centre of its pixels (fully lit channels above 200, dark ones below 60; the
# gold frame is neither), so a picture seen at a slant reads alike. "missing" when a colour has
# fewer than 20 pixels there.
quadrant_layout() {
    convert "$work/capture.png" -crop "$1" +repage -depth 8 txt:- | awk -F'[,:() ]+' '
        NR > 1 {
            x = $1; y = $2; r = $3; g = $4; b = $5
            on_r = r > 200; on_g = g > 200; on_b = b > 200
            off_r = r < 60; off_g = g < 60; off_b = b < 60
            c = ""
            if (on_r && off_g && off_b) c = "red"
            else if (off_r && on_g && off_b) c = "lime"
            else if (off_r && off_g && on_b) c = "blue"
            else if (on_r && on_g && off_b) c = "yellow"
            if (c != "") { n[c]++; sx[c] += x; sy[c] += y }
        }
        END {
            split("red lime blue yellow", names, " ")
            for (i = 1; i <= 4; i++) {
                c = names[i]
                if (n[c] < 20) { print "missing " c; exit }
                cx[i] = sx[c] / n[c]; cy[i] = sy[c] / n[c]
            }
            # The two upper colours, then the two lower, each pair left to right.
            for (i = 1; i <= 4; i++) order[i] = i
            for (i = 1; i <= 4; i++) for (j = i + 1; j <= 4; j++)
                if (cy[order[j]] < cy[order[i]]) { t = order[i]; order[i] = order[j]; order[j] = t }
            for (p = 1; p <= 3; p += 2)
                if (cx[order[p + 1]] < cx[order[p]]) { t = order[p]; order[p] = order[p + 1]; order[p + 1] = t }
            print names[order[1]], names[order[2]], names[order[3]], names[order[4]]
        }'
}
