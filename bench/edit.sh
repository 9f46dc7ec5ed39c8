#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# SPDX-FileCopyrightText: 2026 Brasvel Resource Editor maintainers
# Times the editing commands against tools that do the same work, in one run, and reports the
# ratios; it never fails because of a figure.
#   create  `brasvel-res create` of the benchmark's files (the entries of big.lod, extracted once)
#           against `zip -q -r -6` and `bsdtar --format zip -cf` of the same files: wall time, and
#           the stored size against zip's at the same level
#   levels  `create` at each level from 1 to 6 against `zip -q -r -6` in the same rounds, over the
#           8000 files and over the game-like pictures and sprites of pictures.lod: wall time and
#           size, both as ratios to zip's, which is how the default level is chosen
#   add     `brasvel-res add` of one 100 KB file, `remove` and `rename` of one entry, to the
#           benchmark's LOD, against `cp` of that LOD and `cp` + `sync`; and where an add's time
#           goes (start-up, the kernel's copy, the sync), from the system calls it makes
#   memory  the maximum resident set of the create, beside the largest file and the total, and
#           of a create from one 320 MiB file
#
# usage: bench/edit.sh [--quick] [ROUNDS] [ENTRIES]
#   BENCH_ONLY="add memory" (any of create, levels, add, memory) runs only those parts
set -euo pipefail
cd "$(dirname "$0")/.."

quick=0
if [[ "${1:-}" == "--quick" ]]; then
    quick=1
    shift
fi
rounds=${1:-5}
entries=${2:-8000}
if ((quick)); then
    rounds=1
    entries=300
fi

tools/setup.sh
[[ -f build/CMakeCache.txt ]] || cmake --preset release -DBRASVEL_BUILD_APP=OFF >/dev/null
cmake --build --preset release -j 2 --target brasvel-res make-bench-archives >/dev/null

data=build/bench-data/$entries
[[ -f $data/big.lod ]] || build/bin/make-bench-archives "$data" "$entries"
res=$PWD/build/bin/brasvel-res
files=$PWD/$data/files
pictures=$PWD/$data/picture-files
if [[ ! -f $data/files.done ]]; then
    rm -rf "$files" "$pictures"
    mkdir -p "$files" "$pictures"
    "$res" extract "$PWD/$data/big.lod" --raw -o "$files" >/dev/null
    "$res" extract "$PWD/$data/pictures.lod" --raw -o "$pictures" >/dev/null
    touch "$data/files.done"
fi
work=$(mktemp -d "${TMPDIR:-/tmp}/brasvel-edit-bench.XXXXXX")
trap 'rm -rf "$work"' EXIT

# Runs a command and prints the seconds it took, after a sync so that earlier writes do not fall
# on it.
timed() {
    sync
    local start end
    start=$(date +%s.%N)
    "$@" >/dev/null
    end=$(date +%s.%N)
    echo "$end - $start" | bc -l
}
div() { awk -v a="$1" -v b="$2" 'BEGIN {if (b > 0) printf "%.4f\n", a / b; else print "nan"}'; }
median() { sort -g | awk '{a[NR]=$1} END {m=(NR%2)?a[(NR+1)/2]:(a[NR/2]+a[NR/2+1])/2; printf "%.3g", m}'; }

want() { [[ -z ${BENCH_ONLY:-} || " $BENCH_ONLY " == *" $1 "* ]]; }
# The summary's figures of the parts left out.
for name in ratio_zip ratio_tar lod_bytes zip_bytes size_ratio lod6_bytes size6_ratio verify peak_kb \
    largest_kb huge_peak_kb levels_files levels_pictures ratio_add ratio_add_sync ratio_add_work \
    breakdown add_peak_kb ratio_remove_sync ratio_rename_sync; do
    declare "$name=-"
done
total_kb=$(du -sk "$files" | cut -f1)
echo "== machine: $(nproc) cores, load $(cut -d' ' -f1-3 /proc/loadavg)"
if want create; then
echo "== create: $(ls "$files" | wc -l) files, ${total_kb} KB, alternating rounds"
: >"$work/r_zip"
: >"$work/r_tar"
for ((round = 1; round <= rounds; round++)); do
    ours=$(timed "$res" create "$work/new.lod" --force "$files")
    zipped=$(cd "$files" && timed zip -q -r -6 "$work/new.zip" .)
    tarred=$(cd "$files" && timed bsdtar --format zip -cf "$work/new-tar.zip" .)
    div "$ours" "$zipped" >>"$work/r_zip"
    div "$ours" "$tarred" >>"$work/r_tar"
    printf 'round %d: create %.3f s, zip -6 %.3f s, bsdtar %.3f s\n' "$round" "$ours" "$zipped" "$tarred"
    rm -f "$work/new.zip" "$work/new-tar.zip"
    [[ $round == "$rounds" ]] || rm -f "$work/new.lod"
done
ratio_zip=$(median <"$work/r_zip")
ratio_tar=$(median <"$work/r_tar")
(cd "$files" && zip -q -r -6 "$work/size.zip" .)
lod_bytes=$(stat -c %s "$work/new.lod")
zip_bytes=$(stat -c %s "$work/size.zip")
"$res" create "$work/level6.lod" --level 6 "$files" >/dev/null
lod6_bytes=$(stat -c %s "$work/level6.lod")
size6_ratio=$(div "$lod6_bytes" "$zip_bytes")
# The zip's own overhead (local headers, central directory) against the LOD's 320 KB of room.
size_ratio=$(div "$lod_bytes" "$zip_bytes")
peak_kb=$(/usr/bin/time -v "$res" create "$work/peak.lod" --force "$files" 2>&1 >/dev/null |
    awk -F: '/Maximum resident/ {gsub(/ /, "", $2); print $2}')
largest_kb=$(ls -lS "$files" | awk 'NR == 2 {printf "%d", $5 / 1024}')
verify=$("$res" verify "$work/new.lod" >/dev/null 2>&1 && echo passes || echo FAILS)

fi
# Creates from the files of folder $1 at levels 1 to 6 and with zip -6, alternating, and prints
# for each level the median ratio of wall times and the ratio of sizes to zip's.
levels() {
    local folder=$1 level
    for level in 1 2 3 4 5 6; do : >"$work/r_level$level"; done
    for ((round = 1; round <= rounds; round++)); do
        zipped=$(cd "$folder" && timed zip -q -r -6 "$work/level.zip" .)
        for level in 1 2 3 4 5 6; do
            ours=$(timed "$res" create "$work/level$level.lod" --force --level $level "$folder")
            div "$ours" "$zipped" >>"$work/r_level$level"
        done
        [[ $round == "$rounds" ]] || rm -f "$work/level.zip"
    done
    local zip_size
    zip_size=$(stat -c %s "$work/level.zip")
    for level in 1 2 3 4 5 6; do
        printf 'level %d: time / zip -6 %s, size / zip -6 %s\n' "$level" \
            "$(median <"$work/r_level$level")" "$(div "$(stat -c %s "$work/level$level.lod")" "$zip_size")"
        rm -f "$work/level$level.lod"
    done
    rm -f "$work/level.zip"
}
if want levels; then
echo "== levels over the $(ls "$files" | wc -l) files (median of $rounds rounds)"
levels_files=$(levels "$files")
echo "$levels_files"
echo "== levels over the pictures and sprites ($(ls "$pictures" | wc -l) files, $(du -sk "$pictures" | cut -f1) KB)"
levels_pictures=$(levels "$pictures")
echo "$levels_pictures"

fi
if want add; then
echo "== add, remove, rename in the $(du -h "$data/big.lod" | cut -f1) LOD, against cp and cp + sync"
head -c 102400 /dev/urandom >"$work/ADDED.BIN"
for name in r_add r_add_sync r_add_work r_remove_sync r_rename_sync; do : >"$work/$name"; done
first=$("$res" list "$data/big.lod" | awk -F'\t' 'NR == 1 {print $1}')
for ((round = 1; round <= rounds; round++)); do
    cp "$data/big.lod" "$work/edit.lod"
    copied=$(timed cp "$data/big.lod" "$work/copy.lod")
    rm -f "$work/copy.lod"
    # The same copy made as durable as an edit is: the file synced to disk.
    synced=$(timed sh -c "cp '$data/big.lod' '$work/copy.lod' && sync '$work/copy.lod'")
    rm -f "$work/copy.lod"
    added=$(timed "$res" add "$work/edit.lod" "$work/ADDED.BIN")
    renamed=$(timed "$res" rename "$work/edit.lod" "$first" "RENAMED.DEF")
    removed=$(timed "$res" remove "$work/edit.lod" "ADDED.BIN")
    # The program's start-up alone (the libraries it loads), which any command pays.
    started=$(timed "$res" --version)
    div "$(echo "$added - $started" | bc -l)" "$synced" >>"$work/r_add_work"
    div "$added" "$copied" >>"$work/r_add"
    div "$added" "$synced" >>"$work/r_add_sync"
    div "$removed" "$synced" >>"$work/r_remove_sync"
    div "$renamed" "$synced" >>"$work/r_rename_sync"
    printf 'round %d: add %.3f s, rename %.3f s, remove %.3f s (start-up %.3f s), cp %.3f s, cp + sync %.3f s\n' \
        "$round" "$added" "$renamed" "$removed" "$started" "$copied" "$synced"
    rm -f "$work/edit.lod"
done
ratio_add=$(median <"$work/r_add")
ratio_add_sync=$(median <"$work/r_add_sync")
ratio_add_work=$(median <"$work/r_add_work")
ratio_remove_sync=$(median <"$work/r_remove_sync")
ratio_rename_sync=$(median <"$work/r_rename_sync")
cp "$data/big.lod" "$work/edit.lod"
add_peak_kb=$(/usr/bin/time -v "$res" add "$work/edit.lod" "$work/ADDED.BIN" 2>&1 >/dev/null |
    awk -F: '/Maximum resident/ {gsub(/ /, "", $2); print $2}')

# Where an add's time goes: the seconds spent in the kernel's copy, in the syncs, and in the rest
# (start-up, reading the directory, writing it, replacing the file), from one traced add.
breakdown="strace not installed"
if command -v strace >/dev/null; then
    cp "$data/big.lod" "$work/traced.lod"
    sync
    start=$(date +%s.%N)
    strace -f -T -e trace=copy_file_range,fsync,fdatasync,renameat2 -o "$work/trace" \
        "$res" add "$work/traced.lod" "$work/ADDED.BIN" >/dev/null
    end=$(date +%s.%N)
    breakdown=$(awk -v total="$(echo "$end - $start" | bc -l)" '
        match($0, /<[0-9.]+>$/) {
            t = substr($0, RSTART + 1, RLENGTH - 2)
            if ($0 ~ /copy_file_range/) copy += t; else if ($0 ~ /sync/) flush += t; else other += t
        }
        END {printf "total %.3f s: kernel copy %.3f s, syncs %.3f s, rename %.3f s, the rest %.3f s",
             total, copy, flush, other, total - copy - flush - other}' "$work/trace")
    rm -f "$work/traced.lod"
fi
echo "add's time: $breakdown"

fi
if want memory; then
echo "== memory: create from one 320 MiB file"
{ yes 'A line of text that compresses well, as the game texts do. 0123456789' || true; } |
    head -c $((320 << 20)) >"$work/HUGE.TXT"
huge_peak_kb=$(/usr/bin/time -v "$res" create "$work/huge.lod" "$work/HUGE.TXT" 2>&1 >/dev/null |
    awk -F: '/Maximum resident/ {gsub(/ /, "", $2); print $2}')
rm -f "$work/HUGE.TXT" "$work/huge.lod"
echo "maximum resident set ${huge_peak_kb} KB"

fi
cat <<EOF

================ summary ================
create      median of $rounds rounds: ratio to zip -q -r -6 $ratio_zip (target <= 0.25), to bsdtar $ratio_tar
            size $lod_bytes bytes (default level) against zip -6's $zip_bytes: $size_ratio; at level 6
            $lod6_bytes bytes: $size6_ratio (target within 2% of zip at the same level); verify $verify
            peak resident ${peak_kb} KB; largest file ${largest_kb} KB; all files ${total_kb} KB;
            from one 320 MiB file ${huge_peak_kb} KB
levels      time and size against zip -6 (targets: time <= 0.25, size <= 1.0), over the files:
$(echo "$levels_files" | sed 's/^/            /')
            over the pictures and sprites:
$(echo "$levels_pictures" | sed 's/^/            /')
add         one 100 KB file / cp of the archive: $ratio_add; / cp + sync of the copy:
            $ratio_add_sync (target <= 1.5); without the program's start-up: $ratio_add_work
            $breakdown; peak resident ${add_peak_kb} KB
remove      one entry / cp + sync: $ratio_remove_sync; rename one entry / cp + sync: $ratio_rename_sync
=========================================
EOF
