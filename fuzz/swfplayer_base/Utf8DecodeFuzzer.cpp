// Runs the UTF-8 decoder and the character-indexed string operations over arbitrary bytes and
// checks their invariants: the decoder always advances or stops on the NUL, never reads past
// it, and every case-mapped result is valid UTF-8 of the same character count.
#include "swfplayer/base/base_string.h"
#include "swfplayer/base/utf8.h"

#include <cstdint>
#include <cstdlib>
#include <string>

using swfplayer::base_string;
using swfplayer::base_stringi;
using swfplayer::decode_next_utf8_char;

namespace {

void check(bool condition) {
    if (!condition) {
        std::abort();
    }
}

int decoded_count(const char* text) {
    int count = 0;
    const char* end = text;
    while (*end) {
        end++;
    }
    for (const char* p = text;;) {
        const char* before = p;
        uint32_t c = decode_next_utf8_char(&p);
        check(p >= before && p <= end);
        if (c == 0) {
            check(*p == 0);
            check(decode_next_utf8_char(&p) == 0);
            return count;
        }
        check(p > before);
        check(c <= 0x7FFFFFFF);
        count++;
    }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    if (size > 1 << 16) {
        return 0;
    }
    std::string bytes(reinterpret_cast<const char*>(data), size);
    base_string text(bytes.c_str());  // up to the first NUL, as every string operation sees it

    int count = decoded_count(text.c_str());
    check(text.utf8_length() == count);
    for (int limit = 0; limit <= text.size() + 1; limit += 1 + limit / 4) {
        int partial = base_string::utf8_char_count(text.c_str(), limit);
        check(partial >= 0 && partial <= count);
    }

    base_string upper = text.utf8_to_upper();
    base_string lower = text.utf8_to_lower();
    check(decoded_count(upper.c_str()) == count);
    check(decoded_count(lower.c_str()) == count);
    check(upper.utf8_to_upper() == upper);
    check(base_stringi(upper) == base_stringi(lower));

    int start = size > 0 ? data[0] % (count + 2) - 1 : 0;
    int end = size > 1 ? data[1] % (count + 2) : count;
    base_string part = text.utf8_substring(start, end);
    check(part.size() <= text.size());
    check(text.utf8_char_at(count) == 0);
    return 0;
}
