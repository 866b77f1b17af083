#include "platform/HeapSettings.h"

#include <malloc.h>

namespace platform {

namespace {

constexpr int kKeptBytes = 32 * 1024 * 1024;

}  // namespace

bool KeepFreedHeapMemory() {
    return mallopt(M_TRIM_THRESHOLD, kKeptBytes) == 1;
}

}  // namespace platform
