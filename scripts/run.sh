#!/usr/bin/env bash
# Builds Ambrisk 2 and starts it.
#   scripts/run.sh            the Linux edition, ambrisk2 from the host build (settings in
#                             ~/.config/ambrisk2/settings.ini)
#   scripts/run.sh --windows  Ambrisk2.exe under Wine (settings in the Wine prefix
#                             $AMBRISK_WINEPREFIX, default ~/.local/share/ambrisk2/wine)
# On a desktop ($DISPLAY or, for the Linux edition, $WAYLAND_DISPLAY set), the window opens there
# and the script runs until the window is closed. Without a display, it runs the program on a private virtual display, saves a screenshot
# to out/ambrisk2.png and ends.
set -euo pipefail
source "$(dirname "${BASH_SOURCE[0]}")/common.sh"
cd "$REPO"

edition=linux
case "${1:-}" in
    "") ;;
    --windows) edition=windows ;;
    *) echo "usage: $0 [--windows]" >&2; exit 2 ;;
esac

run_windows() {
    choose_route_and_build
    announce_wine_route
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
        WINEDEBUG=-all "$AMBRISK_WINE" "$AMBRISK_WIN_BUILD/Ambrisk2.exe"
    else
        log "no \$DISPLAY: running on a private virtual display"
        /usr/bin/python3 scripts/ambrisk_wine.py screenshot out/ambrisk2.png
    fi
}

# Starts the program on a display of its own with a window manager, with settings of its own,
# and saves a screenshot; ends only what it started.
screenshot_linux() {
    local program="$1" shot="$REPO/out/ambrisk2.png"
    # Not local: the trap runs after the function has returned.
    scratch="$(mktemp -d)" xvfb="" wm="" app=""
    trap 'kill $app $wm $xvfb 2>/dev/null; rm -rf "$scratch"' EXIT
    # Xvfb picks a free display and writes its number to the file.
    Xvfb -displayfd 3 -screen 0 1280x1024x24 -nolisten tcp 3>"$scratch/display" >/dev/null 2>&1 &
    xvfb=$!
    timeout 10 sh -c "until [ -s '$scratch/display' ]; do sleep 0.1; done"
    export DISPLAY=":$(cat "$scratch/display")"
    openbox --sm-disable >/dev/null 2>&1 &
    wm=$!
    XDG_CONFIG_HOME="$scratch" "$program" &
    app=$!
    timeout 20 xdotool search --sync --name '^Ambrisk 2$' >/dev/null
    sleep 1  # the first ticks of the screen watch
    mkdir -p "$(dirname "$shot")"
    import -window root "$shot"
    kill -TERM "$app" && wait "$app" || true  # ends as on a close
    app=""
    log "Ambrisk 2 ran on a virtual display; screenshot saved to $shot"
}

run_linux() {
    build_host
    local program="$REPO/$HOST_BUILD/ambrisk2"
    if [ ! -x "$program" ]; then
        echo "the host build made no ambrisk2: it needs the GTK 3, X11 and XRandR development files" >&2
        return 1
    fi
    if [ -n "${DISPLAY:-}${WAYLAND_DISPLAY:-}" ]; then
        log "starting Ambrisk 2 on this desktop (close its window to end)"
        "$program"
    else
        log "no \$DISPLAY or \$WAYLAND_DISPLAY: running on a private virtual display"
        screenshot_linux "$program"
    fi
}

install_all_packages
"run_$edition"
