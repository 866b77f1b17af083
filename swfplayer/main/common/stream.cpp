#include "swfplayer/main/common/stream.h"

#include "swfplayer/base/log.h"

#include <zlib.h>

#include <algorithm>
#include <cassert>
#include <climits>
#include <cstring>

namespace swfplayer {

namespace {

// Where in's data ends, at most limit, in left at start. A seek to the byte before limit and a
// one-byte read tell whether the data reaches limit; only a shorter file is walked to its end, so
// an inflating file inflates no more than the data the stream may read.
int measure_end(base_file* in, int start, int limit) {
    if (limit <= start) {
        return start;
    }
    int end = limit;
    uint8_t byte = 0;
    in->set_position(limit - 1);
    if (in->get_position() != limit - 1 || in->read_bytes(&byte, 1) != 1) {
        in->go_to_end();
        const int position = in->get_position();
        end = position < start ? start : (position < limit ? position : limit);
    }
    in->set_position(start);
    return end;
}

}  // namespace

stream::stream(base_file* input, int data_end) : m_input(input) {
    assert(input);
    m_block_position = input->get_position();
    m_file_end = m_block_position < 0 ? INT_MAX : measure_end(input, m_block_position, data_end);
}

stream::stream(const uint8_t* data, int size) : m_block(data) {
    assert(data && size >= 0);
    m_block_filled = size;
    m_file_end = size;
    update_block_limit();
}

bool stream::fill_block() {
    if (m_input == nullptr) {
        m_file_end = std::min(m_file_end, m_block_position + m_block_filled);
        return false;
    }
    m_block_position += m_block_filled;
    m_block_used = 0;
    m_block_filled = 0;
    update_block_limit();
    int got = m_input->read_bytes(m_buffer, block_size);
    if (got <= 0) {
        m_file_end = std::min(m_file_end, m_block_position);
        return false;
    }
    m_block_filled = got < block_size ? got : block_size;
    update_block_limit();
    return true;
}

bool stream::refill() {
    if (get_position() >= m_tag_end) {
        // A tag that ends where the data does was cut there, or ends with the file.
        m_hit_file_end = m_hit_file_end || m_tag_end >= m_file_end;
        return false;
    }
    if (m_block_used >= m_block_filled && (get_position() >= m_file_end || !fill_block())) {
        m_hit_file_end = true;
        return false;
    }
    return true;
}

int stream::read_bytes(void* dst, int count) {
    if (count <= 0) {
        return 0;
    }
    uint8_t* out = static_cast<uint8_t*>(dst);
    int done = 0;
    while (done < count) {
        if (bytes_at_hand() <= 0 && !refill()) {
            break;
        }
        int n = std::min(count - done, bytes_at_hand());
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
    if (m_input == nullptr) {
        m_block_used = pos < 0 ? 0 : m_block_filled;  // as a memory file clamps its position
        return;
    }
    m_input->set_position(pos);
    m_block_position = m_input->get_position();
    m_block_filled = 0;
    m_block_used = 0;
    update_block_limit();
}

uint32_t stream::read_uint_across_bytes(int bitcount) {
    // The unread bits of the current byte come first, then `needed` bits from the following
    // bytes; the low bits of the last byte touched that the field leaves unread stay for the
    // next field.
    int needed = bitcount - m_unused_bits;
    int count = (needed + 7) / 8;
    uint32_t following;  // the following bytes, most significant first
    if (bytes_at_hand() >= 4) {
        const uint8_t* bytes = m_block + m_block_used;
        following = static_cast<uint32_t>(bytes[0]) << 24 | bytes[1] << 16 | bytes[2] << 8 | bytes[3];
        m_block_used += count;
    } else {
        following = take_big_endian_slowly(count);
    }
    uint64_t value = static_cast<uint64_t>(m_current_byte) << needed | following >> (32 - needed);
    m_unused_bits = static_cast<uint8_t>(count * 8 - needed);
    m_current_byte = static_cast<uint8_t>(following >> (32 - count * 8) & ((1u << m_unused_bits) - 1));
    return static_cast<uint32_t>(value);
}

uint32_t stream::take_big_endian_slowly(int count) {
    uint32_t value = 0;
    for (int i = 0; i < count; i++) {
        value |= byte_or_zero() << (24 - 8 * i);
    }
    return value;
}

uint32_t stream::take_little_endian_slowly(int count) {
    uint32_t value = 0;
    for (int i = 0; i < count; i++) {
        value |= byte_or_zero() << (8 * i);
    }
    return value;
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
    // The text is copied in runs straight from the block: up to the 0 byte when the block holds
    // it, else to the end of what is at hand, and on from the next block.
    while (bytes_at_hand() > 0 || refill()) {
        const uint8_t* run = m_block + m_block_used;
        int at_hand = bytes_at_hand();
        const void* terminator = std::memchr(run, 0, static_cast<size_t>(at_hand));
        int length = terminator ? static_cast<int>(static_cast<const uint8_t*>(terminator) - run) : at_hand;
        int old_length = out->size();
        out->resize(old_length + length);
        std::memcpy(&(*out)[old_length], run, static_cast<size_t>(length));
        m_block_used += length;
        if (terminator) {
            m_block_used++;  // the 0 byte is consumed
            return;
        }
    }
}

void stream::read_string_with_length(base_string* out) {
    int len = read_u8();
    read_string_with_length(len, out);
}

void stream::read_string_with_length(int len, base_string* out) {
    align();
    out->clear();
    for (int i = 0; i < len; i++) {
        if (bytes_at_hand() <= 0 && !refill()) {
            break;  // nothing more to consume
        }
        char byte = static_cast<char>(m_block[m_block_used++]);
        if (byte != 0) {
            *out += byte;
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
    // The declared length is data: the end may not pass the enclosing tag nor the file's data.
    int64_t end = static_cast<int64_t>(get_position()) + length;
    int64_t limit = m_tag_stack.empty() ? m_file_end : std::min(m_tag_stack.back(), m_file_end);
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
    int left = std::min(m_tag_end, m_file_end) - get_position();
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
    return s->get_position() >= s->m_tag_end ||
           (s->m_block_used >= s->m_block_filled && (s->m_input == nullptr || s->m_input->get_eof()));
}

base_file* stream::get_underlying_stream() {
    if (m_view == nullptr) {
        align();
        m_view = std::make_unique<base_file>(this, view_read, nullptr, view_seek, view_seek_to_end, view_tell,
                                             view_get_eof, nullptr);
    }
    return m_view.get();
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
