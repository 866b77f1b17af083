#include "app/ViewFitting.h"

#include <gtest/gtest.h>

#include <cmath>

// The view keeps the 800 x 600 logical screen whole: a wider window keeps the height and shows
// bars at the sides, a taller one keeps the width and shows space above and below. A window
// without area gives no view rather than a NaN one.
TEST(ViewFitting, the_view_holds_the_logical_screen_whole_at_any_window_shape) {
    const sf::Vector2f logical(800.0f, 600.0f);
    const struct {
        unsigned width, height;
        float x, y;  // the view; 0 x 0: none
    } rows[] = {{800, 600, 800, 600},   {1024, 768, 800, 600},  {400, 300, 800, 600},
                {1600, 600, 1600, 600}, {800, 1000, 800, 1000}, {1, 4000, 800, 3200000},
                {1024, 0, 0, 0},        {0, 768, 0, 0},         {0, 0, 0, 0}};
    for (const auto& row : rows) {
        const std::optional<sf::Vector2f> view = FittedViewSize(row.width, row.height, logical);
        ASSERT_EQ(view.has_value(), row.x != 0) << row.width << " x " << row.height;
        if (view) {
            EXPECT_NEAR(view->x, row.x, row.x * 1e-5f) << row.width << " x " << row.height;
            EXPECT_NEAR(view->y, row.y, row.y * 1e-5f) << row.width << " x " << row.height;
        }
    }
    const std::optional<sf::Vector2f> huge = FittedViewSize(4294967295u, 1, logical);
    ASSERT_TRUE(huge);
    EXPECT_TRUE(std::isfinite(huge->x) && std::isfinite(huge->y));
}
