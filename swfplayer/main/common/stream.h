#pragma once

#include "swfplayer/base/base_file.h"
#include "swfplayer/base/base_string.h"

#include <bit>
#include <cassert>
#include <climits>
#include <cstdint>
#include <cstring>
#include <memory>
#include <vector>

namespace swfplayer {

// The little-endian bit and byte reader that every byte of a movie passes through. It adds to a
// base_file bit fields packed most significant bit first, the byte-aligned numbers, floats and
// strings of the movie format, and the nesting of tags: each tag header pushes the position at
// which the tag ends, and closing the tag moves there whatever its reader consumed.
//
// Reads never leave the innermost open tag: bytes beyond its end, and bytes the file no longer
// has, read as zeros and are not consumed. Tag ends are clamped to the enclosing tag and to the
// end of the file's data, which the stream learns once, when it is made: a malformed length can
// neither send a nested reader outside its parent nor make a reader size anything by bytes the
// file does not have, and no read is tried past that end.
//
// The stream reads its file ahead in blocks, so that a field costs no call into the file (an
// inflating file, above all, is slow to call once per byte). Readers that need a base_file of
// their own use get_underlying_stream, a view that reads through the stream and so always
// stands exactly at the stream's position.
class stream {
public:
    // Reads from input, which the stream never closes or deletes, from its position up to
    // data_end at most (a position of the input), or to the input's end when that comes first.
    explicit stream(base_file* input, int data_end = INT_MAX);
    // Reads the size bytes at data, which the caller keeps alive and unchanged as long as the
    // stream, in place: no block is copied. Eight readable bytes must follow them (their values
    // are never used). Positions start at 0.
    stream(const uint8_t* data, int size);
    stream(const stream&) = delete;
    stream& operator=(const stream&) = delete;

    // Bit fields: 0 <= bitcount <= 32; 0 bits read nothing and give 0.
    uint32_t read_uint(int bitcount) {
        assert(bitcount >= 0 && bitcount <= 32);
        if (bitcount > m_unused_bits) {
            return read_uint_across_bytes(bitcount);
        }
        // The field lies inside the current byte (or is empty). The byte holds only its unread
        // low bits, so an empty field gives 0 here too.
        m_unused_bits = static_cast<uint8_t>(m_unused_bits - bitcount);
        uint32_t value = static_cast<uint32_t>(m_current_byte) >> m_unused_bits;
        m_current_byte &= static_cast<uint8_t>((1u << m_unused_bits) - 1);
        return value;
    }
    // read_uint sign-extended from bit bitcount - 1.
    int32_t read_sint(int bitcount) { return sign_extend(read_uint(bitcount), bitcount); }
    // A field of bitcount bits read as unsigned, sign-extended from bit bitcount - 1. Zero bits
    // give 0; a full 32-bit field is already its own two's complement.
    static int32_t sign_extend(uint32_t value, int bitcount) {
        if (bitcount > 0 && bitcount < 32 && (value & (1u << (bitcount - 1)))) {
            value |= ~0u << bitcount;
        }
        return static_cast<int32_t>(value);
    }
    bool read_bool() { return read_uint(1) != 0; }
    // Drops the rest of the current bit byte.
    void align() {
        m_unused_bits = 0;
        m_current_byte = 0;
    }

    // Byte-aligned reads: each drops the bit buffer first.
    uint8_t read_u8() { return static_cast<uint8_t>(read_little_endian<1>()); }
    uint16_t read_u16() { return static_cast<uint16_t>(read_little_endian<2>()); }
    // Three bytes, little-endian (the bytes of an RGB colour in file order, lowest first).
    uint32_t read_u24() { return read_little_endian<3>(); }
    int16_t read_s16() { return static_cast<int16_t>(read_u16()); }
    uint32_t read_u32() { return read_little_endian<4>(); }
    int32_t read_s32() { return static_cast<int32_t>(read_u32()); }
    // Signed 16.16 fixed point.
    float read_fixed();
    // The movie format's 16-bit float: 1 sign, 5 exponent (bias 16) and 10 mantissa bits.
    float read_float16();
    float read_float();
    double read_double();
    // Up to five bytes, seven bits each, least significant group first; the fifth gives 8 bits.
    uint32_t read_vu32();

    // Bytes up to a 0 byte, which is consumed; stops at the end of the tag or the file.
    void read_string(base_string* out);
    // A length byte n, then n bytes; 0 bytes are consumed but not kept.
    void read_string_with_length(base_string* out);
    // len bytes (none for len <= 0); 0 bytes are consumed but not kept.
    void read_string_with_length(int len, base_string* out);
    // Reads up to count bytes into dst and gives the number read; never past the tag end. The
    // rest of dst is zeroed.
    int read_bytes(void* dst, int count);

    // The position in the file in bytes (the bit buffer is not counted).
    int get_position() const { return m_block_position + m_block_used; }
    // Drops the bit buffer and seeks; a position beyond the innermost tag end is clamped to it.
    void set_position(int pos);

    // Reads a tag header, pushes the tag's end and gives the tag type (0..1023).
    int open_tag();
    // Moves to the innermost tag's end and pops it. A tag must be open.
    void close_tag();
    // The innermost open tag's end. A tag must be open.
    int get_tag_end_position() const;
    int get_tag_depth() const { return static_cast<int>(m_tag_stack.size()); }
    // Bytes left in the innermost open tag (0 when none is open or the tag is used up), not
    // counting bytes past the end of the file once a read has found it.
    int get_tag_bytes_left() const;
    // True once a read asked for bytes the file did not have.
    bool hit_file_end() const { return m_hit_file_end; }

    // A file that reads through this stream (within the innermost tag) from its position on;
    // seeking it seeks the stream. It lives as long as the stream.
    base_file* get_underlying_stream();

private:
    // Takes bit fields straight from the block and hands the stream back where they end.
    friend class bit_reader;

    static constexpr int block_size = 4096;

    // read_uint for a field that needs bytes beyond the current one.
    uint32_t read_uint_across_bytes(int bitcount);
    // Takes count (1..4) bytes as the top bytes of a big-endian 32-bit number, one at a time;
    // bytes that the tag or the file lacks read as 0.
    uint32_t take_big_endian_slowly(int count);

    // Drops the bit buffer, then reads count (1..4) bytes as a little-endian number.
    template <int count>
    uint32_t read_little_endian() {
        align();
        if (bytes_at_hand() < count) {
            return take_little_endian_slowly(count);
        }
        // The host is little-endian too, so the bytes are the number as they stand.
        static_assert(std::endian::native == std::endian::little);
        uint32_t value = 0;
        std::memcpy(&value, m_block + m_block_used, count);
        m_block_used += count;
        return value;
    }
    // The same one byte at a time, for reads at the tag end, the file end or a block's end;
    // bytes that the tag or the file lacks read as 0.
    uint32_t take_little_endian_slowly(int count);

    // Bytes that the block holds and the innermost tag still allows: these can be taken from
    // m_block directly.
    int bytes_at_hand() const { return m_block_limit - m_block_used; }
    // Keeps m_block_limit in step with the block and the innermost tag.
    void update_block_limit() {
        int tag_in_block = m_tag_end - m_block_position;
        m_block_limit = m_block_filled < tag_in_block ? m_block_filled : tag_in_block;
    }
    // Makes at least one byte at hand; false at the tag end or the file end.
    bool refill();
    // One byte, or 0 when nothing is left.
    uint32_t byte_or_zero() {
        if (bytes_at_hand() > 0 || refill()) {
            return m_block[m_block_used++];
        }
        return 0;
    }
    // Reads the next block of the file; false when the file has nothing more (always, for a
    // stream over bytes in memory, whose one block holds them all).
    bool fill_block();
    // Moves to pos, inside the block when it lies there.
    void seek(int pos);
    // The callbacks of get_underlying_stream's file.
    static int view_read(void* dst, int bytes, void* data);
    static int view_seek(int position, void* data);
    static int view_seek_to_end(void* data);
    static int view_tell(void* data);
    static bool view_get_eof(void* data);
    void update_tag_end() {
        m_tag_end = m_tag_stack.empty() ? INT32_MAX : m_tag_stack.back();
        update_block_limit();
    }

    base_file* m_input = nullptr;  // null for a stream over bytes in memory
    uint8_t m_current_byte = 0;
    uint8_t m_unused_bits = 0;
    // The ends of the open tags, innermost last. A vector keeps its room when tags close, so
    // opening and closing tags allocates nothing.
    std::vector<int> m_tag_stack;
    int m_tag_end = INT32_MAX;  // the innermost tag's end, or no limit
    bool m_hit_file_end = false;
    // Where the file's data ends; tags declared to go further hold only the bytes before it.
    int m_file_end = INT_MAX;
    // The block read ahead: m_block_filled bytes from file position m_block_position, of which
    // m_block_used are consumed. The file itself stands at the block's end. Eight bytes more
    // than a block let a bit_reader load eight bytes at any position of the block; what it
    // loads beyond the bytes it may take it never uses. Over bytes in memory, the block is
    // those bytes.
    uint8_t m_buffer[block_size + 8] = {};
    const uint8_t* m_block = m_buffer;
    int m_block_position = 0;
    int m_block_filled = 0;
    int m_block_used = 0;
    // The index in the block where the bytes at hand end: the block's end or the innermost
    // tag's end, whichever comes first.
    int m_block_limit = 0;
    std::unique_ptr<base_file> m_view;
};

// Logs the bytes from the position to the innermost tag's end as a hex dump, sixteen a line.
void dump_tag_bytes(stream* in);

// Decodes one zlib stream from in into buffer, which has room for buffer_bytes (> 0). Input is
// read one byte at a time, so in is left just behind the compressed data. On corrupt or
// truncated data the rest of the buffer stays as it was. Returns true when the stream ended
// cleanly.
bool inflate_wrapper(base_file* in, void* buffer, int buffer_bytes);

}  // namespace swfplayer
