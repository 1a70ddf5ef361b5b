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

echo "load after: $(cut -d' ' -f1-3 /proc/loadavg)" >>"$out/machine.txt"
echo "results in $out"
