#!/bin/bash
# test-windows.sh -- cross-builds the Windows program and its tests in build-windows/ and runs
# them under Wine on a private Xvfb: a Wine prefix of its own inside the build folder (never the
# home folder), no Wine debug output, windows not managed (else each DestroyWindow waits 2 s with
# no window manager), one persistent wineserver for the whole run, and all of it stopped at the
# end. Arguments go to ctest (-R NAME runs some tests only).
set -eu
cd "$(dirname "$0")/.."
build=build-windows
jobs=${JOBS:-$(nproc)}

cmake -S . -B $build -DCMAKE_TOOLCHAIN_FILE=cmake/mingw-w64-x86_64.cmake \
      -DCMAKE_BUILD_TYPE=Release -DQUILLMERE_TESTS=ON
cmake --build $build -j "$jobs"

export WINEPREFIX=$PWD/$build/wine WINEARCH=win64 WINEDEBUG=-all
# No Mono or Gecko installer dialogs in a fresh prefix.
export WINEDLLOVERRIDES="mscoree,mshtml="
export MESA_SHADER_CACHE_DISABLE=true
mkdir -p $build/wine-output

# A display of our own: Xvfb picks a free number and writes it on descriptor 3. Larger than an
# 800x600 gallery window with its frame, which would otherwise be cut down to the screen's size.
Xvfb -displayfd 3 -screen 0 1024x768x24 -nolisten tcp 3>$build/wine-output/display \
     >$build/wine-output/xvfb.log 2>&1 &
xvfb=$!
stop() {
    wineserver -k 2>/dev/null || true
    kill $xvfb 2>/dev/null || true
    wait $xvfb 2>/dev/null || true
}
trap stop EXIT
for _ in $(seq 100); do
    [ -s $build/wine-output/display ] && break
    sleep 0.05
done
export DISPLAY=:$(cat $build/wine-output/display)

# Output of Wine and its helpers goes to files: a persistent server's helpers would hold a pipe
# open for ever.
if [ ! -f "$WINEPREFIX/system.reg" ]; then
    wineboot --init >$build/wine-output/init.log 2>&1
    wine reg add 'HKCU\Software\Wine\X11 Driver' /v Managed /d N /f \
        >>$build/wine-output/init.log 2>&1
    wineserver -w
fi
wineserver -p
# The prefix's services start once, now, rather than inside the first test.
wine cmd /c exit >$build/wine-output/start.log 2>&1

cd $build
ctest --output-on-failure -j "$jobs" --timeout 300 "$@"
