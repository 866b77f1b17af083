#include "swfplayer/main/shapes/cache_io.h"

#include "swfplayer/base/base_file.h"

#include <algorithm>
#include <cstring>

namespace swfplayer {
namespace cache_io {

namespace {

// Values read per block of a 16-bit array.
constexpr int read_block_values = 4096;

void write_u32(base_file* out, uint32_t v) {
    uint8_t bytes[4] = {static_cast<uint8_t>(v), static_cast<uint8_t>(v >> 8), static_cast<uint8_t>(v >> 16),
                        static_cast<uint8_t>(v >> 24)};
    out->write_bytes(bytes, 4);
}

bool read_u32(base_file* in, uint32_t* v) {
    uint8_t bytes[4];
    if (in->read_bytes(bytes, 4) != 4) {
        return false;
    }
    *v = bytes[0] | (bytes[1] << 8) | (bytes[2] << 16) | (static_cast<uint32_t>(bytes[3]) << 24);
    return true;
}

}  // namespace

void write_u8(base_file* out, uint8_t v) {
    out->write_bytes(&v, 1);
}

void write_i32(base_file* out, int32_t v) {
    write_u32(out, static_cast<uint32_t>(v));
}

void write_f32(base_file* out, float v) {
    uint32_t bits;
    std::memcpy(&bits, &v, 4);
    write_u32(out, bits);
}

void write_i16_array(base_file* out, const std::vector<int16_t>& values) {
    write_i32(out, static_cast<int32_t>(values.size()));
    std::vector<uint8_t> bytes(values.size() * 2);
    for (size_t i = 0; i < values.size(); i++) {
        uint16_t v = static_cast<uint16_t>(values[i]);
        bytes[2 * i] = static_cast<uint8_t>(v);
        bytes[2 * i + 1] = static_cast<uint8_t>(v >> 8);
    }
    if (!bytes.empty()) {
        out->write_bytes(bytes.data(), static_cast<int>(bytes.size()));
    }
}

bool read_u8(base_file* in, uint8_t* v) {
    return in->read_bytes(v, 1) == 1;
}

bool read_i32(base_file* in, int32_t* v) {
    uint32_t u;
    if (!read_u32(in, &u)) {
        return false;
    }
    *v = static_cast<int32_t>(u);
    return true;
}

bool read_f32(base_file* in, float* v) {
    uint32_t bits;
    if (!read_u32(in, &bits)) {
        return false;
    }
    std::memcpy(v, &bits, 4);
    return true;
}

bool read_i16_array(base_file* in, std::vector<int16_t>* values, int max_values) {
    int32_t count;
    if (!read_i32(in, &count) || count < 0 || count % 2 != 0 || count > max_values) {
        return false;
    }
    values->clear();
    uint8_t bytes[2 * read_block_values];
    while (static_cast<int>(values->size()) < count) {
        int n = std::min(read_block_values, count - static_cast<int>(values->size()));
        if (in->read_bytes(bytes, 2 * n) != 2 * n) {
            return false;
        }
        for (int i = 0; i < n; i++) {
            values->push_back(static_cast<int16_t>(bytes[2 * i] | (bytes[2 * i + 1] << 8)));
        }
    }
    return true;
}

}  // namespace cache_io
}  // namespace swfplayer
