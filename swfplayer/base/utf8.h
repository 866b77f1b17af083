#pragma once

#include <cstdint>

namespace swfplayer {

// The replacement character that every malformed sequence decodes to.
constexpr uint32_t utf8_replacement_char = 0xFFFD;

// Decodes one character of a NUL-terminated UTF-8 text and advances *text past it.
// At the NUL it returns 0 and leaves the pointer there. A bad lead byte, an interrupted
// sequence, an overlong form, a surrogate or U+FFFE/U+FFFF give U+FFFD; an interrupting byte is
// left to be decoded next, and a NUL inside a sequence returns 0 with the pointer on the NUL.
// Sequences of up to six bytes are accepted, as the old UTF-8 definition allows.
uint32_t decode_next_utf8_char(const char** text);

// Writes the UTF-8 form of a code point at buffer[*index] and advances *index by the bytes
// written (1 to 6; the buffer needs room for 6). A code point above 0x7FFFFFFF writes nothing.
void encode_utf8_char(char* buffer, int* index, uint32_t code_point);

}  // namespace swfplayer
