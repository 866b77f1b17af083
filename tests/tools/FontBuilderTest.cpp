#include "tools/swfkit/FontBuilder.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <string>
#include <vector>

namespace {

TEST(FontBuilderTest, code_points_decode_utf8_and_skip_broken_sequences) {
    struct Case {
        std::string text;
        std::vector<uint32_t> codes;
    };
    for (const Case& c : {Case{"Ab", {'A', 'b'}}, Case{"\xc3\xa9\xe2\x82\xac", {0xE9, 0x20AC}},
                          Case{"\xf0\x9f\x98\x80!", {0x1F600, '!'}}, Case{"\xc3", {}}, Case{"\x80x", {'x'}},
                          Case{"\xe2\x82x", {'x'}}, Case{"\xffy", {'y'}}}) {
        EXPECT_EQ(swfkit::CodePoints(c.text), c.codes) << c.text;
    }
}

}  // namespace
