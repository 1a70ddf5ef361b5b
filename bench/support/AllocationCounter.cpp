#include "AllocationCounter.h"

#include <malloc.h>

#include <cstdlib>
#include <new>

// Replacements of the global allocation functions. Sizes are taken from
// malloc_usable_size on both sides, so allocation and release always agree,
// sized delete or not.
namespace {

thread_local bench::AllocationTally t_tally;
thread_local bool t_trackLiveBytes = false;

void* allocate(std::size_t size)
{
    void* block = std::malloc(size == 0 ? 1 : size);
    if (block != nullptr) {
        ++t_tally.allocations;
        if (t_trackLiveBytes)
            t_tally.liveBytes += static_cast<std::int64_t>(malloc_usable_size(block));
    }
    return block;
}

void* allocateAligned(std::size_t size, std::align_val_t alignment)
{
    const std::size_t align = static_cast<std::size_t>(alignment);
    const std::size_t rounded = (size + align - 1) / align * align;
    void* block = std::aligned_alloc(align, rounded == 0 ? align : rounded);
    if (block != nullptr) {
        ++t_tally.allocations;
        if (t_trackLiveBytes)
            t_tally.liveBytes += static_cast<std::int64_t>(malloc_usable_size(block));
    }
    return block;
}

void release(void* block) noexcept
{
    if (block == nullptr)
        return;
    if (t_trackLiveBytes)
        t_tally.liveBytes -= static_cast<std::int64_t>(malloc_usable_size(block));
    std::free(block);
}

void* allocateOrThrow(std::size_t size)
{
    if (void* block = allocate(size))
        return block;
    throw std::bad_alloc();
}

void* allocateAlignedOrThrow(std::size_t size, std::align_val_t alignment)
{
    if (void* block = allocateAligned(size, alignment))
        return block;
    throw std::bad_alloc();
}

}  // namespace

namespace bench {

AllocationTally allocationTally() { return t_tally; }

void trackLiveBytes() { t_trackLiveBytes = true; }

}  // namespace bench

void* operator new(std::size_t size) { return allocateOrThrow(size); }
void* operator new[](std::size_t size) { return allocateOrThrow(size); }
void* operator new(std::size_t size, const std::nothrow_t&) noexcept { return allocate(size); }
void* operator new[](std::size_t size, const std::nothrow_t&) noexcept { return allocate(size); }
void* operator new(std::size_t size, std::align_val_t a) { return allocateAlignedOrThrow(size, a); }
void* operator new[](std::size_t size, std::align_val_t a) { return allocateAlignedOrThrow(size, a); }
void* operator new(std::size_t size, std::align_val_t a, const std::nothrow_t&) noexcept
{
    return allocateAligned(size, a);
}
void* operator new[](std::size_t size, std::align_val_t a, const std::nothrow_t&) noexcept
{
    return allocateAligned(size, a);
}

void operator delete(void* block) noexcept { release(block); }
void operator delete[](void* block) noexcept { release(block); }
void operator delete(void* block, std::size_t) noexcept { release(block); }
void operator delete[](void* block, std::size_t) noexcept { release(block); }
void operator delete(void* block, const std::nothrow_t&) noexcept { release(block); }
void operator delete[](void* block, const std::nothrow_t&) noexcept { release(block); }
void operator delete(void* block, std::align_val_t) noexcept { release(block); }
void operator delete[](void* block, std::align_val_t) noexcept { release(block); }
void operator delete(void* block, std::size_t, std::align_val_t) noexcept { release(block); }
void operator delete[](void* block, std::size_t, std::align_val_t) noexcept { release(block); }
void operator delete(void* block, std::align_val_t, const std::nothrow_t&) noexcept { release(block); }
void operator delete[](void* block, std::align_val_t, const std::nothrow_t&) noexcept { release(block); }
