#include "swfplayer/main/as3/abc_input.h"

#include "swfplayer/main/common/stream.h"

#include <cstdarg>
#include <cstdio>
#include <cstring>
#include <string>

namespace swfplayer {

abc_input::abc_input(stream* in) {
    // Taken in pieces: a tag may claim far more bytes than the file has.
    constexpr int piece = 1 << 16;
    int wanted = in->get_tag_bytes_left();
    while (wanted > 0) {
        int size = get_size();
        int count = wanted < piece ? wanted : piece;
        m_data.resize(size + count);
        int got = in->read_bytes(m_data.data() + size, count);
        m_data.resize(size + got);
        if (got < count) {
            break;
        }
        wanted -= got;
    }
    if (in->get_position() != in->get_tag_end_position()) {
        fail("the tag runs past the end of the file");
    }
    m_build_left = build_floor + build_factor * get_size();
}

abc_input::abc_input(const uint8_t* data, int size)
    : m_data(data, data + (size > 0 ? size : 0)), m_build_left(build_floor + build_factor * get_size()) {}

uint8_t abc_input::read_u8() {
    if (bytes_left() < 1) {
        past_end(1);
        return 0;
    }
    return m_data[m_position++];
}

uint16_t abc_input::read_u16() {
    if (bytes_left() < 2) {
        past_end(2);
        return 0;
    }
    uint16_t value = static_cast<uint16_t>(m_data[m_position] | m_data[m_position + 1] << 8);
    m_position += 2;
    return value;
}

uint32_t abc_input::read_vu32() {
    uint32_t value = 0;
    for (int shift = 0; shift < 35; shift += 7) {
        if (bytes_left() < 1) {
            past_end(1);
            return 0;
        }
        uint8_t byte = m_data[m_position++];
        value |= static_cast<uint32_t>(byte & 0x7F) << shift;
        if ((byte & 0x80) == 0) {
            break;
        }
    }
    return value;
}

double abc_input::read_double() {
    if (bytes_left() < 8) {
        past_end(8);
        return 0.0;
    }
    uint64_t bits = 0;
    for (int i = 7; i >= 0; i--) {
        bits = bits << 8 | m_data[m_position + i];
    }
    m_position += 8;
    double value;
    std::memcpy(&value, &bits, sizeof value);
    return value;
}

void abc_input::read_bytes(uint32_t count, std::vector<uint8_t>* out) {
    if (count > static_cast<uint32_t>(bytes_left())) {
        past_end(static_cast<int>(count > 0x7FFFFFFF ? 0x7FFFFFFF : count));
        return;
    }
    out->insert(out->end(), m_data.begin() + m_position, m_data.begin() + m_position + count);
    m_position += static_cast<int>(count);
}

void abc_input::read_string(uint32_t count, base_string* out) {
    if (count > static_cast<uint32_t>(bytes_left())) {
        past_end(static_cast<int>(count > 0x7FFFFFFF ? 0x7FFFFFFF : count));
        return;
    }
    const char* bytes = reinterpret_cast<const char*>(m_data.data()) + m_position;
    if (std::memchr(bytes, 0, count) == nullptr) {
        *out = base_string(bytes, static_cast<int>(count));
    } else {
        std::string kept;
        for (uint32_t i = 0; i < count; i++) {
            if (bytes[i] != 0) {
                kept += bytes[i];
            }
        }
        *out = base_string(kept.data(), static_cast<int>(kept.size()));
    }
    m_position += static_cast<int>(count);
}

bool abc_input::fail(const char* format, ...) {
    if (ok()) {
        char text[400];
        va_list args;
        va_start(args, format);
        std::vsnprintf(text, sizeof text, format, args);
        va_end(args);
        m_failure = text;
    }
    m_position = get_size();
    return false;
}

bool abc_input::check_count(uint32_t count, int min_bytes, size_t entry_bytes, const char* what) {
    if (static_cast<uint64_t>(count) * static_cast<uint64_t>(min_bytes) > static_cast<uint64_t>(bytes_left())) {
        return fail("%s count %u exceeds the %d bytes left", what, count, bytes_left());
    }
    return check_memory(count, entry_bytes, what);
}

bool abc_input::check_memory(uint32_t count, size_t entry_bytes, const char* what) {
    // Both factors are below 2^32: the product fits.
    const int64_t bytes = static_cast<int64_t>(count) * static_cast<int64_t>(entry_bytes);
    if (bytes > m_build_left) {
        return fail("%s count %u would take %lld bytes, more than the %lld this block of %d bytes may still build",
                    what, count, static_cast<long long>(bytes), static_cast<long long>(m_build_left), get_size());
    }
    m_build_left -= bytes;
    return ok();
}

bool abc_input::check_index(uint32_t index, size_t pool_size, const char* what, int record) {
    if (index != 0 && index >= pool_size) {
        return fail("%s %d: index %u out of range (%d entries)", what, record, index, static_cast<int>(pool_size));
    }
    return ok();
}

bool abc_input::past_end(int bytes) {
    return fail("%d bytes wanted at offset %d run past the end of the tag", bytes, m_position);
}

}  // namespace swfplayer
