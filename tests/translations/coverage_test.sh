#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# SPDX-FileCopyrightText: 2026 Brasvel Resource Editor maintainers
# coverage_test.sh LUPDATE
# The English translation covers every text of the tables: the committed .ts has no unfinished,
# empty or vanished message, and lupdate run over today's sources into a copy of it finds no
# new text and none gone.
set -uo pipefail
lupdate=$1
root=$(cd "$(dirname "$0")/../.." && pwd)
committed=$root/translations/brasvel-resedit_en.ts
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
failures=0
fail() {
    echo "FAIL: $*"
    failures=$((failures + 1))
}

# The messages of a .ts, one a line (the line breaks within a text dropped).
messages() {
    sed -n '/<message>/,/<\/message>/p' "$1" | tr '\n' '\r' |
        sed 's#</message>#&\n#g' | tr -d '\r'
}

# The messages whose translation is not done, one source text a line.
undone() {
    messages "$1" |
        grep -E 'type="(unfinished|vanished|obsolete)"|<translation></translation>|<translation/>' |
        sed 's#.*<source>\(.*\)</source>.*#\1#'
}

# The numbers filled in (%1, %2) of a text, sorted, on one line.
placeholders() { grep -o '%[1-9]' | sort | tr -d '\n'; }

[[ -f $committed ]] || { echo "FAIL: $committed is missing"; exit 1; }
left=$(undone "$committed")
[[ -z $left ]] && grep -q '<translation>' "$committed" || fail "the committed .ts leaves texts undone:
$left"

# A translation fills in the same numbers and names as its source, wherever it puts them.
while IFS= read -r message; do
    source=$(sed 's#.*<source>\(.*\)</source>.*#\1#' <<<"$message")
    translation=$(sed -n 's#.*<translation>\(.*\)</translation>.*#\1#p' <<<"$message")
    [[ $(placeholders <<<"$source") == "$(placeholders <<<"$translation")" ]] ||
        fail "the translation of '$source' fills in other numbers: '$translation'"
done < <(messages "$committed")

cp "$committed" "$work/fresh.ts"
LUPDATE=$lupdate "$root/translations/update.sh" "$work/fresh.ts" >"$work/log" 2>&1 ||
    { cat "$work/log"; fail "lupdate failed"; }
left=$(undone "$work/fresh.ts")
[[ -z $left ]] || fail "texts of the tables not (or no longer) in the .ts; run translations/update.sh:
$left"
cmp -s "$committed" "$work/fresh.ts" || {
    diff -u "$committed" "$work/fresh.ts" | head -40
    fail "lupdate changes the committed .ts; run translations/update.sh"
}

((failures == 0)) || exit 1
echo "translations: every text of the tables is translated"
