#!/bin/sh
# First process of the User-mode Linux guest started by uml-run.sh. It makes
# the read-only host root usable (writable /run, /tmp and /var/lock, devices,
# the result folder), loads PPP, creates the network namespace "net", runs the
# guest script and records its exit status for the host, then powers off.
# uml_results and uml_guest come from the kernel command line.
PATH=/usr/sbin:/usr/bin:/sbin:/bin
export PATH
results=/run/results

finish() {
    echo "$1" > "$results/guest.status"
    sync
    poweroff -f >/dev/console 2>&1
    echo o > /proc/sysrq-trigger
}

# The guest script's output channel, wired to uml-run.sh's stdout.
exec </dev/tty1 >/dev/tty1 2>&1
stty -onlcr
exec </dev/null

must() { "$@" || { echo "uml-init: failed: $*"; finish 125; }; }
must test -n "${uml_results:-}"
must test -n "${uml_guest:-}"

must mount -t proc proc /proc
must mount -t sysfs sysfs /sys
mountpoint -q /dev || must mount -t devtmpfs devtmpfs /dev
mkdir -p /dev/pts /dev/shm
must mount -t devpts devpts /dev/pts -o ptmxmode=666,mode=620
must mount -t tmpfs tmpfs /dev/shm
must mount -t tmpfs tmpfs /run
must mount -t tmpfs tmpfs /tmp
mkdir -p /run/lock "$results"
# UUCP lock files: Debian's /var/lock points into /run already.
[ -L /var/lock ] || must mount -t tmpfs tmpfs /var/lock
must mount -t hostfs hostfs "$results" -o "$uml_results"

modules=/usr/lib/uml/modules/$(uname -r)/kernel
for module in lib/crc-ccitt.ko drivers/net/slip/slhc.ko \
              drivers/net/ppp/ppp_generic.ko drivers/net/ppp/ppp_async.ko; do
    must insmod "$modules/$module"
done
must ip link set lo up
must ip netns add net

set --
while IFS= read -r arg; do set -- "$@" "$arg"; done < "$results/guest.args"
must cd "$results"
RESULTS=$results "$uml_guest" "$@"
finish $?
