#include "tests/swfplayer/main/swfplayer_as_classes/AllocationCounter.h"

#include <cstdlib>
#include <new>

namespace {

bool s_counting = false;
long s_allocations = 0;

}  // namespace

void* operator new(std::size_t size) {
    if (s_counting) {
        s_allocations++;
    }
    if (void* p = std::malloc(size == 0 ? 1 : size)) {
        return p;
    }
    throw std::bad_alloc();
}

void* operator new[](std::size_t size) {
    return operator new(size);
}

// The non-throwing forms too, so that every unaligned allocation pairs with the deletes below.
void* operator new(std::size_t size, const std::nothrow_t&) noexcept {
    if (s_counting) {
        s_allocations++;
    }
    return std::malloc(size == 0 ? 1 : size);
}

void* operator new[](std::size_t size, const std::nothrow_t& tag) noexcept {
    return operator new(size, tag);
}

void operator delete(void* p) noexcept {
    std::free(p);
}

void operator delete[](void* p) noexcept {
    std::free(p);
}

void operator delete(void* p, std::size_t) noexcept {
    std::free(p);
}

void operator delete[](void* p, std::size_t) noexcept {
    std::free(p);
}

void operator delete(void* p, const std::nothrow_t&) noexcept {
    std::free(p);
}

void operator delete[](void* p, const std::nothrow_t&) noexcept {
    std::free(p);
}

namespace testing_support {

AllocationCounter::AllocationCounter() {
    s_allocations = 0;
    s_counting = true;
}

AllocationCounter::~AllocationCounter() {
    s_counting = false;
}

long AllocationCounter::Stop() {
    s_counting = false;
    return s_allocations;
}

}  // namespace testing_support
