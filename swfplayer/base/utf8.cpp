#include "swfplayer/base/utf8.h"

namespace swfplayer {

uint32_t decode_next_utf8_char(const char** text) {
    const unsigned char* p = reinterpret_cast<const unsigned char*>(*text);
    uint32_t lead = *p;
    if (lead == 0) {
        return 0;
    }
    p++;
    if (lead < 0x80) {
        *text = reinterpret_cast<const char*>(p);
        return lead;
    }

    int continuation_bytes;
    uint32_t code_point;
    uint32_t smallest;  // anything below this is an overlong form
    if ((lead & 0xE0) == 0xC0) {
        continuation_bytes = 1;
        code_point = lead & 0x1F;
        smallest = 0x80;
    } else if ((lead & 0xF0) == 0xE0) {
        continuation_bytes = 2;
        code_point = lead & 0x0F;
        smallest = 0x800;
    } else if ((lead & 0xF8) == 0xF0) {
        continuation_bytes = 3;
        code_point = lead & 0x07;
        smallest = 0x10000;
    } else if ((lead & 0xFC) == 0xF8) {
        continuation_bytes = 4;
        code_point = lead & 0x03;
        smallest = 0x200000;
    } else if ((lead & 0xFE) == 0xFC) {
        continuation_bytes = 5;
        code_point = lead & 0x01;
        smallest = 0x4000000;
    } else {
        // A continuation byte where a character should start, or 0xFE / 0xFF.
        *text = reinterpret_cast<const char*>(p);
        return utf8_replacement_char;
    }

    for (int i = 0; i < continuation_bytes; i++) {
        uint32_t byte = *p;
        if (byte == 0) {
            *text = reinterpret_cast<const char*>(p);
            return 0;
        }
        if ((byte & 0xC0) != 0x80) {
            // The interrupting byte starts the next character.
            *text = reinterpret_cast<const char*>(p);
            return utf8_replacement_char;
        }
        p++;
        code_point = (code_point << 6) | (byte & 0x3F);
    }
    *text = reinterpret_cast<const char*>(p);

    if (code_point < smallest) {
        return utf8_replacement_char;
    }
    if (continuation_bytes == 2 &&
        ((code_point >= 0xD800 && code_point <= 0xDFFF) || code_point == 0xFFFE || code_point == 0xFFFF)) {
        return utf8_replacement_char;
    }
    return code_point;
}

void encode_utf8_char(char* buffer, int* index, uint32_t code_point) {
    int continuation_bytes;
    unsigned char lead_mark;
    if (code_point < 0x80) {
        buffer[(*index)++] = static_cast<char>(code_point);
        return;
    } else if (code_point <= 0x7FF) {
        continuation_bytes = 1;
        lead_mark = 0xC0;
    } else if (code_point <= 0xFFFF) {
        continuation_bytes = 2;
        lead_mark = 0xE0;
    } else if (code_point <= 0x1FFFFF) {
        continuation_bytes = 3;
        lead_mark = 0xF0;
    } else if (code_point <= 0x3FFFFFF) {
        continuation_bytes = 4;
        lead_mark = 0xF8;
    } else if (code_point <= 0x7FFFFFFF) {
        continuation_bytes = 5;
        lead_mark = 0xFC;
    } else {
        return;
    }
    buffer[(*index)++] = static_cast<char>(lead_mark | (code_point >> (6 * continuation_bytes)));
    for (int shift = 6 * (continuation_bytes - 1); shift >= 0; shift -= 6) {
        buffer[(*index)++] = static_cast<char>(0x80 | ((code_point >> shift) & 0x3F));
    }
}

}  // namespace swfplayer
