# Shared steps of the scripts (sourced, not run). The machine is Debian 12; the scripts run as root
# on a new machine and install what they need.

REPO="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
source "$REPO/scripts/packages.sh"
source "$REPO/scripts/wine_route.sh"
JOBS="$(nproc 2>/dev/null || echo 2)"
# Build directories, relative to the repository (overridable, e.g. to keep several side by side).
HOST_BUILD="${AMBRISK_HOST_BUILD:-build-host}"
WIN32_BUILD="${AMBRISK_WIN32_BUILD:-build-win}"
WIN64_BUILD="${AMBRISK_WIN64_BUILD:-build-win64}"

log() { printf '==> %s\n' "$*"; }

# Everything that building, testing and running the program needs.
install_all_packages() {
    install_packages "${HOST_BUILD_PACKAGES[@]}" "${LINUX_EDITION_PACKAGES[@]}" "${WAYLAND_PACKAGES[@]}" \
        "${WINDOWS_BUILD_PACKAGES[@]}" "${WINE_PACKAGES[@]}"
}

build_host() {
    log "host build ($HOST_BUILD)"
    cmake -S "$REPO" -B "$REPO/$HOST_BUILD" -DAMBRISK_WERROR=ON >/dev/null &&
        cmake --build "$REPO/$HOST_BUILD" -j"$JOBS"
}

build_windows_dir() {
    local dir="$1" toolchain="$2"
    log "Windows build ($dir)"
    cmake -S "$REPO" -B "$REPO/$dir" -DCMAKE_TOOLCHAIN_FILE="$REPO/cmake/$toolchain" \
        -DAMBRISK_WERROR=ON >/dev/null &&
        cmake --build "$REPO/$dir" -j"$JOBS"
}

# Chooses the Wine route (wine_route.sh) and sets AMBRISK_WIN_BUILD to the build it runs.
choose_route_and_build() {
    choose_wine_route || return 1
    if [ "$WINE_ROUTE_BUILD" = win64 ]; then
        AMBRISK_WIN_BUILD="$REPO/$WIN64_BUILD"
    else
        AMBRISK_WIN_BUILD="$REPO/$WIN32_BUILD"
    fi
    export AMBRISK_WIN_BUILD
}

# Builds the shipped 32-bit program ($WIN32_BUILD), and on the win64 route also the same sources for
# 64-bit Windows ($WIN64_BUILD). Needs choose_route_and_build first.
build_windows() {
    build_windows_dir "$WIN32_BUILD" mingw-i686.cmake || return 1
    if [ "$WINE_ROUTE_BUILD" = win64 ]; then
        build_windows_dir "$WIN64_BUILD" mingw-x86_64.cmake || return 1
    fi
}

# The chosen route and build as KEY=value lines, for the end-to-end harness when no script chose them.
print_route_and_build() {
    local name
    for name in AMBRISK_WINE_ROUTE AMBRISK_WINE AMBRISK_WINE_ROUTE_TEXT AMBRISK_WIN_BUILD; do
        printf '%s=%s\n' "$name" "${!name}"
    done
}
