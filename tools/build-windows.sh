#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# SPDX-FileCopyrightText: 2026 Brasvel Resource Editor maintainers
# Cross-builds the window and the command line for 64-bit Windows (brasvel-resedit.exe and
# brasvel-res.exe, each static: nothing to ship beside them), runs the tests of the core, the
# command line, the video decoding, the window's logic and its widgets under wine, compares the
# Windows command line with the Linux one on the same archives, and packs
# build-windows/build/brasvel-resedit-VERSION-windows-x86_64.zip.
#
#   tools/build-windows.sh [--deps-only] [--no-tests]
#
# The comparison needs the Linux build (build/bin/brasvel-res and make-demo): tools/test.sh runs
# this after it. Everything goes into build-windows/: the libraries built for Windows from Debian's
# sources (libdeflate, libpng, FFmpeg, GoogleTest) under deps/, the build, and wine's private
# prefix; Qt, which takes about 20 minutes, into a cache outside it (tools/windows-qt.sh).
set -euo pipefail
cd "$(dirname "$0")/.."
root=$PWD
out=$root/build-windows
deps=$out/deps
jobs=${BRASVEL_JOBS:-2}
deps_only=0
run_tests=1
for argument in "$@"; do
  case $argument in
    --deps-only) deps_only=1 ;;
    --no-tests) run_tests=0 ;;
    *) echo "usage: tools/build-windows.sh [--deps-only] [--no-tests]" >&2; exit 2 ;;
  esac
done
started=$SECONDS

# --- Debian packages: the cross compiler, zlib for it, wine, and GoogleTest's sources.
packages=(g++-mingw-w64-x86-64-posix libz-mingw-w64-dev wine64 googletest cmake ninja-build
  pkg-config dpkg-dev zip unzip nasm make xvfb xauth xdotool)
missing=()
for package in "${packages[@]}"; do
  status=$(dpkg-query -W -f='${Status}' "$package" 2>/dev/null || true)
  [[ "$status" == "install ok installed" ]] || missing+=("$package")
done
sudo=""
[[ $(id -u) -eq 0 ]] || sudo="sudo"
if ((${#missing[@]} > 0)); then
  echo "build-windows: installing ${missing[*]}"
  export DEBIAN_FRONTEND=noninteractive
  $sudo apt-get update -qq
  $sudo apt-get install -y -qq --no-install-recommends "${missing[@]}" >/dev/null
fi

# --- libdeflate and libpng have no MinGW package: built from Debian's source packages. The same
# libdeflate release as the Linux build's, so that both compress to the same bytes.
download_source() {  # PACKAGE FOLDER: downloads Debian's source package into FOLDER once
  local package=$1 folder=$2
  mkdir -p "$folder"
  compgen -G "$folder/${package}_*.orig.tar.[gx]z" >/dev/null && return 0
  if ! (cd "$folder" && apt-get source --download-only "$package" >/dev/null 2>&1); then
    echo "build-windows: adding Debian's source lines to fetch $package" >&2
    printf 'Types: deb-src\nURIs: http://deb.debian.org/debian\nSuites: bookworm\nComponents: main\nSigned-By: /usr/share/keyrings/debian-archive-keyring.gpg\n' |
      $sudo tee /etc/apt/sources.list.d/brasvel-src.sources >/dev/null
    $sudo apt-get update -qq
    (cd "$folder" && apt-get source --download-only "$package" >/dev/null 2>&1)
  fi
}

source_of() {  # PACKAGE DIRECTORY-GLOB: unpacks Debian's upstream tarball once, prints its folder
  local package=$1 glob=$2 folder
  folder=$(find "$out/sources" -maxdepth 1 -type d -name "$glob" 2>/dev/null | head -n 1)
  if [[ -z "$folder" ]]; then
    download_source "$package" "$out/sources"
    (cd "$out/sources" && for tarball in "${package}"_*.orig.tar.*; do
      [[ $tarball == *.asc ]] || tar xf "$tarball"
    done)
    folder=$(find "$out/sources" -maxdepth 1 -type d -name "$glob" | head -n 1)
  fi
  echo "$folder"
}

mingw=x86_64-w64-mingw32
toolchain=$root/cmake/mingw-w64-x86_64.cmake
mkdir -p "$deps/lib/pkgconfig" "$deps/include"

if [[ ! -f $deps/lib/libdeflate.a ]]; then
  src=$(source_of libdeflate 'libdeflate-*')
  echo "build-windows: libdeflate from $src"
  rm -rf "$out/libdeflate-build" && mkdir -p "$out/libdeflate-build"
  (cd "$out/libdeflate-build" &&
    for file in "$src"/lib/*.c "$src"/lib/x86/*.c; do
      $mingw-gcc-posix -O2 -c -I"$src" "$file" -o "$(basename "$file" .c).o"
    done &&
    $mingw-ar rcs "$deps/lib/libdeflate.a" ./*.o)
  cp "$src/libdeflate.h" "$deps/include/"
  version=$(sed -n 's/^#define LIBDEFLATE_VERSION_STRING[^"]*"\(.*\)"/\1/p' "$src/libdeflate.h")
  printf 'prefix=%s\nName: libdeflate\nDescription: libdeflate for Windows\nVersion: %s\nLibs: -L${prefix}/lib -ldeflate\nCflags: -I${prefix}/include\n' \
    "$deps" "$version" >"$deps/lib/pkgconfig/libdeflate.pc"
fi

if [[ ! -f $deps/lib/libpng16.a ]]; then
  src=$(source_of libpng1.6 'libpng-*')
  echo "build-windows: libpng from $src"
  cmake -S "$src" -B "$out/libpng-build" -G Ninja -DCMAKE_TOOLCHAIN_FILE="$toolchain" \
    -DCMAKE_BUILD_TYPE=Release -DCMAKE_INSTALL_PREFIX="$deps" -DPNG_SHARED=OFF -DPNG_STATIC=ON \
    -DPNG_TESTS=OFF -DPNG_EXECUTABLES=OFF -DPNG_TOOLS=OFF -DSKIP_INSTALL_PROGRAMS=ON >/dev/null
  cmake --build "$out/libpng-build" -j "$jobs" >/dev/null
  cmake --install "$out/libpng-build" >/dev/null
  # The static library is libpng16.a under MinGW too; its .pc names it -lpng16.
fi

if [[ ! -f $deps/lib/libgtest.a ]]; then
  echo "build-windows: GoogleTest from /usr/src/googletest"
  cmake -S /usr/src/googletest -B "$out/googletest-build" -G Ninja \
    -DCMAKE_TOOLCHAIN_FILE="$toolchain" -DCMAKE_BUILD_TYPE=Release \
    -DCMAKE_INSTALL_PREFIX="$deps" -Dgtest_disable_pthreads=OFF >/dev/null
  cmake --build "$out/googletest-build" -j "$jobs" >/dev/null
  cmake --install "$out/googletest-build" >/dev/null
fi
# FFmpeg with the game's video demuxers and decoders only, linked into the programs; the AVI
# container with FFV1 frames and PCM sound too, which the tests and the demo's clip are made of.
if [[ ! -f $deps/lib/libavcodec.a ]]; then
  src=$(source_of ffmpeg 'ffmpeg-*')
  echo "build-windows: FFmpeg from $src"
  rm -rf "$out/ffmpeg-build" && mkdir -p "$out/ffmpeg-build"
  (cd "$out/ffmpeg-build" &&
    "$src/configure" --prefix="$deps" --enable-cross-compile --target-os=mingw32 --arch=x86_64 \
      --cross-prefix=$mingw- --cc=$mingw-gcc-posix --cxx=$mingw-g++-posix \
      --enable-w32threads --disable-autodetect --enable-static --disable-shared \
      --disable-everything --disable-programs --disable-doc --disable-network --disable-debug \
      --disable-avdevice --disable-avfilter --disable-postproc --enable-swscale --enable-swresample \
      --enable-demuxer=smacker,bink,avi --enable-muxer=avi \
      --enable-decoder=smacker,smackaud,bink,binkaudio_rdft,binkaudio_dct,ffv1,pcm_s16le \
      --enable-encoder=ffv1,pcm_s16le --enable-protocol=file >configure.log 2>&1 &&
    make -j "$jobs" >build.log 2>&1 && make install >/dev/null 2>&1) || {
    tail -n 30 "$out/ffmpeg-build"/*.log >&2
    exit 2
  }
fi

# Qt for the window: static, built once per machine into a cache outside the repository.
download_source qt6-base "$out/sources"
qt_prefix=$("$root/tools/windows-qt.sh" "$out/sources")
echo "build-windows: Qt for Windows in $qt_prefix"
# Qt's licence texts and those of the libraries bundled in it, for the notices.
if ! compgen -G "$out/sources/qtbase-*/src/3rdparty/zlib/LICENSE" >/dev/null; then
  tar xf "$(compgen -G "$out/sources/qt6-base_*.orig.tar.[gx]z" | head -n 1)" -C "$out/sources" \
    --wildcards '*/LICENSES/*' '*/src/3rdparty/harfbuzz-ng/COPYING' \
    '*/src/3rdparty/pcre2/LICENCE' '*/src/3rdparty/zlib/LICENSE'
fi

# The notices of what the programs link, from the packages just used: written each time, as a
# Debian update may change a version.
"$root/packaging/windows/third-party-notices.sh" "$out/sources" "$deps/THIRD-PARTY.txt"
echo "build-windows: libraries ready after $((SECONDS - started)) s"
if ((deps_only)); then exit 0; fi

# --- The program and its tests. wine runs the Windows programs (make-demo.exe at build time, the
# tests) in its own prefix, private to this build; its first start takes a while. One wineserver
# serves every program started, and is ended on the way out.
export WINEPREFIX=$out/wineprefix WINEDEBUG=-all WINEDLLOVERRIDES="mscoree,mshtml="
export BRASVEL_WINE=/usr/lib/wine/wine64
mkdir -p "$WINEPREFIX"
/usr/lib/wine/wineserver -p 2>/dev/null || true  # or one that runs already
trap '/usr/lib/wine/wineserver -k 2>/dev/null || true' EXIT
"$BRASVEL_WINE" cmd /c exit >/dev/null 2>&1 || true
export PKG_CONFIG_LIBDIR=$deps/lib/pkgconfig:/usr/$mingw/lib/pkgconfig
export PKG_CONFIG_SYSROOT_DIR=
export BRASVEL_WINDOWS_PREFIX=$deps
launcher=()
if command -v ccache >/dev/null; then
  launcher=(-DCMAKE_CXX_COMPILER_LAUNCHER=ccache -DCMAKE_C_COMPILER_LAUNCHER=ccache)
fi
# Qt's host tools (moc, rcc, uic) are Debian's, of the same version as the Qt built above.
cmake -S "$root" -B "$out/build" -G Ninja -DCMAKE_TOOLCHAIN_FILE="$toolchain" \
  -DCMAKE_BUILD_TYPE=Release -DBRASVEL_WINDOWS_PREFIX="$deps" -DBRASVEL_WINDOWS_QT="$qt_prefix" \
  -DQT_HOST_PATH=/usr -DQT_HOST_PATH_CMAKE_DIR=/usr/lib/x86_64-linux-gnu/cmake \
  -DBRASVEL_BUILD_BENCH=OFF "${launcher[@]}" >/dev/null
cmake --build "$out/build" -j "$jobs"
echo "build-windows: built after $((SECONDS - started)) s"

if ((run_tests)); then
  [[ -x $root/build/bin/brasvel-res && -x $root/build/bin/make-demo ]] || {
    echo "build-windows: the comparison needs the Linux build (build/bin/brasvel-res and" \
      "make-demo): run tools/test.sh, or cmake --build --preset release first" >&2
    exit 2
  }
  # The window's widget tests open windows: wine draws them into a virtual X display.
  (cd "$out/build" &&
    xvfb-run -a -s "-screen 0 1280x900x24" ctest -j 3 --output-on-failure -R '^windows\.')
  echo "build-windows: tests under wine passed after $((SECONDS - started)) s"
  "$root/tests/windows/compare_with_linux.sh" "$root/build/bin" "$out/build/bin/brasvel-res.exe" \
    "$out/compare"
  echo "build-windows: compared with the Linux build after $((SECONDS - started)) s"
fi

(cd "$out/build" && cpack -G ZIP >/dev/null)
ls "$out/build"/brasvel-resedit-*-windows-x86_64.zip
echo "build-windows: done in $((SECONDS - started)) s"
