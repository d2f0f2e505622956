#!/bin/sh
# Start-up to the first shown frame of Ambrisk2.exe under Wine, against two
# yardsticks started in turns in the same run (medians of N runs each): a bare
# one-window program, and the fair one, Ambrisk 2's window and controls made
# by hand with the same manifest, fonts and tooltips.
# Usage: bench/startup_under_wine.sh [runs] [display]   (defaults: 10, :61)
# Needs the Windows build (AMBRISK_WIN_BUILD, default build-win).
set -eu
runs=${1:-10}
display=${2:-:61}
repo=$(cd "$(dirname "$0")/.." && pwd)
# Some machines cannot run 32-bit code; they use the 64-bit build and loader.
if /usr/lib/wine/wine --version >/dev/null 2>&1; then
    wine=${AMBRISK_WINE:-wine} build=${AMBRISK_WIN_BUILD:-build-win}
else
    wine=${AMBRISK_WINE:-/usr/lib/wine/wine64} build=${AMBRISK_WIN_BUILD:-build-win64}
fi
case $build in /*) ;; *) build="$repo/$build" ;; esac
for tool in wine Xvfb; do
    command -v $tool >/dev/null || {
        dpkg --add-architecture i386 && apt-get update &&
            apt-get install -y --no-install-recommends wine wine32:i386 wine64 xvfb
    }
done

work=$(mktemp -d)
export WINEPREFIX="$work/pfx" WINEDEBUG=-all DISPLAY=$display WINEDLLOVERRIDES="mscoree,mshtml="
Xvfb "$display" -screen 0 1280x1024x24 -nolisten tcp >/dev/null 2>&1 &
xvfb=$!
cleanup() {
    wineserver -k 2>/dev/null || true
    kill $xvfb 2>/dev/null || true
    rm -rf "$work"
}
trap cleanup EXIT INT TERM
sleep 1

"$wine" wineboot -i >/dev/null 2>&1
"$wine" reg add 'HKCU\Software\Wine\X11 Driver' /v Managed /t REG_SZ /d N /f >/dev/null 2>&1
"$wine" reg add 'HKCU\Software\Wine\X11 Driver' /v Decorated /t REG_SZ /d N /f >/dev/null 2>&1
wineserver -w

timer="$build/tools/startup/startup_timer.exe"
ambrisk=$("$wine" winepath -w "$build/Ambrisk2.exe")
bare=$("$wine" winepath -w "$build/tools/startup/bare_window.exe")
fair=$("$wine" winepath -w "$build/tools/startup/fair_window.exe")
time_starts() {
    "$wine" "$timer" "$1" "$ambrisk" "Ambrisk 2" "$bare" "Bare window" "$fair" "Fair window"
}
# One round first, so that every program starts from a warm prefix and file cache.
time_starts 1 >/dev/null
time_starts "$runs"
