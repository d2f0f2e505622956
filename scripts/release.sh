#!/usr/bin/env bash
# Builds the release package out/Ambrisk2-<version>-win32.zip: the stripped 32-bit Ambrisk2.exe, the
# user guide (README.txt, in Chinese), the licence and SHA256SUMS of those three. The same commit gives
# the same bytes: the program carries no link time and the archive no packing time.
# The version is the one in CMakeLists.txt; the build goes to $AMBRISK_RELEASE_BUILD (default
# build-release).
set -euo pipefail
source "$(dirname "${BASH_SOURCE[0]}")/common.sh"
cd "$REPO"

install_packages "${WINDOWS_BUILD_PACKAGES[@]}"
version="$(sed -n 's/^project(Ambrisk2 VERSION \([0-9.]*\).*/\1/p' CMakeLists.txt)"
[ -n "$version" ] || { echo "no project version in CMakeLists.txt" >&2; exit 1; }
name="Ambrisk2-$version-win32"
build="${AMBRISK_RELEASE_BUILD:-build-release}"
# Dates in the archive: the commit's time, so that they mean something and stay the same.
epoch="${SOURCE_DATE_EPOCH:-$(git log -1 --format=%ct 2>/dev/null || echo 0)}"

log "release build ($build)"
# Stripped by the linker: strip run afterwards would write the time into the PE header again.
cmake -S . -B "$build" -DCMAKE_TOOLCHAIN_FILE="$REPO/cmake/mingw-i686.cmake" -DCMAKE_BUILD_TYPE=Release \
    -DCMAKE_EXE_LINKER_FLAGS_RELEASE=-s -DAMBRISK_WERROR=ON >/dev/null
cmake --build "$build" --target Ambrisk2 -j"$JOBS"

work="$(mktemp -d)"
trap 'rm -rf "$work"' EXIT
cmake --install "$build" --prefix "$work/install" >/dev/null
package="$work/$name"
mkdir "$package"
cp "$work/install/Ambrisk2.exe" "$package/"
pe_header="$(i686-w64-mingw32-objdump -p "$package/Ambrisk2.exe")"
if ! grep -q '^Time/Date[[:space:]]*Thu Jan  1 00:00:00 1970' <<<"$pe_header"; then
    echo "Ambrisk2.exe carries a link time; the package would differ from build to build" >&2
    exit 1
fi

# Text for Windows users: UTF-8 with CRLF line ends; the guide with a byte order mark, so that
# older Notepad versions read its Chinese as UTF-8.
crlf() { sed 's/\r$//; s/$/\r/'; }
{ printf '\xef\xbb\xbf'; sed "s/@VERSION@/$version/" docs/user-guide-zh.txt | crlf; } >"$package/README.txt"
crlf <LICENSE >"$package/LICENSE.txt"
(cd "$package" && sha256sum Ambrisk2.exe LICENSE.txt README.txt | crlf >SHA256SUMS)

mkdir -p out
rm -f "out/$name.zip"
/usr/bin/python3 scripts/zip_reproducibly.py "out/$name.zip" "$package" "$epoch"
log "out/$name.zip: Ambrisk2.exe $(stat -c %s "$package/Ambrisk2.exe") bytes"
(cd out && sha256sum "$name.zip")
