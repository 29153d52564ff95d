# wine-session.sh -- sourced by the scripts that run the Windows build under Wine: a private Xvfb
# and a Wine prefix of its own inside the build folder $build (never the home folder), no Wine
# debug output, windows not managed (else each DestroyWindow waits 2 s with no window manager),
# one persistent wineserver for the whole run, and all of it stopped when the script exits.
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
stop_wine_session() {
    wineserver -k 2>/dev/null || true
    kill $xvfb 2>/dev/null || true
    wait $xvfb 2>/dev/null || true
}
trap stop_wine_session EXIT
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
# The prefix's services start once, now, rather than inside the first program.
wine cmd /c exit >$build/wine-output/start.log 2>&1
