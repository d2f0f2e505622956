#!/usr/bin/env bash
# Runs every test: installs what is missing, builds the host build and runs the unit tests, the
# checks of the Debian package and the Linux edition's end-to-end tests on virtual X11 desktops and
# headless Wayland compositors, builds the Windows build and runs its end-to-end tests under Wine
# on a virtual display, on the route that wine_route.sh chooses (AMBRISK_WINE_ROUTE=native|qemu|win64
# forces one).
# Exit code non-zero when anything fails.
set -uo pipefail
source "$(dirname "${BASH_SOURCE[0]}")/common.sh"
cd "$REPO"

failed=()
e2e_summary="0 passed, 0 failed (end-to-end tests did not run)"
linux_summary="0 passed, 0 failed (Linux end-to-end tests did not run)"
wayland_summary="0 passed, 0 failed (Wayland end-to-end tests did not run)"
install_all_packages || { echo "package installation failed" >&2; exit 1; }
routed=false
if choose_route_and_build; then
    routed=true
    route_summary="$(announce_wine_route)"
else
    failed+=("Wine route")
    route_summary="route: none (no way to run Wine here)"
fi
echo "$route_summary"

if build_host; then
    log "unit tests"
    ctest --test-dir "$HOST_BUILD" --output-on-failure -j"$JOBS" || failed+=("unit tests")
    log "Debian package"
    tests/package/check_package.sh "$HOST_BUILD" || failed+=("Debian package")
    log "Linux end-to-end tests"
    mkdir -p out
    # Its tests skip without the program; here that is a failure, not a pass.
    [ -x "$HOST_BUILD/ambrisk2" ] || failed+=("Linux edition not built (GTK 3 or X11 missing)")
    AMBRISK_LINUX_EXE="$HOST_BUILD/ambrisk2" /usr/bin/python3 tests/e2e_linux/run.py | tee out/e2e_linux.log ||
        failed+=("Linux end-to-end tests")
    linux_summary="$(tail -n 1 out/e2e_linux.log)"
    log "Wayland end-to-end tests"
    AMBRISK_LINUX_EXE="$HOST_BUILD/ambrisk2" /usr/bin/python3 tests/e2e_wayland/run.py | tee out/e2e_wayland.log ||
        failed+=("Wayland end-to-end tests")
    wayland_summary="$(tail -n 1 out/e2e_wayland.log)"
else
    failed+=("host build")
fi

if $routed; then
    if build_windows; then
        log "end-to-end tests ($AMBRISK_WIN_BUILD)"
        mkdir -p out
        /usr/bin/python3 tests/e2e/run.py | tee out/e2e.log || failed+=("end-to-end tests")
        e2e_summary="$(tail -n 1 out/e2e.log)"
    else
        failed+=("Windows build")
    fi
fi

if [ ${#failed[@]} -ne 0 ]; then
    echo "FAILED: ${failed[*]}"
else
    echo "all tests passed"
fi
echo "end-to-end: $e2e_summary"
echo "Linux end-to-end: $linux_summary"
echo "Wayland end-to-end: $wayland_summary"
echo "$route_summary"
[ ${#failed[@]} -eq 0 ]
