// Appends that stay inside a string's storage, comparisons and hashes run inline, outside the
// general resize path; the property tests hold them to the storage rule and to plain definitions
// of the order and the hashes, over random texts and texts that hold a NUL before their end.
#include "swfplayer/base/base_string.h"

#include <gtest/gtest.h>

#include <climits>
#include <cstdint>
#include <cstring>
#include <random>
#include <stdexcept>
#include <string>

using swfplayer::base_string;
using swfplayer::base_stringi;
using swfplayer::format_base_string;

namespace {

// True when the text lives inside the object itself rather than on the heap.
bool is_inline(const base_string& s) {
    const char* text = s.c_str();
    const char* object = reinterpret_cast<const char*>(&s);
    return text >= object && text < object + sizeof(base_string);
}

// The capacity the storage rule gives a string of length n.
int RuleCapacity(int n) {
    return n < 15 ? 15 : (n + 16) / 16 * 16;
}

// The hash by its definition: over the bytes up to the first NUL, last to first.
uint32_t ModelHash(const char* text, bool fold_case) {
    uint32_t h = 5381;
    for (size_t i = std::strlen(text); i > 0; i--) {
        unsigned char byte = static_cast<unsigned char>(text[i - 1]);
        h = (h * 33) ^ (fold_case && byte >= 'A' && byte <= 'Z' ? byte + 32 : byte);
    }
    return h;
}

std::string Lower(std::string text) {
    for (char& c : text) {
        c = static_cast<char>(c >= 'A' && c <= 'Z' ? c + 32 : c);
    }
    return text;
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

TEST(BaseString, fourteen_bytes_stay_inline_and_the_fifteenth_moves_to_a_16_byte_heap_buffer) {
    base_string s("abcdefghijklmn");
    EXPECT_TRUE(is_inline(s));
    s += 'o';
    EXPECT_FALSE(is_inline(s));
    EXPECT_EQ(16, s.capacity());
    EXPECT_STREQ("abcdefghijklmno", s.c_str());
    s.erase(14, 1);
    EXPECT_TRUE(is_inline(s));
    EXPECT_STREQ("abcdefghijklmn", s.c_str());
    s.insert(0, '_');  // and back to the heap
    EXPECT_FALSE(is_inline(s));
    EXPECT_STREQ("_abcdefghijklmn", s.c_str());
}

TEST(BaseString, appends_follow_the_storage_rule_across_inline_and_heap_sizes) {
    base_string s;
    std::string expected;
    for (int i = 0; i < 70; i++) {
        std::string piece = i % 3 == 0 ? "xyz" : std::string(1, static_cast<char>('a' + i % 26));
        if (piece.size() == 1) {
            s += piece[0];
        } else {
            s += piece.c_str();
        }
        expected += piece;
        ASSERT_EQ(expected, s.c_str());
        ASSERT_EQ(static_cast<int>(expected.size()), s.size());
        ASSERT_EQ(RuleCapacity(s.size()), s.capacity()) << "length " << s.size();
    }
}

TEST(BaseString, resizing_keeps_the_text_and_sets_the_capacity_to_the_next_multiple_of_16) {
    base_string s("0123456789");
    const std::pair<int, int> steps[] = {{40, 48}, {31, 32}, {32, 48}, {47, 48}, {100, 112}, {20, 32}, {12, 15}};
    for (const auto& [size, capacity] : steps) {
        s.resize(size);
        EXPECT_EQ(size, s.size());
        EXPECT_EQ(capacity, s.capacity()) << "size " << size;
        EXPECT_EQ(size < 15, is_inline(s)) << "size " << size;
        EXPECT_EQ(0, s.c_str()[size]) << "size " << size;
        if (size == 40) {  // inline to heap: the new bytes are zero, then filled in
            EXPECT_EQ(std::string(31, '\0'), std::string(s.c_str() + 10, 31));
            for (int i = 10; i < 40; i++) {
                s[i] = static_cast<char>('a' + i % 26);
            }
        }
    }
    EXPECT_STREQ("0123456789kl", s.c_str());  // heap to inline
    s.clear();
    EXPECT_STREQ("", s.c_str());
    EXPECT_STREQ("abc", base_string("abcdef", 3).c_str());
}

TEST(BaseString, assignment_and_append_handle_null_self_and_their_own_buffer) {
    base_string s("keep");
    s = static_cast<const char*>(nullptr);
    s += static_cast<const char*>(nullptr);
    s += '\0';
    const base_string& same = s;
    s = same;
    EXPECT_STREQ("keep", s.c_str());
    EXPECT_STREQ("", base_string(static_cast<const char*>(nullptr)).c_str());
    s += 'c';
    EXPECT_STREQ("keepc", (s + "").c_str());
    EXPECT_STREQ("keepcdef", (s + "def").c_str());

    base_string heap("a heap string of more than fifteen bytes");
    heap = heap.c_str() + 2;  // the source is freed by the resize unless copied first
    EXPECT_STREQ("heap string of more than fifteen bytes", heap.c_str());
    heap = heap.c_str() + 30;  // shrinking to inline from its own heap text
    EXPECT_STREQ("en bytes", heap.c_str());

    for (int length : {1, 7, 8, 14, 15, 40}) {
        std::string text(length, 'q');
        text[0] = 'a';
        base_string t(text.c_str());
        t += t;
        EXPECT_EQ(text + text, t.c_str()) << length;
        t += t.c_str() + 1;
        EXPECT_EQ(text + text + (text + text).substr(1), t.c_str()) << length;
    }
}

TEST(BaseString, erase_and_insert_clip_their_positions_and_format_cuts_at_499_bytes) {
    base_string s("hello");
    s.erase(1, 2);
    EXPECT_STREQ("hlo", s.c_str());
    s.erase(2, 100);
    s.erase(-1, 1);
    s.erase(5, 1);
    EXPECT_STREQ("hl", s.c_str());
    s.insert(1, 'e');
    s.insert(99, '!');
    s.insert(-4, '>');
    EXPECT_STREQ(">hel!", s.c_str());

    EXPECT_STREQ("7 items of size 2.50", format_base_string("%d items of size %.2f", 7, 2.5).c_str());
    base_string cut = format_base_string("<%s>", std::string(800, 'z').c_str());
    EXPECT_EQ(499, cut.size());
    EXPECT_TRUE(cut[0] == '<' && cut[498] == 'z');
}

// Growing a text past the longest one an int can measure throws and keeps the text; the
// storage is only reserved, never written, so this takes no real memory.
TEST(BaseString, a_string_never_grows_past_its_longest_length) {
    base_string text("kept");
    EXPECT_THROW(text.resize(INT_MAX - 1), std::length_error);
    EXPECT_THROW(text.resize(INT_MAX), std::length_error);
    EXPECT_EQ(text, "kept");
    base_string longest;
    longest.resize(base_string::max_length);
    EXPECT_THROW(longest += "xy", std::length_error);
    EXPECT_THROW(longest += 'x', std::length_error);
    EXPECT_EQ(longest.size(), base_string::max_length);
}

TEST(BaseString, order_case_blind_order_and_hashes_match_their_definitions) {
    std::mt19937 random(11);
    for (int i = 0; i < 20000; i++) {
        std::string a = RandomText(&random, 6);
        std::string b = i % 4 == 0 ? a : RandomText(&random, 6);
        int expected = Sign(std::strcmp(a.c_str(), b.c_str()));
        ASSERT_EQ(expected < 0, base_string(a.c_str()) < base_string(b.c_str())) << a << " " << b;
        ASSERT_EQ(expected > 0, base_string(a.c_str()) > b.c_str());
        ASSERT_EQ(expected == 0, base_string(a.c_str()) == base_string(b.c_str()));
        int expected_i = Sign(std::strcmp(Lower(a).c_str(), Lower(b).c_str()));
        ASSERT_EQ(expected_i, Sign(base_string::stricmp(a.c_str(), b.c_str()))) << a << " " << b;
        ASSERT_EQ(expected_i == 0, base_stringi(a.c_str()) == base_stringi(b.c_str()));
        ASSERT_EQ(ModelHash(a.c_str(), false), swfplayer::string_hash_functor()(base_string(a.c_str())));
        ASSERT_EQ(ModelHash(a.c_str(), true), swfplayer::stringi_hash_functor()(base_stringi(a.c_str())));
    }
    EXPECT_TRUE(base_string("") == static_cast<const char*>(nullptr));
    EXPECT_TRUE(base_string("a") > static_cast<const char*>(nullptr));
}

TEST(BaseString, texts_holding_a_nul_compare_and_hash_up_to_it) {
    // Strings made from bytes keep bytes after a NUL, but every comparison and hash stops there.
    base_stringi with_nul("Name\0tail", 9), plain("NAME"), other_tail("name\0other", 10);
    ASSERT_EQ(9, with_nul.size());
    EXPECT_TRUE(with_nul == plain && with_nul == other_tail);
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
