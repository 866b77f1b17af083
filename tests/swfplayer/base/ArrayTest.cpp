#include "swfplayer/base/array.h"
#include "swfplayer/base/base_string.h"

#include <gtest/gtest.h>

#include <string>

using swfplayer::array;
using swfplayer::base_string;

namespace {

TEST(Array, grows_by_half_shrinks_when_half_empty_and_frees_at_zero) {
    array<int> a;
    const std::pair<int, int> steps[] = {{1, 1}, {2, 3}, {3, 3}, {4, 6}, {10, 15}, {8, 15}, {7, 10}, {5, 7}, {0, 0}};
    for (const auto& [size, capacity] : steps) {
        a.resize(size);
        EXPECT_EQ(capacity, a.capacity()) << "size " << size;
    }
    EXPECT_EQ(nullptr, a.begin());
    a.push_back(7);
    a.push_back(8);
    EXPECT_EQ(3, a.capacity());  // pushing a second element
}

TEST(Array, new_elements_are_empty_and_elements_with_owned_memory_survive_growth) {
    array<std::string> strings;
    array<base_string> names(2);
    array<void*> pointers(3);
    EXPECT_STREQ("", names[1].c_str());
    EXPECT_EQ(nullptr, pointers[2]);
    for (int i = 0; i < 200; i++) {
        strings.push_back(std::string(40, static_cast<char>('a' + i % 26)) + std::to_string(i));
        names.push_back(base_string(("name number " + std::to_string(i)).c_str()));
    }
    strings.resize(20);
    names.resize(22);
    strings.resize(21);
    EXPECT_EQ("", strings[20]);
    for (int i = 0; i < 20; i++) {
        EXPECT_EQ(std::string(40, static_cast<char>('a' + i % 26)) + std::to_string(i), strings[i]);
        EXPECT_EQ("name number " + std::to_string(i), names[i + 2].c_str());
    }
}

TEST(Array, push_back_of_an_own_element_copies_it_before_growing) {
    array<std::string> a;
    a.push_back(std::string(100, 'x'));
    for (int i = 0; i < 20; i++) {
        a.push_back(a.back());
    }
    a.pop_back();
    EXPECT_EQ(20, a.size());
    array<std::string> copy = a;  // copies are deep, moves take the buffer
    copy[0] = "changed";
    array<std::string> moved = std::move(a);
    EXPECT_EQ(0, a.size());
    a = moved;
    EXPECT_EQ(std::string(100, 'x'), a.front());
    for (const std::string& s : a) {
        EXPECT_EQ(std::string(100, 'x'), s);
    }
}

}  // namespace
