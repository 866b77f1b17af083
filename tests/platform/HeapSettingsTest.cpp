#include "platform/HeapSettings.h"

#include <gtest/gtest.h>
#include <malloc.h>

#include <cstdlib>
#include <vector>

// Memory freed at the top of the heap stays with the process: a few megabytes of blocks, each
// small enough to come from the heap itself, freed and the heap is as large as before.
TEST(HeapSettings, freed_memory_stays_with_the_process) {
    if (!platform::KeepFreedHeapMemory()) {
        GTEST_SKIP() << "the allocator keeps its own settings";
    }
    constexpr size_t kBlock = 64 * 1024;
    std::vector<void*> blocks;
    for (int i = 0; i < 64; ++i) {
        blocks.push_back(std::malloc(kBlock));
        ASSERT_NE(blocks.back(), nullptr);
        // Touched, as the driver's memory is.
        static_cast<char*>(blocks.back())[0] = 1;
    }
    const size_t grown = mallinfo2().arena;
    for (auto it = blocks.rbegin(); it != blocks.rend(); ++it) {
        std::free(*it);
    }
    EXPECT_GE(mallinfo2().arena + kBlock, grown);
    EXPECT_GE(mallinfo2().fordblks, 63 * kBlock);
}
