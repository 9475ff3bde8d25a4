#!/usr/bin/env bash
# Completes varnelctl command lines with the bash completion script, in a bash with
# bash-completion's helpers, by calling the script's function with COMP_WORDS and COMP_CWORD
# set as bash sets them, against the real varnelctl (its --help and its ports listing).
#
# Usage: check-completion.sh COMPLETION_SCRIPT VARNELCTL
set -uo pipefail

script=$1
varnelctl=$2
helpers=/usr/share/bash-completion/bash_completion
[[ -r $helpers ]] || { echo "FAIL: bash-completion is not installed ($helpers)" >&2; exit 1; }

work=$(mktemp -d /tmp/varnel-completion-XXXXXX)
trap 'rm -rf "$work"' EXIT
mkdir -p "$work/bin" "$work/config/KYR" "$work/files/sets"
ln -s "$(realpath "$varnelctl")" "$work/bin/varnelctl"
# A serial server mapped to COM7, so that ports lists it whatever devices the machine has.
echo '{"PortMap": {"7": "socket://127.0.0.1:9"}}' >"$work/config/KYR/Torvane.json"
touch "$work/files/line3.kyr" "$work/files/line4.KYR" "$work/files/image.hex" \
    "$work/files/notes.txt" "$work/files/report.pdf"
export PATH="$work/bin:$PATH" XDG_CONFIG_HOME="$work/config"

# shellcheck source=/dev/null
source "$helpers"
# shellcheck source=/dev/null
source "$script"

failures=0
fail() {
    echo "FAIL: $*" >&2
    failures=$((failures + 1))
}

# Completes the words of a line whose last word is being typed ("" for a new one); prints the
# candidates sorted, one a line.
complete_line() {
    COMP_WORDS=("$@")
    COMP_CWORD=$((${#COMP_WORDS[@]} - 1))
    COMP_LINE="${COMP_WORDS[*]}"
    COMP_POINT=${#COMP_LINE}
    COMPREPLY=()
    (cd "$work/files" || exit
        _varnelctl varnelctl "${COMP_WORDS[COMP_CWORD]}" "${COMP_WORDS[COMP_CWORD - 1]}"
        ((${#COMPREPLY[@]} == 0)) || printf '%s\n' "${COMPREPLY[@]}") | sort
}

# expect_exactly "WORDS..." "CANDIDATES" / expect_some "WORDS..." "CANDIDATES" [ABSENT]
expect_exactly() {
    local got
    got=$(complete_line $1 "" | tr '\n' ' ')
    [[ -z ${3+x} ]] || got=$(complete_line $1 "$3" | tr '\n' ' ')
    [[ $got == "$(tr ' ' '\n' <<<"$2" | sed '/^$/d' | sort | tr '\n' ' ')" ]] ||
        fail "'$1 ${3:-}<TAB>' gave '$got', not '$2'"
}
expect_some() {
    local line=$1 present=$2 absent=${3:-} prefix=${4:-} got
    got=$(complete_line $line "$prefix")
    for word in $present; do
        grep -qx -- "$word" <<<"$got" || fail "'$line $prefix<TAB>' lacks $word (gave: $(echo $got))"
    done
    for word in $absent; do
        grep -qx -- "$word" <<<"$got" && fail "'$line $prefix<TAB>' offers $word"
    done
}

help=$("$varnelctl" --help)
# The commands that --help lists, each the first word of an indented line of its Commands part.
commands=$(sed -n '/^Commands:/,/^Options:/p' <<<"$help" | sed -n 's/^  \([a-z]\+\).*/\1/p' | sort -u)
[[ -n $commands ]] || fail "no commands found in varnelctl --help"
keys=$(sed -n '/^Register keys/,$p' <<<"$help" | tail -n +2 | tr -s ' ' '\n' | sed '/^$/d')
[[ $(wc -l <<<"$keys") -gt 30 ]] || fail "no register keys found in varnelctl --help"

expect_exactly "varnelctl" "$commands"
expect_exactly "varnelctl" "stream station" "st"
expect_exactly "varnelctl firmware" "identify inspect flash"
expect_exactly "varnelctl lin" "get set factor start export report"
expect_exactly "varnelctl history" "show diff restore"
expect_exactly "varnelctl history 20815001" ""
expect_exactly "varnelctl set --port COM1" "$keys"
expect_exactly "varnelctl get --port COM1" "BitWidth" "Bit"
expect_exactly "varnelctl get --port COM1 BitWidth" ""
expect_some "varnelctl read --port" "COM7" "--json"
expect_exactly "varnelctl apply --lang" "en de"
expect_exactly "varnelctl firmware inspect image.hex --chip" "atmega8515 atmega162"
expect_exactly "varnelctl firmware inspect image.hex --bootloader" "256 512 1024"
expect_some "varnelctl apply" "--port --commit --report --lang --json --history" "--count --csv --yes" "--"
expect_some "varnelctl stream --port COM1" "--count --duration --stats --json --csv" "--commit --pdf" "--"
expect_exactly "varnelctl stream --duration" ""
expect_some "varnelctl history restore 20815001" "--port --commit --json" "--since" "--"
expect_some "varnelctl history" "--since --json" "--port" "--"
expect_some "varnelctl" "--help --version" "" "--"
expect_exactly "varnelctl load --port COM1" "line3.kyr line4.KYR sets"
expect_exactly "varnelctl firmware flash" "image.hex sets"
expect_exactly "varnelctl report --port COM1 --pdf" "report.pdf sets"

((failures == 0)) || exit 1
echo "completion checks passed"
