// URL decoding of pairs that servers send, and the encoding of pairs that requests carry:
// decoding never grows a text, encoding gives printable ASCII only, and every text comes back
// from its encoding unchanged.
#include "fuzz/FuzzCheck.h"
#include "swfplayer/base/base_string.h"
#include "swfplayer/base/url_escape.h"

#include <cstdint>
#include <string>

using fuzz_support::check;
using swfplayer::base_string;

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    if (size > 1 << 16) {
        return 0;
    }
    std::string bytes(reinterpret_cast<const char*>(data), size);
    const base_string text(bytes.c_str());  // up to the first NUL, as strings hold it

    base_string decoded = text;
    swfplayer::url_decode(&decoded);
    check(decoded.size() <= text.size());

    base_string encoded = text;
    swfplayer::url_encode(&encoded);
    for (int i = 0; i < encoded.size(); i++) {
        check(encoded[i] > 0x20 && encoded[i] < 0x7F);
    }
    base_string back = encoded;
    swfplayer::url_decode(&back);
    check(back == text);
    return 0;
}
