#!/bin/sh
# Source coverage reached by the fuzz corpora: builds the targets with profile
# counters (no sanitizers) in BUILD_DIR/coverage, runs each once over its
# working corpus and its seeds, and prints the line, function and region
# coverage of the files that target is there to exercise.
#
#   fuzz/coverage.sh [BUILD_DIR]     BUILD_DIR defaults to build-fuzz
set -eu

here=$(cd "$(dirname "$0")" && pwd)
root=$(dirname "$here")
build=${1:-build-fuzz}
coverage="$build/coverage"

CC=clang CXX=clang++ cmake -S "$root" -B "$coverage" -DCMAKE_BUILD_TYPE=RelWithDebInfo \
    -DCELLCTL_TESTS=OFF -DCELLCTL_FUZZ_SOURCE_COVERAGE=ON > "$coverage.configure.log"
cmake --build "$coverage" --target fuzzers -j "${JOBS:-2}" > "$coverage.build.log"

# The files each target is there to exercise.
files_of() {
    case $1 in
    fuzz_answer_reader) echo "$root/src/cellctl/framework/AtResponseParser.cpp $root/src/cellctl/text/Numbers.cpp" ;;
    fuzz_operator_record) echo "$root/src/cellctl/cops/CCopsInfo.cpp" ;;
    fuzz_helper_slots) ls "$root"/src/cellctl/*/*.cpp | grep -v /at/ ;;
    # The channel's framing, queue and shaping; not its transports and I/O glue.
    fuzz_at_channel)
        for name in LineFramer CommandQueue CommandLine AnswerShaping OperatorScan OperatorNames \
            FinalResult Dialect TextUtil TraceFormat ParameterSafety; do
            echo "$root/src/cellctl/at/$name.cpp"
        done ;;
    esac
}

printf '%-22s %18s %18s %18s\n' target lines functions regions
for target in fuzz_answer_reader fuzz_operator_record fuzz_helper_slots fuzz_at_channel; do
    binary="$coverage/fuzz/$target"
    [ -x "$binary" ] || continue
    mkdir -p "$build/corpus/$target"
    rm -f "$coverage/$target.profraw"
    LLVM_PROFILE_FILE="$coverage/$target.profraw" "$binary" -runs=0 \
        "$build/corpus/$target" "$here/corpus/$target" > "$coverage/$target.log" 2>&1
    llvm-profdata merge -sparse "$coverage/$target.profraw" -o "$coverage/$target.profdata"
    # shellcheck disable=SC2046
    llvm-cov report "$binary" -instr-profile="$coverage/$target.profdata" $(files_of "$target") \
        > "$coverage/$target.report"
    # TOTAL: regions, missed, cover, functions, missed, executed, lines, missed, cover
    awk -v target="$target" '$1 == "TOTAL" {
        printf "%-22s %7s %10s %7s %10s %7s %10s\n", target,
            $10, "(" $8 - $9 "/" $8 ")", $7, "(" $5 - $6 "/" $5 ")", $4, "(" $2 - $3 "/" $2 ")"
    }' "$coverage/$target.report"
done
