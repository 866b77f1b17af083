#include "swfplayer/base/url_escape.h"

#include <cstring>
#include <string>

namespace swfplayer {

namespace {

// The reserved bytes, in the order of the table the encoding has always used, ending with 0.
constexpr unsigned char reserved_url_chars[] = {0x24, 0x26, 0x2B, 0x2C, 0x2F, 0x3A, 0x3D, 0x3F, 0x40,
                                                0x20, 0x22, 0x3C, 0x3E, 0x23, 0x25, 0x7B, 0x7D, 0x7C,
                                                0x5C, 0x5E, 0x7E, 0x5B, 0x5D, 0x60, 0x00};

// The value of a hexadecimal digit, -1 for any other byte.
int hex_value(char c) {
    if (c >= '0' && c <= '9') {
        return c - '0';
    }
    if (c >= 'a' && c <= 'f') {
        return c - 'a' + 10;
    }
    if (c >= 'A' && c <= 'F') {
        return c - 'A' + 10;
    }
    return -1;
}

// The bytes url_encode escapes, by value.
struct encoding_table {
    bool escape[256] = {};
    encoding_table() {
        for (int c = 0; c < 256; c++) {
            escape[c] = c >= 128 || c < 0x20 || c == 0x7F || is_reserved_url_char(static_cast<unsigned char>(c));
        }
    }
};

bool needs_encoding(unsigned char c) {
    static const encoding_table table;
    return table.escape[c];
}

}  // namespace

bool is_reserved_url_char(unsigned char c) {
    return std::memchr(reserved_url_chars, c, sizeof(reserved_url_chars)) != nullptr;
}

void url_encode(base_string* text) {
    static const char digits[] = "0123456789abcdef";
    const char* in = text->c_str();
    const int length = text->size();
    std::string result;
    result.reserve(static_cast<size_t>(length) * 3);
    for (int i = 0; i < length; i++) {
        unsigned char c = static_cast<unsigned char>(in[i]);
        if (needs_encoding(c)) {
            const char escape[] = {'%', digits[c >> 4], digits[c & 15]};
            result.append(escape, sizeof(escape));
        } else {
            result += static_cast<char>(c);
        }
    }
    text->assign(result.data(), static_cast<int>(result.size()));
}

void url_decode(base_string* text) {
    const char* in = text->c_str();
    const int length = text->size();
    std::string result;
    result.reserve(static_cast<size_t>(length));
    for (int i = 0; i < length; i++) {
        char c = in[i];
        if (c == '%' && i + 2 < length) {
            int high = hex_value(in[i + 1]);
            int low = hex_value(in[i + 2]);
            if (high >= 0 && low >= 0) {
                if (high != 0 || low != 0) {
                    result += static_cast<char>(high * 16 + low);  // a 0 byte cannot be held
                }
                i += 2;
                continue;
            }
        }
        result += c == '+' ? ' ' : c;
    }
    text->assign(result.data(), static_cast<int>(result.size()));
}

}  // namespace swfplayer
