#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# SPDX-FileCopyrightText: 2026 Brasvel Resource Editor maintainers
# licence_test.sh SOURCE_DIR BRASVEL_RES
# The licence is said everywhere it must be: COPYING holds the GPL-3.0's text, every source file
# starts with its SPDX lines, and the program's --version names it.
set -uo pipefail
source_dir=$1 program=$2
failures=0
fail() {
  echo "FAIL: $*"
  failures=$((failures + 1))
}

gpl=/usr/share/common-licenses/GPL-3
if [[ -f $gpl ]]; then
  cmp -s "$source_dir/COPYING" "$gpl" || fail "COPYING is not the text of $gpl"
else
  grep -q 'GNU GENERAL PUBLIC LICENSE' "$source_dir/COPYING" &&
    grep -q 'Version 3, 29 June 2007' "$source_dir/COPYING" || fail "COPYING is not the GPL-3.0"
fi

if git -C "$source_dir" rev-parse --is-inside-work-tree >/dev/null 2>&1; then
  "$source_dir/tools/licence-headers.sh" --check || fail "source files without the licence header"
else
  echo "not a git checkout: the headers are not checked"
fi

"$program" --version | grep -q '^License GPL-3.0-or-later' ||
  fail "brasvel-res --version does not name the licence"

((failures == 0))
