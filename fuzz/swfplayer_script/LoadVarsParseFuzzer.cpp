// The pairs parser of LoadVars over text a server could send: what it stores comes back
// unchanged when the pairs are encoded as a request and parsed again.
#include "fuzz/FuzzCheck.h"
#include "swfplayer/main/swfplayer_as_classes/as_loadvars.h"

#include <cstdint>
#include <string>

using fuzz_support::check;
using swfplayer::as_loadvars;

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    if (size > 1 << 16) {
        return 0;
    }
    std::string text(reinterpret_cast<const char*>(data), size);
    as_loadvars::string_table pairs;
    as_loadvars::parse(text.c_str(), &pairs);
    for (const auto& pair : pairs) {
        check(pair.first.size() + pair.second.size() <= static_cast<int>(size));
    }
    as_loadvars::string_table again;
    as_loadvars::parse(as_loadvars::create_vars_string(pairs).c_str(), &again);
    check(again.size() == pairs.size());
    for (const auto& pair : pairs) {
        swfplayer::base_string value;
        check(again.get(pair.first, &value) && value == pair.second);
    }
    return 0;
}
