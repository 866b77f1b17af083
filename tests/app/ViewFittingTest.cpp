#include <gtest/gtest.h>

#include <cmath>

#include "app/ViewFitting.h"

namespace {

const sf::Vector2f kLogical(800.0f, 600.0f);

}  // namespace

TEST(ViewFitting, window_of_the_logical_aspect_shows_the_logical_screen_exactly) {
    for (auto [w, h] : {std::pair{800u, 600u}, std::pair{1024u, 768u}, std::pair{400u, 300u}}) {
        std::optional<sf::Vector2f> size = FittedViewSize(w, h, kLogical);
        ASSERT_TRUE(size);
        EXPECT_NEAR(size->x, 800.0f, 0.01f);
        EXPECT_NEAR(size->y, 600.0f, 0.01f);
    }
}

TEST(ViewFitting, wide_window_keeps_the_height_and_shows_bars_at_the_sides) {
    std::optional<sf::Vector2f> size = FittedViewSize(1600, 600, kLogical);
    ASSERT_TRUE(size);
    // 1600 logical units wide: the letterbox bars fill the 400 units on each side.
    EXPECT_FLOAT_EQ(size->x, 1600.0f);
    EXPECT_FLOAT_EQ(size->y, 600.0f);
}

TEST(ViewFitting, tall_window_keeps_the_width_and_shows_space_above_and_below) {
    std::optional<sf::Vector2f> size = FittedViewSize(800, 1000, kLogical);
    ASSERT_TRUE(size);
    EXPECT_FLOAT_EQ(size->x, 800.0f);
    EXPECT_FLOAT_EQ(size->y, 1000.0f);

    std::optional<sf::Vector2f> sliver = FittedViewSize(1, 4000, kLogical);
    ASSERT_TRUE(sliver);
    EXPECT_FLOAT_EQ(sliver->x, 800.0f);
    EXPECT_FLOAT_EQ(sliver->y, 3200000.0f);
}

TEST(ViewFitting, zero_sized_window_gives_no_view_instead_of_nan) {
    EXPECT_FALSE(FittedViewSize(1024, 0, kLogical));
    EXPECT_FALSE(FittedViewSize(0, 768, kLogical));
    EXPECT_FALSE(FittedViewSize(0, 0, kLogical));
    std::optional<sf::Vector2f> huge = FittedViewSize(4294967295u, 1, kLogical);
    ASSERT_TRUE(huge);
    EXPECT_TRUE(std::isfinite(huge->x));
    EXPECT_TRUE(std::isfinite(huge->y));
}
