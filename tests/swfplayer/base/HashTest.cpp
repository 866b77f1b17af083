#include "swfplayer/base/hash.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <random>
#include <string>
#include <unordered_map>

#include "swfplayer/base/base_string.h"

using swfplayer::base_string;
using swfplayer::base_stringi;
using swfplayer::fixed_size_hash;
using swfplayer::hash;

namespace {

// Sends every key to one of a few chains, so chains collide, interleave and evict each other.
struct colliding_hash {
    uint32_t operator()(int key) const { return static_cast<uint32_t>(key % 5) * 7u; }
};

// A value that owns memory, so lost moves and double frees show up under the sanitizers.
using value_type = std::string;

template<class H>
void check_against_standard_map(uint32_t seed, int key_range, int steps) {
    hash<int, value_type, H> table;
    std::unordered_map<int, value_type> reference;
    std::mt19937 random(seed);
    for (int step = 0; step < steps; step++) {
        int key = static_cast<int>(random() % key_range);
        value_type value = "value " + std::to_string(random());
        switch (random() % 5) {
            case 0:
                if (reference.count(key) == 0) {
                    table.add(key, value);
                    reference[key] = value;
                }
                break;
            case 1:
                EXPECT_EQ(reference.count(key) == 0, table.try_add(key, value));
                reference.emplace(key, value);
                break;
            case 2:
                table.set(key, value);
                reference[key] = value;
                break;
            case 3:
                EXPECT_EQ(reference.erase(key) == 1, table.remove(key));
                break;
            default: {
                value_type found;
                bool present = table.get(key, &found);
                auto it = reference.find(key);
                ASSERT_EQ(it != reference.end(), present) << "step " << step;
                if (present) {
                    ASSERT_EQ(it->second, found);
                }
            }
        }
        ASSERT_EQ(static_cast<int>(reference.size()), table.size());
    }
    for (const auto& [key, value] : reference) {
        auto it = table.find(key);
        ASSERT_TRUE(it != table.end());
        EXPECT_EQ(value, it->second);
    }
    int visited = 0;
    for (const auto& entry : table) {
        EXPECT_EQ(reference.at(entry.first), entry.second);
        visited++;
    }
    EXPECT_EQ(static_cast<int>(reference.size()), visited);
}

TEST(Hash, matches_a_standard_map_under_random_operations) {
    for (uint32_t seed = 1; seed <= 5; seed++) {
        check_against_standard_map<swfplayer::default_hash_functor<int>>(seed, 300, 20000);
    }
}

TEST(Hash, matches_a_standard_map_when_every_key_collides) {
    for (uint32_t seed = 1; seed <= 5; seed++) {
        check_against_standard_map<colliding_hash>(seed, 60, 5000);
    }
}

TEST(Hash, starts_at_16_slots_and_doubles_before_the_12th_entry) {
    hash<int, int> table;
    EXPECT_EQ(0, table.table_size());
    for (int i = 0; i < 11; i++) {
        table.add(i, i);
        EXPECT_EQ(16, table.table_size()) << i;
    }
    table.add(11, 11);
    EXPECT_EQ(32, table.table_size());
    for (int i = 0; i < 12; i++) {
        int value = -1;
        EXPECT_TRUE(table.get(i, &value));
        EXPECT_EQ(i, value);
    }
}

TEST(Hash, set_capacity_rounds_to_a_power_of_two_and_keeps_room_for_the_entries) {
    hash<int, std::string> table;
    table.set_capacity(40);
    EXPECT_EQ(64, table.table_size());
    for (int i = 0; i < 30; i++) {
        table.add(i, std::to_string(i));
    }
    table.set_capacity(2);  // too small for 30 entries: the table keeps enough slots
    EXPECT_EQ(32, table.table_size());
    for (int i = 0; i < 30; i++) {
        std::string value;
        ASSERT_TRUE(table.get(i, &value));
        EXPECT_EQ(std::to_string(i), value);
    }
    table.set_capacity(0);
    EXPECT_EQ(0, table.size());
    EXPECT_EQ(0, table.table_size());
    EXPECT_TRUE(table.begin() == table.end());
}

TEST(Hash, stringi_keys_find_entries_regardless_of_ascii_case) {
    hash<base_stringi, int> members;
    members.add("onEnterFrame", 1);
    members.add("_x", 2);
    int value = 0;
    EXPECT_TRUE(members.get("ONENTERFRAME", &value));
    EXPECT_EQ(1, value);
    EXPECT_TRUE(members.get("_X", nullptr));
    EXPECT_FALSE(members.try_add("OnEnterFrame", 3));
    members.set("ONenterFRAME", 4);
    EXPECT_EQ(2, members.size());
    EXPECT_TRUE(members.get("onenterframe", &value));
    EXPECT_EQ(4, value);
    EXPECT_TRUE(members.remove("_X"));
    EXPECT_FALSE(members.get("_x", nullptr));

    hash<base_string, int> exact;
    exact.add("Name", 1);
    EXPECT_FALSE(exact.get("name", nullptr));
    EXPECT_TRUE(exact.get("Name", nullptr));
}

TEST(Hash, pointer_keys_use_all_their_bytes) {
    // Two pointers that differ only above bit 32 must both be found.
    auto* low = reinterpret_cast<int*>(uintptr_t{0x1000});
    auto* high = reinterpret_cast<int*>(uintptr_t{0x1000} | (uintptr_t{1} << 40));
    EXPECT_NE(fixed_size_hash<int*>()(low), fixed_size_hash<int*>()(high));
    hash<int*, int> table;
    table.add(low, 1);
    table.add(high, 2);
    int value = 0;
    EXPECT_TRUE(table.get(high, &value));
    EXPECT_EQ(2, value);
    EXPECT_TRUE(table.get(low, &value));
    EXPECT_EQ(1, value);
}

TEST(Hash, fixed_size_hash_reads_the_bytes_from_last_to_first) {
    // Little-endian 1: bytes 01 00 00 00, read from the last: three zeros, then 1.
    uint32_t h = 5381;
    for (int i = 0; i < 3; i++) {
        h = h * 65599;
    }
    h = h * 65599 + 1;
    EXPECT_EQ(h, fixed_size_hash<int32_t>()(1));
}

// A hash that returns the one value that cannot be cached as is.
struct all_ones_hash {
    uint32_t operator()(int) const { return 0xFFFFFFFF; }
};

TEST(Hash, a_key_hashing_to_all_ones_is_still_found) {
    hash<int, int, all_ones_hash> table;
    for (int i = 0; i < 20; i++) {
        table.add(i, i * 10);
    }
    for (int i = 0; i < 20; i++) {
        int value = -1;
        EXPECT_TRUE(table.get(i, &value));
        EXPECT_EQ(i * 10, value);
    }
    EXPECT_TRUE(table.remove(7));
    EXPECT_FALSE(table.get(7, nullptr));
    EXPECT_EQ(19, table.size());
}

TEST(Hash, copies_are_independent_and_moves_take_the_table) {
    hash<int, std::string> table;
    for (int i = 0; i < 50; i++) {
        table.add(i, std::string(30, 'v') + std::to_string(i));
    }
    hash<int, std::string> copy = table;
    copy.set(3, "changed");
    copy.remove(4);
    std::string value;
    EXPECT_TRUE(table.get(3, &value));
    EXPECT_EQ(std::string(30, 'v') + "3", value);
    EXPECT_TRUE(table.get(4, nullptr));
    hash<int, std::string> moved = std::move(table);
    EXPECT_EQ(0, table.size());
    EXPECT_EQ(50, moved.size());
    moved = copy;
    EXPECT_EQ(49, moved.size());
    moved.clear();
    EXPECT_TRUE(moved.is_empty());
}

TEST(Hash, adding_a_value_taken_from_the_table_survives_the_growth_it_causes) {
    hash<int, std::string> table;
    table.add(0, std::string(64, 'g'));
    for (int i = 1; i < 40; i++) {
        table.add(i, table.find(i - 1)->second);  // the source entry moves when the table doubles
    }
    for (int i = 0; i < 40; i++) {
        EXPECT_EQ(std::string(64, 'g'), table.find(i)->second);
    }
}

TEST(Hash, find_index_answers_minus_one_for_absent_keys_and_an_empty_table) {
    hash<int, int> table;
    EXPECT_EQ(-1, table.find_index(3));
    table.add(3, 30);
    int index = table.find_index(3);
    ASSERT_GE(index, 0);
    EXPECT_EQ(index, table.find(3).get_index());
    EXPECT_EQ(-1, table.find_index(4));
    EXPECT_TRUE(table.find(4) == table.end());
}

}  // namespace
