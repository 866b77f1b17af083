#include "swfplayer/main/common/bit_reader.h"

#include <cstring>

namespace swfplayer {

bool bit_reader::fill(int bitcount) {
    // Whole bytes that fit below the valid bits (at least 4, since a field needs more bits than
    // the window holds and has at most 32), as many as the block and the tag still have.
    int take = (64 - m_count) / 8;
    if (m_end - m_next < take) {
        take = static_cast<int>(m_end - m_next);
    }
    // Eight bytes are always there to load (the block has room for them past its end); those
    // beyond the ones taken are cleared.
    uint64_t word;
    std::memcpy(&word, m_next, sizeof(word));
    word = __builtin_bswap64(word);
    m_window |= word >> m_count;
    m_next += take;
    m_count += 8 * take;
    if (m_count < 64) {
        m_window &= ~(~uint64_t{0} >> m_count);
    }
    return m_count >= bitcount;
}

uint32_t bit_reader::read_through_stream(int bitcount) {
    release();
    uint32_t value = m_in->read_uint(bitcount);
    resume();
    return value;
}

}  // namespace swfplayer
