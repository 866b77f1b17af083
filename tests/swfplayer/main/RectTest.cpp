#include <gtest/gtest.h>

#include <string>

#include "swfplayer/base/log.h"
#include "swfplayer/main/finite_float.h"
#include "swfplayer/main/point.h"
#include "swfplayer/main/rect.h"

namespace {

using swfplayer::point;
using swfplayer::rect;

std::string g_Log;
void Capture(bool, const char* message) {
    g_Log += message;
}

TEST(RectTest, point_and_bound_tests_include_edges) {
    rect r(0, 10, 0, 20);
    EXPECT_TRUE(r.point_test(10, 20));
    EXPECT_TRUE(r.point_test(0, 5));
    EXPECT_FALSE(r.point_test(10.01f, 5));
    EXPECT_FALSE(r.point_test(5, -0.01f));
    EXPECT_TRUE(r.bound_test(rect(10, 30, 5, 6)));   // shares the edge x = 10
    EXPECT_TRUE(r.bound_test(rect(-5, 0, 20, 40)));  // shares one corner
    EXPECT_FALSE(r.bound_test(rect(10.5f, 30, 5, 6)));
    EXPECT_FALSE(r.bound_test(rect(0, 10, 21, 30)));
    EXPECT_FALSE(r.bound_test(rect(0, 10, -30, -1)));
}

TEST(RectTest, expansion_and_corners) {
    rect r(5, 5, 5, 5);
    r.expand_to_point(-1, 8);
    EXPECT_EQ(r.x_min, -1);
    EXPECT_EQ(r.x_max, 5);
    EXPECT_EQ(r.y_min, 5);
    EXPECT_EQ(r.y_max, 8);
    r.expand_to_rect(rect(0, 20, -3, 0));
    EXPECT_EQ(r.x_max, 20);
    EXPECT_EQ(r.y_min, -3);
    const float expected[4][2] = {{-1, -3}, {20, -3}, {20, 8}, {-1, 8}};
    for (int i = 0; i < 4; i++) {
        point corner = r.get_corner(i);
        EXPECT_EQ(corner.x, expected[i][0]);
        EXPECT_EQ(corner.y, expected[i][1]);
    }
    rect mid;
    mid.set_lerp(rect(0, 10, 0, 10), rect(10, 30, -10, 50), 0.25f);
    EXPECT_EQ(mid.x_min, 2.5f);
    EXPECT_EQ(mid.x_max, 15);
    EXPECT_EQ(mid.y_min, -2.5f);
    EXPECT_EQ(mid.y_max, 20);
}

TEST(RectTest, point_length_clamp_and_print) {
    EXPECT_EQ(point(3, -4).get_length(), 5);
    EXPECT_EQ(swfplayer::iclamp(5, 0, 3), 3);
    EXPECT_EQ(swfplayer::iclamp(-5, 0, 3), 0);
    EXPECT_EQ(swfplayer::iclamp(2, 2, 2), 2);

    g_Log.clear();
    swfplayer::log_callback old = swfplayer::register_log_callback(Capture);
    rect(20, 45, -10, 0).print();
    swfplayer::register_log_callback(old);
    EXPECT_EQ(g_Log, "xmin = 1, ymin = -0.5, xmax = 2.25, ymax = 0\n");
}

}  // namespace
