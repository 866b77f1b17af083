#include "app/GameRandom.h"

#include <gtest/gtest.h>

#include <climits>
#include <cmath>
#include <set>
#include <vector>

namespace {

std::vector<int> Draws(GameRandom& random) {
    std::vector<int> values;
    for (int i = 0; i < 50; ++i) {
        values.push_back(random.Random(0, 1000000));
    }
    return values;
}

}  // namespace

TEST(GameRandom, a_seed_gives_the_same_sequence_again) {
    GameRandom a(42);
    GameRandom b(42);
    const std::vector<int> first = Draws(a);
    EXPECT_EQ(Draws(b), first);
    a.SetSeed(42);
    EXPECT_EQ(Draws(a), first);
    a.SetSeed(43);
    EXPECT_NE(Draws(a), first);
}

// Integers cover the whole inclusive range, roughly evenly, and nothing else; a single value
// gives itself, a reversed range its first value, and the ranges at the ends of int work.
TEST(GameRandom, integers_cover_the_whole_inclusive_range_and_nothing_else) {
    GameRandom random(1);
    std::set<int> seen;
    for (int i = 0; i < 3000; ++i) {
        seen.insert(random.Random(-1, 3));
    }
    EXPECT_EQ(seen, (std::set<int>{-1, 0, 1, 2, 3}));
    int counts[4] = {};
    for (int i = 0; i < 40000; ++i) {
        ++counts[random.Random(0, 3)];
    }
    for (int count : counts) {
        EXPECT_NEAR(count, 10000, 600);
    }

    EXPECT_EQ(random.Random(7, 7), 7);
    EXPECT_EQ(random.Random(5, 2), 5);
    std::set<int> signs;
    for (int i = 0; i < 200; ++i) {
        const int value = random.Random(INT_MIN, INT_MAX);
        signs.insert(value < 0 ? -1 : (value > 0 ? 1 : 0));
        ASSERT_GE(random.Random(INT_MAX - 1, INT_MAX), INT_MAX - 1);
    }
    EXPECT_TRUE(signs.count(-1) && signs.count(1));
}

// Floats fall in [low, high) and reach near both ends; degenerate, reversed, infinite, NaN and
// huge bounds still give a finite value.
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
    EXPECT_TRUE(std::isfinite(random.Random(-3.0e38f, 3.0e38f)));
}
