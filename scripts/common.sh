# Shared steps of scripts/run.sh and scripts/test.sh (sourced, not run).
# The machine is Debian 12; both scripts run as root on a new machine and install what they need.

REPO="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
PACKAGES=(cmake g++ make googletest libgtest-dev libbenchmark-dev clang python3
          g++-mingw-w64-i686 g++-mingw-w64-x86-64-win32
          wine wine32:i386 wine64 fonts-wine fonts-wqy-microhei
          xvfb xserver-xephyr xdotool x11-utils imagemagick)
# The Linux edition: what it is built with, the fonts its window asks for; for its end-to-end tests
# a window manager, a session bus with the accessibility bus, third-party programs to size, and a
# protocol tracer for the idle benchmark.
PACKAGES+=(pkg-config libgtk-3-dev libx11-dev libxrandr-dev libxinerama-dev fonts-liberation
           openbox dbus at-spi2-core python3-pyatspi gir1.2-atspi-2.0
           x11-apps x11-xserver-utils xterm zenity xtrace)
JOBS="$(nproc 2>/dev/null || echo 2)"
# Build directories, relative to the repository (overridable, e.g. to keep several side by side).
HOST_BUILD="${AMBRISK_HOST_BUILD:-build-host}"
WIN32_BUILD="${AMBRISK_WIN32_BUILD:-build-win}"
WIN64_BUILD="${AMBRISK_WIN64_BUILD:-build-win64}"

log() { printf '==> %s\n' "$*"; }

install_packages() {
    local missing=()
    for package in "${PACKAGES[@]}"; do
        dpkg-query -W -f='${Status}' "$package" 2>/dev/null | grep -q 'install ok installed' ||
            missing+=("$package")
    done
    if [ ${#missing[@]} -eq 0 ]; then
        return 0
    fi
    log "installing ${missing[*]}"
    if [ "$(id -u)" -ne 0 ]; then
        echo "missing packages (${missing[*]}): run this script as root to install them" >&2
        return 1
    fi
    dpkg --print-foreign-architectures | grep -qx i386 || dpkg --add-architecture i386
    export DEBIAN_FRONTEND=noninteractive
    apt-get update -q
    apt-get install -y -q --no-install-recommends "${missing[@]}" </dev/null
}

# True when the kernel runs 32-bit programs; some virtual machines turn that off, and then
# 32-bit Wine cannot start.
can_run_32bit() {
    /usr/lib/wine/wine --version >/dev/null 2>&1
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

# Builds the shipped 32-bit program ($WIN32_BUILD). Where 32-bit code cannot run, also builds the
# same sources for 64-bit Windows ($WIN64_BUILD), which is then the build run under Wine.
# Sets WIN_BUILD to the directory of the build to run, and AMBRISK_WIN_BUILD/AMBRISK_WINE for
# the harness.
build_windows() {
    build_windows_dir "$WIN32_BUILD" mingw-i686.cmake || return 1
    if can_run_32bit; then
        WIN_BUILD="$REPO/$WIN32_BUILD"
        AMBRISK_WINE=wine
    else
        log "this machine cannot run 32-bit code: running a 64-bit build under wine64 instead"
        build_windows_dir "$WIN64_BUILD" mingw-x86_64.cmake || return 1
        WIN_BUILD="$REPO/$WIN64_BUILD"
        AMBRISK_WINE=/usr/lib/wine/wine64
    fi
    export AMBRISK_WIN_BUILD="$WIN_BUILD" AMBRISK_WINE
}
