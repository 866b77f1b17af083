#pragma once

namespace swfplayer {

// Decimal conversion (strtod) that must consume the whole text; leading blanks are accepted,
// trailing characters are not. False leaves *out unchanged.
bool parse_number(const char* text, double* out);
// The same rule with base-10 integer conversion (strtol); results beyond 32 bits saturate.
bool parse_int(const char* text, int* out);

}  // namespace swfplayer
