# SPDX-License-Identifier: GPL-3.0-or-later
# SPDX-FileCopyrightText: 2026 Brasvel Resource Editor maintainers
# bash completion for brasvel-res                                  -*- shell-script -*-
#
# Completes the commands (and the second word of "sprite export", "picture import"), each
# command's options and their values, archive names (.lod, .snd, .vid in any case; any file once
# --kind is given), the names the archive lists for ENTRY arguments, and files or folders where a
# command reads or writes them. A new command is one line in _brasvel_res_options and one in
# _brasvel_res_arguments.

# Each command's options; a command of two words is keyed by both.
declare -gA _brasvel_res_options=(
    [list]="--kind --type --json"
    [extract]="-o --kind --type --raw --png --threads"
    [convert]="--kind --frame -o --format --selection --keep-palette"
    [info]="--kind --json"
    [verify]="--kind"
    [sprite export]="-o --kind --selection --keep-palette --force"
    [sprite import]="-o --type --force"
    [picture import]="-o --bits --force"
    [create]="--kind --store --level --threads --force"
    [add]="--kind --store --level --threads --force --damaged"
    [remove]="--kind --force --damaged"
    [rename]="--kind --force --damaged"
    [find]="--json"
    [grep]="--json"
    [diff]="--json --export"
    [merge]="--prefer --dry-run"
)
# What each command's arguments are, in order; a last kind in the plural stands for any number:
# archive, entry or entries (names the archive lists), sprite (a DEF entry), folder, picture (a
# PNG or BMP file), paths (any files or folders), archives; pattern and text are typed, not offered.
declare -gA _brasvel_res_arguments=(
    [list]="archive"
    [extract]="archive entries"
    [convert]="archive entry"
    [info]="archive entry"
    [verify]="archive"
    [sprite export]="archive sprite"
    [sprite import]="folder"
    [picture import]="picture"
    [create]="archive paths"
    [add]="archive paths"
    [remove]="archive entries"
    [rename]="archive entry"
    [find]="pattern paths"
    [grep]="text paths"
    [diff]="archive archive"
    [merge]="archive archives"
)
# The options that take a value, and the values offered where there is a short list.
_brasvel_res_valued=" -o --kind --type --threads --frame --format --bits --level --prefer --export --damaged "
declare -gA _brasvel_res_values=(
    [--kind]="lod snd vid"
    [--format]="bmp png"
    [--bits]="8 24"
    [--prefer]="into from"
    [--damaged]="keep drop"
    [sprite import --type]="0 1 2 3"
)
# Commands whose -o names a folder; the others' names a file.
_brasvel_res_folder_outputs=" extract sprite export "

_brasvel_res_types=('*.*' '*.Smk' '*.Bik' '*.Pcx' '*.H3c' '*.Txt' '*.Def' '*.Pal' '*.Wav'
    '*.Msk' '*.Xmi' '*.Fnt' '*.Msg')

# Offers the words of "$@" that start with the word being completed, quoted for the shell unless
# the user opened a quote (then the line keeps it): "*.Def" must not reach a glob.
_brasvel_res_offer() {
    local word=$1 quoted=""
    shift
    if [[ $word == [\'\"]* ]]; then
        quoted=yes
        word=${word:1}
    else
        word=${word//\\/}
    fi
    local candidate
    for candidate in "$@"; do
        [[ $candidate == "$word"* ]] || continue
        if [[ $quoted ]]; then
            COMPREPLY+=("$candidate")
        else
            COMPREPLY+=("$(printf '%q' "$candidate")")
        fi
    done
}

# The word as the shell will pass it, for the common quotings: 'a b.lod', "a b.lod", a\ b.lod, ~/.
_brasvel_res_unquote() {
    local word=$1
    case $word in
        \'*\' | \"*\") word=${word:1:${#word}-2} ;;
        *) word=${word//\\/} ;;
    esac
    printf '%s' "${word/#\~/$HOME}"
}

# Folders, and the files whose names end in one of the suffixes given (in any case; any file when
# none is given).
_brasvel_res_files() {
    local cur=$1 path suffix
    shift
    compopt -o filenames 2>/dev/null
    local IFS=$'\n'
    for path in $(compgen -f -- "$cur"); do
        if [[ -d $path || $# -eq 0 ]]; then
            COMPREPLY+=("$path")
            continue
        fi
        for suffix in "$@"; do
            if [[ ${path,,} == *"$suffix" ]]; then
                COMPREPLY+=("$path")
                break
            fi
        done
    done
}

# Archive names: folders, and files whose last three letters name a kind, in any case.
_brasvel_res_archives() {
    local cur=$1 any_file=$2
    if [[ $any_file ]]; then
        _brasvel_res_files "$cur"
    else
        _brasvel_res_files "$cur" .lod .snd .vid
    fi
}

# The entry names the archive lists (the first column, before "Total Files") that match one of
# the patterns given.
_brasvel_res_entries() {
    local cur=$1 archive=$2 kind=$3
    shift 3
    local -a listing=("$(_brasvel_res_unquote "$archive")")
    [[ $kind ]] && listing+=(--kind "$kind")
    local -a names matching
    mapfile -t names < <("${COMP_WORDS[0]/#\~/$HOME}" list "${listing[@]}" 2>/dev/null |
        cut -f1 | grep -v '^Total Files: ')
    local name pattern
    for name in "${names[@]}"; do
        for pattern in "$@"; do
            # shellcheck disable=SC2053 # the pattern is a glob on purpose
            if [[ $name == $pattern ]]; then
                matching+=("$name")
                break
            fi
        done
    done
    _brasvel_res_offer "$cur" "${matching[@]}"
}

# The commands' first words, each once.
_brasvel_res_commands() {
    local -A seen=()
    local key
    for key in "${!_brasvel_res_options[@]}"; do
        seen[${key%% *}]=1
    done
    printf '%s\n' "${!seen[@]}"
}

_brasvel_res() {
    COMPREPLY=()
    local cur=${COMP_WORDS[COMP_CWORD]} prev=${COMP_WORDS[COMP_CWORD - 1]}
    if ((COMP_CWORD == 1)); then
        local -a commands
        mapfile -t commands < <(_brasvel_res_commands)
        _brasvel_res_offer "$cur" "${commands[@]}" --help --version
        return
    fi
    # The command, of one word or two; its arguments start after it.
    local command=${COMP_WORDS[1]} first=2 key second=()
    if [[ -z ${_brasvel_res_options[$command]+set} ]]; then
        for key in "${!_brasvel_res_options[@]}"; do
            [[ $key == "$command "* ]] && second+=("${key#* }")
        done
        ((${#second[@]} > 0)) || return
        if ((COMP_CWORD == 2)); then
            _brasvel_res_offer "$cur" "${second[@]}"
            return
        fi
        command+=" ${COMP_WORDS[2]}"
        first=3
        [[ -n ${_brasvel_res_options[$command]+set} ]] || return
    fi

    if ((COMP_CWORD > first)) && [[ $_brasvel_res_valued == *" $prev "* ]]; then
        case $prev in
            --type)
                if [[ -n ${_brasvel_res_values[$command --type]+set} ]]; then
                    # shellcheck disable=SC2086 # the value list is split into words on purpose
                    _brasvel_res_offer "$cur" ${_brasvel_res_values[$command --type]}
                else
                    _brasvel_res_offer "$cur" "${_brasvel_res_types[@]}"
                fi
                ;;
            -o | --export)
                compopt -o filenames 2>/dev/null
                if [[ $_brasvel_res_folder_outputs == *" $command "* ]]; then
                    mapfile -t COMPREPLY < <(compgen -d -- "$cur")
                else
                    mapfile -t COMPREPLY < <(compgen -f -- "$cur")
                fi
                ;;
            *)
                # shellcheck disable=SC2086 # the value list is split into words on purpose
                [[ -n ${_brasvel_res_values[$prev]+set} ]] &&
                    _brasvel_res_offer "$cur" ${_brasvel_res_values[$prev]}
                ;;
        esac
        return
    fi

    # The arguments before this one that are not options: the archive, then entries.
    local i word archive="" kind="" positional=0 options_ended=""
    for ((i = first; i < COMP_CWORD; i++)); do
        word=${COMP_WORDS[i]}
        if [[ $options_ended || $word != -?* ]]; then
            ((positional++ == 0)) && archive=$word
        elif [[ $word == -- ]]; then
            options_ended=yes
        elif [[ $_brasvel_res_valued == *" $word "* ]]; then
            [[ $word == --kind ]] && kind=${COMP_WORDS[i + 1]}
            ((i++))
        fi
    done

    if [[ ! $options_ended && $cur == -* ]]; then
        # shellcheck disable=SC2086 # the option list is split into words on purpose
        _brasvel_res_offer "$cur" ${_brasvel_res_options[$command]}
        return
    fi
    # What this argument is: its place in the command's list, or the last kind when that is plural.
    local -a kinds
    read -ra kinds <<<"${_brasvel_res_arguments[$command]}"
    local what=${kinds[positional]:-}
    if [[ -z $what && ${#kinds[@]} -gt 0 && ${kinds[-1]} == *s ]]; then
        what=${kinds[-1]}
    fi
    case $what in
        archive | archives) _brasvel_res_archives "$cur" "$kind" ;;
        entry | entries) _brasvel_res_entries "$cur" "$archive" "$kind" '*' ;;
        sprite) _brasvel_res_entries "$cur" "$archive" "$kind" '*.def' '*.DEF' ;;
        folder)
            compopt -o filenames 2>/dev/null
            mapfile -t COMPREPLY < <(compgen -d -- "$cur")
            ;;
        picture) _brasvel_res_files "$cur" .png .bmp ;;
        paths) _brasvel_res_files "$cur" ;;
    esac
}

complete -F _brasvel_res brasvel-res
