#!/bin/sh
# Runs a script as root inside User-mode Linux, whose kernel has PPP even where
# the host's has none, then powers the guest off.
#
#   uml-run.sh GUEST_SCRIPT RESULT_DIR [ARG...]
#
# The guest sees the host's root file system read-only, with tmpfs on /run,
# /tmp and /dev/shm (so GUEST_SCRIPT must not lie under /tmp or /run), the PPP
# modules loaded and a network namespace "net". RESULT_DIR is mounted writable
# at /run/results, the guest script's working directory ($RESULTS); uml.log in
# it holds the guest kernel's console. GUEST_SCRIPT gets the ARGs, its output
# comes out on stdout, and this exits with its exit status.
#
# UML_KERNEL (default /usr/bin/linux.uml) and UML_TIME_LIMIT (seconds, default
# 240) may be set in the environment. A guest that outlives the limit is killed
# with all of its host processes.
set -eu

fail() { echo "uml-run: $*" >&2; exit 1; }

[ $# -ge 2 ] || fail "usage: uml-run.sh GUEST_SCRIPT RESULT_DIR [ARG...]"
here=$(cd "$(dirname "$0")" && pwd)
[ -f "$1" ] || fail "no guest script $1"
script=$(realpath "$1")
results=$2
shift 2
kernel=${UML_KERNEL:-/usr/bin/linux.uml}
limit=${UML_TIME_LIMIT:-240}
mem=256

[ -x "$script" ] || fail "guest script $script is not executable"
[ -x "$kernel" ] || fail "no User-mode Linux kernel at $kernel (package user-mode-linux)"
version=$("$kernel" --version) || fail "$kernel --version failed"
modules=/usr/lib/uml/modules/$version/kernel
for module in lib/crc-ccitt.ko drivers/net/slip/slhc.ko \
              drivers/net/ppp/ppp_generic.ko drivers/net/ppp/ppp_async.ko; do
    [ -r "$modules/$module" ] || fail "missing UML kernel module $modules/$module"
done
command -v insmod >/dev/null || fail "insmod missing (package kmod)"

# The guest's memory is a deleted file in this folder, so it needs the room.
if [ -d /dev/shm ] && [ -w /dev/shm ]; then TMPDIR=/dev/shm; else TMPDIR=/tmp; fi
export TMPDIR
free_mb=$(df -Pm "$TMPDIR" | awk 'NR == 2 { print $4 }')
[ "$free_mb" -gt "$mem" ] || fail "$TMPDIR has ${free_mb} MB free, the guest needs $mem MB"

mkdir -p "$results"
results=$(realpath "$results")
case "$script$results$here" in
    *[[:space:],]*) fail "paths with blanks or commas cannot go on the kernel command line" ;;
esac
case "$script" in
    /tmp/*|/run/*) fail "guest script $script lies where the guest mounts its own tmpfs" ;;
esac
rm -f "$results/guest.status"
: > "$results/guest.args"
for arg in "$@"; do
    case "$arg" in *"
"*) fail "guest arguments cannot hold line breaks" ;; esac
    printf '%s\n' "$arg" >> "$results/guest.args"
done

# Own umid and UML folder, so that runs side by side do not meet.
work=$(mktemp -d "${TMPDIR}/uml-run.XXXXXX")
trap 'rm -rf "$work"' EXIT

# On hosts whose XSAVE area is larger than UML's register buffer (CPUs with
# AVX-512 or AMX), the guest dies at its first context switch; the wrapper
# gives UML's register calls a buffer of the host's size.
cc -O2 -shared -fPIC -o "$work/xstate-shim.so" "$here/uml-xstate-shim.c" -ldl ||
    fail "cannot build $here/uml-xstate-shim.c (a C compiler is needed)"

# con0 (the kernel's console) goes to uml.log; con1 (the guest script's
# output) to our stdout. timeout runs UML in its own process group and
# signals the whole group, which takes UML's helper processes with it.
status=0
LD_PRELOAD="$work/xstate-shim.so" timeout --kill-after=5 "$limit" "$kernel" \
    mem=${mem}M rootfstype=hostfs rootflags=/ ro quiet \
    umid="$(basename "$work")" uml_dir="$work" \
    con=null ssl=null con0=fd:0,fd:1 con1=fd:4,fd:3 \
    init="$here/uml-init.sh" uml_results="$results" uml_guest="$script" \
    3>&1 4</dev/null </dev/null >"$results/uml.log" 2>&1 || status=$?

if [ "$status" -eq 124 ] || [ "$status" -eq 137 ]; then
    fail "guest still running after ${limit} s: killed (kernel log: $results/uml.log)"
fi
if [ ! -s "$results/guest.status" ]; then
    echo "uml-run: the guest did not finish its script (UML exit status $status); kernel log:" >&2
    tail -n 20 "$results/uml.log" >&2
    exit 1
fi
exit "$(cat "$results/guest.status")"
