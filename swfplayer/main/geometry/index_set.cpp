#include "swfplayer/main/geometry/index_set.h"

#include <cassert>

namespace swfplayer {
namespace triangulate {

index_set::index_set(int size)
    : m_words((static_cast<size_t>(size) + 63) / 64, 0), m_summary((m_words.size() + 63) / 64, 0) {
    assert(size >= 0);
}

void index_set::insert(int index) {
    size_t word = static_cast<size_t>(index) / 64;
    m_words[word] |= uint64_t{1} << (index % 64);
    m_summary[word / 64] |= uint64_t{1} << (word % 64);
}

void index_set::erase(int index) {
    size_t word = static_cast<size_t>(index) / 64;
    m_words[word] &= ~(uint64_t{1} << (index % 64));
    if (m_words[word] == 0) {
        m_summary[word / 64] &= ~(uint64_t{1} << (word % 64));
    }
}

int index_set::lower_bound(int from) const {
    if (from < 0) {
        from = 0;
    }
    size_t word = static_cast<size_t>(from) / 64;
    if (word >= m_words.size()) {
        return -1;
    }
    uint64_t bits = m_words[word] & (~uint64_t{0} << (from % 64));
    if (bits != 0) {
        return static_cast<int>(word * 64 + __builtin_ctzll(bits));
    }
    // Look for the next word with any member through the summary.
    size_t next = word + 1;
    size_t group = next / 64;
    if (group >= m_summary.size()) {
        return -1;
    }
    uint64_t words = m_summary[group] & (~uint64_t{0} << (next % 64));
    while (words == 0) {
        if (++group >= m_summary.size()) {
            return -1;
        }
        words = m_summary[group];
    }
    size_t found = group * 64 + __builtin_ctzll(words);
    return static_cast<int>(found * 64 + __builtin_ctzll(m_words[found]));
}

}  // namespace triangulate
}  // namespace swfplayer
