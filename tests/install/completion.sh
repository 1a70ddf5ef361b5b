#!/bin/bash
# The generated bash completion, sourced into a bash as a user's shell would
# do it, asked what it offers for lines typed up to the cursor.
# Usage: completion.sh COMPLETION_FILE
set -u
source "$1" || exit 1
failed=0

# Completes LINE (the cursor at its end) and compares the offers with EXPECTED.
expect() {
    local line=$1 expected=$2
    read -r -a COMP_WORDS <<<"$line"
    [[ $line == *" " ]] && COMP_WORDS+=("")
    COMP_CWORD=$((${#COMP_WORDS[@]} - 1))
    COMP_LINE=$line COMP_POINT=${#line}
    _cellctl
    local offered="${COMPREPLY[*]}"
    if [[ $offered != "$expected" ]]; then
        echo "'$line<TAB>': expected '$expected', offered '$offered'"
        failed=1
    fi
}

[[ $(complete -p cellctl) == "complete -F _cellctl cellctl" ]] || { echo "cellctl has no completion"; failed=1; }
expect "cellctl con" "connect"
expect "cellctl mode switch " "gsm td dual"
expect "cellctl mode power-on " "gsm td"
expect "cellctl --device /dev/null mode " "show switch power-on"
expect "cellctl sim lock " "on off"
expect "cellctl sim lock on " ""
expect "cellctl --sim-state " "ready pin puk absent"
expect "cellctl connect --auth " "pap chap"
expect "cellctl connect --a" "--apn --auth"
expect "cellctl mode switch --sim-m" "--sim-mode"
expect "cellctl operators select " ""
exit $failed
