#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# SPDX-FileCopyrightText: 2026 Brasvel Resource Editor maintainers
# docs_in_step_test.sh SOURCE_DIR BRASVEL_RES
# The manual page docs/man/brasvel-res.1.md is where the commands are described. This keeps the
# others in step with it: the synopsis of each command must read the same in the README's
# command-line block and in the program's usage text, and the bash completion must offer the same
# commands, the same options per command and the same --type items.
set -uo pipefail
source_dir=$1 program=$2
manual=$source_dir/docs/man/brasvel-res.1.md
failures=0
fail() {
    echo "FAIL: $*"
    failures=$((failures + 1))
}
squeeze() { tr -s ' \t' ' ' | sed 's/^ //; s/ $//'; }

# "**brasvel-res list** *ARCHIVE* [...]" or "**brasvel-res sprite export** *ARCHIVE* [...]" under
# "# COMMANDS", one per command block, read as plain text.
from_manual=$(sed -n '/^# COMMANDS/,/^# [A-Z]/p' "$manual" | grep '^\*\*brasvel-res [a-z]' |
    sed 's/[\\*]//g' | squeeze)
[[ -n $from_manual ]] || fail "no synopsis lines found in $manual"
# The README's block under "## Command line".
# shellcheck disable=SC2016 # the backquotes are Markdown's, not the shell's
from_readme=$(sed -n '/^## Command line/,/^## /p' "$source_dir/README.md" |
    sed -n '/^```sh/,/^```/p' | grep '^brasvel-res ' | squeeze)
# "  list ARCHIVE [...]", "  sprite import DIR [...]" in the usage text: a command of one or two
# words, then an argument in capitals; a long one goes on in lines indented deeper that start
# with "[".
from_usage=$("$program" --help | awk '
    /^  [a-z][a-z-]*( [a-z][a-z-]*)? [A-Z]/ { if (line) print line; line = $0; next }
    line && /^       +\[/ { line = line " " $0; next }
    { if (line) print line; line = "" }
    END { if (line) print line }' | sed 's/^/brasvel-res /' | squeeze)

compare() {
    local name=$1 lines=$2
    if [[ $lines != "$from_manual" ]]; then
        fail "the synopsis in $name differs from the manual page's:"
        diff <(echo "$from_manual") <(echo "$lines") | sed 's/^/    /'
    fi
}
compare README.md "$from_readme"
compare "brasvel-res --help" "$from_usage"

# The completion, asked as bash would ask it.
# shellcheck source=/dev/null
source "$source_dir/packaging/brasvel-res.bash"
offers() {
    COMP_WORDS=(brasvel-res "$@")
    COMP_CWORD=$#
    COMPREPLY=()
    _brasvel_res
    printf '%s\n' "${COMPREPLY[@]}" | LC_ALL=C sort | tr '\n' ' '
}
# A command is one word, or two ("sprite export") when the second is in lower case.
commands=$(awk '{print $2}' <<<"$from_manual" | LC_ALL=C sort -u | tr '\n' ' ')
completed=$(offers "" | sed 's/--help //; s/--version //')
[[ $completed == "$commands" ]] ||
    fail "the completion offers the commands '$completed', the manual page '$commands'"
for command in $commands; do
    second=$(awk -v c="$command" '$2 == c && $3 ~ /^[a-z]/ {print $3}' <<<"$from_manual" |
        LC_ALL=C sort | tr '\n' ' ')
    [[ -z $second ]] && continue
    completed=$(offers "$command" "")
    [[ $completed == "$second" ]] ||
        fail "the completion offers '$completed' after $command, the manual page '$second'"
done
while read -r _ command synopsis; do
    if [[ $synopsis =~ ^([a-z][-a-z]*)\ (.*)$ ]]; then
        command="$command ${BASH_REMATCH[1]}" synopsis=${BASH_REMATCH[2]}
    fi
    # Every option, whether in brackets ("[--json]") or not ("-o DIR").
    options=$(grep -oE -- '(^|[ [])-{1,2}[a-z][-a-z]*' <<<"$synopsis" | tr -d ' [' |
        LC_ALL=C sort -u | tr '\n' ' ')
    # shellcheck disable=SC2086 # a two-word command is two words of the line
    completed=$(offers $command argument -)
    [[ $completed == "$options" ]] ||
        fail "the completion offers '$completed' to $command, the manual page '$options'"
done <<<"$from_manual"

# "**\*.Smk**" and "**\*.\***" in TYPES.
types=$(sed -n '/^# TYPES/,/^# [A-Z]/p' "$manual" | grep -oE '\*\*\\\*\.(\\\*|[A-Za-z0-9]+)\*\*' |
    sed 's/\*\*//g; s/\\//g' | LC_ALL=C sort -u | tr '\n' ' ')
completed=$(offers list archive.lod --type "'" | LC_ALL=C sort)
[[ -n $types && $completed == "$types" ]] ||
    fail "the completion offers the types '$completed', the manual page '$types'"

if ((failures > 0)); then
    echo "$failures difference(s): docs/man/brasvel-res.1.md is the source; bring the rest in step"
    exit 1
fi
echo "docs in step: $(wc -l <<<"$from_manual") commands read the same everywhere"
