#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# SPDX-FileCopyrightText: 2026 Brasvel Resource Editor maintainers
# Builds a static, release Qt (qtbase: Core, Gui, Widgets, Test, the Windows and offscreen platform
# plugins and the Windows styles) for MinGW-w64 from Debian's qt6-base source, once per machine,
# and prints the folder it is installed in.
#
#   tools/windows-qt.sh SOURCES-FOLDER   (where tools/build-windows.sh downloaded qt6-base's source)
#
# The build takes about 2150 CPU-seconds, so its result is kept outside the repository, in
# $BRASVEL_WINDOWS_CACHE (by default $XDG_CACHE_HOME/brasvel-windows, else ~/.cache/...), in a
# folder named by a key of the source's version, the compiler's version and the configure line.
# A folder counts only once its stamp is written, last: an interrupted build is started anew.
# Qt's host tools (moc, rcc, uic) are Debian's, which must be the same version as the source.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
sources=$1
jobs=${BRASVEL_JOBS:-$(nproc)}
mingw=x86_64-w64-mingw32

# Debian's source leaves out src/3rdparty/wintab, so tablet events are off. With DirectWrite on and
# Direct2D off Qt 6.4 builds but a program does not link: both off (GDI fonts).
configure_line=(
  -static -static-runtime -release -qt-host-path /usr -xplatform win32-g++
  -nomake tests -nomake examples -no-pkg-config -no-opengl -no-dbus -no-icu -no-zstd
  -no-freetype -qt-harfbuzz -qt-zlib -qt-pcre -qt-libpng -no-libjpeg
  -no-feature-sql -no-feature-network -no-feature-concurrent -no-feature-xml
  -no-feature-printsupport -no-feature-tabletevent -no-feature-direct2d -no-feature-directwrite
  -no-feature-vulkan
)

version=$(dpkg-query -W -f='${Version}' qt6-base-dev 2>/dev/null || echo unknown)
compiler=$($mingw-g++-posix -dumpfullversion)
key=$(printf '%s\n' "$version" "$compiler" "${configure_line[*]}" | sha256sum | cut -c1-16)
cache=${BRASVEL_WINDOWS_CACHE:-${XDG_CACHE_HOME:-$HOME/.cache}/brasvel-windows}
prefix=$cache/qt-$key
if [[ -f $prefix/.complete ]]; then
  echo "$prefix"
  exit 0
fi

work=$(mktemp -d "${TMPDIR:-/tmp}/brasvel-qt.XXXXXX")
# The build tree (1.8 GB) goes however the script ends, interrupted too.
trap 'rm -rf "$work"' EXIT
trap 'exit 130' INT TERM
echo "windows-qt: building Qt $version for Windows into $prefix (about 20 minutes on 2 cores)" >&2
tar xf "$(compgen -G "$sources/qt6-base_*.orig.tar.[gx]z" | head -n 1)" -C "$work"
src=$(find "$work" -maxdepth 1 -type d -name 'qtbase-*' | head -n 1)

# The toolchain for Qt's own build: the cross compilers, and libraries looked for only in MinGW's tree.
cat >"$work/mingw.cmake" <<EOF
set(CMAKE_SYSTEM_NAME Windows)
set(CMAKE_SYSTEM_PROCESSOR x86_64)
set(CMAKE_C_COMPILER $mingw-gcc-posix)
set(CMAKE_CXX_COMPILER $mingw-g++-posix)
set(CMAKE_RC_COMPILER $mingw-windres)
set(CMAKE_FIND_ROOT_PATH /usr/$mingw)
set(CMAKE_FIND_ROOT_PATH_MODE_PROGRAM NEVER)
set(CMAKE_FIND_ROOT_PATH_MODE_LIBRARY ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_INCLUDE ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_PACKAGE ONLY)
EOF

rm -rf "$prefix"
mkdir -p "$work/build"
(cd "$work/build" &&
  "$src/configure" -prefix "$prefix" "${configure_line[@]}" -- -G Ninja \
    -DCMAKE_TOOLCHAIN_FILE="$work/mingw.cmake" \
    -DQT_HOST_PATH_CMAKE_DIR=/usr/lib/x86_64-linux-gnu/cmake >"$work/configure.log" 2>&1) || {
  tail -n 40 "$work/configure.log" >&2
  exit 2
}
cmake --build "$work/build" -j "$jobs" >"$work/build.log" 2>&1 || {
  grep -m 20 -B 2 -A 8 'error' "$work/build.log" >&2 || tail -n 40 "$work/build.log" >&2
  exit 2
}
cmake --install "$work/build" >/dev/null
cp "$src/LICENSES/"*.txt "$prefix/" 2>/dev/null || true
printf '%s\n' "$version" "$compiler" "${configure_line[*]}" >"$prefix/.complete"
echo "$prefix"
