# bash completion for qvpc-cli: commands, options, port numbers of the port map, files.
# Works with the bash-completion package loaded and without it (plain compgen).

# The COM numbers of the port map: the [Ports] group of the settings file, else what
# "qvpc-cli ports" lists (each line starts with COMn and a tab).
_qvpc_cli_ports() {
    local conf="${XDG_CONFIG_HOME:-$HOME/.config}/QVPC-Software/QVPC-Software.conf"
    local numbers=""
    if [[ -r $conf ]]; then
        numbers=$(awk '/^\[/ { inPorts = ($0 == "[Ports]") }
                       inPorts && match($0, /^COM[0-9]+=/) { print substr($0, 4, RLENGTH - 4) }' \
            "$conf" 2>/dev/null)
    fi
    if [[ -z $numbers ]]; then
        numbers=$("${1:-qvpc-cli}" ports 2>/dev/null | sed -n 's/^COM\([0-9][0-9]*\)\t.*/\1/p')
    fi
    printf '%s\n' $numbers
}

# File names for a FILE argument (_filedir of bash-completion where it is loaded); with an
# extension, only files with it, and folders.
_qvpc_cli_files() {
    if declare -F _filedir >/dev/null; then
        _filedir "$@"
        return
    fi
    local IFS=$'\n'
    if [[ -n ${1-} ]]; then
        COMPREPLY=($(compgen -d -- "$cur") $(compgen -f -X "!*.$1" -- "$cur"))
    else
        COMPREPLY=($(compgen -f -- "$cur"))
    fi
}

_qvpc_cli() {
    local cur prev words cword
    if declare -F _init_completion >/dev/null; then
        _init_completion || return
    else
        words=("${COMP_WORDS[@]}")
        cword=$COMP_CWORD
        cur=${COMP_WORDS[COMP_CWORD]}
        prev=${COMP_WORDS[COMP_CWORD - 1]}
    fi

    local commands="ports read write verify show get set history undo move home reset version mode print
        io"
    local globals="--port --device --ca --pin --cert --key --lang --yes --trace --json --journal
        --no-journal --help --version"
    local items="Vel1 Vel2 Acc1 Acc2 Dec1 Dec2 Pulse1 Pulse2 PauseTime1 PauseTime2 HomingVel
        HomingPulse OffsetVel OffsetPulse RevDir SupplyCounter NoWorkCounter RestartDelay
        SeparateTimer MidDetectCounter TipWorkOffTimer Sp1"

    case $prev in
    --port)
        COMPREPLY=($(compgen -W "$(_qvpc_cli_ports "${words[0]}")" -- "$cur"))
        return
        ;;
    --device | --ca | --cert | --key)
        _qvpc_cli_files
        return
        ;;
    --pin)
        return
        ;;
    --lang)
        COMPREPLY=($(compgen -W "ja en" -- "$cur"))
        return
        ;;
    -o | --output | --backup | --vcd | --csv)
        _qvpc_cli_files
        return
        ;;
    --pdf)
        _qvpc_cli_files pdf
        return
        ;;
    --count)
        return
        ;;
    esac

    # The command: the first word that is neither an option nor an option's value.
    local i command="" positional=0
    for ((i = 1; i < cword; i++)); do
        case ${words[i]} in
        --port | --device | --ca | --pin | --cert | --key | --lang | -o | --output | --backup | \
            --vcd | --csv | --pdf | --count)
            ((i++))
            ;;
        -*) ;;
        *)
            if [[ -z $command ]]; then
                command=${words[i]}
            else
                ((positional++))
            fi
            ;;
        esac
    done

    if [[ -z $command ]]; then
        if [[ $cur == -* ]]; then
            COMPREPLY=($(compgen -W "$globals" -- "$cur"))
        else
            COMPREPLY=($(compgen -W "$commands" -- "$cur"))
        fi
        return
    fi

    local options="" arguments=""
    case $command in
    read) options="-o --output" ;;
    write) options="--parameters --restart --backup --dry-run" ;;
    set)
        options="--restart"
        arguments=$items
        ;;
    undo | history)
        # The entries' numbers, as the history lists them.
        [[ $command == undo ]] && options="--restart --dry-run"
        arguments=$("${words[0]}" history 2>/dev/null | cut -f1)
        ;;
    verify) options="--parameters --details" ;;
    print) options="--pdf" ;;
    io) options="--watch --count --vcd --csv --quiet --set" ;;
    move)
        options="--count --csv"
        arguments="1 2 repeat"
        ;;
    mode) arguments="external communication" ;;
    get) arguments=$items ;;
    esac

    if [[ $cur == -* ]]; then
        COMPREPLY=($(compgen -W "$options $globals" -- "$cur"))
        return
    fi
    case $command in
    write | verify | show | print)
        ((positional == 0)) && _qvpc_cli_files
        ;;
    io)
        # Outputs to switch after --set: NAME=on or NAME=off.
        local outputs="no-work stopped take-out escape" switches="" name
        for name in $outputs; do
            switches+=" $name=on $name=off"
        done
        [[ " ${words[*]:1:cword-1} " == *" --set "* ]] &&
            COMPREPLY=($(compgen -W "$switches" -- "$cur"))
        ;;
    *)
        ((positional == 0)) && COMPREPLY=($(compgen -W "$arguments" -- "$cur"))
        ;;
    esac
}
complete -F _qvpc_cli qvpc-cli
