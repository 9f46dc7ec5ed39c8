#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# SPDX-FileCopyrightText: 2026 Brasvel Resource Editor maintainers
# Builds everything and runs every test: the optimised build with the window and its tests, the
# command line for Windows and its tests under wine, then the core and its tests again under
# AddressSanitizer and UndefinedBehaviorSanitizer.
set -euo pipefail
cd "$(dirname "$0")/.."

tools/setup.sh

cmake --preset release >/dev/null
cmake --build --preset release -j "$(nproc)"
ctest --preset release -j 2

# The command line cross-built for Windows, its tests under wine, and the comparison with the
# Linux program just built.
tools/build-windows.sh

cmake --preset sanitize >/dev/null
cmake --build --preset sanitize -j "$(nproc)"
ctest --preset sanitize -j 2

# The parsers under libFuzzer: every committed corpus input once, then a short fresh run of each
# target (30 s each).
tools/fuzz.sh replay
tools/fuzz.sh run 30 --no-merge

# A smoke run of the benchmarks: it checks they still run; their figures decide nothing here.
bench/run.sh --quick
