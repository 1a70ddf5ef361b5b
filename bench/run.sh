#!/bin/sh
# Runs every benchmark built in the given build directory (default build-bench)
# and writes the results under <build>/bench-results/: JSON from Google
# Benchmark, CSV from the channel comparison, JSON from the fleet, and the
# machine the figures were taken on.
set -eu

here=$(cd "$(dirname "$0")" && pwd)
build=$(cd "${1:-build-bench}" && pwd)
out="$build/bench-results"
mkdir -p "$out"

{
    echo "date: $(date -u '+%Y-%m-%d %H:%M:%S UTC')"
    echo "nproc: $(nproc)"
    echo "cpu: $(grep -m1 'model name' /proc/cpuinfo | sed 's/.*: //')"
    echo "uname: $(uname -a)"
    echo "load before: $(cut -d' ' -f1-3 /proc/loadavg)"
} >"$out/machine.txt"
cat "$out/machine.txt"

gbench() {
    name=$1
    shift
    "$build/bench/$name" --benchmark_repetitions=15 --benchmark_report_aggregates_only=true \
        --benchmark_out="$out/$name.json" --benchmark_out_format=json "$@"
}

gbench bench_answers
gbench bench_signals

# Channel cost over a pty: every client against the same device in one run.
if [ -x "$build/bench/bench_atline_client" ]; then
    /usr/bin/python3 "$here/channel/compare.py" "$build" "$out"
fi

# 256 simulated modems, every host line on one io_context thread.
if [ -x "$build/bench/bench_fleet" ]; then
    "$build/bench/bench_fleet" 256 "$out/fleet.json"
fi

echo "load after: $(cut -d' ' -f1-3 /proc/loadavg)" >>"$out/machine.txt"
echo "results in $out"
