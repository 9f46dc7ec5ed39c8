#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# SPDX-FileCopyrightText: 2026 Brasvel Resource Editor maintainers
# A 320 MiB file is added, compressed and stored, by a program limited to 1 GiB of address space:
# its content is streamed in pieces, never held whole (let alone two or three times over).
# usage: memory_limit_test.sh BRASVEL_RES
set -euo pipefail
res=$1
work=$(mktemp -d "${TMPDIR:-/tmp}/brasvel-memory.XXXXXX")
trap 'rm -rf "$work"' EXIT
size=$((320 << 20))
{ yes 'A line of text that compresses well, as the game texts do. 0123456789' || true; } |
    head -c $size \
    >"$work/BIG.TXT"
head -c 5000 /dev/urandom >"$work/SMALL.BIN"

limited() { (ulimit -v $((1 << 20)) && "$res" "$@"); }

limited create "$work/packed.lod" "$work/BIG.TXT" "$work/SMALL.BIN" >/dev/null
limited create "$work/stored.lod" --store "$work/SMALL.BIN" >/dev/null
limited add "$work/stored.lod" --store "$work/BIG.TXT" >/dev/null
for archive in packed stored; do
    "$res" verify "$work/$archive.lod" >/dev/null
    listed=$("$res" list "$work/$archive.lod" | awk -F'\t' '$1 == "BIG.TXT" {print $2}')
    if [[ $listed != "$size" ]]; then
        echo "$archive.lod lists BIG.TXT with ${listed:-no} size, not $size" >&2
        exit 1
    fi
done
# The stored archive holds the file's bytes as they are: the data end with them.
stored_bytes=$(stat -c %s "$work/stored.lod")
if ((stored_bytes < size || stored_bytes > size + 400000)); then
    echo "stored.lod has $stored_bytes bytes for $size of content" >&2
    exit 1
fi
mkdir "$work/out"
(cd "$work/out" && limited extract "$work/packed.lod" BIG.TXT >/dev/null)
cmp "$work/BIG.TXT" "$work/out/BIG.TXT"
echo "320 MiB added and extracted under a 1 GiB limit"
