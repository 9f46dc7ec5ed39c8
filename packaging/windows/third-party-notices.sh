#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# SPDX-FileCopyrightText: 2026 Brasvel Resource Editor maintainers
# third-party-notices.sh SOURCES OUTPUT
# Writes THIRD-PARTY.txt for the Windows zip: for each library linked into the .exe files, its
# version, the Debian source package that is its corresponding source, the archives it is linked
# as, and its licence text. SOURCES is the folder where tools/build-windows.sh unpacks the Debian
# source packages it builds itself (libdeflate, libpng, FFmpeg; Qt's licence texts); the other
# libraries are Debian's MinGW-w64 packages, whose copyright files hold their licences.
set -euo pipefail
sources=$1 output=$2

# NAME|DEBIAN SOURCE PACKAGE, or package:BINARY PACKAGE|LICENCE FILE (a glob under SOURCES for a
# source package)|ARCHIVES LINKED
components=(
  "libdeflate|libdeflate|libdeflate-*/COPYING|libdeflate.a"
  "libpng|libpng1.6|libpng-*/LICENSE|libpng16.a"
  "zlib|package:libz-mingw-w64-dev||libz.a"
  "FFmpeg (libavformat, libavcodec, libswscale, libswresample, libavutil), built under the LGPL|ffmpeg|ffmpeg-*/COPYING.LGPLv2.1|libavformat.a libavcodec.a libswscale.a libswresample.a libavutil.a"
  "Qt 6 (qtbase: Core, Gui, Widgets, the Windows platform, styles and image formats), under the LGPL version 3|qt6-base|qtbase-*/LICENSES/LGPL-3.0-only.txt|libQt6Core.a libQt6Gui.a libQt6Widgets.a libQt6EntryPoint.a libqwindows.a libqwindowsvistastyle.a libqgif.a libqico.a"
  "HarfBuzz, as bundled in Qt's source|qt6-base|qtbase-*/src/3rdparty/harfbuzz-ng/COPYING|libQt6BundledHarfbuzz.a"
  "PCRE2, as bundled in Qt's source|qt6-base|qtbase-*/src/3rdparty/pcre2/LICENCE|libQt6BundledPcre2.a"
  "zlib, as bundled in Qt's source|qt6-base|qtbase-*/src/3rdparty/zlib/LICENSE|libQt6BundledZLIB.a"
  "MinGW-w64 runtime, winpthreads and Windows import libraries|package:mingw-w64-x86-64-dev||libmingw32.a libmingwex.a libmoldname.a libmsvcrt.a libwinpthread.a"
  "GCC runtime libraries (libstdc++, libgcc), under the GCC Runtime Library Exception|package:g++-mingw-w64-x86-64-posix||libstdc++.a libgcc.a libgcc_eh.a"
)

fail() { echo "third-party-notices: $*" >&2; exit 1; }

# The version of source package PACKAGE unpacked in SOURCES, from its .dsc's name.
source_version() {
  local dsc
  dsc=$(find "$sources" -maxdepth 1 -name "$1_*.dsc" | head -n 1)
  [[ -n $dsc ]] || fail "no $1_*.dsc in $sources"
  dsc=${dsc##*/}
  dsc=${dsc#"$1"_}
  echo "${dsc%.dsc}"
}

{
  cat <<'HEAD'
Libraries linked into the programs of this package
==================================================

The Brasvel Resource Editor is free software under the GNU General Public License, version 3 or
later (LICENSE.txt). Its source is the project's repository. The programs in this folder are
linked statically with the libraries below; each is under its own licence, quoted in full, and
each was built from the Debian 12 ("bookworm") source package named, which is its corresponding
source: `apt-get source PACKAGE=VERSION` on Debian fetches it, and
https://snapshot.debian.org/package/PACKAGE/VERSION/ keeps every version.
HEAD
  for component in "${components[@]}"; do
    IFS='|' read -r name origin licence archives <<<"$component"
    if [[ $origin == package:* ]]; then
      package=${origin#package:}
      version=$(dpkg-query -W -f='${Version}' "$package") || fail "$package is not installed"
      source=$(dpkg-query -W -f='${source:Package} ${source:Version}' "$package")
      licence_file=/usr/share/doc/$package/copyright
      description="Debian package: $package $version (source package $source)"
    else
      version=$(source_version "$origin")
      # The glob is meant to expand: one unpacked folder.
      # shellcheck disable=SC2086
      licence_file=$(ls -d "$sources"/$licence 2>/dev/null | head -n 1)
      description="Debian source package: $origin $version"
    fi
    [[ -f $licence_file ]] || fail "no licence text for $name ($licence_file)"
    printf '\n\n%s\n%s\n%s\n' "$name" "$(printf '%*s' "${#name}" '' | tr ' ' '-')" "$description"
    [[ -z $archives ]] || printf 'Linked as: %s\n' "$archives"
    printf '\n'
    cat "$licence_file"
  done
} >"$output.new"
mv "$output.new" "$output"
