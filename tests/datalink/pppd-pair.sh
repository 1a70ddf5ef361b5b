#!/bin/sh
# Guest script for uml-run.sh: real pppd on both ends. socat joins the
# network side (network-side.sh, on its stdin/stdout) to a pty, and a client
# pppd dials over that pty from the root namespace. Checks the addresses and
# DNS server the client gets, a ping across the link, and that the client sees
# the link drop when the network side is killed.
set -eu
here=$(cd "$(dirname "$0")" && pwd)
. "$here/guest-lib.sh"
show_on_failure client.log netside.log

socat PTY,link=/run/modem,raw,echo=0 EXEC:"$here/network-side.sh" 2>netside.log &
wait_until 5 "pty at /run/modem" test -e /run/modem

pppd /run/modem 115200 nodetach noauth local noipdefault usepeerdns logfile client.log &
client=$!
wait_until 20 "10.64.0.2 (peer 10.64.0.1) on ppp0" link_up
wait_until 5 "DNS 10.64.0.53 in the client's log" grep -q 'primary   DNS address 10\.64\.0\.53' client.log
ping -c 3 -W 2 10.64.0.1 || die "no ping reply from 10.64.0.1"

kill "$(netside_pid)"
wait_until 15 "end of ppp0 after the network side was killed" link_gone
wait_until 10 "exit of the client pppd" exited "$client"
echo "pppd pair: link up with DNS, ping answered, link drop seen"
