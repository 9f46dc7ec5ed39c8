#!/usr/bin/env bash
# Times the editing commands against tools that do the same work, in one run, and reports the
# ratios; it never fails because of a figure.
#   create  `brasvel-res create` of the benchmark's files (the entries of big.lod, extracted once)
#           against `zip -q -r -6` and `bsdtar --format zip -cf` of the same files: wall time, and
#           the stored size against zip's at the same level
#   add     `brasvel-res add` of one 100 KB file to the benchmark's LOD against `cp` of that LOD
#   memory  the maximum resident set of the create, beside the largest file and the total
#
# usage: bench/edit.sh [--quick] [ROUNDS] [ENTRIES]
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
if [[ ! -f $data/files.done ]]; then
    rm -rf "$files"
    mkdir -p "$files"
    "$res" extract "$PWD/$data/big.lod" --raw -o "$files" >/dev/null
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

total_kb=$(du -sk "$files" | cut -f1)
echo "== machine: $(nproc) cores, load $(cut -d' ' -f1-3 /proc/loadavg)"
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

echo "== add: one 100 KB file to the $(du -h "$data/big.lod" | cut -f1) LOD, against cp"
head -c 102400 /dev/urandom >"$work/ADDED.BIN"
: >"$work/r_add"
: >"$work/r_add_sync"
: >"$work/r_add_work"
for ((round = 1; round <= rounds; round++)); do
    cp "$data/big.lod" "$work/edit.lod"
    copied=$(timed cp "$data/big.lod" "$work/copy.lod")
    rm -f "$work/copy.lod"
    # The same copy made as durable as an edit is: the file synced to disk.
    synced=$(timed sh -c "cp '$data/big.lod' '$work/copy.lod' && sync '$work/copy.lod'")
    added=$(timed "$res" add "$work/edit.lod" "$work/ADDED.BIN")
    # The program's start-up alone (the libraries it loads), which any command pays.
    started=$(timed "$res" --version)
    div "$(echo "$added - $started" | bc -l)" "$synced" >>"$work/r_add_work"
    div "$added" "$copied" >>"$work/r_add"
    div "$added" "$synced" >>"$work/r_add_sync"
    printf 'round %d: add %.3f s (start-up %.3f s), cp %.3f s, cp + sync %.3f s\n' "$round" "$added" \
        "$started" "$copied" "$synced"
    rm -f "$work/copy.lod" "$work/edit.lod"
done
ratio_add=$(median <"$work/r_add")
ratio_add_sync=$(median <"$work/r_add_sync")
ratio_add_work=$(median <"$work/r_add_work")
cp "$data/big.lod" "$work/edit.lod"
add_peak_kb=$(/usr/bin/time -v "$res" add "$work/edit.lod" "$work/ADDED.BIN" 2>&1 >/dev/null |
    awk -F: '/Maximum resident/ {gsub(/ /, "", $2); print $2}')

cat <<EOF

================ summary ================
create      median of $rounds rounds: ratio to zip -q -r -6 $ratio_zip (target <= 0.25), to bsdtar $ratio_tar
            size $lod_bytes bytes (default level) against zip -6's $zip_bytes: $size_ratio; at level 6
            $lod6_bytes bytes: $size6_ratio (target within 2% of zip at the same level); verify $verify
            peak resident ${peak_kb} KB; largest file ${largest_kb} KB; all files ${total_kb} KB
add         one 100 KB file / cp of the archive: $ratio_add (target <= 1.5); / cp + sync of the copy:
            $ratio_add_sync; without the program's start-up, / cp + sync: $ratio_add_work
            peak resident ${add_peak_kb} KB
=========================================
EOF
