// Boost.Signals2 with the dummy mutex the library uses against the signal's
// default mutex, with the same slots: one per helper bound to a PhoneLine
// signal, each a bound member function that looks at the code and ignores it,
// as a helper does with a code it does not handle.

#include <cstdint>
#include <string>
#include <vector>

#include <benchmark/benchmark.h>
#include <boost/bind/bind.hpp>

#include <cellctl/framework/Signals.h>

#include "support/AllocationCounter.h"

namespace {

using ResultSignature = void(int, const std::string&);
using DummyMutexSignal = cellctl::Signal<ResultSignature>;
using DefaultMutexSignal = boost::signals2::signal<ResultSignature>;

struct IgnoringHelper {
    std::uint64_t handled = 0;
    void slot(int code, const std::string& text)
    {
        if (code == 6)
            handled += text.size();
    }
};

template <typename SignalType>
void BM_fire(benchmark::State& state)
{
    const int slotCount = static_cast<int>(state.range(0));
    std::vector<IgnoringHelper> helpers(slotCount);
    SignalType signal;
    using namespace boost::placeholders;
    for (IgnoringHelper& helper : helpers)
        signal.connect(boost::function<ResultSignature>(boost::bind(&IgnoringHelper::slot, &helper, _1, _2)));

    const std::string text = "CELLSIM TD-HSDPA V1.0.0\nOK";
    const std::uint64_t allocationsBefore = bench::allocationTally().allocations;
    for (auto _ : state) {
        signal(3, text);
        benchmark::ClobberMemory();
    }
    state.counters["allocs_per_fire"] =
        benchmark::Counter(static_cast<double>(bench::allocationTally().allocations - allocationsBefore),
                           benchmark::Counter::kAvgIterations);
}

template <typename SignalType>
void BM_connect_disconnect(benchmark::State& state)
{
    SignalType signal;
    IgnoringHelper helper;
    using namespace boost::placeholders;
    for (auto _ : state) {
        boost::signals2::connection c =
            signal.connect(boost::function<ResultSignature>(boost::bind(&IgnoringHelper::slot, &helper, _1, _2)));
        c.disconnect();
    }
}

}  // namespace

BENCHMARK_TEMPLATE(BM_fire, DummyMutexSignal)->Name("signal/fire/dummy_mutex")->Arg(1)->Arg(5);
BENCHMARK_TEMPLATE(BM_fire, DefaultMutexSignal)->Name("signal/fire/default_mutex")->Arg(1)->Arg(5);
BENCHMARK_TEMPLATE(BM_connect_disconnect, DummyMutexSignal)->Name("signal/connect_disconnect/dummy_mutex");
BENCHMARK_TEMPLATE(BM_connect_disconnect, DefaultMutexSignal)->Name("signal/connect_disconnect/default_mutex");

BENCHMARK_MAIN();
