#include "swfplayer/base/url_escape.h"

#include <cstring>

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

bool needs_encoding(unsigned char c) {
    return c >= 128 || c < 0x20 || c == 0x7F || is_reserved_url_char(c);
}

}  // namespace

bool is_reserved_url_char(unsigned char c) {
    return std::memchr(reserved_url_chars, c, sizeof(reserved_url_chars)) != nullptr;
}

void url_encode(base_string* text) {
    static const char digits[] = "0123456789abcdef";
    const char* in = text->c_str();
    const int length = text->size();
    base_string result;
    int run = 0;  // start of the bytes not yet copied
    for (int i = 0; i < length; i++) {
        unsigned char c = static_cast<unsigned char>(in[i]);
        if (!needs_encoding(c)) {
            continue;
        }
        result += base_string(in + run, i - run);
        const char escape[] = {'%', digits[c >> 4], digits[c & 15], 0};
        result += escape;
        run = i + 1;
    }
    result += base_string(in + run, length - run);
    *text = std::move(result);
}

void url_decode(base_string* text) {
    const char* in = text->c_str();
    const int length = text->size();
    base_string result;
    for (int i = 0; i < length; i++) {
        char c = in[i];
        if (c == '%' && i + 2 < length) {
            int high = hex_value(in[i + 1]);
            int low = hex_value(in[i + 2]);
            if (high >= 0 && low >= 0) {
                result += static_cast<char>(high * 16 + low);  // a 0 byte appends nothing
                i += 2;
                continue;
            }
        }
        result += c == '+' ? ' ' : c;
    }
    *text = std::move(result);
}

}  // namespace swfplayer
