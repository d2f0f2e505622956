# The one choice of how the Windows program runs under Wine on this machine (sourced, not run; needs
# packages.sh). The routes, tried in this order:
#   native  the shipped 32-bit build under 32-bit Wine, where the kernel runs 32-bit code;
#   qemu    the shipped 32-bit build under 32-bit Wine run by qemu-user (scripts/wine-qemu);
#   win64   only where neither works: a 64-bit build under wine64; the shipped program goes untested.
# AMBRISK_WINE_ROUTE=native|qemu|win64 forces a route (it fails when that route does not work here).

WINE32_LOADER=/usr/lib/wine/wine
WINE64_LOADER=/usr/lib/wine/wine64
QEMU_WINE="$(cd "$(dirname "${BASH_SOURCE[0]}")" && pwd)/wine-qemu"
MIN_QEMU_MAJOR=10  # older qemu-user takes minutes per Wine start

native_route_works() {
    "$WINE32_LOADER" --version >/dev/null 2>&1
}

qemu_version() {
    qemu-i386 --version 2>/dev/null | sed -n '1s/.*version \([0-9][0-9.]*\).*/\1/p'
}

qemu_recent() {
    local version
    version="$(qemu_version)"
    [ -n "$version" ] && [ "${version%%.*}" -ge "$MIN_QEMU_MAJOR" ]
}

# Installs qemu-user from backports when the one here is missing or too old, then checks that Wine
# starts through the wrapper (which needs a kernel with binfmt_misc per user namespace).
qemu_route_works() {
    if ! qemu_recent; then
        install_backports_package qemu-user >&2 || return 1
        qemu_recent || { echo "qemu-i386 $(qemu_version) is missing or older than $MIN_QEMU_MAJOR" >&2; return 1; }
    fi
    "$QEMU_WINE" --version >/dev/null 2>&1 || { echo "$QEMU_WINE does not start Wine here (needs Linux 6.7+)" >&2; return 1; }
}

# use_wine_route ROUTE: sets what the route means for the scripts and the end-to-end harness:
# AMBRISK_WINE_ROUTE, AMBRISK_WINE (the loader), AMBRISK_WINE_ROUTE_TEXT (one line for logs) and
# WINE_ROUTE_BUILD (win32 or win64: which Windows build it runs).
use_wine_route() {
    AMBRISK_WINE_ROUTE="$1"
    case "$1" in
        native)
            AMBRISK_WINE="$WINE32_LOADER" WINE_ROUTE_BUILD=win32
            AMBRISK_WINE_ROUTE_TEXT="32-bit Wine, native" ;;
        qemu)
            AMBRISK_WINE="$QEMU_WINE" WINE_ROUTE_BUILD=win32
            AMBRISK_WINE_ROUTE_TEXT="32-bit Wine under qemu-user $(qemu_version)" ;;
        win64)
            AMBRISK_WINE="$WINE64_LOADER" WINE_ROUTE_BUILD=win64
            AMBRISK_WINE_ROUTE_TEXT="64-bit fallback (the shipped 32-bit program was not tested)" ;;
    esac
    export AMBRISK_WINE_ROUTE AMBRISK_WINE AMBRISK_WINE_ROUTE_TEXT
}

choose_wine_route() {
    case "${AMBRISK_WINE_ROUTE:-}" in
        "")
            if native_route_works; then
                use_wine_route native
            elif qemu_route_works; then
                use_wine_route qemu
            else
                use_wine_route win64
            fi ;;
        native)
            native_route_works || { echo "route native: $WINE32_LOADER does not run here" >&2; return 1; }
            use_wine_route native ;;
        qemu)
            qemu_route_works || return 1
            use_wine_route qemu ;;
        win64)
            use_wine_route win64 ;;
        *)
            echo "AMBRISK_WINE_ROUTE=$AMBRISK_WINE_ROUTE: expected native, qemu or win64" >&2
            return 1 ;;
    esac
}

# The route in a form that cannot be missed when the shipped program goes untested.
announce_wine_route() {
    if [ "$AMBRISK_WINE_ROUTE" = win64 ]; then
        local bar="!!!!!!!!!!!!!!!!!!!!!!!!!!!!!!!!!!!!!!!!!!!!!!!!!!!!!!!!!!!!!!!!!!!!!!!!!!!!!!!!"
        printf '%s\n!!! route: %s\n!!! Wine runs a 64-bit build of the same sources under wine64, not the shipped\n!!! 32-bit Ambrisk2.exe.\n%s\n' \
            "$bar" "$AMBRISK_WINE_ROUTE_TEXT" "$bar"
    else
        echo "route: $AMBRISK_WINE_ROUTE_TEXT"
    fi
}
