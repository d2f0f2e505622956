# Installs the Debian 12 packages that the scripts need (sourced, not run). Only missing packages are
# installed; installing needs root. Every script that needs a package asks here.

# Package sets; a script installs the sets it uses.
HOST_BUILD_PACKAGES=(cmake make g++ googletest libgtest-dev libbenchmark-dev clang python3)
WINDOWS_BUILD_PACKAGES=(cmake make python3 g++-mingw-w64-i686 g++-mingw-w64-x86-64-win32)
WINE_PACKAGES=(wine wine32:i386 wine64 fonts-wine fonts-wqy-microhei
               xvfb xserver-xephyr xdotool x11-utils imagemagick python3)
# The Linux edition: what it is built with, the fonts its window asks for; for its end-to-end tests
# window managers (Openbox, xfwm4 with its compositor, i3), a session bus with the accessibility bus,
# third-party programs to size, and a protocol tracer for the idle benchmark.
LINUX_EDITION_PACKAGES=(pkg-config libgtk-3-dev libwayland-dev libx11-dev libxrandr-dev libxinerama-dev libxi-dev libxtst-dev
                        fonts-liberation openbox xfwm4 i3-wm dbus at-spi2-core python3-pyatspi gir1.2-atspi-2.0
                        x11-apps x11-xserver-utils xterm zenity xtrace xvfb xdotool imagemagick python3)
# The Wayland desktops the Linux edition works with, run headless for its end-to-end tests (Sway
# with foot and grim, KWin with qdbus and the Breeze title bars, GNOME Shell), a JSON reader for
# Sway's IPC, and the checkers of the Debian package and its metadata.
WAYLAND_PACKAGES=(sway foot grim kwin-wayland qdbus-qt5 breeze gnome-shell nlohmann-json3-dev
                  lintian appstream desktop-file-utils dpkg-dev)

# The suite that has a qemu-user fast enough to run 32-bit Wine (Debian 12's own is far too slow).
BACKPORTS_SUITE=bookworm-backports
BACKPORTS_SOURCES=/etc/apt/sources.list.d/bookworm-backports.sources

package_log() { printf '==> %s\n' "$*"; }

package_installed() {
    dpkg-query -W -f='${Status}' "$1" 2>/dev/null | grep -q 'install ok installed'
}

# apt-get that waits for another apt run to finish instead of failing on its lock.
apt_get() {
    DEBIAN_FRONTEND=noninteractive apt-get -q -o DPkg::Lock::Timeout=600 "$@" </dev/null
}

require_root() {
    [ "$(id -u)" -eq 0 ] && return 0
    echo "$1: run this script as root to install them" >&2
    return 1
}

# install_packages PACKAGE...: installs the packages that are missing.
install_packages() {
    local missing=() package
    for package in "$@"; do
        package_installed "$package" || missing+=("$package")
    done
    [ ${#missing[@]} -eq 0 ] && return 0
    # The same package may come from two sets.
    mapfile -t missing < <(printf '%s\n' "${missing[@]}" | sort -u)
    require_root "missing packages (${missing[*]})" || return 1
    package_log "installing ${missing[*]}"
    if printf '%s\n' "${missing[@]}" | grep -q ':i386$'; then
        dpkg --print-foreign-architectures | grep -qx i386 || dpkg --add-architecture i386
    fi
    apt_get update && apt_get install -y --no-install-recommends "${missing[@]}"
}

# install_backports_package PACKAGE: installs that one package from the backports suite, adding the
# suite's sources entry if the machine has none. Nothing else is taken from backports.
install_backports_package() {
    local package="$1"
    require_root "$package from $BACKPORTS_SUITE is needed" || return 1
    if ! grep -rqsE "^[^#]*$BACKPORTS_SUITE" /etc/apt/sources.list /etc/apt/sources.list.d/; then
        package_log "adding the $BACKPORTS_SUITE sources entry ($BACKPORTS_SOURCES)"
        cat >"$BACKPORTS_SOURCES" <<EOF
Types: deb
URIs: http://deb.debian.org/debian
Suites: $BACKPORTS_SUITE
Components: main
Signed-By: /usr/share/keyrings/debian-archive-keyring.gpg
EOF
    fi
    package_log "installing $package from $BACKPORTS_SUITE"
    apt_get update && apt_get install -y --no-install-recommends "$package/$BACKPORTS_SUITE"
}
