#!/bin/sh
# The main job, run as root inside User-mode Linux by demo/run.sh: cellctl
# brings a PIN-locked simulated card online over real PPP (the network's end
# is pppd in the namespace "net"), a ping crosses the link, and Ctrl-C hangs up.
#   guest.sh CELLCTL
set -eu
datalink=$(cd "$(dirname "$0")/../tests/datalink" && pwd)
. "$datalink/guest-lib.sh"
cellctl=$1

echo "\$ cellctl --sim-state pin --sim-pin 1234 --pin 1234 connect --apn cmnet"
"$cellctl" --sim-state pin --sim-pin 1234 --sim-data-peer "$datalink/network-side.sh" \
    --pin 1234 connect --apn cmnet --status-interval 2 &
ctl=$!
wait_until 60 "IP link on ppp0" link_up
sleep 3
echo
echo "\$ ping -c 3 10.64.0.1      # the network's end of the link"
ping -c 3 -W 2 10.64.0.1
echo
echo "\$ kill -INT \$cellctl      # Ctrl-C"
kill -INT "$ctl"
status=0
wait "$ctl" || status=$?
echo "cellctl exited with status $status"
exit "$status"
