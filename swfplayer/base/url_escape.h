#pragma once

#include "swfplayer/base/base_string.h"

namespace swfplayer {

// Whether a byte must be percent-encoded in a URL-encoded pair: the 24 characters
// $ & + , / : = ? @ space " < > # % { } | \ ^ ~ [ ] ` and the byte 0.
bool is_reserved_url_char(unsigned char c);

// Replaces text by its URL encoding: reserved bytes, bytes 128 to 255 and the control bytes
// 1 to 31 and 127 become "%" and two lowercase hexadecimal digits; the rest stay as they are.
// Control bytes are encoded so that no line end or other raw control byte reaches a request.
void url_encode(base_string* text);

// Replaces text by its URL decoding: "%" and two hexadecimal digits become that byte (every
// byte but 0, so encoded non-ASCII text comes back whole), "+" becomes a space, and a "%" not
// followed by two hexadecimal digits stays as it is.
void url_decode(base_string* text);

}  // namespace swfplayer
