#include <gtest/gtest.h>

#include <climits>
#include <cmath>
#include <set>
#include <vector>

#include "app/GameRandom.h"

TEST(GameRandom, a_seed_gives_the_same_sequence_again) {
    GameRandom a(42);
    GameRandom b(42);
    std::vector<int> first;
    std::vector<int> second;
    for (int i = 0; i < 50; ++i) {
        first.push_back(a.Random(0, 1000000));
        second.push_back(b.Random(0, 1000000));
    }
    EXPECT_EQ(first, second);

    a.SetSeed(42);
    EXPECT_EQ(a.GetSeed(), 42u);
    EXPECT_EQ(a.Random(0, 1000000), first[0]);
    a.SetSeed(43);
    std::vector<int> other;
    for (int i = 0; i < 50; ++i) {
        other.push_back(a.Random(0, 1000000));
    }
    EXPECT_NE(other, first);
}

TEST(GameRandom, integers_cover_the_whole_inclusive_range_and_nothing_else) {
    GameRandom random(1);
    std::set<int> seen;
    for (int i = 0; i < 3000; ++i) {
        const int value = random.Random(-1, 3);
        ASSERT_GE(value, -1);
        ASSERT_LE(value, 3);
        seen.insert(value);
    }
    EXPECT_EQ(seen, (std::set<int>{-1, 0, 1, 2, 3}));

    // Roughly even: each of four values about a quarter of the draws.
    int counts[4] = {};
    for (int i = 0; i < 40000; ++i) {
        ++counts[random.Random(0, 3)];
    }
    for (int count : counts) {
        EXPECT_NEAR(count, 10000, 600);
    }
}

TEST(GameRandom, integer_edges_single_value_reversed_and_full_range) {
    GameRandom random(2);
    EXPECT_EQ(random.Random(7, 7), 7);
    EXPECT_EQ(random.Random(5, 2), 5) << "a reversed range gives its first value";
    bool negative = false;
    bool positive = false;
    for (int i = 0; i < 200; ++i) {
        const int value = random.Random(INT_MIN, INT_MAX);
        negative = negative || value < 0;
        positive = positive || value > 0;
    }
    EXPECT_TRUE(negative && positive);
    for (int i = 0; i < 200; ++i) {
        const int value = random.Random(INT_MAX - 1, INT_MAX);
        ASSERT_GE(value, INT_MAX - 1);
    }
}

TEST(GameRandom, floats_stay_within_their_bounds) {
    GameRandom random(3);
    float lowest = 10.0f;
    float highest = 0.0f;
    for (int i = 0; i < 5000; ++i) {
        const float value = random.Random(5.0f, 8.0f);
        ASSERT_GE(value, 5.0f);
        ASSERT_LT(value, 8.0f);
        lowest = std::min(lowest, value);
        highest = std::max(highest, value);
    }
    EXPECT_LT(lowest, 5.01f);
    EXPECT_GT(highest, 7.99f);

    EXPECT_EQ(random.Random(2.0f, 2.0f), 2.0f);
    const float reversed = random.Random(1.0f, -1.0f);
    EXPECT_LE(reversed, 1.0f);
    EXPECT_GT(reversed, -1.0f);
    EXPECT_EQ(random.Random(0.0f, INFINITY), 0.0f);
    EXPECT_EQ(random.Random(std::nanf(""), 1.0f), 0.0f);
    const float huge = random.Random(-3.0e38f, 3.0e38f);
    EXPECT_TRUE(std::isfinite(huge));
}
