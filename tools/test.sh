#!/usr/bin/env bash
# Builds everything and runs every test: the optimised build with the window and its tests, then
# the core and its tests again under AddressSanitizer and UndefinedBehaviorSanitizer.
set -euo pipefail
cd "$(dirname "$0")/.."

tools/setup.sh

cmake --preset release >/dev/null
cmake --build --preset release -j "$(nproc)"
ctest --preset release -j 2

cmake --preset sanitize >/dev/null
cmake --build --preset sanitize -j "$(nproc)"
ctest --preset sanitize -j 2
