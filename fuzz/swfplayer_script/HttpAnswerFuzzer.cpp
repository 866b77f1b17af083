// The reader of HTTP answers over bytes a server could send, cut into pieces chosen by the
// input's first bytes: the pieces never change the answer, the limits hold, and the end of the
// connection always finishes it.
#include "fuzz/FuzzCheck.h"
#include "swfplayer/main/swfplayer_as_classes/http_answer.h"

#include <algorithm>
#include <cstdint>
#include <string>

using fuzz_support::check;
using swfplayer::http_answer;

namespace {

std::string outcome(const http_answer& answer) {
    std::string lines;
    for (int i = 0; i < answer.get_line_count(); i++) {
        lines += std::string(answer.get_line(i)) + '\n';
    }
    return std::to_string(answer.get_state()) + ' ' + std::to_string(answer.get_status()) + ' ' + lines;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    if (size < 2) {
        return 0;
    }
    // Byte 0 and 1 seed the piece sizes; the rest is the answer.
    uint32_t seed = data[0] | (data[1] << 8);
    const char* bytes = reinterpret_cast<const char*>(data) + 2;
    const int length = static_cast<int>(size - 2);

    http_answer whole;
    whole.feed(bytes, length);
    http_answer pieces;
    for (int at = 0; at < length;) {
        seed = seed * 1103515245u + 12345u;
        int piece = std::min(length - at, 1 + static_cast<int>((seed >> 16) % 97));
        pieces.feed(bytes + at, piece);
        at += piece;
    }
    check(outcome(whole) == outcome(pieces));
    whole.end_of_input();
    pieces.end_of_input();
    check(whole.is_finished() && outcome(whole) == outcome(pieces));

    check(whole.get_content().size() <= static_cast<size_t>(http_answer::max_content_bytes));
    std::string joined;
    for (int i = 0; i < whole.get_line_count(); i++) {
        check(!whole.get_line(i).empty());
        check(whole.get_line(i).size() < static_cast<size_t>(http_answer::max_line_bytes));
        check(whole.get_line(i).find_first_of(std::string("\r\n\0", 3)) == std::string::npos);
        joined += whole.get_line(i);
    }
    check(joined == whole.get_content());
    return 0;
}
