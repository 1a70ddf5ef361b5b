#!/bin/sh
# Runs an example host against a cellsim modem on a fresh pty and checks that
# it went through power-on, registration, the operator and power-off.
set -eu
cellsim=$1
host=$2
work=$(mktemp -d)
sim_pid=""
cleanup() {
    [ -n "$sim_pid" ] && kill "$sim_pid" 2>/dev/null || true
    rm -rf "$work"
}
trap cleanup EXIT

"$cellsim" --pty >"$work/path" &
sim_pid=$!
# cellsim prints the pty's path as its first line once it serves it.
tries=0
while [ ! -s "$work/path" ]; do
    tries=$((tries + 1))
    if [ "$tries" -gt 200 ] || ! kill -0 "$sim_pid" 2>/dev/null; then
        echo "cellsim did not start" >&2
        exit 1
    fi
    sleep 0.05
done
pty=$(head -n 1 "$work/path")

"$host" "$pty" >"$work/out"
cat "$work/out"
grep -q "^power on: ok" "$work/out"
grep -q "^SIM: ready" "$work/out"
grep -q "^operator: 46000" "$work/out"
grep -q "^power off: ok" "$work/out"
