#include "allocation_counter.h"

#ifdef RTF_BENCH_NO_ALLOCATION_COUNTER
namespace allocations {
bool available() { return false; }
long long current() { return 0; }
long long peak() { return 0; }
void resetPeak() {}
} // namespace allocations
#else
#include <atomic>
#include <cerrno>
#include <cstddef>
#include <malloc.h>

extern "C" {
void *__libc_malloc(size_t size);
void __libc_free(void *pointer);
void *__libc_realloc(void *pointer, size_t size);
void *__libc_calloc(size_t count, size_t size);
void *__libc_memalign(size_t alignment, size_t size);
}

namespace {
std::atomic<long long> heldBytes{0};
std::atomic<long long> peakBytes{0};

void *added(void *pointer)
{
    if (pointer) {
        const long long now = heldBytes += static_cast<long long>(malloc_usable_size(pointer));
        long long highest = peakBytes.load(std::memory_order_relaxed);
        while (now > highest && !peakBytes.compare_exchange_weak(highest, now)) {
        }
    }
    return pointer;
}

void removed(void *pointer)
{
    if (pointer)
        heldBytes -= static_cast<long long>(malloc_usable_size(pointer));
}
} // namespace

extern "C" {
void *malloc(size_t size) noexcept { return added(__libc_malloc(size)); }
void free(void *pointer) noexcept
{
    removed(pointer);
    __libc_free(pointer);
}
void *calloc(size_t count, size_t size) noexcept { return added(__libc_calloc(count, size)); }
void *realloc(void *pointer, size_t size) noexcept
{
    const long long before = pointer ? static_cast<long long>(malloc_usable_size(pointer)) : 0;
    void *result = __libc_realloc(pointer, size);
    if (result || size == 0) {
        heldBytes -= before;
        added(result);
    }
    return result;
}
void *memalign(size_t alignment, size_t size) noexcept { return added(__libc_memalign(alignment, size)); }
void *aligned_alloc(size_t alignment, size_t size) noexcept { return added(__libc_memalign(alignment, size)); }
int posix_memalign(void **out, size_t alignment, size_t size) noexcept
{
    void *pointer = __libc_memalign(alignment, size);
    if (!pointer)
        return ENOMEM;
    *out = added(pointer);
    return 0;
}
}

namespace allocations {
bool available() { return true; }
long long current() { return heldBytes.load(); }
long long peak() { return peakBytes.load(); }
void resetPeak() { peakBytes.store(heldBytes.load()); }
} // namespace allocations
#endif
