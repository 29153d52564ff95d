#!/usr/bin/env bash
# sample_room_test.sh -- quillmere.exe under Wine in the sample gallery: the startup dialog (a
# Win32 dialog from template 122) appears, Return opens the gallery, and the first room from the
# start pose looks as the Linux program shows it: the mean colour of each region of
# sample_room_regions.sh within 0.03 of the Linux program's, measured live when the Linux program
# is built (build/quillmere) and always against the kept reference, sample_room_linux.txt.
# Escape ends the program with 0. Usage: sample_room_test.sh /path/to/quillmere.exe
set -u

program=$(realpath "$1")
# shellcheck source=tests/windows/lib.sh
source "$(dirname "$0")/lib.sh"
# shellcheck source=tests/windows/sample_room_regions.sh
source "$(dirname "$0")/sample_room_regions.sh"

samples=$source/samples
[ -f "$samples/README.txt" ] || fail "no sample gallery in $samples (make samples)"
tolerance=0.03

# The Linux program's view first, on a display of its own, while nothing else runs.
references=("$(dirname "$0")/sample_room_linux.txt")
if [ -x "$source/build/quillmere" ]; then
    bash "$(dirname "$0")/linux_sample_room.sh" "$source/build/quillmere" \
        >"$work/linux.txt" 2>"$work/linux.log" || {
        cat "$work/linux.log" >&2
        fail "the Linux program gave no reference view"
    }
    references+=("$work/linux.txt")
else
    echo "no Linux program in $source/build: the kept reference only"
fi

start_program "$samples"
wait_for_dialog
# The dialog: its caption and controls drawn, the folder box holding the gallery.
capture_frame "$dialog"
keep_capture sample_room_dialog.png
size=$(convert "$work/capture.png" -format "%wx%h" info:)
dark=$(convert "$work/capture.png" -fx "max(r,max(g,b)) < 0.35 ? 1 : 0" \
    -format "%[fx:round(mean*w*h)]" info:)
echo "dialog $size, mean grey $(mean_of "$size+0+0"), $dark dark pixels"
holds "$(mean_of "$size+0+0") > 0.6" || fail "the dialog has no light ground"
holds "$dark > 300" || fail "the dialog shows no labels"
keys_to "$dialog" Return
wait_for_dialog_closed
wait_for_gallery
wait_for_loading_lines 10
capture_room
keep_capture sample_room_start.png
measure_sample_room "$work/capture.png" >"$work/windows.txt"

for reference in "${references[@]}"; do
    [ "$(wc -l <"$reference")" -eq "${#SAMPLE_ROOM_REGIONS[@]}" ] ||
        fail "$reference does not hold every region"
    echo "against $reference:"
    join <(sort "$work/windows.txt") <(sort "$reference") | awk -v t=$tolerance \
        -v regions=${#SAMPLE_ROOM_REGIONS[@]} '
        NF == 7 { n++ } { d = 0
          for (i = 2; i <= 4; i++) { e = $i - $(i + 3); if (e < 0) e = -e; if (e > d) d = e }
          printf "  %-10s Windows %.3f %.3f %.3f  Linux %.3f %.3f %.3f  off by %.3f\n",
                 $1, $2, $3, $4, $5, $6, $7, d
          if (d > t) bad = bad " " $1 }
        END { if (n != regions) { print "  regions missing"; exit 1 }
              if (bad != "") { print "  beyond " t ":" bad; exit 1 } }' >"$work/compared" ||
        { cat "$work/compared"; fail "the room differs from the Linux program's"; }
    cat "$work/compared"
done

keys_to "$window" Escape
expect_exit_zero "Escape"
grep -q "ERROR" "$work/stderr" && fail "error output: $(cat "$work/stderr")"
echo "PASS"
