#include "swfplayer/base/base_string.h"

#include <gtest/gtest.h>

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

TEST(BaseString, erase_and_insert_clip_their_positions) {
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
}

TEST(FormatBaseString, formats_and_cuts_at_499_bytes) {
    EXPECT_STREQ("7 items of size 2.50", format_base_string("%d items of size %.2f", 7, 2.5).c_str());
    base_string cut = format_base_string("<%s>", std::string(800, 'z').c_str());
    EXPECT_EQ(499, cut.size());
    EXPECT_EQ('<', cut[0]);
    EXPECT_EQ('z', cut[498]);
}

}  // namespace
