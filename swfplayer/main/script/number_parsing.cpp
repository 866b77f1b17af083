#include "swfplayer/main/script/number_parsing.h"

#include <cerrno>
#include <climits>
#include <cstdlib>

namespace swfplayer {

bool parse_number(const char* text, double* out) {
    if (text == nullptr) {
        return false;
    }
    char* end = nullptr;
    double number = std::strtod(text, &end);
    if (end == text || *end != '\0') {
        return false;
    }
    *out = number;
    return true;
}

bool parse_int(const char* text, int* out) {
    if (text == nullptr) {
        return false;
    }
    char* end = nullptr;
    errno = 0;
    long number = std::strtol(text, &end, 10);
    if (end == text || *end != '\0') {
        return false;
    }
    if (number > INT_MAX) {
        number = INT_MAX;
    } else if (number < INT_MIN) {
        number = INT_MIN;
    }
    *out = static_cast<int>(number);
    return true;
}

}  // namespace swfplayer
