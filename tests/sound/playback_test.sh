#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# SPDX-FileCopyrightText: 2026 Brasvel Resource Editor maintainers
# Hears the window's sound: a private PulseAudio server with a null sink stands in for the sound
# card, the probe plays a 440 Hz tone through the real player (a WAV, then a video's sound streamed
# as it plays), the sink's monitor is recorded, and sox checks the recording's level and pitch.
# Exits 77 (skipped) when the sound stack cannot start.
set -uo pipefail
probe=$1
frequency=440

skip() { echo "SKIPPED: $*"; exit 77; }
for tool in pulseaudio pactl parecord sox; do
    command -v "$tool" >/dev/null || skip "$tool is not installed"
done

work=$(mktemp -d "${TMPDIR:-/tmp}/brasvel-sound.XXXXXX")
export XDG_RUNTIME_DIR=$work/runtime
export PULSE_SERVER=unix:$XDG_RUNTIME_DIR/pulse/native
mkdir -m 700 "$XDG_RUNTIME_DIR"
cleanup() {
    [[ -n "${recorder:-}" ]] && kill "$recorder" 2>/dev/null
    pactl exit 2>/dev/null
    [[ -n "${server:-}" ]] && kill "$server" 2>/dev/null
    wait 2>/dev/null
    rm -rf "$work"
}
trap cleanup EXIT

pulseaudio -n --daemonize=no --exit-idle-time=-1 --disallow-exit --disable-shm \
    -L "module-null-sink sink_name=probe norewinds=1" -L module-native-protocol-unix \
    --log-target=file:"$work/pulse.log" &
server=$!
for _ in $(seq 50); do
    pactl info >/dev/null 2>&1 && break
    sleep 0.1
done
pactl info >/dev/null 2>&1 || skip "PulseAudio did not start: $(tail -3 "$work/pulse.log" 2>/dev/null)"
pactl set-default-sink probe

# Once as a sound archive's WAV, once as a video's sound streamed as it plays.
for mode in sound video; do
    rm -f "$work/heard.wav"
    parecord -d probe.monitor --file-format=wav "$work/heard.wav" &
    recorder=$!
    sleep 0.3
    if ! "$probe" "$work" "$frequency" 1.0 $([[ $mode == video ]] && echo video); then
        echo "FAILED: the probe could not play the tone ($mode)"
        exit 1
    fi
    sleep 0.3
    kill "$recorder"
    wait "$recorder" 2>/dev/null
    recorder=

    # Keep the sounding part only, then read its level and pitch.
    stats=$(sox "$work/heard.wav" -n remix 1 silence 1 0.05 1% reverse silence 1 0.05 1% reverse \
        stat 2>&1)
    level=$(awk '/RMS +amplitude/ {print $3}' <<<"$stats")
    pitch=$(awk '/Rough +frequency/ {print $3}' <<<"$stats")
    length=$(awk '/Length/ {print $3}' <<<"$stats")
    echo "$mode: heard ${length:-0} s at RMS ${level:-0}, rough frequency ${pitch:-0} Hz"
    awk -v l="${level:-0}" -v p="${pitch:-0}" -v f="$frequency" -v s="${length:-0}" \
        'BEGIN { exit !(l > 0.1 && p > f - 25 && p < f + 25 && s > 0.8) }' ||
        { echo "FAILED: expected about 1 s of a ${frequency} Hz tone ($mode)"; exit 1; }
done
echo "PASSED: the tone was heard"
