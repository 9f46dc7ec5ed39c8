#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# SPDX-FileCopyrightText: 2026 Brasvel Resource Editor maintainers
# Fuzzing of the core's parsers with libFuzzer (clang, the "fuzz" preset).
#
#   tools/fuzz.sh build                          configure and build the targets, make the seeds
#   tools/fuzz.sh run [SECONDS] [--no-merge] [TARGET...]
#                                                fuzz each target for SECONDS (default 45), then
#                                                merge what it found into fuzz/corpus/TARGET
#   tools/fuzz.sh replay [TARGET...]             run every target once over its committed corpus
#                                                and its seeds; fails on any crash
#   tools/fuzz.sh stats                          CPU time and executions spent per target so far
#
# Every run starts from the seeds (made by our writers), the committed corpus and the working
# corpus fuzz/corpus-work/TARGET, which is not committed. The merge keeps the committed corpus
# minimal: only inputs that add coverage go in. Crashes land in fuzz/artifacts/TARGET/.
# Each run is logged in build-fuzz/fuzz-runs.tsv (target, seconds of CPU, executions).
set -euo pipefail
cd "$(dirname "$0")/.."

readonly targets_all=(lod_directory snd_directory vid_directory lod_inflate pcx_conv def_sprite
    video_decode png_decode bmp_decode def_encode archive_rewrite
    archive_reads format_check font_mask wave_sound)
readonly build=build-fuzz
readonly seeds=$build/seeds
readonly log=$build/fuzz-runs.tsv
readonly max_corpus_files=300

max_len() {
    case "$1" in
        lod_directory | snd_directory | vid_directory | pcx_conv | bmp_decode | archive_rewrite | format_check) echo 8192 ;;
        *) echo 16384 ;;
    esac
}

corpus_kib() {
    find "$1" -type f -printf '%s\n' | awk '{total += $1} END {printf "%d", (total + 1023) / 1024}'
}

build_targets() {
    # Set by long runs that fuzz several targets side by side over one build.
    [[ ${FUZZ_SKIP_BUILD:-} == 1 ]] && return 0
    if [[ ! -f $build/build.ninja ]]; then
        cmake --preset fuzz >/dev/null
    fi
    cmake --build --preset fuzz -j 2 >/dev/null
    rm -rf "$seeds"
    "$build/bin/fuzz-make-seeds" "$seeds"
}

fuzz_options() {
    local target=$1
    local options=(-max_len="$(max_len "$target")" -timeout=10 -rss_limit_mb=2048
        -artifact_prefix="fuzz/artifacts/$target/" -print_final_stats=1)
    [[ -f fuzz/dict/$target.dict ]] && options+=(-dict="fuzz/dict/$target.dict")
    echo "${options[@]}"
}

run_target() {
    local target=$1 seconds=$2 merge=$3
    local binary=$build/bin/fuzz_$target
    local work=fuzz/corpus-work/$target corpus=fuzz/corpus/$target output
    mkdir -p "$work" "$corpus" "fuzz/artifacts/$target"
    output=$(mktemp)
    local status=0
    # shellcheck disable=SC2046
    /usr/bin/time -f 'cpu_seconds: %U %S' "$binary" $(fuzz_options "$target") \
        -max_total_time="$seconds" "$work" "$corpus" "$seeds/$target" >"$output" 2>&1 || status=$?
    local cpu executions
    cpu=$(awk '/^cpu_seconds:/ {print $2 + $3}' "$output" | tail -1)
    executions=$(awk '/stat::number_of_executed_units:/ {print $2}' "$output" | tail -1)
    printf '%s\t%s\t%s\t%s\n' "$target" "${cpu:-0}" "${executions:-0}" "$(date -u +%FT%TZ)" >>"$log"
    grep -E '^Done [0-9]+ runs|ERROR|SUMMARY|Test unit written' "$output" || true
    if ((status != 0)); then
        echo "fuzz: $target FAILED (exit $status); the last lines of its output:"
        tail -40 "$output"
    fi
    rm -f "$output"
    if [[ $merge == yes && $status == 0 ]]; then
        merge_corpus "$target"
    fi
    return $status
}

# Keeps in fuzz/corpus/TARGET only the inputs (of the committed and the working corpus) that add
# coverage.
merge_corpus() {
    local target=$1
    local corpus=fuzz/corpus/$target merged=fuzz/corpus/$target.merging
    rm -rf "$merged"
    mkdir -p "$merged"
    # shellcheck disable=SC2046
    "$build/bin/fuzz_$target" $(fuzz_options "$target") -merge=1 "$merged" "$corpus" \
        "fuzz/corpus-work/$target" >/dev/null 2>&1
    # Loop counters make many inputs look new; past the size we commit, keep by edges alone.
    if (($(find "$merged" -type f | wc -l) > max_corpus_files)); then
        rm -rf "$merged"
        mkdir -p "$merged"
        # shellcheck disable=SC2046
        "$build/bin/fuzz_$target" $(fuzz_options "$target") -merge=1 -use_counters=0 \
            "$merged" "$corpus" "fuzz/corpus-work/$target" >/dev/null 2>&1
    fi
    rm -rf "$corpus"
    mv "$merged" "$corpus"
    echo "fuzz: $target corpus: $(find "$corpus" -type f | wc -l) files," \
        "$(corpus_kib "$corpus") KiB"
}

replay_target() {
    local target=$1
    local corpus=fuzz/corpus/$target
    mkdir -p "$corpus" "fuzz/artifacts/$target"
    local output status=0
    output=$(mktemp)
    # shellcheck disable=SC2046
    "$build/bin/fuzz_$target" $(fuzz_options "$target") -runs=0 "$corpus" "$seeds/$target" \
        >"$output" 2>&1 || status=$?
    if ((status != 0)); then
        echo "fuzz: replay of $target FAILED"
        tail -40 "$output"
    else
        echo "fuzz: replay of $target: $(find "$corpus" -type f | wc -l) corpus files and" \
            "$(find "$seeds/$target" -type f | wc -l) seeds, no finding"
    fi
    rm -f "$output"
    return $status
}

print_stats() {
    [[ -f $log ]] || { echo "no runs logged yet"; return 0; }
    awk -F'\t' '{cpu[$1] += $2; runs[$1] += $3}
        END {for (t in cpu) printf "%-14s %7.1f CPU-minutes %12d executions\n", t, cpu[t] / 60, runs[t]}' \
        "$log" | sort
    for target in "${targets_all[@]}"; do
        [[ -d fuzz/corpus/$target ]] &&
            echo "$target corpus: $(find "fuzz/corpus/$target" -type f | wc -l) files," \
                "$(corpus_kib "fuzz/corpus/$target") KiB"
    done
}

command=${1:-}
[[ $# -gt 0 ]] && shift
case "$command" in
    build)
        build_targets
        ;;
    run)
        seconds=45
        merge=yes
        chosen=()
        for argument in "$@"; do
            case "$argument" in
                --no-merge) merge=no ;;
                [0-9]*) seconds=$argument ;;
                *) chosen+=("$argument") ;;
            esac
        done
        ((${#chosen[@]} > 0)) || chosen=("${targets_all[@]}")
        build_targets
        failed=()
        for target in "${chosen[@]}"; do
            echo "fuzz: $target for $seconds s"
            run_target "$target" "$seconds" "$merge" || failed+=("$target")
        done
        echo "fuzz: $((${#chosen[@]} - ${#failed[@]})) passed, ${#failed[@]} failed"
        if ((${#failed[@]} > 0)); then
            echo "fuzz: findings in ${failed[*]}; inputs in fuzz/artifacts/"
            exit 1
        fi
        ;;
    replay)
        chosen=("$@")
        ((${#chosen[@]} > 0)) || chosen=("${targets_all[@]}")
        build_targets
        failed=()
        for target in "${chosen[@]}"; do
            replay_target "$target" || failed+=("$target")
        done
        echo "replay: $((${#chosen[@]} - ${#failed[@]})) passed, ${#failed[@]} failed"
        if ((${#failed[@]} > 0)); then
            echo "fuzz: replay failed for ${failed[*]}"
            exit 1
        fi
        ;;
    stats)
        print_stats
        ;;
    *)
        sed -n '2,16p' "$0"
        exit 2
        ;;
esac
