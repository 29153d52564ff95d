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
run() {
    wine "$@" </dev/null >"$out" 2>"$err"
}
run "$@"
status=$?
# A test program prints before anything else; one that failed with nothing printed never
# reached its main (Wine could not start it while the machine was loaded): said, and run again.
if [ $status -ne 0 ] && [ ! -s "$out" ]; then
    echo "wine-run: $1 ended with status $status before printing anything; running it again" \
         "($(head -c 300 "$err" | tr '\n' ' '))" >&2
    run "$@"
    status=$?
fi
cat "$out"
cat "$err" >&2
rm -f "$out" "$err"
exit $status
