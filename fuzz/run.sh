#!/bin/sh
# Runs each fuzz target for a bounded time on its corpus and stops at the first
# finding (crash, leak, undefined behaviour, timeout).
#
#   fuzz/run.sh [BUILD_DIR [TARGET...]]     BUILD_DIR defaults to build-fuzz
#
# FUZZ_SECONDS (default 60) is the time per target; inputs are at most 1 KiB
# (longer ones only slow the fuzzer: the channel target keeps lines of 256
# bytes, so overlong lines fit). Each target reads its seeds
# from fuzz/corpus/<target>/ (never written) and grows a working corpus in
# BUILD_DIR/corpus/<target>/, which stays out of git and carries over between
# runs. Findings land in BUILD_DIR/findings/. Every run appends one line to
# BUILD_DIR/fuzz-runs.tsv: date, target, seconds, executions, coverage
# (edges), features, corpus entries, and how the session ended: "time" (its
# time was up) or "interrupted" (SIGINT or SIGTERM, after which libFuzzer
# exits with status 72). fuzz/totals.sh sums the log per target.
#
# ASan runs lighter than its defaults unless ASAN_OPTIONS says otherwise: no
# allocation stacks (malloc_context_size=0), a 4 MB quarantine of freed
# memory, no filling of new allocations. Together they save about a third of
# the time per execution and detect the same faults; a finding still reports
# where the bad access happened, and running the target on the saved input
# with default options shows the allocation and free stacks.
set -eu
# Fuzzer output holds arbitrary bytes; read it byte by byte.
export LC_ALL=C
export ASAN_OPTIONS="${ASAN_OPTIONS:-malloc_context_size=0:quarantine_size_mb=4:max_malloc_fill_size=0}"

here=$(cd "$(dirname "$0")" && pwd)
build=${1:-build-fuzz}
[ $# -gt 0 ] && shift
seconds=${FUZZ_SECONDS:-60}
targets=${*:-"fuzz_answer_reader fuzz_operator_record fuzz_helper_slots fuzz_at_channel"}

mkdir -p "$build/findings"
log="$build/fuzz-runs.tsv"
[ -f "$log" ] || printf 'date\ttarget\tseconds\texecutions\tedges\tfeatures\tcorpus\tended\n' > "$log"

for target in $targets; do
    binary="$build/fuzz/$target"
    if [ ! -x "$binary" ]; then
        echo "fuzz: $target not built, skipped"
        continue
    fi
    mkdir -p "$build/corpus/$target"
    output="$build/findings/$target.log"
    echo "fuzz: $target for ${seconds}s"
    status=0
    started=$(date +%s)
    "$binary" -max_total_time="$seconds" -max_len=1024 -timeout=20 -rss_limit_mb=2048 -print_final_stats=1 \
        -artifact_prefix="$build/findings/$target-" \
        "$build/corpus/$target" "$here/corpus/$target" > "$output" 2>&1 || status=$?
    took=$(( $(date +%s) - started ))
    stats=$(grep -E '^#[0-9]+[[:space:]]+(DONE|pulse|NEW|REDUCE|INITED)' "$output" | tail -n 1 || true)
    runs=$(sed -n 's/^stat::number_of_executed_units: *//p' "$output" | tail -n 1)
    edges=$(echo "$stats" | sed -n 's/.*cov: \([0-9]*\).*/\1/p')
    features=$(echo "$stats" | sed -n 's/.*ft: \([0-9]*\).*/\1/p')
    corpus=$(echo "$stats" | sed -n 's/.*corp: \([0-9]*\).*/\1/p')
    interrupted=no
    grep -q 'run interrupted; exiting' "$output" && interrupted=yes
    if [ "$status" -ne 0 ] && [ "$interrupted" = no ]; then
        echo "fuzz: $target FAILED (exit $status); see $output and $build/findings/" >&2
        grep -E 'ERROR|SUMMARY|runtime error' "$output" | head -n 5 >&2 || true
        exit 1
    fi
    ended=time
    [ "$interrupted" = yes ] && ended=interrupted
    printf '%s\t%s\t%s\t%s\t%s\t%s\t%s\t%s\n' "$(date -u +%Y-%m-%dT%H:%M:%SZ)" "$target" \
        "$took" "${runs:-?}" "${edges:-?}" "${features:-?}" "${corpus:-?}" "$ended" >> "$log"
    echo "fuzz: $target: ${runs:-?} executions in ${took}s, ${edges:-?} edges, ${corpus:-?} corpus entries"
    if [ "$interrupted" = yes ]; then
        echo "fuzz: interrupted" >&2
        exit 130
    fi
done
