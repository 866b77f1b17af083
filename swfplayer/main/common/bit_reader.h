#pragma once

#include "swfplayer/main/common/stream.h"

#include <cassert>
#include <cstdint>

namespace swfplayer {

// A run of bit fields read from a stream with the fields' bits held in a register: the fields
// of a matrix, a rectangle, a colour transform or a shape's edge records. The reader takes the
// stream's partly read byte and then bytes of the stream's read-ahead block, up to eight at a
// time, into a 64-bit window; when it ends (or is released) it hands back the whole bytes it did
// not use and keeps the rest of a byte as the stream's partly read byte, so the stream stands
// exactly where its own read_uint calls would have left it. A field that needs bytes beyond the
// block or the innermost tag is read by the stream itself, with its rules for missing bytes.
//
// While a reader holds the stream, nothing else may read from it; release() hands the stream
// back for byte-aligned reads and resume() takes it again.
class bit_reader {
public:
    explicit bit_reader(stream* in) : m_in(in) { resume(); }
    ~bit_reader() { release(); }
    bit_reader(const bit_reader&) = delete;
    bit_reader& operator=(const bit_reader&) = delete;

    // As stream::read_uint: 0 <= bitcount <= 32.
    uint32_t read_uint(int bitcount) {
        assert(bitcount >= 0 && bitcount <= 32);
        if (bitcount > m_count && !fill(bitcount)) {
            return read_through_stream(bitcount);
        }
        // Shifted in two steps so that a field of 0 bits gives 0.
        uint32_t value = static_cast<uint32_t>(m_window >> 1 >> (63 - bitcount));
        m_window <<= bitcount;
        m_count -= bitcount;
        return value;
    }
    // As stream::read_sint. The window holds the field in its top bits, so an arithmetic shift
    // down sign-extends it.
    int32_t read_sint(int bitcount) {
        assert(bitcount >= 0 && bitcount <= 32);
        if (bitcount > m_count && !fill(bitcount)) {
            return stream::sign_extend(read_through_stream(bitcount), bitcount);
        }
        if (bitcount == 0) {
            return 0;
        }
        int32_t value = static_cast<int32_t>(static_cast<int64_t>(m_window) >> (64 - bitcount));
        m_window <<= bitcount;
        m_count -= bitcount;
        return value;
    }
    bool read_bool() { return read_uint(1) != 0; }

    // Hands the stream back, standing where the fields read so far end; nothing more when it
    // has been handed back already.
    void release() {
        if (m_next == nullptr) {
            return;
        }
        // The window's whole bytes are the last ones taken from the block (it never holds more
        // than 7 bits from before resume), so they go back to it unread; the bits of a partly
        // read byte become the stream's partly read byte.
        int rest = m_count % 8;
        m_in->m_block_used = static_cast<int>(m_next - m_in->m_block) - m_count / 8;
        m_in->m_unused_bits = static_cast<uint8_t>(rest);
        m_in->m_current_byte = rest > 0 ? static_cast<uint8_t>(m_window >> (64 - rest)) : 0;
        m_next = nullptr;
    }
    // Takes the stream again from where it stands.
    void resume() {
        m_count = m_in->m_unused_bits;
        m_window = m_count > 0 ? static_cast<uint64_t>(m_in->m_current_byte) << (64 - m_count) : 0;
        m_in->align();
        m_next = m_in->m_block + m_in->m_block_used;
        int at_hand = m_in->bytes_at_hand();
        m_end = m_next + (at_hand > 0 ? at_hand : 0);
    }

private:
    // Moves bytes of the block into the window; true when it then holds bitcount bits.
    bool fill(int bitcount);
    // A field the block cannot give: read by the stream itself.
    uint32_t read_through_stream(int bitcount);

    stream* m_in;
    // The unread bits, most significant first; the bits below the m_count valid ones are 0.
    uint64_t m_window = 0;
    int m_count = 0;
    // The block's bytes not yet taken into the window, up to the innermost tag's end; null
    // while the stream is handed back.
    const uint8_t* m_next = nullptr;
    const uint8_t* m_end = nullptr;
};

}  // namespace swfplayer
