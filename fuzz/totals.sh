#!/bin/sh
# Sums the fuzz sessions logged in BUILD_DIR/fuzz-runs.tsv (see run.sh): per
# target, the sessions, seconds and executions in total, the mean rate, and the
# coverage (edges, features) and corpus of its latest session.
#
#   fuzz/totals.sh [BUILD_DIR]     BUILD_DIR defaults to build-fuzz
set -eu
build=${1:-build-fuzz}
log="$build/fuzz-runs.tsv"
if [ ! -f "$log" ]; then
    echo "fuzz: no sessions logged in $log" >&2
    exit 1
fi

awk -F '\t' '
NR == 1 { next }
$4 !~ /^[0-9]+$/ { unknown[$2]++; next }
{
    if (!($2 in runs)) order[++targets] = $2
    runs[$2]++; seconds[$2] += $3; executions[$2] += $4
    edges[$2] = $5; features[$2] = $6; corpus[$2] = $7
}
END {
    printf "%-22s %8s %9s %12s %8s %7s %9s %7s\n", "target", "sessions", "seconds", "executions",
        "exec/s", "edges", "features", "corpus"
    for (i = 1; i <= targets; i++) {
        t = order[i]
        printf "%-22s %8d %9d %12d %8d %7s %9s %7s\n", t, runs[t], seconds[t], executions[t],
            (seconds[t] > 0 ? executions[t] / seconds[t] : 0), edges[t], features[t], corpus[t]
        if (unknown[t]) printf "  (%d more sessions of %s logged no count)\n", unknown[t], t
    }
}' "$log"
