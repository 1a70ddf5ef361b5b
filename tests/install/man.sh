#!/bin/sh
# The generated man pages render with man and groff without a single warning,
# and say what the programs do: cellctl(1) names every command of the command
# table, cellsim(1) every option of cellsim --help.
# Usage: man.sh MAN_DIR CELLCTL_COMPLETION_TOOL CELLSIM
set -eu
man_dir=$1 tool=$2 cellsim=$3
scratch=$(mktemp -d)
trap 'rm -rf "$scratch"' EXIT
failed=0

for page in cellctl cellsim; do
    # -ww: every warning; hyphenation off so that words can be searched for.
    groff -man -t -ww -rHY=0 -Tutf8 -P-cbou "$man_dir/$page.1" >"$scratch/$page.txt" 2>"$scratch/$page.err"
    if [ -s "$scratch/$page.err" ]; then
        echo "groff warns about $page.1:"; cat "$scratch/$page.err"; failed=1
    fi
    MANWIDTH=80 man --warnings -l "$man_dir/$page.1.gz" >/dev/null 2>"$scratch/$page.man.err" || failed=1
    if [ -s "$scratch/$page.man.err" ]; then
        echo "man warns about $page.1.gz:"; cat "$scratch/$page.man.err"; failed=1
    fi
    # One line of text, so that a phrase broken across lines is still found.
    tr -s ' \n' '  ' <"$scratch/$page.txt" >"$scratch/$page.flat"
done

"$tool" commands >"$scratch/commands"
[ -s "$scratch/commands" ] || { echo "no commands listed"; exit 1; }
while read -r command; do
    grep -qF "cellctl $command" "$scratch/cellctl.flat" || { echo "cellctl(1) lacks: cellctl $command"; failed=1; }
done <"$scratch/commands"

"$cellsim" --help | sed -n 's/^  \(--[a-z0-9-]*\).*/\1/p' >"$scratch/options"
[ -s "$scratch/options" ] || { echo "cellsim --help lists no options"; exit 1; }
while read -r option; do
    grep -qF -- "$option" "$scratch/cellsim.flat" || { echo "cellsim(1) lacks: $option"; failed=1; }
done <"$scratch/options"

exit $failed
