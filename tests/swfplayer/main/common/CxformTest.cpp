#include "swfplayer/main/common/cxform.h"
#include "swfplayer/main/common/rgba.h"

#include <gtest/gtest.h>

#include <cfloat>
#include <limits>
#include <string>

namespace {

using swfplayer::cxform;
using swfplayer::rgba;

constexpr float kNan = std::numeric_limits<float>::quiet_NaN();

cxform Uniform(float multiplier, float add) {
    cxform c;
    for (auto& channel : c.m) {
        channel[0] = multiplier;
        channel[1] = add;
    }
    return c;
}

void ExpectColor(const rgba& c, int r, int g, int b, int a) {
    EXPECT_EQ(c.r, r);
    EXPECT_EQ(c.g, g);
    EXPECT_EQ(c.b, b);
    EXPECT_EQ(c.a, a);
}

TEST(CxformTest, channels_are_limited_to_0_255_and_truncated) {
    ExpectColor(cxform().transform(rgba(1, 128, 254, 0)), 1, 128, 254, 0);  // a new transform is the identity
    const struct {
        float multiplier, add;
        uint8_t in, expected;
    } cases[] = {
        {2, 100, 100, 255},                                             // 300 limited
        {2, 100, 0, 100},     {-1, 0, 50, 0},                           // -50 limited
        {1, 254.9f, 0, 254},                                            // truncated
        {1, 0.999f, 0, 0},    {0.5f, 0, 255, 127}, {kNan, 0, 10, 255},  // NaN limits to 255
        {FLT_MAX, 0, 2, 255}, {1, -FLT_MAX, 2, 0},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(std::to_string(c.multiplier) + " " + std::to_string(c.add) + " " + std::to_string(c.in));
        rgba out = Uniform(c.multiplier, c.add).transform(rgba(c.in, c.in, c.in, c.in));
        ExpectColor(out, c.expected, c.expected, c.expected, c.expected);
    }
}

TEST(CxformTest, concatenation_applies_the_argument_first) {
    cxform both = Uniform(2, 10);
    both.concatenate(Uniform(0.5f, 20));
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
    // Per channel: multiplier and add term before, then after clamping.
    const float cases[4][4] = {
        {2, 300, 1, 255},
        {-1, -300, 0, -255},
        {kNan, kNan, 1, 255},
        {0.25f, -12, 0.25f, -12},
    };
    cxform c;
    for (int i = 0; i < 4; i++) {
        c.m[i][0] = cases[i][0];
        c.m[i][1] = cases[i][1];
    }
    c.clamp();
    for (int i = 0; i < 4; i++) {
        EXPECT_EQ(c.m[i][0], cases[i][2]) << "channel " << i;
        EXPECT_EQ(c.m[i][1], cases[i][3]) << "channel " << i;
    }
}

TEST(CxformTest, colour_lerp_rounds_halves_up) {
    rgba mixed;
    mixed.set_lerp(rgba(0, 0, 255, 10), rgba(255, 255, 0, 20), 0.5f);
    ExpectColor(mixed, 128, 128, 128, 15);
    mixed.set_lerp(rgba(0, 0, 255, 10), rgba(255, 255, 0, 20), 1.0f);
    ExpectColor(mixed, 255, 255, 0, 20);
}

}  // namespace
