#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# SPDX-FileCopyrightText: 2026 Brasvel Resource Editor maintainers
# Builds everything and opens the demo archive in the window. Extra arguments replace the demo
# archive (for example: tools/run.sh path/to/archive.lod).
set -euo pipefail
cd "$(dirname "$0")/.."

tools/setup.sh
cmake --preset release >/dev/null
cmake --build --preset release -j "$(nproc)"

archive=("$@")
((${#archive[@]} > 0)) || archive=(build/demo/demo.lod)

if [[ -n "${DISPLAY:-}" || -n "${WAYLAND_DISPLAY:-}" ]]; then
    exec build/bin/brasvel-resedit "${archive[@]}"
fi

# No screen to show the window on: say how to get one, and list the archive on the terminal.
cat <<MESSAGE
No display found (neither DISPLAY nor WAYLAND_DISPLAY is set), so the window cannot open here.
Run it from a desktop session:
    build/bin/brasvel-resedit ${archive[*]}
or save a picture of it on a virtual screen:
    xvfb-run -s "-screen 0 1280x800x24" build/bin/brasvel-resedit --screenshot window.png ${archive[*]}
The archive's entries, from the command line:
MESSAGE
build/bin/brasvel-res list "${archive[@]}"
