#pragma once

#include <cstddef>
#include <cstdint>

// Every benchmark binary that links AllocationCounter.cpp replaces the global
// operator new and delete with versions that count, per thread, how many
// blocks were allocated and, once asked to, how many bytes are live. Only the
// calling thread's figures are read, so a measurement is not disturbed by
// other threads and the counting costs no atomic operation.
namespace bench {

struct AllocationTally {
    std::uint64_t allocations = 0;  // blocks handed out by operator new
    std::int64_t liveBytes = 0;     // usable bytes handed out minus those returned, while tracked
};

// Live bytes cost a malloc_usable_size call per allocation and release, so
// they are tracked only once the calling thread has called this; call it at
// the start of the program, before the blocks being measured exist.
void trackLiveBytes();

// The calling thread's figures since it started.
AllocationTally allocationTally();

// Allocations made by the calling thread while `work` runs.
template <typename Work>
std::uint64_t allocationsDuring(Work&& work)
{
    const std::uint64_t before = allocationTally().allocations;
    work();
    return allocationTally().allocations - before;
}

}  // namespace bench
