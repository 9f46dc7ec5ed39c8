#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# SPDX-FileCopyrightText: 2026 Brasvel Resource Editor maintainers
# Installs the Debian packages that the build, the tests, the window, the benchmarks and the
# package (manual pages, validators) need.
# Quick when everything is already there: apt is only called for packages that are missing.
set -euo pipefail

packages=(
  build-essential cmake ninja-build pkg-config
  libdeflate-dev zlib1g-dev libpng-dev libgtest-dev libgmock-dev libbenchmark-dev
  libavformat-dev libavcodec-dev libswscale-dev libswresample-dev libavutil-dev
  clang libclang-rt-14-dev
  qt6-base-dev qt6-multimedia-dev qt6-tools-dev qt6-l10n-tools qt6-translations-l10n
  gstreamer1.0-plugins-base gstreamer1.0-plugins-good
  xvfb xauth fonts-dejavu-core
  pulseaudio pulseaudio-utils sox
  unzip libarchive-tools zip time bc imagemagick
  linux-perf valgrind hyperfine
  go-md2man man-db groff-base file shared-mime-info dpkg-dev lintian desktop-file-utils appstream
)

missing=()
for package in "${packages[@]}"; do
  status=$(dpkg-query -W -f='${Status}' "$package" 2>/dev/null || true)
  [[ "$status" == "install ok installed" ]] || missing+=("$package")
done

if ((${#missing[@]} > 0)); then
  echo "setup: installing ${missing[*]}"
  sudo=""
  [[ $(id -u) -eq 0 ]] || sudo="sudo"
  export DEBIAN_FRONTEND=noninteractive
  $sudo apt-get update -qq
  $sudo apt-get install -y -qq --no-install-recommends "${missing[@]}" >/dev/null
fi
