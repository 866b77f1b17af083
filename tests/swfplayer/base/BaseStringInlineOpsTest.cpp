// Appends that stay inside a string's storage, comparisons and hashes run inline, outside the
// general resize path. These tests hold them to the storage rule and to plain definitions of the
// order and the hashes, over random texts and texts that hold a NUL before their end.
#include "swfplayer/base/base_string.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <cstring>
#include <random>
#include <string>

namespace {

using swfplayer::base_string;
using swfplayer::base_stringi;

// The capacity the storage rule gives a string of length n.
int RuleCapacity(int n) {
    return n < 15 ? 15 : (n + 16) / 16 * 16;
}

// The hash by its definition: over the bytes up to the first NUL, last to first.
uint32_t ModelHash(const char* text, bool fold_case) {
    uint32_t h = 5381;
    for (size_t i = std::strlen(text); i > 0; i--) {
        unsigned char byte = static_cast<unsigned char>(text[i - 1]);
        if (fold_case && byte >= 'A' && byte <= 'Z') {
            byte = static_cast<unsigned char>(byte + 32);
        }
        h = (h * 33) ^ byte;
    }
    return h;
}

int Sign(int value) {
    return (value > 0) - (value < 0);
}

std::string RandomText(std::mt19937* random, int max_length) {
    // Mostly letters of both cases, with a few bytes beyond ASCII.
    static const char alphabet[] = "aAbBzZ_09@[`{\xC3\xA9\x7F";
    std::string text(static_cast<size_t>((*random)() % (max_length + 1)), ' ');
    for (char& c : text) {
        c = alphabet[(*random)() % (sizeof(alphabet) - 1)];
    }
    return text;
}

TEST(BaseStringInlineOps, appends_follow_the_storage_rule_across_inline_and_heap_sizes) {
    base_string s;
    std::string expected;
    for (int i = 0; i < 70; i++) {
        if (i % 3 == 0) {
            s += "xyz";
            expected += "xyz";
        } else {
            char c = static_cast<char>('a' + i % 26);
            s += c;
            expected += c;
        }
        ASSERT_EQ(expected, s.c_str());
        ASSERT_EQ(static_cast<int>(expected.size()), s.size());
        ASSERT_EQ(RuleCapacity(s.size()), s.capacity()) << "length " << s.size();
    }
    // Appending the string's own text, inline and on the heap.
    base_string small("ab");
    small += small.c_str();
    small += small;
    EXPECT_STREQ("abababab", small.c_str());
    base_string large(std::string(20, 'q').c_str());
    large += large.c_str() + 15;
    EXPECT_EQ(std::string(25, 'q'), large.c_str());
    EXPECT_EQ(RuleCapacity(25), large.capacity());
}

TEST(BaseStringInlineOps, order_and_case_blind_order_match_their_definitions) {
    std::mt19937 random(11);
    for (int i = 0; i < 20000; i++) {
        std::string a = RandomText(&random, 6);
        std::string b = i % 4 == 0 ? a : RandomText(&random, 6);
        int expected = Sign(std::strcmp(a.c_str(), b.c_str()));
        ASSERT_EQ(expected < 0, base_string(a.c_str()) < base_string(b.c_str())) << a << " " << b;
        ASSERT_EQ(expected > 0, base_string(a.c_str()) > b.c_str());
        ASSERT_EQ(expected == 0, base_string(a.c_str()) == base_string(b.c_str()));

        std::string lower_a = a;
        std::string lower_b = b;
        for (char& c : lower_a)
            c = static_cast<char>(c >= 'A' && c <= 'Z' ? c + 32 : c);
        for (char& c : lower_b)
            c = static_cast<char>(c >= 'A' && c <= 'Z' ? c + 32 : c);
        int expected_i = Sign(std::strcmp(lower_a.c_str(), lower_b.c_str()));
        ASSERT_EQ(expected_i, Sign(base_string::stricmp(a.c_str(), b.c_str()))) << a << " " << b;
        ASSERT_EQ(expected_i == 0, base_stringi(a.c_str()) == base_stringi(b.c_str()));
        ASSERT_EQ(ModelHash(a.c_str(), false), swfplayer::string_hash_functor()(base_string(a.c_str())));
        ASSERT_EQ(ModelHash(a.c_str(), true), swfplayer::stringi_hash_functor()(base_stringi(a.c_str())));
    }
    EXPECT_TRUE(base_string("") == static_cast<const char*>(nullptr));
    EXPECT_TRUE(base_string("a") > static_cast<const char*>(nullptr));
}

TEST(BaseStringInlineOps, texts_holding_a_nul_compare_and_hash_up_to_it) {
    // Strings made from bytes keep bytes after a NUL, but every comparison and hash stops there.
    base_stringi with_nul("Name\0tail", 9);
    base_stringi plain("NAME");
    base_stringi other_tail("name\0other", 10);
    ASSERT_EQ(9, with_nul.size());
    EXPECT_TRUE(with_nul == plain);
    EXPECT_TRUE(with_nul == other_tail);
    EXPECT_FALSE(with_nul == base_stringi("Names"));
    swfplayer::stringi_hash_functor hash_i;
    EXPECT_EQ(hash_i(plain), hash_i(with_nul));
    EXPECT_EQ(hash_i(plain), hash_i(other_tail));
    EXPECT_EQ(ModelHash("name", true), hash_i(with_nul));

    base_string exact("ab\0cd", 5);
    EXPECT_TRUE(exact == "ab");
    EXPECT_FALSE(exact < "ab" || exact > "ab");
    EXPECT_EQ(ModelHash("ab", false), swfplayer::string_hash_functor()(exact));
    // A NUL in the first byte leaves the empty text.
    EXPECT_EQ(5381u, swfplayer::string_hash_functor()(base_string("\0abc", 4)));
}

}  // namespace
