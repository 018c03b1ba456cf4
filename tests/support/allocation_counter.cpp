#include "tests/support/allocation_counter.h"

#include <atomic>
#include <cstdlib>
#include <new>

namespace {
std::atomic<int64_t> allocations{0};
}

namespace ovra::testing {
int64_t AllocationCount() { return allocations.load(); }
}  // namespace ovra::testing

void* operator new(std::size_t size) {
    ++allocations;
    if (void* p = std::malloc(size == 0 ? 1 : size)) return p;
    throw std::bad_alloc();
}
void* operator new[](std::size_t size) { return operator new(size); }
void* operator new(std::size_t size, const std::nothrow_t&) noexcept {
    ++allocations;
    return std::malloc(size == 0 ? 1 : size);
}
void* operator new[](std::size_t size, const std::nothrow_t& tag) noexcept { return operator new(size, tag); }
void operator delete(void* p) noexcept { std::free(p); }
void operator delete[](void* p) noexcept { std::free(p); }
void operator delete(void* p, std::size_t) noexcept { std::free(p); }
void operator delete[](void* p, std::size_t) noexcept { std::free(p); }

// C allocations (snprintf may allocate for long numbers) are counted through glibc's own entry points.
// Sanitizers own malloc, so there only operator new is counted.
#if defined(__SANITIZE_ADDRESS__)
#define OVRA_SANITIZED_MALLOC 1
#elif defined(__has_feature)
#if __has_feature(address_sanitizer)
#define OVRA_SANITIZED_MALLOC 1
#endif
#endif
#if defined(__GLIBC__) && !defined(OVRA_SANITIZED_MALLOC)
extern "C" {
void* __libc_malloc(std::size_t);
void __libc_free(void*);
void* __libc_calloc(std::size_t, std::size_t);
void* __libc_realloc(void*, std::size_t);
void* malloc(std::size_t size) {
    ++allocations;
    return __libc_malloc(size);
}
void free(void* p) { __libc_free(p); }
void* calloc(std::size_t n, std::size_t size) {
    ++allocations;
    return __libc_calloc(n, size);
}
void* realloc(void* p, std::size_t size) {
    ++allocations;
    return __libc_realloc(p, size);
}
}
#endif
