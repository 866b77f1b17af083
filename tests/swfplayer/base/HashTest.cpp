#include "swfplayer/base/base_string.h"
#include "swfplayer/base/hash.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <random>
#include <set>
#include <string>
#include <unordered_map>

using swfplayer::base_string;
using swfplayer::base_stringi;
using swfplayer::fixed_size_hash;
using swfplayer::hash;

namespace {

// Sends every key to one of a few chains, so chains collide, interleave and evict each other.
struct colliding_hash {
    uint32_t operator()(int key) const { return static_cast<uint32_t>(key % 5) * 7u; }
};

// Sends every key to one chain, with the one hash value that cannot be cached as is.
struct all_ones_hash {
    uint32_t operator()(int) const { return 0xFFFFFFFF; }
};

// Runs random adds, sets, removes and lookups on the hash and on a standard map and compares
// them throughout; the values own memory, so lost moves and double frees show up under the
// sanitizers. A copy taken at the end must match and stay independent.
template <class H>
void check_against_standard_map(uint32_t seed, int key_range, int steps) {
    SCOPED_TRACE("seed " + std::to_string(seed));
    hash<int, std::string, H> table;
    std::unordered_map<int, std::string> reference;
    std::mt19937 random(seed);
    EXPECT_EQ(-1, table.find_index(0));
    for (int step = 0; step < steps; step++) {
        int key = static_cast<int>(random() % key_range);
        std::string value = "value " + std::to_string(random());
        switch (random() % 6) {
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
        case 3: EXPECT_EQ(reference.erase(key) == 1, table.remove(key)); break;
        case 4: {
            // find_or_add leaves a present value alone and hands it out for an update in place.
            std::string* existing = table.find_or_add(key, value);
            auto it = reference.find(key);
            ASSERT_EQ(it != reference.end(), existing != nullptr) << "step " << step;
            if (existing) {
                ASSERT_EQ(it->second, *existing);
                *existing += " updated";
                it->second += " updated";
            } else {
                reference.emplace(key, value);
            }
            break;
        }
        default: {
            std::string found;
            bool present = table.get(key, &found);
            auto it = reference.find(key);
            ASSERT_EQ(it != reference.end(), present) << "step " << step;
            ASSERT_EQ(present, table.find_index(key) >= 0) << "step " << step;
            ASSERT_EQ(present, table.find(key) != table.end()) << "step " << step;
            ASSERT_EQ(table.find_index(key), present ? table.find(key).get_index() : -1) << "step " << step;
            if (present) {
                ASSERT_EQ(it->second, found);
            }
        }
        }
        ASSERT_EQ(static_cast<int>(reference.size()), table.size());
    }
    hash<int, std::string, H> copy = table;
    copy.set(-1, "only in the copy");
    hash<int, std::string, H> moved = std::move(copy);
    EXPECT_TRUE(copy.is_empty());
    int visited = 0;
    for (const auto& entry : table) {
        EXPECT_EQ(reference.at(entry.first), entry.second);
        EXPECT_EQ(entry.second, moved.find(entry.first)->second);
        visited++;
    }
    EXPECT_EQ(static_cast<int>(reference.size()), visited);
    EXPECT_FALSE(table.get(-1, nullptr));
}

TEST(Hash, matches_a_standard_map_under_random_operations_with_spread_and_colliding_keys) {
    for (uint32_t seed = 1; seed <= 5; seed++) {
        check_against_standard_map<swfplayer::default_hash_functor<int>>(seed, 300, 20000);
        check_against_standard_map<colliding_hash>(seed, 60, 5000);
        check_against_standard_map<all_ones_hash>(seed, 40, 2000);
    }
}

TEST(Hash, set_capacity_keeps_room_for_every_entry_and_zero_empties_the_table) {
    hash<int, std::string> table;
    for (int i = 0; i < 30; i++) {
        table.add(i, std::to_string(i));
    }
    table.set_capacity(2);  // too small for 30 entries: the table keeps enough slots
    EXPECT_GE(table.table_size(), 30);
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
    EXPECT_FALSE(members.try_add("OnEnterFrame", 3));
    members.set("ONenterFRAME", 4);
    int value = 0;
    EXPECT_TRUE(members.get("onenterframe", &value));
    EXPECT_EQ(4, value);
    EXPECT_TRUE(members.remove("ONENTERFRAME"));
    EXPECT_TRUE(members.is_empty());

    hash<base_string, int> exact;
    exact.add("Name", 1);
    EXPECT_FALSE(exact.get("name", nullptr));
    EXPECT_TRUE(exact.get("Name", nullptr));
}

TEST(Hash, integer_keys_spread_over_the_home_slots_and_pointers_use_all_their_bytes) {
    // Runs of ids and of aligned addresses reach about as many of 1,024 home slots as random
    // keys would (63%); a weak mix puts many of them in few chains.
    const struct {
        const char* name;
        uint64_t first, step;
    } runs[] = {{"ids", 0, 1}, {"16-byte aligned", 0x7f0000001000, 16}, {"48-byte objects", 0x55550000, 48}};
    for (const auto& run : runs) {
        std::set<uint32_t> slots;
        for (uint64_t i = 0; i < 1024; i++) {
            slots.insert(fixed_size_hash<uint64_t>()(run.first + i * run.step) & 1023);
        }
        EXPECT_GE(slots.size(), 512u) << run.name;
    }

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

}  // namespace
