#!/usr/bin/env bash
# Calls the bash completion of qvpc-cli as bash does on TAB and checks what it offers: the commands
# of "qvpc-cli --help", options, port numbers of the port map, choices and files.
# With "plain" it runs in a bash without the bash-completion package loaded.
# Usage: check_completion.sh COMPLETION_SCRIPT QVPC_CLI [plain]
set -uo pipefail
script=$1
cli=$2
if [[ ${3-} != plain ]]; then
    source /usr/share/bash-completion/bash_completion
fi
source "$script"
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
export XDG_CONFIG_HOME=$work/config
export XDG_DATA_HOME=$work/data
mkdir -p "$XDG_CONFIG_HOME/QVPC-Software" "$work/files"
cd "$work/files" && touch a.qvd b.qvd out.pdf
failures=0

# offers "COMMAND LINE" "EXPECTED ...": completes the line's last word (empty after a space).
offers() {
    local line=$1 expected=$2
    read -ra COMP_WORDS <<<"$line"
    [[ $line == *" " ]] && COMP_WORDS+=("")
    COMP_CWORD=$((${#COMP_WORDS[@]} - 1))
    COMP_LINE=$line
    COMP_POINT=${#line}
    COMPREPLY=()
    _qvpc_cli qvpc-cli "${COMP_WORDS[COMP_CWORD]}" "${COMP_WORDS[COMP_CWORD - 1]}"
    local got
    got=$(printf '%s\n' "${COMPREPLY[@]}" | sort | xargs)
    expected=$(printf '%s\n' $expected | sort | xargs)
    if [[ $got != "$expected" ]]; then
        echo "FAIL: '$line<TAB>' offered '$got', expected '$expected'"
        failures=$((failures + 1))
    fi
}

# Every command the program lists, and nothing else.
commands=$("$cli" --help | sed -n '/^Commands:/,/^$/s/^  \([a-z]*\) .*/\1/p' | xargs)
[[ -n $commands ]] || { echo "FAIL: qvpc-cli --help lists no commands"; exit 1; }
offers "qvpc-cli " "$commands"
offers "qvpc-cli --port 2 --yes " "$commands"
globals="--port --device --ca --pin --cert --key --lang --yes --trace --json --journal --no-journal --help --version"
offers "qvpc-cli --" "$globals"
offers "qvpc-cli --lang " "ja en"
offers "qvpc-cli move " "1 2 repeat"
offers "qvpc-cli --lang en mode c" "communication"
offers "qvpc-cli move 2 " ""
offers "qvpc-cli verify --" "--parameters --details $globals"
offers "qvpc-cli set Vel" "Vel1 Vel2"
offers "qvpc-cli undo --" "--restart --dry-run $globals"
offers "qvpc-cli io --set esc" "escape=on escape=off"
offers "qvpc-cli io --watch --co" "--count"

# Files for FILE arguments and file options, only the first FILE.
offers "qvpc-cli write " "a.qvd b.qvd out.pdf"
offers "qvpc-cli --yes verify a" "a.qvd"
offers "qvpc-cli --ca a" "a.qvd"
offers "qvpc-cli --pin " ""
offers "qvpc-cli --cert a.qvd --key b" "b.qvd"
offers "qvpc-cli show a.qvd " ""
offers "qvpc-cli read -o b" "b.qvd"
offers "qvpc-cli print a.qvd --pdf " "out.pdf"

# Port numbers from the settings file's port map, only its [Ports] group.
cat >"$XDG_CONFIG_HOME/QVPC-Software/QVPC-Software.conf" <<'CONF'
[Settings]
PortNo=3
COM9=/dev/null

[Ports]
COM1=/dev/serial/by-id/usb-FTDI_FT232R-if00-port0
COM12=rfc2217://10.0.0.21:4001
CONF
offers "qvpc-cli --port " "1 12"
offers "qvpc-cli read --port 1" "1 12"

if ((failures > 0)); then
    exit 1
fi
echo "completion: all offered as expected"
