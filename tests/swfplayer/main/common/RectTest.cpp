#include "swfplayer/main/common/rect.h"

#include <gtest/gtest.h>

#include <vector>

namespace {

using swfplayer::rect;
using Floats = std::vector<float>;

Floats Sides(const rect& r) {
    return {r.x_min, r.x_max, r.y_min, r.y_max};
}

TEST(RectTest, point_and_bound_tests_include_edges) {
    const rect r(0, 10, 0, 20);
    const struct {
        float x, y;
        bool inside;
    } points[] = {{10, 20, true}, {0, 5, true}, {10.01f, 5, false}, {5, -0.01f, false}};
    for (const auto& p : points) {
        EXPECT_EQ(r.point_test(p.x, p.y), p.inside) << p.x << ", " << p.y;
    }
    const struct {
        rect other;
        bool touches;
        const char* label;
    } boxes[] = {
        {rect(10, 30, 5, 6), true, "shares the edge x = 10"},
        {rect(-5, 0, 20, 40), true, "shares one corner"},
        {rect(10.5f, 30, 5, 6), false, "right of it"},
        {rect(0, 10, 21, 30), false, "above it"},
        {rect(0, 10, -30, -1), false, "below it"},
    };
    for (const auto& b : boxes) {
        EXPECT_EQ(r.bound_test(b.other), b.touches) << b.label;
    }
}

TEST(RectTest, expansion_corners_and_lerp) {
    rect r(5, 5, 5, 5);
    r.expand_to_point(-1, 8);
    EXPECT_EQ(Sides(r), (Floats{-1, 5, 5, 8}));
    r.expand_to_rect(rect(0, 20, -3, 0));
    EXPECT_EQ(Sides(r), (Floats{-1, 20, -3, 8}));
    Floats corners;
    for (int i = 0; i < 4; i++) {
        corners.insert(corners.end(), {r.get_corner(i).x, r.get_corner(i).y});
    }
    EXPECT_EQ(corners, (Floats{-1, -3, 20, -3, 20, 8, -1, 8}));
    rect mid;
    mid.set_lerp(rect(0, 10, 0, 10), rect(10, 30, -10, 50), 0.25f);
    EXPECT_EQ(Sides(mid), (Floats{2.5f, 15, -2.5f, 20}));
}

}  // namespace
