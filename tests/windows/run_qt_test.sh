#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# SPDX-FileCopyrightText: 2026 Brasvel Resource Editor maintainers
# run_qt_test.sh WINE TEST.exe LOG: runs a Qt Test program of the Windows build under wine with
# its report written to LOG (a Qt Test program there prints nothing to a standard output that is
# not a console), then prints the report, and exits with the program's code.
set -uo pipefail
wine=$1 program=$2 log=$3
rm -f "$log"
"$wine" "$program" -o "Z:${log},txt"
code=$?
[[ -f $log ]] && cat "$log"
exit "$code"
