#include "swfplayer/base/array.h"

#include <gtest/gtest.h>

#include <string>

#include "swfplayer/base/base_string.h"
#include "swfplayer/base/smart_ptr.h"

using swfplayer::array;
using swfplayer::base_string;

namespace {

TEST(Array, grows_by_half_and_shrinks_when_half_empty) {
    array<int> a;
    a.resize(1);
    EXPECT_EQ(1, a.capacity());
    a.push_back(7);
    EXPECT_EQ(3, a.capacity());
    a.push_back(8);
    EXPECT_EQ(3, a.capacity());
    a.push_back(9);
    EXPECT_EQ(6, a.capacity());  // 4 + 4/2

    array<int> ten;
    ten.resize(10);
    EXPECT_EQ(15, ten.capacity());
    ten.resize(8);
    EXPECT_EQ(15, ten.capacity());  // 8 is more than half of 15
    ten.resize(5);
    EXPECT_EQ(7, ten.capacity());
    ten.resize(0);
    EXPECT_EQ(0, ten.capacity());
    EXPECT_EQ(nullptr, ten.begin());
}

TEST(Array, new_elements_are_default_constructed) {
    array<int> numbers;
    numbers.push_back(5);
    numbers.resize(4);
    EXPECT_EQ(5, numbers[0]);
    EXPECT_EQ(0, numbers[3]);
    array<void*> pointers(3);
    EXPECT_EQ(nullptr, pointers[2]);
    array<base_string> strings(2);
    EXPECT_STREQ("", strings[1].c_str());
}

TEST(Array, elements_with_owned_memory_survive_growth_and_shrinking) {
    array<std::string> strings;
    array<base_string> names;
    for (int i = 0; i < 200; i++) {
        strings.push_back(std::string(40, static_cast<char>('a' + i % 26)) + std::to_string(i));
        names.push_back(base_string(("name number " + std::to_string(i)).c_str()));
    }
    strings.resize(20);
    names.resize(20);
    for (int i = 0; i < 20; i++) {
        EXPECT_EQ(std::string(40, static_cast<char>('a' + i % 26)) + std::to_string(i), strings[i]);
        EXPECT_EQ("name number " + std::to_string(i), names[i].c_str());
    }
}

TEST(Array, push_back_of_an_own_element_copies_it_before_growing) {
    array<std::string> a;
    a.push_back(std::string(100, 'x'));
    for (int i = 0; i < 10; i++) {
        a.push_back(a[0]);
    }
    for (const std::string& s : a) {
        EXPECT_EQ(std::string(100, 'x'), s);
    }
}

TEST(Array, insert_and_remove_shift_the_later_elements) {
    array<std::string> a;
    a.push_back("b");
    a.push_back("d");
    a.insert(0, "a");
    a.insert(2, "c");
    a.insert(4, "e");
    ASSERT_EQ(5, a.size());
    EXPECT_EQ("abcde", a[0] + a[1] + a[2] + a[3] + a[4]);
    a.remove(1);
    a.remove(3);
    EXPECT_EQ("acd", a[0] + a[1] + a[2]);
    a.pop_back();
    EXPECT_EQ("c", a.back());
    EXPECT_EQ("a", a.front());
}

TEST(Array, copies_are_deep_and_moves_steal) {
    array<std::string> a;
    a.push_back("one");
    array<std::string> copy = a;
    copy[0] = "changed";
    EXPECT_EQ("one", a[0]);
    array<std::string> moved = std::move(a);
    EXPECT_EQ(0, a.size());
    EXPECT_EQ("one", moved[0]);
    copy = moved;
    EXPECT_EQ("one", copy[0]);
}

TEST(ArrayDeath, an_index_outside_the_array_stops_the_program) {
#ifndef NDEBUG
    array<int> a(2);
    EXPECT_DEATH((void)a[2], "index >= 0 && index < m_size");
    EXPECT_DEATH((void)a[-1], "index >= 0 && index < m_size");
#endif
}

}  // namespace
