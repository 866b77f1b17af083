#include "serializeme/ValueText.h"

#include <charconv>
#include <cmath>
#include <cstring>
#include <limits>

namespace sme {

namespace {

// White space as the "C" locale knows it, so that no locale changes what is skipped.
bool IsSpace(char c) {
    return c == ' ' || c == '\t' || c == '\n' || c == '\v' || c == '\f' || c == '\r';
}

bool IsDigit(char c) {
    return c >= '0' && c <= '9';
}

const char* SkipSpace(const char* text) {
    while (IsSpace(*text)) {
        ++text;
    }
    return text;
}

// Reads an optional sign and a run of digits as stream extraction of an integer does. The
// magnitude saturates just above 2^32, which is enough to tell every 32-bit range apart.
// False when no digit follows the sign.
bool ParseMagnitude(const char* text, bool& negative, uint64_t& magnitude) {
    const char* p = SkipSpace(text);
    negative = false;
    if (*p == '+' || *p == '-') {
        negative = *p == '-';
        ++p;
    }
    if (!IsDigit(*p)) {
        return false;
    }
    constexpr uint64_t kCap = uint64_t{1} << 33;
    magnitude = 0;
    for (; IsDigit(*p); ++p) {
        magnitude = magnitude * 10 + static_cast<uint64_t>(*p - '0');
        if (magnitude > kCap) {
            magnitude = kCap;
        }
    }
    return true;
}

// A number too large or too small for a float: infinity or zero with its sign, as a float
// assignment of the standard text-to-double conversion would give.
float OutOfRange(const char* begin, const char* end, bool negative, std::chars_format format) {
    double wide = 0.0;
    const std::errc ec = std::from_chars(begin, end, wide, format).ec;
    float magnitude = 0.0f;
    if (ec == std::errc()) {
        wide = std::fabs(wide);
        magnitude = wide > std::numeric_limits<float>::max() ? std::numeric_limits<float>::infinity()
                                                             : static_cast<float>(wide);
    } else {
        // Beyond even a double: the exponent's sign tells overflow from underflow.
        const char mark = format == std::chars_format::hex ? 'p' : 'e';
        const char* e = begin;
        while (e < end && *e != mark && *e != mark - 'a' + 'A') {
            ++e;
        }
        const bool tiny = e + 1 < end && e[1] == '-';
        magnitude = tiny ? 0.0f : std::numeric_limits<float>::infinity();
    }
    return negative ? -magnitude : magnitude;
}

}  // namespace

bool ValueText::EqualsIgnoringCase(const char* a, const char* b) {
    for (; *a != '\0' && *b != '\0'; ++a, ++b) {
        const char la = (*a >= 'A' && *a <= 'Z') ? static_cast<char>(*a - 'A' + 'a') : *a;
        const char lb = (*b >= 'A' && *b <= 'Z') ? static_cast<char>(*b - 'A' + 'a') : *b;
        if (la != lb) {
            return false;
        }
    }
    return *a == *b;
}

std::string ValueText::FormatFloat(float value) {
    char text[64];
    const auto result = std::to_chars(text, text + sizeof(text), value, std::chars_format::general, 6);
    return std::string(text, result.ptr);
}

std::string ValueText::FormatUInt(uint32_t value) {
    char text[16];
    const auto result = std::to_chars(text, text + sizeof(text), value);
    return std::string(text, result.ptr);
}

std::string ValueText::FormatInt(int32_t value) {
    char text[16];
    const auto result = std::to_chars(text, text + sizeof(text), value);
    return std::string(text, result.ptr);
}

const char* ValueText::FormatBool(bool value) {
    return value ? "true" : "false";
}

std::string ValueText::FormatFlags(uint32_t value, const FlagName* names, int count) {
    std::string text;
    for (int i = 0; names != nullptr && i < count; ++i) {
        if (names[i].name == nullptr || (names[i].mask & value) == 0) {
            continue;
        }
        if (!text.empty()) {
            text += ' ';
        }
        text += names[i].name;
    }
    return text;
}

float ValueText::ParseFloat(const char* text) {
    const char* p = SkipSpace(text);
    bool negative = false;
    if (*p == '+' || *p == '-') {
        negative = *p == '-';
        ++p;
    }
    const char* end = p + std::strlen(p);
    std::chars_format format = std::chars_format::general;
    if (p[0] == '0' && (p[1] == 'x' || p[1] == 'X')) {
        format = std::chars_format::hex;
        p += 2;
    }
    float value = 0.0f;
    const auto [ptr, ec] = std::from_chars(p, end, value, format);
    if (ec == std::errc::result_out_of_range) {
        return OutOfRange(p, ptr, negative, format);
    }
    if (ec != std::errc()) {
        return 0.0f;
    }
    return negative ? -value : value;
}

bool ValueText::ParseUInt(const char* text, uint32_t& value) {
    bool negative = false;
    uint64_t magnitude = 0;
    if (!ParseMagnitude(text, negative, magnitude) || magnitude > std::numeric_limits<uint32_t>::max()) {
        return false;
    }
    value = negative ? static_cast<uint32_t>(0u - static_cast<uint32_t>(magnitude)) : static_cast<uint32_t>(magnitude);
    return true;
}

bool ValueText::ParseInt(const char* text, int32_t& value) {
    bool negative = false;
    uint64_t magnitude = 0;
    if (!ParseMagnitude(text, negative, magnitude)) {
        return false;
    }
    const uint64_t limit = negative ? uint64_t{1} << 31 : (uint64_t{1} << 31) - 1;
    if (magnitude > limit) {
        return false;
    }
    value = negative ? static_cast<int32_t>(-static_cast<int64_t>(magnitude)) : static_cast<int32_t>(magnitude);
    return true;
}

bool ValueText::ParseBool(const char* text) {
    if (EqualsIgnoringCase(text, "true")) {
        return true;
    }
    bool negative = false;
    uint64_t magnitude = 0;
    return ParseMagnitude(text, negative, magnitude) && !negative && magnitude >= 1;
}

uint32_t ValueText::ParseFlags(const char* text, const FlagName* names, int count) {
    uint32_t value = 0;
    for (int i = 0; names != nullptr && i < count; ++i) {
        if (names[i].name != nullptr && std::strstr(text, names[i].name) != nullptr) {
            value |= names[i].mask;
        }
    }
    return value;
}

}  // namespace sme
