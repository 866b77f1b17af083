#include "bench/swfplayer_geometry/PeakMemory.h"

#include "tests/support/AddressSanitizer.h"

#include <atomic>
#include <cerrno>

// The heap is counted through glibc's allocator, which the sanitizer replaces.
#if !PONDORIX_ADDRESS_SANITIZER
#include <malloc.h>

// glibc's own allocator entry points, which the replacements below forward to. Replacing the
// C allocator counts the C++ allocations and those of the GLU library alike.
extern "C" {
void* __libc_malloc(size_t size);
void* __libc_calloc(size_t count, size_t size);
void* __libc_realloc(void* pointer, size_t size);
void* __libc_memalign(size_t alignment, size_t size);
void __libc_free(void* pointer);
}

namespace {

std::atomic<size_t> g_InUse{0};
std::atomic<size_t> g_Peak{0};

void Counted(void* pointer) {
    if (pointer != nullptr) {
        size_t now = g_InUse.fetch_add(malloc_usable_size(pointer)) + malloc_usable_size(pointer);
        size_t peak = g_Peak.load();
        while (now > peak && !g_Peak.compare_exchange_weak(peak, now)) {
        }
    }
}

void Uncounted(void* pointer) {
    if (pointer != nullptr) {
        g_InUse.fetch_sub(malloc_usable_size(pointer));
    }
}

}  // namespace

extern "C" {

void* malloc(size_t size) {
    void* pointer = __libc_malloc(size);
    Counted(pointer);
    return pointer;
}

void* calloc(size_t count, size_t size) {
    void* pointer = __libc_calloc(count, size);
    Counted(pointer);
    return pointer;
}

void* realloc(void* old, size_t size) {
    Uncounted(old);
    void* pointer = __libc_realloc(old, size);
    // A failed reallocation leaves the old block in place.
    Counted(pointer != nullptr || size == 0 ? pointer : old);
    return pointer;
}

void free(void* pointer) {
    Uncounted(pointer);
    __libc_free(pointer);
}

void* memalign(size_t alignment, size_t size) {
    void* pointer = __libc_memalign(alignment, size);
    Counted(pointer);
    return pointer;
}

void* aligned_alloc(size_t alignment, size_t size) {
    return memalign(alignment, size);
}

int posix_memalign(void** result, size_t alignment, size_t size) {
    void* pointer = memalign(alignment, size);
    if (pointer == nullptr) {
        return ENOMEM;
    }
    *result = pointer;
    return 0;
}

}  // extern "C"

namespace bench_geometry {

PeakMemory::PeakMemory() : m_Start(g_InUse.load()) {
    g_Peak.store(m_Start);
}

size_t PeakMemory::PeakBytes() const {
    size_t peak = g_Peak.load();
    return peak > m_Start ? peak - m_Start : 0;
}

bool PeakMemory::Available() {
    return true;
}

}  // namespace bench_geometry

#else

namespace bench_geometry {

PeakMemory::PeakMemory() : m_Start(0) {}

size_t PeakMemory::PeakBytes() const {
    return 0;
}

bool PeakMemory::Available() {
    return false;
}

}  // namespace bench_geometry

#endif
