#include "swfplayer/base/utf8.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <string>
#include <vector>

#include "swfplayer/base/base_string.h"

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
        {"interrupted by ascii", "\xE2\x82" "A", 0xFFFD, 2},
        {"interrupted by a lead byte", "\xC3\xC3\xA9", 0xFFFD, 1},
        {"truncated by NUL", "\xE2\x82", 0, 2},
        {"NUL after lead", "\xC3", 0, 1},
        {"end of text", "", 0, 0},
    };
    for (const decode_case& c : cases) {
        const char* p = c.bytes.c_str();
        EXPECT_EQ(c.code_point, decode_next_utf8_char(&p)) << c.name;
        EXPECT_EQ(c.advance, p - c.bytes.c_str()) << c.name;
    }
}

TEST(Utf8Decode, stays_on_the_nul_once_the_text_ends) {
    const char text[] = "\xE2\x82";
    const char* p = text;
    EXPECT_EQ(0u, decode_next_utf8_char(&p));
    const char* at_nul = p;
    EXPECT_EQ(0u, decode_next_utf8_char(&p));
    EXPECT_EQ(at_nul, p);
    EXPECT_EQ(0, *p);
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

TEST(Utf8String, counts_indexes_and_cuts_by_characters) {
    base_string s("a\xC3\xA9" "b");
    EXPECT_EQ(3, s.utf8_length());
    EXPECT_EQ(0x61u, s.utf8_char_at(0));
    EXPECT_EQ(0xE9u, s.utf8_char_at(1));
    EXPECT_EQ(0x62u, s.utf8_char_at(2));
    EXPECT_EQ(0u, s.utf8_char_at(3));
    EXPECT_EQ(0u, s.utf8_char_at(100));
    EXPECT_EQ(0u, s.utf8_char_at(-1));
    EXPECT_STREQ("\xC3\xA9" "b", s.utf8_substring(1, 3).c_str());
}

TEST(Utf8String, a_byte_limit_inside_a_sequence_counts_the_character_that_reaches_it) {
    const char text[] = "a\xE2\x82\xAC" "b";
    EXPECT_EQ(0, base_string::utf8_char_count(text, 0));
    EXPECT_EQ(0, base_string::utf8_char_count(text, -5));
    EXPECT_EQ(1, base_string::utf8_char_count(text, 1));
    EXPECT_EQ(2, base_string::utf8_char_count(text, 2));  // the limit falls inside the euro sign
    EXPECT_EQ(2, base_string::utf8_char_count(text, 4));
    EXPECT_EQ(3, base_string::utf8_char_count(text, 5));
    EXPECT_EQ(3, base_string::utf8_char_count(text, 1000));  // the NUL ends the count
    EXPECT_EQ(1, base_string::utf8_char_count("a\xE2\x82", 3));  // a cut last sequence is no character
}

TEST(Utf8String, substring_clamps_its_range) {
    base_string s("h\xC3\xA9llo");
    EXPECT_STREQ("", s.utf8_substring(2, 2).c_str());
    EXPECT_STREQ("", s.utf8_substring(3, 1).c_str());
    EXPECT_STREQ("llo", s.utf8_substring(2, 99).c_str());
    EXPECT_STREQ("h\xC3\xA9", s.utf8_substring(-3, 2).c_str());
    EXPECT_STREQ("", s.utf8_substring(5, 9).c_str());
    EXPECT_STREQ("", s.utf8_substring(40, 50).c_str());
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
}

TEST(Utf8String, append_wide_char_encodes_and_skips_zero) {
    base_string s;
    s.append_wide_char(static_cast<uint16_t>(0x20AC));
    s.append_wide_char(static_cast<uint32_t>(0x1F600));
    s.append_wide_char(static_cast<uint32_t>(0));
    s.append_wide_char(static_cast<uint16_t>('!'));
    EXPECT_STREQ("\xE2\x82\xAC\xF0\x9F\x98\x80!", s.c_str());
}

}  // namespace
