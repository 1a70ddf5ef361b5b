// Cost of one device answer inside the library: from PhoneLine's delivery to
// the host callback, with every assistor of the start-up attached to one line,
// so every helper sees every answer. Per path: time per answer, heap
// allocations per answer, and percentiles of individually timed answers.

#include <algorithm>
#include <chrono>
#include <functional>
#include <string>
#include <vector>

#include <benchmark/benchmark.h>

#include "support/AllocationCounter.h"
#include "support/SampleAnswers.h"
#include "support/SilentPhoneLine.h"
#include "support/StartupRig.h"

namespace {

using bench::HostTally;

enum class Signal { Query, Modify };

struct AnswerPath {
    const char* name;
    Signal signal;
    int code;
    std::string text;
    // What the host must have seen after one delivery; empty: nothing at all.
    std::function<bool(const HostTally&)> reached;
};

const std::vector<AnswerPath>& answerPaths()
{
    static const std::vector<AnswerPath> paths = {
        {"signal", Signal::Query, PhoneLine::SignalQualityGsm, bench::kSignalAnswer,
         [](const HostTally& t) { return t.signalLevel == 23; }},
        {"registration_report", Signal::Modify, PhoneLine::NetworkRegistration, bench::kRegistrationReport,
         [](const HostTally& t) { return t.registration == 1; }},
        {"current_operator", Signal::Query, PhoneLine::CurrentOperator, bench::kCurrentOperatorAnswer,
         [](const HostTally& t) { return t.currentOperatorTech == 2; }},
        {"available_operators_10", Signal::Query, PhoneLine::AvailableOperators, bench::availableOperatorsAnswer(10),
         [](const HostTally& t) { return t.availableOperators == 10; }},
        {"preferred_list_20", Signal::Query, PhoneLine::PreferredOperators, bench::preferredListAnswer(20),
         [](const HostTally& t) { return t.preferredEntries == 20; }},
        {"mode", Signal::Query, PhoneLine::NetworkMode, bench::kModeAnswer,
         [](const HostTally& t) { return t.modeType == 2; }},
        {"unhandled_code", Signal::Query, PhoneLine::RevisionIdentification, bench::kRevisionAnswer, nullptr},
    };
    return paths;
}

void deliver(PhoneLine& line, const AnswerPath& path)
{
    const auto code = static_cast<PhoneLine::QueryType>(path.code);
    if (path.signal == Signal::Query)
        line.deliverQueryResult(code, path.text);
    else
        line.deliverModifyResult(code, path.text);
}

// Percentiles over answers timed one by one (each sample includes the two
// clock reads, about 20-40 ns here).
void addPercentiles(benchmark::State& state, PhoneLine& line, const AnswerPath& path)
{
    constexpr int kSamples = 5000;
    std::vector<double> nanos;
    nanos.reserve(kSamples);
    for (int i = 0; i < kSamples; ++i) {
        const auto start = std::chrono::steady_clock::now();
        deliver(line, path);
        const auto stop = std::chrono::steady_clock::now();
        nanos.push_back(std::chrono::duration<double, std::nano>(stop - start).count());
    }
    std::sort(nanos.begin(), nanos.end());
    state.counters["p50_ns"] = nanos[kSamples / 2];
    state.counters["p99_ns"] = nanos[kSamples * 99 / 100];
}

void runAnswerPath(benchmark::State& state, const AnswerPath& path)
{
    bench::SilentPhoneLine line;
    bench::StartupRig rig(line);

    // One answer first, so records and lists the library keeps already hold
    // their capacity: the loop measures the steady state.
    const std::uint64_t callbacksBefore = rig.tally().callbacks;
    const std::uint64_t firstAllocations = bench::allocationsDuring([&] { deliver(line, path); });
    const bool reachedHost = path.reached ? path.reached(rig.tally()) : rig.tally().callbacks == callbacksBefore;
    if (!reachedHost) {
        state.SkipWithError("the answer did not reach the host as expected");
        return;
    }

    const std::uint64_t allocationsBefore = bench::allocationTally().allocations;
    for (auto _ : state) {
        deliver(line, path);
        benchmark::ClobberMemory();
    }
    const std::uint64_t allocations = bench::allocationTally().allocations - allocationsBefore;

    state.counters["allocs_per_answer"] =
        benchmark::Counter(static_cast<double>(allocations), benchmark::Counter::kAvgIterations);
    state.counters["allocs_first_answer"] = static_cast<double>(firstAllocations);
    state.counters["answer_bytes"] = static_cast<double>(path.text.size());
    addPercentiles(state, line, path);
}

// The same delivery to a line nothing is attached to: what the two signals
// cost before any helper runs.
void BM_unhandled_code_no_helpers(benchmark::State& state)
{
    bench::SilentPhoneLine line;
    const std::string text = bench::kRevisionAnswer;
    const std::uint64_t allocationsBefore = bench::allocationTally().allocations;
    for (auto _ : state) {
        line.deliverQueryResult(PhoneLine::RevisionIdentification, text);
        benchmark::ClobberMemory();
    }
    state.counters["allocs_per_answer"] =
        benchmark::Counter(static_cast<double>(bench::allocationTally().allocations - allocationsBefore),
                           benchmark::Counter::kAvgIterations);
}

const bool registered = [] {
    for (const AnswerPath& path : answerPaths())
        benchmark::RegisterBenchmark((std::string("answer/") + path.name).c_str(),
                                     [&path](benchmark::State& state) { runAnswerPath(state, path); });
    benchmark::RegisterBenchmark("answer/unhandled_code_no_helpers", BM_unhandled_code_no_helpers);
    return true;
}();

}  // namespace

BENCHMARK_MAIN();
