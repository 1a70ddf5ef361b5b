#!/bin/sh
# Guest script for uml-run.sh: cellctl brings a cellsim modem online over real
# PPP, the network side being network-side.sh behind the modem's data call.
# Checks the link and what cellctl reports, that cellctl redials when the
# network side dies, and that SIGINT hangs up cleanly: exit status 0, no ppp0,
# no pppd left, and the modem back in command mode.
#   connect-e2e.sh CELLSIM CELLCTL
set -eu
here=$(cd "$(dirname "$0")" && pwd)
. "$here/guest-lib.sh"
show_on_failure cellctl.log cellsim.log background.log status.log disconnect.log
[ $# -eq 2 ] || die "usage: connect-e2e.sh CELLSIM CELLCTL"
cellsim=$1 cellctl=$2
for program in "$cellsim" "$cellctl"; do
    [ -x "$program" ] || die "$program is not an executable the guest can see"
done

"$cellsim" --link /run/modem --sim pin --data-peer "$here/network-side.sh" >cellsim.log 2>&1 &
sim=$!
wait_until 10 "modem at /run/modem" test -e /run/modem

"$cellctl" --device /run/modem --pin 1234 connect --apn cmnet --ip-timeout 30 --max-redials 3 \
    >cellctl.log 2>&1 &
ctl=$!
wait_until 60 "10.64.0.2 (peer 10.64.0.1) on ppp0" link_up
for shown in 10.64.0.2 10.64.0.1 10.64.0.53 ppp0; do
    wait_until 5 "$shown in cellctl's output" grep -qwF "$shown" cellctl.log
done
ping -c 3 -W 2 10.64.0.1 || die "no ping reply from 10.64.0.1"

# The network drops the call: cellctl must notice and dial again.
first_link=$(ppp0_index)
kill "$(netside_pid)"
wait_until 20 "end of the first ppp0" ppp0_replaced "$first_link"
wait_until 60 "10.64.0.2 on ppp0 after the redial" link_up
# pppd sets the address before it brings ppp0 up: the link is up when cellctl
# says so, which it does only once pppd has reported the link up.
wait_until 30 "cellctl online again after the redial" online_twice
ping -c 3 -W 2 10.64.0.1 || die "no ping reply from 10.64.0.1 after the redial"

kill -INT "$ctl"
wait_until 30 "exit of cellctl after SIGINT" exited "$ctl"
status=0
wait "$ctl" || status=$?
[ "$status" -eq 0 ] || die "cellctl exited with status $status after SIGINT"
link_gone || die "ppp0 still there after cellctl exited"
wait_until 10 "end of every pppd" no_pppd
answer=$(printf 'AT\r' | timeout 10 socat -t 2 - /run/modem,raw,echo=0) || true
echo "$answer" | grep -q OK || die "the modem answered AT with: $answer"

# In the background: connect returns once the link is up, status shows the
# link, disconnect ends it the same clean way.
"$cellctl" --device /run/modem connect --apn cmnet --background >background.log 2>&1 ||
    die "connect --background failed: $(cat background.log)"
link_up || die "connect --background returned without 10.64.0.2 on ppp0"
grep -qF "cellctl disconnect" background.log || die "connect --background did not say how to end the link"
"$cellctl" --device /run/modem status >status.log 2>&1 || die "status failed: $(cat status.log)"
grep -q "Data link: *ppp0 10.64.0.2" status.log || die "status does not show the link: $(cat status.log)"
"$cellctl" disconnect >disconnect.log 2>&1 || die "disconnect failed: $(cat disconnect.log)"
link_gone || die "ppp0 still there after disconnect"
wait_until 10 "end of every pppd after disconnect" no_pppd
answer=$(printf 'AT\r' | timeout 10 socat -t 2 - /run/modem,raw,echo=0) || true
echo "$answer" | grep -q OK || die "after disconnect the modem answered AT with: $answer"

kill "$sim"
wait_until 10 "exit of cellsim" exited "$sim"
echo "connect: link up, redialled after a drop, clean hang-up on SIGINT; background, status, disconnect"
