#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# SPDX-FileCopyrightText: 2026 Brasvel Resource Editor maintainers
# notices_test.sh THIRD-PARTY.txt LINKER-MAP...
# Every library archive the linker took into a shipped .exe (its map's list of archive members)
# has its notice in THIRD-PARTY.txt: named on a "Linked as:" line, or, for the many Windows import
# libraries of one Debian package, by that package on a "Debian package:" line.
set -uo pipefail
notices=$1
shift
failures=0
archives=$(sed -n 's/^\(\/[^( ]*\.a\)(.*/\1/p' "$@" | xargs -r realpath -m | sort -u)
[[ -n $archives ]] || { echo "FAIL: no archive members in the linker maps $*"; exit 1; }
linked_as=$(sed -n 's/^Linked as: //p' "$notices" | tr ' ' '\n')
for archive in $archives; do
  grep -qxF "${archive##*/}" <<<"$linked_as" && continue
  package=$(dpkg -S "$archive" 2>/dev/null | head -n 1 | cut -d: -f1)
  if [[ -n $package ]] && grep -q "^Debian package: $package " "$notices"; then
    continue
  fi
  echo "FAIL: $archive (${package:-built here}) is linked but THIRD-PARTY.txt has no notice for it"
  failures=$((failures + 1))
done
echo "$(wc -w <<<"$archives") archives checked"
((failures == 0))
