#!/usr/bin/env bash
# Times brasvel-res against unzip and bsdtar on the same entries, in one run, and reports the
# ratios. usage: bench/run.sh [--quick] [ROUNDS]
#   --quick  a small set and one round: a smoke run that checks the benchmark still works
set -euo pipefail
cd "$(dirname "$0")/.."

quick=0
if [[ "${1:-}" == "--quick" ]]; then
    quick=1
    shift
fi
rounds=${1:-5}
entries=4000
if ((quick)); then
    rounds=1
    entries=300
fi

tools/setup.sh
cmake --preset release >/dev/null
cmake --build --preset release -j "$(nproc)" >/dev/null

data=build/bench-data/$entries
[[ -f $data/big.lod ]] || build/bin/make-bench-archives "$data" "$entries"
work=$(mktemp -d "${TMPDIR:-/tmp}/brasvel-bench.XXXXXX")
# Every run writes into a fresh folder; they are all deleted only at the end, because creating
# files right after deleting thousands is slow on this file system for minutes.
trap 'rm -rf "$work"' EXIT
res=$PWD/build/bin/brasvel-res

seconds() {  # seconds a command takes, run in a fresh folder
    local folder=$work/run.$RANDOM$RANDOM
    mkdir "$folder"
    local start end
    start=$(date +%s.%N)
    (cd "$folder" && "$@" >/dev/null)
    end=$(date +%s.%N)
    echo "$end - $start" | bc -l
}

median() { sort -g | awk '{a[NR]=$1} END {m=(NR%2)?a[(NR+1)/2]:(a[NR/2]+a[NR/2+1])/2; printf "%.4f", m}'; }

lod=$PWD/$data/big.lod
zip=$PWD/$data/big.zip
: >"$work/ours" ; : >"$work/unzip" ; : >"$work/bsdtar" ; : >"$work/r_unzip" ; : >"$work/r_bsdtar"
for ((round = 1; round <= rounds; round++)); do
    ours=$(seconds "$res" extract "$lod")
    unz=$(seconds unzip -q -o "$zip")
    tar=$(seconds bsdtar -xf "$zip")
    echo "$ours" >>"$work/ours"; echo "$unz" >>"$work/unzip"; echo "$tar" >>"$work/bsdtar"
    echo "$ours / $unz" | bc -l >>"$work/r_unzip"
    echo "$ours / $tar" | bc -l >>"$work/r_bsdtar"
    printf 'round %d: brasvel-res %.3f s, unzip %.3f s, bsdtar %.3f s\n' "$round" "$ours" "$unz" "$tar"
done

echo "== extraction of $(du -sh "$lod" | cut -f1) LOD ($entries entries), median of $rounds rounds"
printf 'brasvel-res %s s, unzip %s s, bsdtar %s s\n' "$(median <"$work/ours")" "$(median <"$work/unzip")" "$(median <"$work/bsdtar")"
printf 'ratio to unzip: %s (target <= 0.25), ratio to bsdtar: %s\n' "$(median <"$work/r_unzip")" "$(median <"$work/r_bsdtar")"

echo "== peak memory of one extraction"
folder=$work/memory; mkdir "$folder"
(cd "$folder" && /usr/bin/time -v "$res" extract "$lod" 2>&1 >/dev/null | grep -E 'Maximum resident') || true

echo "== listing 15011 entries"
: >"$work/r_list"
for ((round = 1; round <= rounds; round++)); do
    ours=$(seconds "$res" list --json "$PWD/$data/list.lod")
    unz=$(seconds unzip -l "$PWD/$data/list.zip")
    echo "$ours / $unz" | bc -l >>"$work/r_list"
done
printf 'list --json / unzip -l: %s (target <= 2)\n' "$(median <"$work/r_list")"

if [[ -x build/bin/frame-bench ]]; then
    echo "== sprite frame decoding against inflating the same sprite"
    build/bin/frame-bench $( ((quick)) && echo --benchmark_min_time=0.01 )
fi
