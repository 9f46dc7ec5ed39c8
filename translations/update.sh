#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# SPDX-FileCopyrightText: 2026 Brasvel Resource Editor maintainers
# update.sh [TS_FILE [LUPDATE_OPTION...]]
# Collects every text of the window's tables (window/WindowTexts.h, marked BRASVEL_TRANSLATE_NOOP,
# and app/AppTexts.h, marked QT_TRANSLATE_NOOP) into TS_FILE, by default the English translation
# beside this script. New texts come in unfinished, for a translator (linguist) to fill in; texts
# gone from the tables are dropped unless LUPDATE_OPTION says otherwise.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
ts=$(realpath -m "${1:-$root/translations/brasvel-resedit_en.ts}")
shift $(($# > 0 ? 1 : 0))
options=("$@")
((${#options[@]} > 0)) || options=(-no-obsolete)
lupdate=${LUPDATE:-/usr/lib/qt6/bin/lupdate}
cd "$root"
"$lupdate" -silent -tr-function-alias QT_TRANSLATE_NOOP+=BRASVEL_TRANSLATE_NOOP \
    -source-language pl_PL -target-language en_GB -locations none "${options[@]}" \
    window app -ts "$ts"
