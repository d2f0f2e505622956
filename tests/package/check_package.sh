#!/usr/bin/env bash
# Makes the Debian package from a host build and checks what a user's system would get: lintian
# finds no error, the AppStream metadata and the desktop entry are valid, the desktops' pieces are
# in it and no desktop is a dependency, the manual page tells every option that --help lists, the
# changelog and the metadata name the package's version, and the packaged program answers --help
# and --version on standard output with exit code 0 where there is no display.
#   tests/package/check_package.sh BUILD_DIR
set -uo pipefail
build="$(cd "${1:?usage: $0 BUILD_DIR}" && pwd)"
work="$(mktemp -d)"
trap 'rm -rf "$work"' EXIT
problems=0
problem() {
    echo "package: $*" >&2
    problems=$((problems + 1))
}

(cd "$build" && cpack -G DEB -B "$work/cpack" >"$work/cpack.log" 2>&1) || { cat "$work/cpack.log" >&2; exit 1; }
deb="$(echo "$work"/cpack/*.deb)"
version="$(dpkg-deb -f "$deb" Version)"
root="$work/root"
dpkg-deb -x "$deb" "$root"
share="$root/usr/share"

lintian --fail-on error "$deb" || problem "lintian found errors"
# The whole tree: the metadata, and the menu entry it names as what launches the program.
appstreamcli validate-tree --no-net "$root" || problem "the AppStream metadata is not valid"
desktop-file-validate "$share/applications/ambrisk2.desktop" || problem "the desktop entry is not valid"

extension="ambrisk2@ambrisk2.invalid"
grep -qs "\"uuid\": *\"$extension\"" "$share/gnome-shell/extensions/$extension/metadata.json" ||
    problem "no GNOME Shell extension $extension"
[ -n "$(ls -A "$share/ambrisk2/kwin" 2>/dev/null)" ] || problem "no KWin script"
if dpkg-deb -f "$deb" Depends Recommends | grep -Eiq 'gnome|kwin|plasma|kde|sway'; then
    problem "depends on a desktop: $(dpkg-deb -f "$deb" Depends Recommends)"
fi

zcat "$share/doc/ambrisk2/changelog.gz" | head -n 1 | grep -qF "ambrisk2 ($version)" ||
    problem "the changelog's newest entry is not $version"
grep -m 1 -o '<release version="[^"]*"' "$share"/metainfo/*.metainfo.xml | grep -qF "\"$version\"" ||
    problem "the AppStream metadata's newest release is not $version"

# What a terminal without a display gets.
answer() { env -u DISPLAY -u WAYLAND_DISPLAY -u SWAYSOCK -u DBUS_SESSION_BUS_ADDRESS "$root/usr/bin/ambrisk2" "$1"; }
help="$(answer --help)" || problem "--help ended with exit code $?"
[[ "$help" == Usage:*--version* ]] || problem "--help does not answer with the usage on standard output"
[ "$(answer --version)" = "Ambrisk 2 $version" ] || problem "--version does not answer Ambrisk 2 $version"
manual="$(zcat "$share/man/man1/ambrisk2.1.gz")"
for option in $(grep -o -- '--[a-z]*' <<<"$help" | sort -u); do
    grep -qF -- "\\-\\-${option#--}" <<<"$manual" || problem "the manual page does not tell $option"
done

echo "package checks of $(basename "$deb"): $problems problem(s)"
[ "$problems" -eq 0 ]
