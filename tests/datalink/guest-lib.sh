# Sourced by the guest scripts that uml-run.sh runs (after `set -eu`):
# bounded waits, checks on the client's PPP link, and a dump of the guest's
# state when the script fails.

die() { echo "FAIL: $*"; exit 1; }

# wait_until SECONDS WHAT COMMAND [ARG...]: runs COMMAND every 0.2 s until it
# succeeds, and fails the script, naming WHAT, once SECONDS have passed.
wait_until() {
    wait_limit=$1 wait_what=$2
    shift 2
    wait_left=$((wait_limit * 5))
    until "$@" >/dev/null 2>&1; do
        wait_left=$((wait_left - 1))
        [ "$wait_left" -gt 0 ] || die "no $wait_what within $wait_limit s"
        sleep 0.2
    done
}

# ppp0 in the root namespace carries the address the network side hands out.
link_up() { ip -4 addr show dev ppp0 | grep -q 'inet 10\.64\.0\.2 peer 10\.64\.0\.1/32'; }
link_gone() { ! ip link show ppp0; }
online_twice() { [ "$(grep -c '^Online:' cellctl.log)" -ge 2 ]; }
ppp0_index() { cat /sys/class/net/ppp0/ifindex 2>/dev/null || echo none; }
# True once the ppp0 with interface index $1 has gone (none, or a new one).
ppp0_replaced() { [ "$(ppp0_index)" != "$1" ]; }
# True once process $1 has ended, reaped or not (a zombie has ended).
exited() { state=$(ps -o stat= -p "$1") || return 0; [ "${state#Z}" != "$state" ]; }
no_pppd() { ! pgrep -x pppd; }
netside_pid() { head -n 1 /run/ppp-netside.pid; }

# show_on_failure LOG...: when the script then exits with a failure, print the
# addresses, the processes and these logs.
show_on_failure() {
    failure_logs="$*"
    trap 'show_state $?' EXIT
}

show_state() {
    [ "$1" -ne 0 ] || return 0
    echo "--- ip addr"
    ip addr || true
    echo "--- processes"
    ps -ww --ppid 2 -p 2 --deselect -o pid,ppid,stat,args || true
    for log in $failure_logs; do
        echo "--- $log"
        cat "$log" || true
    done
}
