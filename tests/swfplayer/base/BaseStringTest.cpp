#include "swfplayer/base/base_string.h"

#include <gtest/gtest.h>

#include <cctype>
#include <cstdint>
#include <cstring>
#include <string>

using swfplayer::base_string;
using swfplayer::base_stringi;
using swfplayer::format_base_string;
using swfplayer::string_hash_functor;
using swfplayer::stringi_hash_functor;

namespace {

// True when the text lives inside the object itself rather than on the heap.
bool is_inline(const base_string& s) {
    const char* text = s.c_str();
    const char* object = reinterpret_cast<const char*>(&s);
    return text >= object && text < object + sizeof(base_string);
}

TEST(BaseString, fourteen_bytes_stay_inline_and_the_fifteenth_moves_to_a_16_byte_heap_buffer) {
    base_string s("abcdefghijklmn");
    EXPECT_EQ(14, s.size());
    EXPECT_TRUE(is_inline(s));
    EXPECT_EQ(15, s.capacity());

    s += 'o';
    EXPECT_EQ(15, s.size());
    EXPECT_FALSE(is_inline(s));
    EXPECT_EQ(16, s.capacity());
    EXPECT_STREQ("abcdefghijklmno", s.c_str());

    s.erase(14, 1);
    EXPECT_TRUE(is_inline(s));
    EXPECT_STREQ("abcdefghijklmn", s.c_str());
}

TEST(BaseString, heap_capacity_is_the_smallest_multiple_of_16_above_the_length_and_follows_shrinking) {
    base_string s;
    s.resize(31);
    EXPECT_EQ(32, s.capacity());
    s.resize(32);
    EXPECT_EQ(48, s.capacity());
    s.resize(47);
    EXPECT_EQ(48, s.capacity());
    s.resize(100);
    EXPECT_EQ(112, s.capacity());
    s.resize(20);
    EXPECT_EQ(32, s.capacity());
    EXPECT_EQ(20, s.size());
    EXPECT_EQ(0, s.c_str()[20]);
}

TEST(BaseString, resizing_keeps_the_text_across_both_storage_forms) {
    base_string s("0123456789");
    s.resize(40);  // inline to heap: the new bytes are zero
    EXPECT_EQ(0, std::memcmp(s.c_str(), "0123456789", 10));
    for (int i = 10; i <= 40; i++) {
        EXPECT_EQ(0, s.c_str()[i]);
    }
    for (int i = 10; i < 40; i++) {
        s[i] = static_cast<char>('a' + i % 26);
    }
    s.resize(12);  // heap to inline
    EXPECT_TRUE(is_inline(s));
    EXPECT_STREQ("0123456789kl", s.c_str());
    s.resize(3);
    EXPECT_STREQ("012", s.c_str());
    s.clear();
    EXPECT_EQ(0, s.size());
    EXPECT_STREQ("", s.c_str());
}

TEST(BaseString, constructors_copy_the_given_bytes) {
    EXPECT_STREQ("", base_string().c_str());
    EXPECT_STREQ("", base_string(static_cast<const char*>(nullptr)).c_str());
    base_string counted("abcdef", 3);
    EXPECT_EQ(3, counted.size());
    EXPECT_STREQ("abc", counted.c_str());
    std::string long_text(300, 'x');
    base_string heap(long_text.c_str());
    base_string copy(heap);
    EXPECT_EQ(300, copy.size());
    EXPECT_NE(heap.c_str(), copy.c_str());
    base_string moved(std::move(copy));
    EXPECT_EQ(300, moved.size());
    EXPECT_EQ(0, copy.size());
}

TEST(BaseString, assignment_handles_null_self_and_its_own_buffer) {
    base_string s("keep");
    s = static_cast<const char*>(nullptr);
    EXPECT_STREQ("keep", s.c_str());
    const base_string& same = s;
    s = same;
    EXPECT_STREQ("keep", s.c_str());

    base_string heap("a heap string of more than fifteen bytes");
    heap = heap.c_str() + 2;  // the source is freed by the resize unless copied first
    EXPECT_STREQ("heap string of more than fifteen bytes", heap.c_str());
    heap = heap.c_str() + 30;  // shrinking to inline from its own heap text
    EXPECT_STREQ("en bytes", heap.c_str());
}

TEST(BaseString, appending_itself_doubles_the_text_at_every_size) {
    for (int length : {1, 7, 8, 14, 15, 40}) {
        std::string text(length, 'q');
        text[0] = 'a';
        base_string s(text.c_str());
        s += s;
        EXPECT_EQ(text + text, s.c_str()) << length;
        s += s.c_str() + 1;
        EXPECT_EQ(text + text + (text + text).substr(1), s.c_str()) << length;
    }
}

TEST(BaseString, char_append_skips_nul_and_plus_builds_a_new_string) {
    base_string s("ab");
    s += '\0';
    EXPECT_EQ(2, s.size());
    s += 'c';
    EXPECT_STREQ("abc", s.c_str());
    base_string t = s + "def";
    EXPECT_STREQ("abcdef", t.c_str());
    EXPECT_STREQ("abc", s.c_str());
    s += static_cast<const char*>(nullptr);
    EXPECT_STREQ("abc", s.c_str());
}

TEST(BaseString, erase_and_insert_clip_their_positions) {
    base_string s("hello");
    s.erase(1, 2);
    EXPECT_STREQ("hlo", s.c_str());
    s.erase(2, 100);
    EXPECT_STREQ("hl", s.c_str());
    s.erase(-1, 1);
    s.erase(5, 1);
    EXPECT_STREQ("hl", s.c_str());
    s.insert(1, 'e');
    s.insert(99, '!');
    s.insert(-4, '>');
    EXPECT_STREQ(">hel!", s.c_str());
    base_string growing("abcdefghijklmn");
    growing.insert(0, '_');  // crosses into heap storage
    EXPECT_STREQ("_abcdefghijklmn", growing.c_str());
}

TEST(BaseString, comparisons_are_unsigned_bytewise) {
    base_string a("abc");
    EXPECT_TRUE(a == "abc");
    EXPECT_TRUE("abc" == a);
    EXPECT_TRUE(a != "abd");
    EXPECT_TRUE(a < "abd");
    EXPECT_TRUE(a > "ab");
    EXPECT_FALSE(a < "abc");
    EXPECT_FALSE(a > "abc");
    base_string high("\xC3");
    EXPECT_TRUE(a < high);  // 0xC3 sorts after ASCII, as unsigned
    EXPECT_TRUE(high > a);
    EXPECT_TRUE(base_string() == static_cast<const char*>(nullptr));
}

TEST(BaseStringI, compares_without_ascii_case_from_either_side) {
    base_stringi name("onEnterFrame");
    EXPECT_TRUE(name == "ONENTERFRAME");
    EXPECT_TRUE(name == base_stringi("onenterframe"));
    base_string plain("OnEnterFrame");
    EXPECT_TRUE(name == plain);
    EXPECT_TRUE(plain == name);
    EXPECT_FALSE(name != plain);
    EXPECT_TRUE(base_stringi("apple") < "BANANA");
    EXPECT_TRUE(base_stringi("Zebra") > "apple");
    // Only ASCII letters fold: Latin-1 and UTF-8 bytes compare exactly.
    EXPECT_FALSE(base_stringi("\xC3\xA9") == "\xC3\x89");
}

TEST(BaseStringI, compare_and_hash_agree_for_every_pair_of_byte_values) {
    stringi_hash_functor hash;
    for (int a = 1; a < 256; a++) {
        for (int b = 1; b < 256; b++) {
            const char text_a[] = {'x', static_cast<char>(a), 'y', 0};
            const char text_b[] = {'x', static_cast<char>(b), 'y', 0};
            bool equal = base_stringi(text_a) == base_stringi(text_b);
            EXPECT_EQ(equal, base_string::stricmp(text_a, text_b) == 0);
            if (equal) {
                ASSERT_EQ(hash(base_stringi(text_a)), hash(base_stringi(text_b))) << a << " " << b;
            }
            bool same_letter = a == b || (std::isalpha(a) && a < 128 && (a ^ 0x20) == b);
            ASSERT_EQ(same_letter, equal) << a << " " << b;
        }
    }
}

TEST(BaseStringI, stricmp_orders_like_the_lower_cased_texts) {
    EXPECT_EQ(0, base_string::stricmp("MiXeD", "mixed"));
    EXPECT_LT(base_string::stricmp("abc", "ABD"), 0);
    EXPECT_GT(base_string::stricmp("abcd", "ABC"), 0);
    EXPECT_LT(base_string::stricmp("", "a"), 0);
    EXPECT_GT(base_string::stricmp("\xE9", "Z"), 0);
}

TEST(StringHash, hashes_from_the_last_byte_to_the_first) {
    // "ab": h = 5381; h = h*33 ^ 'b'; h = h*33 ^ 'a'.
    uint32_t expected = ((5381u * 33u) ^ 'b') * 33u ^ 'a';
    EXPECT_EQ(expected, string_hash_functor()(base_string("ab")));
    EXPECT_EQ(expected, stringi_hash_functor()(base_string("AB")));
    EXPECT_NE(string_hash_functor()(base_string("ab")), string_hash_functor()(base_string("AB")));
    EXPECT_EQ(5381u, string_hash_functor()(base_string()));
}

TEST(FormatBaseString, formats_and_cuts_at_499_bytes) {
    EXPECT_STREQ("7 items of size 2.50", format_base_string("%d items of size %.2f", 7, 2.5).c_str());
    std::string long_text(800, 'z');
    base_string cut = format_base_string("<%s>", long_text.c_str());
    EXPECT_EQ(499, cut.size());
    EXPECT_EQ('<', cut[0]);
    EXPECT_EQ('z', cut[498]);
}

}  // namespace
