#include "swfplayer/base/base_string.h"
#include "swfplayer/base/utf8.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <string>
#include <vector>

using swfplayer::base_string;
using swfplayer::decode_next_utf8_char;
using swfplayer::encode_utf8_char;

namespace {

struct decode_case {
    const char* name;
    std::string bytes;
    uint32_t code_point;
    int advance;
};

TEST(Utf8Decode, decodes_each_kind_of_sequence_as_the_table_says) {
    const decode_case cases[] = {
        {"ascii", "A", 0x41, 1},
        {"two bytes", "\xC3\xA9", 0xE9, 2},
        {"three bytes", "\xE2\x82\xAC", 0x20AC, 3},
        {"four bytes", "\xF0\x9F\x98\x80", 0x1F600, 4},
        {"five bytes", "\xF8\x88\x80\x80\x80", 0x200000, 5},
        {"six bytes", "\xFD\xBF\xBF\xBF\xBF\xBF", 0x7FFFFFFF, 6},
        {"overlong two", "\xC0\x80", 0xFFFD, 2},
        {"overlong three", "\xE0\x9F\xBF", 0xFFFD, 3},
        {"overlong four", "\xF0\x8F\xBF\xBF", 0xFFFD, 4},
        {"overlong five", "\xF8\x87\xBF\xBF\xBF", 0xFFFD, 5},
        {"overlong six", "\xFC\x83\xBF\xBF\xBF\xBF", 0xFFFD, 6},
        {"smallest three", "\xE0\xA0\x80", 0x800, 3},
        {"high surrogate", "\xED\xA0\x80", 0xFFFD, 3},
        {"low surrogate", "\xED\xBF\xBF", 0xFFFD, 3},
        {"before surrogates", "\xED\x9F\xBF", 0xD7FF, 3},
        {"U+FFFE", "\xEF\xBF\xBE", 0xFFFD, 3},
        {"U+FFFF", "\xEF\xBF\xBF", 0xFFFD, 3},
        {"U+FFFD itself", "\xEF\xBF\xBD", 0xFFFD, 3},
        {"lone continuation", "\x80", 0xFFFD, 1},
        {"lone last continuation", "\xBF", 0xFFFD, 1},
        {"byte FE", "\xFE", 0xFFFD, 1},
        {"byte FF", "\xFF", 0xFFFD, 1},
        {"interrupted by ascii",
         "\xE2\x82"
         "A",
         0xFFFD, 2},
        {"interrupted by a lead byte", "\xC3\xC3\xA9", 0xFFFD, 1},
        {"truncated by NUL", "\xE2\x82", 0, 2},
        {"NUL after lead", "\xC3", 0, 1},
        {"end of text", "", 0, 0},
    };
    for (const decode_case& c : cases) {
        const char* p = c.bytes.c_str();
        EXPECT_EQ(c.code_point, decode_next_utf8_char(&p)) << c.name;
        EXPECT_EQ(c.advance, p - c.bytes.c_str()) << c.name;
        if (c.code_point == 0) {  // at the end, repeated calls stay on the NUL
            EXPECT_EQ(0u, decode_next_utf8_char(&p)) << c.name;
            EXPECT_EQ(c.advance, p - c.bytes.c_str()) << c.name;
        }
    }
}

TEST(Utf8Encode, round_trips_every_length_and_ignores_values_above_31_bits) {
    for (uint32_t code_point : {0x41u, 0x7Fu, 0x80u, 0x7FFu, 0x800u, 0xFFFDu, 0x10000u, 0x1FFFFFu, 0x200000u,
                                0x3FFFFFFu, 0x4000000u, 0x7FFFFFFFu}) {
        char buffer[8] = {};
        int length = 0;
        encode_utf8_char(buffer, &length, code_point);
        const char* p = buffer;
        EXPECT_EQ(code_point, decode_next_utf8_char(&p)) << std::hex << code_point;
        EXPECT_EQ(length, p - buffer);
    }
    char buffer[8] = {};
    int length = 3;
    encode_utf8_char(buffer, &length, 0x80000000u);
    EXPECT_EQ(3, length);
}

TEST(Utf8String, counts_indexes_and_cuts_by_characters_within_clamped_limits) {
    base_string s(
        "a\xC3\xA9"
        "b");
    EXPECT_EQ(3, s.utf8_length());
    const int indexes[] = {0, 1, 2, 3, 100, -1};
    const uint32_t chars[] = {0x61, 0xE9, 0x62, 0, 0, 0};
    for (int i = 0; i < 6; i++) {
        EXPECT_EQ(chars[i], s.utf8_char_at(indexes[i])) << "index " << indexes[i];
    }
    // A byte limit inside a sequence counts the character that reaches it; a cut last sequence
    // is no character.
    const char euro[] =
        "a\xE2\x82\xAC"
        "b";
    const std::pair<int, int> limits[] = {{0, 0}, {-5, 0}, {1, 1}, {2, 2}, {4, 2}, {5, 3}, {1000, 3}};
    for (const auto& [limit, count] : limits) {
        EXPECT_EQ(count, base_string::utf8_char_count(euro, limit)) << "limit " << limit;
    }
    EXPECT_EQ(1, base_string::utf8_char_count("a\xE2\x82", 3));

    base_string hello("h\xC3\xA9llo");
    const struct {
        int start, end;
        const char* result;
    } ranges[] = {{1, 3, "\xC3\xA9l"},  {2, 2, ""}, {3, 1, ""},  {2, 99, "llo"},
                  {-3, 2, "h\xC3\xA9"}, {5, 9, ""}, {40, 50, ""}};
    for (const auto& r : ranges) {
        EXPECT_STREQ(r.result, hello.utf8_substring(r.start, r.end).c_str()) << r.start << " to " << r.end;
    }
    EXPECT_STREQ(
        "\xC3\xA9"
        "b",
        s.utf8_substring(1, 3).c_str());
    EXPECT_STREQ("", base_string("a\xE2\x82").utf8_substring(1, 2).c_str());
}

bool is_valid_utf8(const base_string& s) {
    const char* p = s.c_str();
    for (;;) {
        const char* before = p;
        uint32_t c = decode_next_utf8_char(&p);
        if (c == 0) {
            return *before == 0;
        }
        if (c == 0xFFFD && std::string(before, p) != "\xEF\xBF\xBD") {
            return false;
        }
    }
}

TEST(Utf8String, case_mapping_folds_ascii_and_keeps_other_characters_valid) {
    base_string s("abc xyz 0-9! \xC3\xA9\xE2\x82\xAC ABC");
    EXPECT_STREQ("ABC XYZ 0-9! \xC3\xA9\xE2\x82\xAC ABC", s.utf8_to_upper().c_str());
    EXPECT_STREQ("abc xyz 0-9! \xC3\xA9\xE2\x82\xAC abc", s.utf8_to_lower().c_str());

    base_string broken("a\x80z\xC3");
    base_string upper = broken.utf8_to_upper();
    EXPECT_STREQ("A\xEF\xBF\xBDZ", upper.c_str());
    EXPECT_TRUE(is_valid_utf8(upper));
    for (int byte = 1; byte < 256; byte++) {
        const char text[] = {'q', static_cast<char>(byte), 'Q', 0};
        EXPECT_TRUE(is_valid_utf8(base_string(text).utf8_to_upper())) << byte;
        EXPECT_TRUE(is_valid_utf8(base_string(text).utf8_to_lower())) << byte;
    }
}

TEST(Utf8String, wide_text_is_encoded_unit_by_unit) {
    const uint16_t pair[] = {0xD83D, 0xDE00, 0};
    base_string out("old contents");
    base_string::encode_utf8_from_wchar(&out, pair);
    EXPECT_EQ(6, out.size());
    EXPECT_STREQ("\xED\xA0\xBD\xED\xB8\x80", out.c_str());
    const uint32_t wide[] = {'A', 0xE9, 0x1F600, 0};
    base_string::encode_utf8_from_wchar(&out, wide);
    EXPECT_STREQ("A\xC3\xA9\xF0\x9F\x98\x80", out.c_str());
    base_string::encode_utf8_from_wchar(&out, L"x\u00e9");
    EXPECT_STREQ("x\xC3\xA9", out.c_str());
    const uint16_t empty[] = {0};
    base_string::encode_utf8_from_wchar(&out, empty);
    EXPECT_EQ(0, out.size());

    out.append_wide_char(static_cast<uint16_t>(0x20AC));
    out.append_wide_char(static_cast<uint32_t>(0x1F600));
    out.append_wide_char(static_cast<uint32_t>(0));
    out.append_wide_char(static_cast<uint16_t>('!'));
    EXPECT_STREQ("\xE2\x82\xAC\xF0\x9F\x98\x80!", out.c_str());
}

}  // namespace
