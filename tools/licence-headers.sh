#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# SPDX-FileCopyrightText: 2026 Brasvel Resource Editor maintainers
# licence-headers.sh [--check] [FILE...]
# Puts the licence's two SPDX lines at the top of each source file that lacks them (after a "#!"
# line), or, with --check, lists the files that lack them and fails. Without FILEs: every source
# file git knows of (C++, CMake, shell and Python).
set -euo pipefail
cd "$(dirname "$0")/.."
check=0
if [[ ${1:-} == --check ]]; then
  check=1
  shift
fi
identifier='SPDX-License-Identifier: GPL-3.0-or-later'
holder='SPDX-FileCopyrightText: 2026 Brasvel Resource Editor maintainers'

source_files() {
  git ls-files -- '*.cpp' '*.h' '*.cmake' '*CMakeLists.txt' '*.sh' '*.py' '.ci/run' \
    'packaging/brasvel-res.bash'
}

comment_of() {
  case $1 in
    *.cpp | *.h) echo '//' ;;
    *) echo '#' ;;
  esac
}

if (($# == 0)); then
  mapfile -t files < <(source_files)
else
  files=("$@")
fi
missing=0
for file in "${files[@]}"; do
  head -n 3 "$file" | grep -qF "$identifier" && continue
  if ((check)); then
    echo "no licence header: $file"
    missing=$((missing + 1))
    continue
  fi
  comment=$(comment_of "$file")
  header="$comment $identifier"$'\n'"$comment $holder"
  if head -n 1 "$file" | grep -q '^#!'; then
    { head -n 1 "$file"; echo "$header"; tail -n +2 "$file"; } >"$file.licence"
  else
    { echo "$header"; cat "$file"; } >"$file.licence"
  fi
  chmod --reference="$file" "$file.licence"
  mv "$file.licence" "$file"
done
if ((check && missing > 0)); then
  echo "$missing files lack the licence header: tools/licence-headers.sh adds it"
  exit 1
fi
