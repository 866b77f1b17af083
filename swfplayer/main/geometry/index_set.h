#pragma once

#include <cstddef>
#include <cstdint>
#include <vector>

namespace swfplayer {
namespace triangulate {

// A set of indices 0..size-1 that finds the smallest member at or above a given index quickly:
// a bit per index, and a summary bit per 64-bit word telling which words hold any member.
class index_set {
public:
    explicit index_set(int size);

    void insert(int index);
    void erase(int index);
    // The smallest member >= from, or -1 when there is none.
    int lower_bound(int from) const;

private:
    std::vector<uint64_t> m_words;
    std::vector<uint64_t> m_summary;
};

}  // namespace triangulate
}  // namespace swfplayer
