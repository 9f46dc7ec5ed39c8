#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# SPDX-FileCopyrightText: 2026 Brasvel Resource Editor maintainers
# Times find, grep and diff over many archives against the tools users would otherwise pick, in
# one run, and reports the ratios; it never fails because of a figure.
#   find  `brasvel-res find` over a folder of ARCHIVES archives against `unzip -l | grep` over the
#         same entries as zips
#   grep  `brasvel-res grep` of a word against `unzip -p | grep -a -i` over the same zips
#   diff  `brasvel-res diff` of two archives that differ in 10 entries against reading both
#         (`verify` of each, which reads every entry as extraction does) and against `cat` of both
#
# usage: bench/many.sh [--quick] [ROUNDS] [ENTRIES]
set -euo pipefail
cd "$(dirname "$0")/.."

quick=0
if [[ "${1:-}" == "--quick" ]]; then
    quick=1
    shift
fi
rounds=${1:-5}
entries=${2:-8000}
archives=10
if ((quick)); then
    rounds=1
    entries=300
fi

tools/setup.sh
[[ -f build/CMakeCache.txt ]] || cmake --preset release -DBRASVEL_BUILD_APP=OFF >/dev/null
cmake --build --preset release -j 2 --target brasvel-res make-bench-archives >/dev/null

data=$PWD/build/bench-data/many-$archives-$entries
[[ -f $data/diff-b.lod ]] || build/bin/make-bench-archives --many "$data" "$archives" "$entries"
res=$PWD/build/bin/brasvel-res
work=$(mktemp -d "${TMPDIR:-/tmp}/brasvel-many-bench.XXXXXX")
trap 'rm -rf "$work"' EXIT

# Runs a shell line and prints the seconds it took.
timed() {
    local start end
    start=$(date +%s.%N)
    bash -c "$1" >/dev/null 2>&1 || true
    end=$(date +%s.%N)
    echo "$end - $start" | bc -l
}
div() { awk -v a="$1" -v b="$2" 'BEGIN {if (b > 0) printf "%.4f\n", a / b; else print "nan"}'; }
median() { sort -g | awk '{a[NR]=$1} END {m=(NR%2)?a[(NR+1)/2]:(a[NR/2]+a[NR/2+1])/2; printf "%.3g", m}'; }

# Each comparison: NAME, our line, their line; rounds alternate, the median ratio is kept.
compare() {
    local name=$1 ours=$2 theirs=$3 round a b
    : >"$work/$name"
    timed "$ours" >/dev/null  # the page cache warmed for both
    for ((round = 1; round <= rounds; round++)); do
        a=$(timed "$ours")
        b=$(timed "$theirs")
        div "$a" "$b" >>"$work/$name"
        printf '%s round %d: brasvel-res %.3f s, other %.3f s\n' "$name" "$round" "$a" "$b"
    done
}

zips=$(printf "'%s' " "$data"/zip/*.zip)
compare find "'$res' find 'A?E0001*' '$data/lod'" \
    "for z in $zips; do unzip -l \"\$z\" | grep 'A.E0001'; done"
compare grep "'$res' grep needle '$data/lod'" \
    "for z in $zips; do unzip -p \"\$z\" | grep -a -i -c needle; done"
compare diff "'$res' diff '$data/diff-a.lod' '$data/diff-b.lod'" \
    "'$res' verify '$data/diff-a.lod'; '$res' verify '$data/diff-b.lod'"
compare diff_cat "'$res' diff '$data/diff-a.lod' '$data/diff-b.lod'" \
    "cat '$data/diff-a.lod' '$data/diff-b.lod'"

cat <<SUMMARY

================ many archives ================
data        $archives archives of $entries entries ($(du -sh "$data/lod" | cut -f1) as LOD), median of $rounds rounds
find        find / unzip -l | grep over the zips: $(median <"$work/find")
grep        grep / unzip -p | grep -a -i over the zips: $(median <"$work/grep")
diff        diff of two archives differing in 10 entries / verify of both: $(median <"$work/diff") (target <= 1)
            the same / cat of both: $(median <"$work/diff_cat")
================================================
SUMMARY
