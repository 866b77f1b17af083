#include "swfplayer/main/stream.h"

#include <algorithm>
#include <cassert>
#include <climits>
#include <cstring>

#include <zlib.h>

#include "swfplayer/base/log.h"

namespace swfplayer {

stream::stream(base_file* input) : m_input(input) {
    assert(input);
    m_block_position = input->get_position();
}

stream::~stream() {
    delete m_view;
}

bool stream::fill_block() {
    m_block_position += m_block_filled;
    m_block_used = 0;
    m_block_filled = 0;
    int got = m_input->read_bytes(m_block, block_size);
    if (got <= 0) {
        return false;
    }
    m_block_filled = got < block_size ? got : block_size;
    return true;
}

int stream::next_byte_slow() {
    if (get_position() >= m_tag_end) {
        return -1;
    }
    if (m_block_used >= m_block_filled && !fill_block()) {
        m_hit_file_end = true;
        return -1;
    }
    return m_block[m_block_used++];
}

int stream::read_bytes(void* dst, int count) {
    if (count <= 0) {
        return 0;
    }
    uint8_t* out = static_cast<uint8_t*>(dst);
    int done = 0;
    while (done < count) {
        int tag_left = m_tag_end - get_position();
        if (tag_left <= 0) {
            break;
        }
        if (m_block_used >= m_block_filled && !fill_block()) {
            m_hit_file_end = true;
            break;
        }
        int n = std::min({count - done, m_block_filled - m_block_used, tag_left});
        std::memcpy(out + done, m_block + m_block_used, static_cast<size_t>(n));
        m_block_used += n;
        done += n;
    }
    if (done < count) {
        std::memset(out + done, 0, static_cast<size_t>(count - done));
    }
    return done;
}

void stream::seek(int pos) {
    if (pos >= m_block_position && pos <= m_block_position + m_block_filled) {
        m_block_used = pos - m_block_position;
        return;
    }
    m_input->set_position(pos);
    m_block_position = m_input->get_position();
    m_block_filled = 0;
    m_block_used = 0;
}

uint32_t stream::read_uint(int bitcount) {
    assert(bitcount >= 0 && bitcount <= 32);
    if (bitcount <= m_unused_bits) {
        // The field lies inside the current byte (or is empty).
        if (bitcount == 0) {
            return 0;
        }
        m_unused_bits = static_cast<uint8_t>(m_unused_bits - bitcount);
        uint32_t value = static_cast<uint32_t>(m_current_byte) >> m_unused_bits;
        m_current_byte &= static_cast<uint8_t>((1u << m_unused_bits) - 1);
        return value;
    }
    // The unread bits of the current byte, then whole bytes, then the top of one more byte,
    // whose low bits stay for the next field.
    uint64_t value = m_current_byte;
    int needed = bitcount - m_unused_bits;
    while (needed >= 8) {
        value = value << 8 | byte_or_zero();
        needed -= 8;
    }
    m_current_byte = 0;
    m_unused_bits = 0;
    if (needed > 0) {
        uint32_t byte = byte_or_zero();
        m_unused_bits = static_cast<uint8_t>(8 - needed);
        value = value << needed | byte >> m_unused_bits;
        m_current_byte = static_cast<uint8_t>(byte & ((1u << m_unused_bits) - 1));
    }
    return static_cast<uint32_t>(value);
}

int32_t stream::read_sint(int bitcount) {
    uint32_t value = read_uint(bitcount);
    // Zero bits give 0; a full 32-bit field is already its own two's complement.
    if (bitcount > 0 && bitcount < 32 && (value & (1u << (bitcount - 1)))) {
        value |= ~0u << bitcount;
    }
    return static_cast<int32_t>(value);
}

uint8_t stream::read_u8() {
    align();
    return static_cast<uint8_t>(byte_or_zero());
}

uint16_t stream::read_u16() {
    align();
    uint32_t b0 = byte_or_zero();
    uint32_t b1 = byte_or_zero();
    return static_cast<uint16_t>(b0 | b1 << 8);
}

uint32_t stream::read_u32() {
    align();
    uint32_t b0 = byte_or_zero();
    uint32_t b1 = byte_or_zero();
    uint32_t b2 = byte_or_zero();
    uint32_t b3 = byte_or_zero();
    return b0 | b1 << 8 | b2 << 16 | b3 << 24;
}

float stream::read_fixed() {
    return static_cast<float>(static_cast<double>(read_s32()) * (1.0 / 65536.0));
}

float stream::read_float16() {
    uint16_t half = read_u16();
    uint32_t sign = (half >> 15) & 1;
    uint32_t exponent = (half >> 10) & 0x1F;
    uint32_t mantissa = half & 0x3FF;
    uint32_t bits = sign << 31 | mantissa << 13;
    if (exponent != 0) {
        bits |= (exponent + 111) << 23;
    }
    float value;
    std::memcpy(&value, &bits, sizeof(value));
    return value;
}

float stream::read_float() {
    uint32_t bits = read_u32();
    float value;
    std::memcpy(&value, &bits, sizeof(value));
    return value;
}

double stream::read_double() {
    align();
    uint8_t bytes[8];
    read_bytes(bytes, 8);
    uint64_t bits = 0;
    for (int i = 7; i >= 0; i--) {
        bits = bits << 8 | bytes[i];
    }
    double value;
    std::memcpy(&value, &bits, sizeof(value));
    return value;
}

uint32_t stream::read_vu32() {
    uint32_t value = 0;
    for (int k = 0; k < 4; k++) {
        uint8_t byte = read_u8();
        value |= static_cast<uint32_t>(byte & 0x7F) << (7 * k);
        if ((byte & 0x80) == 0) {
            return value;
        }
    }
    return value | static_cast<uint32_t>(read_u8()) << 28;
}

void stream::read_string(base_string* out) {
    align();
    out->clear();
    // A movie's strings are short; the bytes gather in a local block and are appended in runs.
    char block[64];
    int used = 0;
    for (int byte; (byte = next_byte()) > 0;) {
        block[used++] = static_cast<char>(byte);
        if (used == static_cast<int>(sizeof(block)) - 1) {
            block[used] = 0;
            *out += block;
            used = 0;
        }
    }
    block[used] = 0;
    *out += block;
}

void stream::read_string_with_length(base_string* out) {
    int len = read_u8();
    read_string_with_length(len, out);
}

void stream::read_string_with_length(int len, base_string* out) {
    align();
    out->clear();
    for (int i = 0; i < len; i++) {
        int byte = next_byte();
        if (byte < 0) {
            break;  // nothing more to consume
        }
        if (byte != 0) {
            *out += static_cast<char>(byte);
        }
    }
}

void stream::set_position(int pos) {
    align();
    seek(pos < m_tag_end ? pos : m_tag_end);
}

int stream::open_tag() {
    align();
    int header = read_u16();
    int tag_type = header >> 6;
    int64_t length = header & 0x3F;
    if (length == 0x3F) {
        length = read_u32();
    }
    if (get_verbose_parse()) {
        log_msg("---------------tag type = %d, tag length = %d\n", tag_type, static_cast<int>(length));
    }
    // The declared length is data: the end may not pass the enclosing tag nor the int range.
    int64_t end = static_cast<int64_t>(get_position()) + length;
    int64_t limit = m_tag_stack.empty() ? INT_MAX : m_tag_stack.back();
    m_tag_stack.push_back(static_cast<int>(end < limit ? end : limit));
    update_tag_end();
    return tag_type;
}

void stream::close_tag() {
    assert(!m_tag_stack.empty());
    int end = m_tag_stack.back();
    m_tag_stack.pop_back();
    if (get_position() != end && get_verbose_parse()) {
        log_msg("tag is not correctly read, tag length is not respected\n");
    }
    update_tag_end();
    seek(end);
    align();
}

int stream::get_tag_end_position() const {
    assert(!m_tag_stack.empty());
    return m_tag_stack.back();
}

int stream::get_tag_bytes_left() const {
    if (m_tag_stack.empty()) {
        return 0;
    }
    int left = m_tag_end - get_position();
    return left > 0 ? left : 0;
}

int stream::view_read(void* dst, int bytes, void* data) {
    return static_cast<stream*>(data)->read_bytes(dst, bytes);
}

int stream::view_seek(int position, void* data) {
    stream* s = static_cast<stream*>(data);
    s->set_position(position);
    return s->get_position() == position ? base_file::no_error : base_file::seek_error;
}

int stream::view_seek_to_end(void* data) {
    static_cast<stream*>(data)->set_position(INT32_MAX);
    return base_file::no_error;
}

int stream::view_tell(void* data) {
    return static_cast<stream*>(data)->get_position();
}

bool stream::view_get_eof(void* data) {
    stream* s = static_cast<stream*>(data);
    return s->get_position() >= s->m_tag_end || (s->m_block_used >= s->m_block_filled && s->m_input->get_eof());
}

base_file* stream::get_underlying_stream() {
    if (m_view == nullptr) {
        align();
        m_view = new base_file(this, view_read, nullptr, view_seek, view_seek_to_end, view_tell, view_get_eof, nullptr);
    }
    return m_view;
}

void dump_tag_bytes(stream* in) {
    const int bytes_per_line = 16;
    char characters[bytes_per_line + 1];
    int in_line = 0;
    while (in->get_position() < in->get_tag_end_position()) {
        int position = in->get_position();
        uint8_t byte = in->read_u8();
        if (in->get_position() == position) {
            break;  // the file ended inside the tag
        }
        log_msg("%02X", byte);
        characters[in_line++] = (byte >= 32 && byte <= 127) ? static_cast<char>(byte) : '.';
        if (in_line == bytes_per_line) {
            log_msg("    ");
            for (int i = 0; i < bytes_per_line; i++) {
                log_msg("%c", characters[i]);
            }
            log_msg("\n");
            in_line = 0;
        } else {
            log_msg(" ");
        }
    }
    if (in_line > 0) {
        log_msg("\n");
    }
}

bool inflate_wrapper(base_file* in, void* buffer, int buffer_bytes) {
    assert(in && buffer && buffer_bytes > 0);
    z_stream z;
    std::memset(&z, 0, sizeof(z));
    z.next_out = static_cast<Bytef*>(buffer);
    z.avail_out = static_cast<uInt>(buffer_bytes);
    int result = inflateInit(&z);
    if (result != Z_OK) {
        log_error("error: inflate_wrapper() inflateInit() returned %d\n", result);
        return false;
    }
    bool ended = false;
    for (;;) {
        Bytef byte;
        if (in->read_bytes(&byte, 1) != 1) {
            break;  // the compressed data ended before the stream did
        }
        z.next_in = &byte;
        z.avail_in = 1;
        result = inflate(&z, Z_SYNC_FLUSH);
        if (result == Z_STREAM_END) {
            ended = true;
            break;
        }
        // Z_BUF_ERROR with the byte used means zlib only waits for more input.
        if (result != Z_OK && !(result == Z_BUF_ERROR && z.avail_in == 0 && z.avail_out > 0)) {
            log_error("error: inflate_wrapper() inflate() returned %d\n", result);
            break;
        }
    }
    result = inflateEnd(&z);
    if (result != Z_OK) {
        log_error("error: inflate_wrapper() inflateEnd() return %d\n", result);
    }
    return ended;
}

}  // namespace swfplayer
