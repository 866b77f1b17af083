#pragma once

#include <cstddef>
#include <memory>
#include <vector>

namespace swfplayer {

// Storage for one kind of frame tag: a free list of equal blocks carved from chunks of
// chunk_blocks. A movie makes and frees its placement tags by the thousand, which the general
// heap does slowly; the chunks stay with the process, so the memory of the most tags ever
// alive at once is kept for the next movie. The player runs on one thread, and so does this.
template <class T>
class tag_pool {
public:
    static constexpr int chunk_blocks = 512;

    static void* allocate() {
        if (s_free == nullptr) {
            grow();
        }
        block* b = s_free;
        s_free = b->next;
        // Blocks freed by a movie that went come back in the reverse order of their making and
        // have mostly left the cache; asking for the next one now lets its fetch overlap the
        // reading of the tag this one is for.
        if (s_free != nullptr) {
            for (size_t line = 0; line < sizeof(block); line += 64) {
                __builtin_prefetch(s_free->storage + line, 1);
            }
        }
        return b->storage;
    }

    static void release(void* p) {
        if (p == nullptr) {
            return;
        }
        block* b = reinterpret_cast<block*>(p);
        b->next = s_free;
        s_free = b;
    }

private:
    union block {
        block* next;
        alignas(T) unsigned char storage[sizeof(T)];
    };

    static void grow() {
        s_chunks.push_back(std::make_unique<block[]>(chunk_blocks));
        block* chunk = s_chunks.back().get();
        for (int i = 0; i < chunk_blocks; i++) {
            chunk[i].next = i + 1 < chunk_blocks ? &chunk[i + 1] : s_free;
        }
        s_free = chunk;
    }

    static inline block* s_free = nullptr;
    static inline std::vector<std::unique_ptr<block[]>> s_chunks;
};

}  // namespace swfplayer
