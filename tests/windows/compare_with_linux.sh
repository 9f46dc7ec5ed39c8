#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# SPDX-FileCopyrightText: 2026 Brasvel Resource Editor maintainers
# Runs the Linux and the Windows brasvel-res (under wine) on the same archives and compares what
# they make: list --json output, every extracted file byte for byte, convert's pictures (BMP and
# PNG), verify, the exit codes of damaged entries, and archives created and edited by each, byte
# for byte (both builds compress with the same libdeflate), and what info and convert make of the
# videos (both decode them with the same FFmpeg codecs).
#
#   compare_with_linux.sh LINUX_BIN_DIR WINDOWS_EXE WORK_DIR
#
# LINUX_BIN_DIR holds brasvel-res and make-demo of the Linux build. Each program runs in its own
# folder (WORK_DIR/linux, WORK_DIR/windows) with the same relative paths, so that their output
# must be the same bytes. Exits 1 on the first difference.
set -euo pipefail
linux_bin=$(realpath "$1")
windows_exe=$(realpath "$2")
work=$3
wine=${BRASVEL_WINE:-/usr/lib/wine/wine64}
export WINEDEBUG=${WINEDEBUG:--all}

rm -rf "$work"
mkdir -p "$work/archives" "$work/linux" "$work/windows" "$work/inputs"
work=$(realpath "$work")
checks=0

fail() {
  echo "compare_with_linux: $*" >&2
  exit 1
}

# run SIDE ARGS...: runs one program in its folder; its output in SIDE.out/.err, exit code in .rc.
run() {
  local side=$1
  shift
  local code=0
  if [[ $side == linux ]]; then
    (cd "$work/linux" && "$linux_bin/brasvel-res" "$@" >"$work/linux.out" 2>"$work/linux.err") ||
      code=$?
  else
    (cd "$work/windows" && "$wine" "$windows_exe" "$@" >"$work/windows.out" 2>"$work/windows.err") ||
      code=$?
  fi
  echo "$code" >"$work/$side.rc"
}

# both ARGS...: runs both and requires the same exit code and standard output.
both() {
  run linux "$@"
  run windows "$@"
  checks=$((checks + 1))
  cmp -s "$work/linux.rc" "$work/windows.rc" ||
    fail "$*: exit $(cat "$work/linux.rc") on Linux, $(cat "$work/windows.rc") on Windows: $(cat "$work/windows.err")"
  cmp -s "$work/linux.out" "$work/windows.out" ||
    fail "$*: the output differs: $(diff "$work/linux.out" "$work/windows.out" | head -5)"
}

# same_files PATH: the file or folder PATH, relative to each side's folder, is the same bytes, or
# missing on both sides after a command that failed on both.
same_files() {
  checks=$((checks + 1))
  if [[ ! -e $work/linux/$1 && ! -e $work/windows/$1 && $(cat "$work/linux.rc") != 0 ]]; then
    return
  fi
  diff -r "$work/linux/$1" "$work/windows/$1" >/dev/null ||
    fail "$1 differs: $(diff -r "$work/linux/$1" "$work/windows/$1" | head -5)"
}

# folders NAME...: an empty folder of each name on both sides (extract writes into one that exists).
folders() {
  for name in "$@"; do
    mkdir -p "$work/linux/$name" "$work/windows/$name"
  done
}

expect_code() {
  [[ $(cat "$work/linux.rc") == "$1" ]] || fail "expected exit $1, got $(cat "$work/linux.rc")"
}

# --- The archives: the demo archives, and one generated here from files of many kinds and names.
"$linux_bin/make-demo" "$work/archives" >/dev/null
head -c 300000 /dev/urandom >"$work/inputs/NOISE.BIN"
seq 1 40000 >"$work/inputs/COUNT.TXT"
printf 'Zażółć gęślą jaźń\n' >"$work/inputs/ŁÓDŹ.txt"
: >"$work/inputs/EMPTY.TXT"
cp "$work/inputs"/* "$work/linux/" 2>/dev/null || true
for side in linux windows; do
  mkdir -p "$work/$side/in"
  cp "$work/inputs"/* "$work/$side/in/"
  rm -f "$work/$side"/*.BIN "$work/$side"/*.TXT "$work/$side"/*.txt
done
cp "$work/archives"/* "$work/linux/"
cp "$work/archives"/* "$work/windows/"

# --- Created and edited by each: the same archive, byte for byte, at every step.
both create made.lod in
expect_code 0
same_files made.lod
both create stored.lod --store in
same_files stored.lod
both create level12.lod --level 12 --threads 3 in
same_files level12.lod
both add made.lod demo.snd
same_files made.lod
both rename made.lod COUNT.TXT ZAHL.TXT
same_files made.lod
both remove made.lod 'N*'
same_files made.lod
both create made.lod in  # refused: it exists
expect_code 1

# --- Reading: the same list, files, pictures and verdicts.
for archive in demo.lod demo.snd demo.vid damaged.lod made.lod level12.lod; do
  both list --json "$archive"
  both list "$archive"
  both verify "$archive"
  folders "out-$archive" "raw-$archive"
  both extract "$archive" -o "out-$archive"
  same_files "out-$archive"
  both extract "$archive" --raw -o "raw-$archive"
  same_files "raw-$archive"
done
both verify damaged.lod
expect_code 1
folders again-damaged
both extract damaged.lod -o again-damaged
expect_code 1
same_files again-damaged

while IFS=$'\t' read -r caption _; do
  case ${caption,,} in
    *.pcx)
      both convert demo.lod "$caption" -o "$caption.bmp"
      both convert demo.lod "$caption" -o "$caption.png"
      same_files "$caption.bmp"
      same_files "$caption.png" ;;
    *.def)
      both convert demo.lod "$caption" --frame 2 -o "$caption.bmp"
      both convert demo.lod "$caption" --frame 1 --selection -o "$caption.png"
      same_files "$caption.bmp"
      same_files "$caption.png"
      both sprite export demo.lod "$caption" -o "sprite-$caption"
      same_files "sprite-$caption" ;;
  esac
done < <("$linux_bin/brasvel-res" list "$work/archives/demo.lod" | grep -v '^Total Files')

# --- Videos: the same verdicts on every video entry, whether it decodes or not.
for video in DOLINA.smk INTRO.smk VALLEY.bik; do
  both info demo.vid "$video"
  both convert demo.vid "$video" --frame 1 -o "$video.bmp"
  same_files "$video.bmp"
done

echo "compare_with_linux: $checks comparisons, no difference"
