#!/usr/bin/env bash
# Builds everything and shows the demo archives.
set -euo pipefail
cd "$(dirname "$0")/.."

tools/setup.sh
cmake --preset release >/dev/null
cmake --build --preset release -j "$(nproc)"
for archive in build/demo/demo.lod build/demo/demo.snd build/demo/demo.vid; do
    echo "== $archive"
    build/bin/brasvel-res list "$archive"
done
