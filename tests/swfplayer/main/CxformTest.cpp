#include <gtest/gtest.h>

#include <cfloat>
#include <limits>
#include <string>

#include "swfplayer/base/log.h"
#include "swfplayer/main/cxform.h"
#include "swfplayer/main/rgba.h"

namespace {

using swfplayer::cxform;
using swfplayer::rgba;

std::string g_Log;
void Capture(bool, const char* message) {
    g_Log += message;
}

cxform Uniform(float multiplier, float add) {
    cxform c;
    for (auto& channel : c.m) {
        channel[0] = multiplier;
        channel[1] = add;
    }
    return c;
}

TEST(CxformTest, identity_leaves_colours_unchanged) {
    rgba in(1, 128, 254, 0);
    rgba out = cxform().transform(in);
    EXPECT_EQ(out.r, 1);
    EXPECT_EQ(out.g, 128);
    EXPECT_EQ(out.b, 254);
    EXPECT_EQ(out.a, 0);
}

TEST(CxformTest, channels_are_limited_to_0_255_and_truncated) {
    const float nan = std::numeric_limits<float>::quiet_NaN();
    struct Case {
        float multiplier, add;
        uint8_t in, expected;
    } cases[] = {
        {2, 100, 100, 255},  // 300 limited
        {2, 100, 0, 100},
        {-1, 0, 50, 0},      // -50 limited
        {1, 254.9f, 0, 254}, // truncated
        {1, 0.999f, 0, 0},
        {0.5f, 0, 255, 127},
        {nan, 0, 10, 255},   // NaN limits to 255
        {FLT_MAX, 0, 2, 255},
        {1, -FLT_MAX, 2, 0},
    };
    for (const Case& c : cases) {
        rgba out = Uniform(c.multiplier, c.add).transform(rgba(c.in, c.in, c.in, c.in));
        EXPECT_EQ(out.r, c.expected) << c.multiplier << " " << c.add << " " << int(c.in);
        EXPECT_EQ(out.a, c.expected);
    }
}

TEST(CxformTest, concatenation_applies_the_argument_first) {
    cxform outer = Uniform(2, 10);
    cxform inner = Uniform(0.5f, 20);
    cxform both = outer;
    both.concatenate(inner);
    // 100 -> inner 70 -> outer 150
    EXPECT_EQ(both.transform(rgba(100, 100, 100, 100)).g, 150);
    EXPECT_EQ(both.m[1][0], 1);
    EXPECT_EQ(both.m[1][1], 50);

    cxform huge = Uniform(FLT_MAX, FLT_MAX);
    huge.concatenate(Uniform(4, 4));
    EXPECT_EQ(huge.m[0][0], 0);
    EXPECT_EQ(huge.m[0][1], 0);
}

TEST(CxformTest, clamp_limits_multipliers_and_add_terms) {
    const float nan = std::numeric_limits<float>::quiet_NaN();
    cxform c;
    c.m[0][0] = 2;
    c.m[0][1] = 300;
    c.m[1][0] = -1;
    c.m[1][1] = -300;
    c.m[2][0] = nan;
    c.m[2][1] = nan;
    c.m[3][0] = 0.25f;
    c.m[3][1] = -12;
    c.clamp();
    EXPECT_EQ(c.m[0][0], 1);
    EXPECT_EQ(c.m[0][1], 255);
    EXPECT_EQ(c.m[1][0], 0);
    EXPECT_EQ(c.m[1][1], -255);
    EXPECT_EQ(c.m[2][0], 1);
    EXPECT_EQ(c.m[2][1], 255);
    EXPECT_EQ(c.m[3][0], 0.25f);
    EXPECT_EQ(c.m[3][1], -12);
}

TEST(CxformTest, colour_lerp_rounds_halves_up) {
    rgba mixed;
    mixed.set_lerp(rgba(0, 0, 255, 10), rgba(255, 255, 0, 20), 0.5f);
    EXPECT_EQ(mixed.r, 128);
    EXPECT_EQ(mixed.g, 128);
    EXPECT_EQ(mixed.b, 128);
    EXPECT_EQ(mixed.a, 15);
    mixed.set_lerp(rgba(0, 0, 255, 10), rgba(255, 255, 0, 20), 1.0f);
    EXPECT_EQ(mixed.r, 255);
    EXPECT_EQ(mixed.b, 0);
    EXPECT_EQ(mixed.a, 20);
    rgba white;
    EXPECT_EQ(white.r, 255);
    EXPECT_EQ(white.a, 255);
}

TEST(CxformTest, print_writes_the_table) {
    g_Log.clear();
    swfplayer::log_callback old = swfplayer::register_log_callback(Capture);
    Uniform(0.5f, -3).print();
    rgba(1, 2, 3, 4).print();
    swfplayer::register_log_callback(old);
    EXPECT_EQ(g_Log,
              "    *         +\n| 0.5000 -3.0000|\n| 0.5000 -3.0000|\n| 0.5000 -3.0000|\n"
              "| 0.5000 -3.0000|\nrgba: 1 2 3 4\n");
}

}  // namespace
