#!/usr/bin/env bash
# Builds Ambrisk 2 and starts it under Wine. With $DISPLAY set, the window opens on that display
# and the script runs until the window is closed (settings are kept in the Wine prefix
# $AMBRISK_WINEPREFIX, default ~/.local/share/ambrisk2/wine). Without a display, it runs the
# program on a private virtual display, saves a screenshot to out/ambrisk2.png and ends.
set -euo pipefail
source "$(dirname "${BASH_SOURCE[0]}")/common.sh"
cd "$REPO"

install_packages
build_windows

if [ -n "${DISPLAY:-}" ]; then
    export WINEPREFIX="${AMBRISK_WINEPREFIX:-$HOME/.local/share/ambrisk2/wine}"
    if [ ! -f "$WINEPREFIX/.ambrisk2-prepared" ]; then
        log "preparing the Wine prefix $WINEPREFIX"
        mkdir -p "$WINEPREFIX"
        /usr/bin/python3 scripts/ambrisk_wine.py prepare
        touch "$WINEPREFIX/.ambrisk2-prepared"
    fi
    log "starting Ambrisk 2 on $DISPLAY (close its window to end)"
    WINEDEBUG=-all "$AMBRISK_WINE" "$WIN_BUILD/Ambrisk2.exe"
else
    log "no \$DISPLAY: running on a private virtual display"
    /usr/bin/python3 scripts/ambrisk_wine.py screenshot out/ambrisk2.png
fi
