# bash completion for brasvel-res                                  -*- shell-script -*-
#
# Completes the commands, each command's options, the values of --kind and --type, archive names
# (.lod, .snd, .vid in any case; any file once --kind is given) and, for the ENTRY arguments, the
# names the archive lists. A new command is one more line in _brasvel_res_options.

# Each command's options, and the options that take a value.
declare -gA _brasvel_res_options=(
    [list]="--kind --type --json"
    [extract]="-o --kind --type --raw --threads"
    [convert]="--kind --frame -o"
    [info]="--kind --json"
    [verify]="--kind"
    [create]="--kind --store --level --threads --force"
    [add]="--kind --store --level --threads"
    [remove]="--kind"
    [rename]="--kind"
)
_brasvel_res_valued=" -o --kind --type --threads --frame --level "
# Commands whose arguments after the archive are entry names, and those whose are files.
_brasvel_res_entry_commands=" extract convert info remove rename "
_brasvel_res_file_commands=" create add "

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

# Archive names: folders, and files whose last three letters name a kind, in any case.
_brasvel_res_archives() {
    local cur=$1 any_file=$2 path
    compopt -o filenames 2>/dev/null
    local IFS=$'\n'
    for path in $(compgen -f -- "$cur"); do
        if [[ -d $path || $any_file ]]; then
            COMPREPLY+=("$path")
        else
            case ${path,,} in
                *.lod | *.snd | *.vid) COMPREPLY+=("$path") ;;
            esac
        fi
    done
}

_brasvel_res() {
    COMPREPLY=()
    local cur=${COMP_WORDS[COMP_CWORD]} prev=${COMP_WORDS[COMP_CWORD - 1]}
    if ((COMP_CWORD == 1)); then
        _brasvel_res_offer "$cur" "${!_brasvel_res_options[@]}" --help --version
        return
    fi
    local command=${COMP_WORDS[1]}
    [[ -n ${_brasvel_res_options[$command]+set} ]] || return

    case $prev in
        --kind) _brasvel_res_offer "$cur" lod snd vid; return ;;
        --type) _brasvel_res_offer "$cur" "${_brasvel_res_types[@]}"; return ;;
        -o)
            compopt -o filenames 2>/dev/null
            if [[ $command == extract ]]; then
                mapfile -t COMPREPLY < <(compgen -d -- "$cur")
            else
                mapfile -t COMPREPLY < <(compgen -f -- "$cur")
            fi
            return
            ;;
        --threads | --frame | --level) return ;;
    esac

    # The arguments before this one that are not options: the archive, then entries.
    local i word archive="" kind="" positional=0 options_ended=""
    for ((i = 2; i < COMP_CWORD; i++)); do
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
    elif ((positional == 0)); then
        _brasvel_res_archives "$cur" "$kind"
    elif [[ $_brasvel_res_file_commands == *" $command "* ]]; then
        compopt -o filenames 2>/dev/null
        mapfile -t COMPREPLY < <(compgen -f -- "$cur")
    elif [[ $_brasvel_res_entry_commands == *" $command "* ]]; then
        [[ $command == convert || $command == info ]] && ((positional > 1)) && return
        [[ $command == rename ]] && ((positional > 1)) && return
        # The entry names the archive lists: the first column, before "Total Files".
        local -a listing=("$(_brasvel_res_unquote "$archive")")
        [[ $kind ]] && listing+=(--kind "$kind")
        local -a names
        mapfile -t names < <("${COMP_WORDS[0]/#\~/$HOME}" list "${listing[@]}" 2>/dev/null |
            cut -f1 | grep -v '^Total Files: ')
        _brasvel_res_offer "$cur" "${names[@]}"
    fi
}

complete -F _brasvel_res brasvel-res
