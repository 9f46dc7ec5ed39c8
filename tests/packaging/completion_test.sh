#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# SPDX-FileCopyrightText: 2026 Brasvel Resource Editor maintainers
# completion_test.sh COMPLETION BRASVEL_RES MAKE_DEMO
# Sources the bash completion and checks what it offers for command lines typed up to a point.
set -uo pipefail
completion=$1 program=$2 make_demo=$3

work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
cd "$work" || exit 1
mkdir sub
touch Data.Lod x.SND y.vid notes.txt shot.PNG old.bmp
"$make_demo" "$work" >/dev/null || exit 1  # demo.lod, demo.snd, demo.vid

# shellcheck source=/dev/null
source "$completion"

failures=0
# check EXPECTED WORD...: completes the last WORD of the line "brasvel-res WORD..."; EXPECTED is
# the sorted offers, joined by spaces.
check() {
    local expected=$1
    shift
    COMP_WORDS=("$program" "$@")
    COMP_CWORD=$#
    COMPREPLY=()
    _brasvel_res
    local got
    got=$(printf '%s\n' "${COMPREPLY[@]}" | LC_ALL=C sort | tr '\n' ' ')
    got=${got% }
    got=${got# }
    if [[ $got != "$expected" ]]; then
        echo "FAIL: brasvel-res $* <TAB>"
        echo "  expected: $expected"
        echo "  got:      $got"
        failures=$((failures + 1))
    fi
}

check "--help --version add convert create diff extract find grep info list merge picture remove rename sprite verify" ""
check "extract" ex
check "" frobnicate ""
check "lod snd vid" list a.lod --kind ""
check "snd" extract a.lod --kind s
check '\*.Def' list a.lod --type '\*.D'
check '*.Def' list a.lod --type "'*.D"
check '\*.Bik \*.Def \*.Fnt \*.H3c \*.Msg \*.Msk \*.Pal \*.Pcx \*.Smk \*.Txt \*.Wav \*.Xmi \*.\*' \
    list a.lod --type ""
check "--kind --png --raw --threads --type" extract a.lod --
check "--format --frame --keep-palette --kind --selection -o" convert a.lod Hero.def -
check "--json --kind --type" list -
check "--kind" verify a.lod -
check "" convert a.lod Hero.def --frame ""
check "" extract a.lod --threads ""
# The archive: folders and the three kinds by name in any case; any file once --kind is given.
check "Data.Lod damaged.lod demo.lod demo.snd demo.vid sub x.SND y.vid" list ""
check "Data.Lod damaged.lod demo.lod demo.snd demo.vid notes.txt old.bmp shot.PNG sub x.SND y.vid" list --kind lod ""
check "Data.Lod" verify D
# Extraction goes into a folder; conversion writes a file.
check "sub" extract demo.lod -o ""
check "notes.txt" convert demo.lod VALLEY.PCX -o n
# Entries, as the archive lists them: for extract any number, for convert and info one.
check "POWITANIE.txt" info demo.lod P
check "VALLEY.PAL VALLEY.PCX" extract demo.lod hills.pcx V
check "VALLEY.PCX" extract --kind lod demo.lod -o sub VALLEY.PC
check "" info demo.lod POWITANIE.txt ""
check "" list demo.lod ""
check "" info missing.lod ""
check "bmp png" convert demo.lod VALLEY.PCX --format ""
check "from into" merge demo.lod Data.Lod --prefer ""
check "Data.Lod" merge demo.lod demo.snd D
check "Data.Lod" diff demo.lod D
check "" find ""
check "shot.PNG sub" find '*.def' s
check "--dry-run --prefer" merge demo.lod -
# Commands of two words: the second word, then the options and arguments of each.
check "export import" sprite ""
check "import" picture ""
check "" sprite frobnicate ""
check "" picture export ""
check "--force --keep-palette --kind --selection -o" sprite export demo.lod -
check "--force --type -o" sprite import sub -
check "--bits --force -o" picture import shot.PNG -
# sprite export: an archive, then a sprite of it (def or DEF, as the command takes), then nothing;
# its -o is a folder.
check "Data.Lod" sprite export D
check "BALL.DEF TILES.def TORCH.DEF flag.def" sprite export demo.lod ""
check "TILES.def TORCH.DEF" sprite export --kind lod demo.lod T
check "" sprite export demo.lod BALL.DEF ""
check "sub" sprite export demo.lod BALL.DEF -o ""
# sprite import reads a folder and writes a file; picture import reads a PNG or BMP.
check "sub" sprite import ""
check "notes.txt" sprite import sub -o n
check "0 1 2 3" sprite import sub --type ""
check "old.bmp shot.PNG sub" picture import ""
check "" picture import shot.PNG ""
check "24 8" picture import shot.PNG --bits ""
# The edits: files to put in, entries to remove, the entry to rename and then nothing.
check "--force --kind --level --store --threads" create new.lod -
check "notes.txt" add demo.lod n
check "" add demo.lod --level ""
check "VALLEY.PAL VALLEY.PCX" remove demo.lod hills.pcx V
check "POWITANIE.txt" rename demo.lod P
check "" rename demo.lod POWITANIE.txt ""
# After "--" a word that starts with "-" is a name, not an option.
check "" extract demo.lod -- -

if ((failures > 0)); then
    echo "$failures completion(s) wrong"
    exit 1
fi
echo "completion: every case offers what it should"
