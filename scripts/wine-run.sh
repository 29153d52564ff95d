#!/bin/bash
# wine-run.sh -- runs a Windows program under Wine for the tests: in the prefix WINEPREFIX names
# (inside the build folder), its output through files rather than pipes (a pipe that a
# persistent wineserver's helpers inherit would never close), then passed on, with its status.
set -u
: "${WINEPREFIX:?WINEPREFIX must name the test prefix}"
export WINEDEBUG=${WINEDEBUG:--all}
mkdir -p "$WINEPREFIX/../wine-output"
out=$(mktemp "$WINEPREFIX/../wine-output/out.XXXXXX")
err=$(mktemp "$WINEPREFIX/../wine-output/err.XXXXXX")
wine "$@" </dev/null >"$out" 2>"$err"
status=$?
cat "$out"
cat "$err" >&2
rm -f "$out" "$err"
exit $status
