#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# SPDX-FileCopyrightText: 2026 Brasvel Resource Editor maintainers
# Times brasvel-res against unzip and bsdtar on the same entries, in one run, and reports the
# ratios; then the start-up of the program and of the window (libraries initialised, median
# times; against an earlier build where BRASVEL_RES_BEFORE, BRASVEL_RESEDIT_BEFORE name one), the
# listing, the peak memory of an extraction, sprite frame decoding and encoding against
# inflating, and the first frame of a video. It never fails because of a figure: the
# targets are printed next to the ratios.
#
# Then bench/many.sh: find, grep and diff over many archives.
#
# usage: bench/run.sh [--quick] [ROUNDS] [ENTRIES]
#   --quick  a small set, one round, short frame runs: a smoke run (well under a minute) that
#            checks the benchmark still works; its figures are rough
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
cmake --build --preset release -j 2 --target brasvel-res make-bench-archives frame-bench \
    video-bench >/dev/null

data=build/bench-data/$entries
[[ -f $data/big.lod && -f $data/pictures.lod ]] || build/bin/make-bench-archives "$data" "$entries"
work=$(mktemp -d "${TMPDIR:-/tmp}/brasvel-bench.XXXXXX")
# Ext4 without a journal passes over recently freed inodes one by one when it creates a file, for
# minutes after thousands were deleted nearby. So every run writes into a fresh folder, the
# folders are spread over the file system's groups (+T) instead of piling up in the one group
# earlier runs freed, and they are all deleted only at the end, in the background: with online
# discard, deleting thousands of files takes minutes. Runs in quick succession still disturb each
# other.
chattr +T "$work" 2>/dev/null || true
trap '(nohup rm -rf "$work" >/dev/null 2>&1 &)' EXIT
res=$PWD/build/bin/brasvel-res
lod=$PWD/$data/big.lod
zip=$PWD/$data/big.zip

# Runs a command in a fresh folder, with no earlier writes pending, and prints the seconds it
# took and the processor seconds (user and system, all threads) it used.
timed() {
    local folder=$work/run.$RANDOM$RANDOM
    mkdir "$folder"
    sync
    local start end
    start=$(date +%s.%N)
    (cd "$folder" && /usr/bin/time -f '%U %S' -o "$work/cpu" "$@" >/dev/null)
    end=$(date +%s.%N)
    echo "$(echo "$end - $start" | bc -l) $(awk '{print $1 + $2}' "$work/cpu")"
}

div() { awk -v a="$1" -v b="$2" 'BEGIN {if (b > 0) printf "%.4f\n", a / b; else print "nan"}'; }
median() { sort -g | awk '{a[NR]=$1} END {m=(NR%2)?a[(NR+1)/2]:(a[NR/2]+a[NR/2+1])/2; printf "%.3g", m}'; }

echo "== machine: $(nproc) cores, $(grep -m1 'model name' /proc/cpuinfo | cut -d: -f2 | sed 's/^ //'), load $(cut -d' ' -f1-3 /proc/loadavg)"

echo "== extraction: $(du -h "$lod" | cut -f1) LOD of $entries entries, alternating rounds"
for name in ours unzip bsdtar r_unzip r_bsdtar r_list c_unzip c_bsdtar; do : >"$work/$name"; done
for ((round = 1; round <= rounds; round++)); do
    read -r ours ours_cpu < <(timed "$res" extract "$lod")
    read -r unz unz_cpu < <(timed unzip -q -o "$zip")
    read -r tar tar_cpu < <(timed bsdtar -xf "$zip")
    echo "$ours" >>"$work/ours"; echo "$unz" >>"$work/unzip"; echo "$tar" >>"$work/bsdtar"
    div "$ours" "$unz" >>"$work/r_unzip"
    div "$ours" "$tar" >>"$work/r_bsdtar"
    div "$ours_cpu" "$unz_cpu" >>"$work/c_unzip"
    div "$ours_cpu" "$tar_cpu" >>"$work/c_bsdtar"
    printf 'round %d: brasvel-res %.3f s (cpu %.2f s), unzip %.3f s (cpu %.2f s), bsdtar %.3f s (cpu %.2f s)\n' \
        "$round" "$ours" "$ours_cpu" "$unz" "$unz_cpu" "$tar" "$tar_cpu"
done
extract_ours=$(median <"$work/ours")
extract_unzip=$(median <"$work/unzip")
extract_bsdtar=$(median <"$work/bsdtar")
ratio_unzip=$(median <"$work/r_unzip")
ratio_bsdtar=$(median <"$work/r_bsdtar")
cpu_unzip=$(median <"$work/c_unzip")
cpu_bsdtar=$(median <"$work/c_bsdtar")

echo "== peak memory of one extraction"
folder=$work/memory
mkdir "$folder"
peak_kb=$(cd "$folder" && /usr/bin/time -v "$res" extract "$lod" 2>&1 >/dev/null |
    awk -F: '/Maximum resident/ {gsub(/ /, "", $2); print $2}')
largest_kb=$("$res" list --json "$lod" | grep -o '"size":[0-9]*' | cut -d: -f2 | sort -n | tail -1 |
    awk '{printf "%d", $1 / 1024}')
archive_kb=$(du -k "$lod" | cut -f1)
echo "maximum resident set ${peak_kb} KB; largest entry ${largest_kb} KB, archive ${archive_kb} KB"

echo "== start-up: the libraries mapped and the median wall time of --version and of listing a small archive"
small=$work/small
mkdir -p "$small/files"
for name in A.TXT B.TXT C.DEF; do head -c 2000 /dev/urandom >"$small/files/$name"; done
"$res" create "$small/small.lod" "$small/files" >/dev/null
(cd "$small/files" && zip -q ../small.zip ./*)
# Libraries the loader initialised, from its own account of them.
libraries() { LD_DEBUG=libs "$@" 2>&1 >/dev/null | grep -c 'calling init:' || true; }
ffmpeg_mapped() { LD_DEBUG=libs "$@" 2>&1 >/dev/null | grep -c 'calling init:.*/libav' || true; }
startup_runs=300
((quick)) && startup_runs=30
# The median of a command's wall time over many runs, in milliseconds (hyperfine, no shell).
median_ms() {
    hyperfine -N --warmup 10 --runs "$startup_runs" --export-json "$work/startup.json" "$*" >/dev/null 2>&1
    python3 -c 'import json,sys; print("%.2f" % (json.load(open(sys.argv[1]))["results"][0]["median"] * 1000))' "$work/startup.json"
}
libs_version=$(libraries "$res" --version)
libs_list=$(libraries "$res" list "$small/small.lod")
ffmpeg_list=$(ffmpeg_mapped "$res" list "$small/small.lod")
startup_version=$(median_ms "$res" --version)
startup_list=$(median_ms "$res" list "$small/small.lod")
startup_unzip=$(median_ms unzip -l "$small/small.zip")
startup_line="--version ${startup_version} ms, list of 3 entries ${startup_list} ms, unzip -l of them ${startup_unzip} ms: $(div "$startup_list" "$startup_unzip") of unzip; libraries initialised ${libs_version} (--version), ${libs_list} (list), of them FFmpeg's ${ffmpeg_list}"
# Set BRASVEL_RES_BEFORE to an earlier build's program to compare with it in the same run.
if [[ -n ${BRASVEL_RES_BEFORE:-} ]]; then
    before_version=$(median_ms "$BRASVEL_RES_BEFORE" --version)
    before_list=$(median_ms "$BRASVEL_RES_BEFORE" list "$small/small.lod")
    startup_line+="; before: --version ${before_version} ms, list ${before_list} ms, libraries $(libraries "$BRASVEL_RES_BEFORE" --version) ($(div "$startup_version" "$before_version") and $(div "$startup_list" "$before_list") of before)"
fi
echo "$startup_line"

echo "== window: from its start to the first painted list of the demo archive (offscreen)"
app=$PWD/build/bin/brasvel-resedit
window_line="not built"
if [[ -x $app && -f build/demo/demo.lod ]]; then
    # Its own settings folder: opening an archive remembers it among the recent ones.
    export XDG_CONFIG_HOME=$work/config QT_QPA_PLATFORM=offscreen
    : >"$work/window"
    for ((round = 1; round <= 4 * rounds; round++)); do
        start=$(date +%s.%N)
        painted=$("$app" --first-paint "$PWD/build/demo/demo.lod" 2>/dev/null)
        awk -v a="$start" -v b="$painted" 'BEGIN {printf "%.1f\n", (b - a) * 1000}' >>"$work/window"
    done
    # The same start with FFmpeg's libraries loaded up front, as when the programs linked them.
    ffmpeg=$(ldd build/bin/libbrasvel-video.so | awk '/libav|libsw/ {printf "%s ", $3}')
    : >"$work/window_ffmpeg"
    for ((round = 1; round <= 4 * rounds; round++)); do
        start=$(date +%s.%N)
        painted=$(LD_PRELOAD=$ffmpeg "$app" --first-paint "$PWD/build/demo/demo.lod" 2>/dev/null)
        awk -v a="$start" -v b="$painted" 'BEGIN {printf "%.1f\n", (b - a) * 1000}' >>"$work/window_ffmpeg"
    done
    window_line="first painted list $(median <"$work/window") ms (median of $((4 * rounds))), with FFmpeg loaded at start as when linked $(median <"$work/window_ffmpeg") ms; the window built (--print-texts) $(median_ms "$app" --print-texts) ms, libraries initialised $(libraries "$app" --print-texts)"
    # BRASVEL_RESEDIT_BEFORE: an earlier build's window, compared in the same run.
    if [[ -n ${BRASVEL_RESEDIT_BEFORE:-} ]]; then
        window_line+="; before: the window built $(median_ms "$BRASVEL_RESEDIT_BEFORE" --print-texts) ms, libraries $(libraries "$BRASVEL_RESEDIT_BEFORE" --print-texts)"
    fi
    unset XDG_CONFIG_HOME QT_QPA_PLATFORM
fi
echo "$window_line"

echo "== listing 15011 entries: list --json against unzip -l, alternating rounds"
for ((round = 1; round <= rounds; round++)); do
    read -r ours _ < <(timed "$res" list --json "$PWD/$data/list.lod")
    read -r unz _ < <(timed unzip -l "$PWD/$data/list.zip")
    div "$ours" "$unz" >>"$work/r_list"
    printf 'round %d: list --json %.3f s, unzip -l %.3f s\n' "$round" "$ours" "$unz"
done
ratio_list=$(median <"$work/r_list")

echo "== sprite frame decoding and encoding against inflating the same sprite (bytes of the sprite file per s)"
min_time=0.5
((quick)) && min_time=0.02
build/bin/frame-bench --benchmark_min_time=$min_time --benchmark_format=csv 2>/dev/null |
    tr -d '"' >"$work/frames.csv"
declare -A rate
while IFS=, read -r name _ _ cpu unit bytes _; do
    [[ $name == inflateSprite/* || $name == decodeAllFrames/* || $name == encodeSprite/* ||
        $name == frameStep/* ]] || continue
    rate[$name]=$bytes
    if [[ $name == frameStep/* ]]; then
        rate[$name]=$(awk -v t="$cpu" -v u="$unit" 'BEGIN {printf "%.0f %s", t, u}')
    fi
done <"$work/frames.csv"
frames=""
for type in 1 2 3; do
    inflate=${rate[inflateSprite/$type]}
    decode=${rate[decodeAllFrames/$type]}
    encode=${rate[encodeSprite/$type]}
    line=$(awk -v t="$type" -v d="$decode" -v i="$inflate" -v e="$encode" -v step="${rate[frameStep/$type]}" \
        'BEGIN {printf "type %d: decode %4.0f MB/s, inflate %4.0f MB/s, ratio %.2f (target >= 0.5); one frame step %s; DEF encoding %4.0f MB/s, %.2f of inflating (target >= 1)", t, d / 1e6, i / 1e6, d / i, step, e / 1e6, e / i}')
    echo "$line"
    frames+="$line"$'\n'
done

echo "== video: open a 640 x 480 clip from memory and decode its first frame"
# One run per benchmark: the CSV reporter takes its columns from the first benchmark's counters
# and aborts on a counter the header lacks (jumpFarIn counts the frames it decodes).
for bench in openAndFirstFrame frameStep jumpFarIn/seeking jumpFarIn/readingOn; do
    build/bin/video-bench --benchmark_filter="^$bench\$" --benchmark_min_time=$min_time \
        --benchmark_format=csv 2>/dev/null | tr -d '"'
done >"$work/video.csv"
video=""
while IFS=, read -r name _ real cpu unit _; do
    case $name in
        openAndFirstFrame)
            video+="open + first frame $(printf '%.1f' "$real") $unit, processor $(printf '%.1f' "$cpu") $unit (target < 100 ms); " ;;
        frameStep) video+="one frame step $(printf '%.1f' "$real") $unit; " ;;
        jumpFarIn/seeking) video+="a jump far into a 320 x 240 clip $(printf '%.1f' "$real") $unit, " ;;
        jumpFarIn/readingOn) video+="reading on to its key frame $(printf '%.1f' "$real") $unit" ;;
    esac
done <"$work/video.csv"
echo "$video"
echo "== PNG export of every picture and sprite frame against ImageMagick's convert of the same BMPs"
pics=$PWD/$data/pictures.lod
# ImageMagick's own convert, as Debian installs it, whatever else PATH may find first.
magick_convert=/usr/bin/convert
[[ -x $magick_convert ]] || magick_convert=$(command -v convert)
bmps=$work/bmps
mkdir -p "$bmps"
pictures=$("$res" list "$pics" --type pcx | cut -f1 | grep -v '^Total')
sprites=$("$res" list "$pics" --type def | cut -f1 | grep -v '^Total')
# ImageMagick starts from the BMPs our extraction and convert write: every picture, every frame.
(cd "$bmps" && "$res" extract "$pics" --type pcx >/dev/null)
frame_count=0
for s in $sprites; do
    n=$("$res" info "$pics" "$s" --json | sed 's/.*"frames":\([0-9]*\).*/\1/')
    for ((f = 1; f <= n; f++)); do
        "$res" convert "$pics" "$s" --frame "$f" -o "$bmps/${s%.*}-$f.bmp" >/dev/null
    done
    frame_count=$((frame_count + n))
done
# Ours: one convert per picture and one sprite export per sprite (which writes every frame, and
# the sheet and the animations besides); ImageMagick: one convert over all the BMPs.
{
    for p in $pictures; do echo "\"$res\" convert \"$pics\" $p -o ${p%.*}.png"; done
    for s in $sprites; do echo "\"$res\" sprite export \"$pics\" $s -o ${s%.*}"; done
} >"$work/png-ours.sh"
: >"$work/r_png"
for ((round = 1; round <= rounds; round++)); do
    read -r ours _ < <(timed bash "$work/png-ours.sh")
    read -r magick _ < <(timed "$magick_convert" "$bmps"/*.bmp +adjoin out-%d.png)
    div "$ours" "$magick" >>"$work/r_png"
    printf 'round %d: brasvel-res %.3f s, ImageMagick convert %.3f s\n' "$round" "$ours" "$magick"
done
ratio_png=$(median <"$work/r_png")

cat <<EOF

================ summary ================
machine     $(nproc) cores, $(grep -m1 'model name' /proc/cpuinfo | cut -d: -f2 | sed 's/^ //')
extraction  $entries entries, median of $rounds rounds: brasvel-res $extract_ours s, unzip $extract_unzip s, bsdtar $extract_bsdtar s
            ratio to unzip $ratio_unzip (target <= 0.25), ratio to bsdtar $ratio_bsdtar
            processor time (user + system) ratio to unzip $cpu_unzip, to bsdtar $cpu_bsdtar
memory      peak resident ${peak_kb} KB; largest entry ${largest_kb} KB; archive ${archive_kb} KB
start-up    $startup_line (target: no FFmpeg library, --version <= 5 ms)
window      $window_line
listing     list --json / unzip -l on 15011 entries: $ratio_list (target <= 0.5)
frames      decoding every frame to a BMP / inflating the sprite, and encoding the sprite from
            its frames / inflating it, per compression type:
$(printf '%s' "$frames" | sed 's/^/            /')
video       640 x 480 clip (FFV1 in AVI): $video
png export  $(echo $pictures | wc -w) pictures and $frame_count sprite frames to PNG / ImageMagick convert of their BMPs: $ratio_png (target <= 0.5)
=========================================
EOF

# find, grep and diff over many archives, with their own summary.
if ((quick)); then
    bench/many.sh --quick
else
    bench/many.sh "$rounds" "$entries"
fi
