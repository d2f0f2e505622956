#!/usr/bin/env bash
# Start-up to the first shown frame of Ambrisk2.exe under Wine, against two
# yardsticks started in turns in the same run (medians of N runs each): a bare
# one-window program, and the fair one, Ambrisk 2's window and controls made
# by hand with the same manifest, fonts and tooltips.
# Usage: bench/startup_under_wine.sh [runs] [display]   (defaults: 10, :61)
# Needs the Windows build of the Wine route that scripts/wine_route.sh chooses (build-win, or
# build-win64 on the 64-bit fallback).
set -eu
runs=${1:-10}
display=${2:-:61}
repo=$(cd "$(dirname "$0")/.." && pwd)
source "$repo/scripts/common.sh"
install_packages "${WINE_PACKAGES[@]}"
choose_route_and_build
announce_wine_route
wine=$AMBRISK_WINE build=$AMBRISK_WIN_BUILD

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
