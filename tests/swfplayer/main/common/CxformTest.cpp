#include "swfplayer/main/common/cxform.h"
#include "swfplayer/main/common/rgba.h"

#include <gtest/gtest.h>

#include <cfloat>
#include <limits>
#include <string>
#include <vector>

namespace {

using swfplayer::cxform;
using swfplayer::rgba;
using Ints = std::vector<int>;
using Floats = std::vector<float>;

constexpr float kNan = std::numeric_limits<float>::quiet_NaN();

// Per channel: the multiplier, then the add term.
cxform Make(const Floats& terms) {
    cxform c;
    for (int i = 0; i < 4; i++) {
        c.m[i][0] = terms[terms.size() == 2 ? 0 : 2 * i];
        c.m[i][1] = terms[terms.size() == 2 ? 1 : 2 * i + 1];
    }
    return c;
}

Floats Terms(const cxform& c) {
    return {c.m[0][0], c.m[0][1], c.m[1][0], c.m[1][1], c.m[2][0], c.m[2][1], c.m[3][0], c.m[3][1]};
}

Ints Channels(const rgba& c) {
    return {c.r, c.g, c.b, c.a};
}

TEST(CxformTest, channels_are_limited_to_0_255_and_truncated) {
    EXPECT_EQ(Channels(cxform().transform(rgba(1, 128, 254, 0))), (Ints{1, 128, 254, 0}));  // a new one: identity
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
        EXPECT_EQ(Channels(Make({c.multiplier, c.add}).transform(rgba(c.in, c.in, c.in, c.in))), Ints(4, c.expected))
            << c.multiplier << " " << c.add << " " << int(c.in);
    }
}

TEST(CxformTest, concatenation_applies_the_argument_first_and_clamp_limits_the_terms) {
    cxform both = Make({2, 10});
    both.concatenate(Make({0.5f, 20}));
    EXPECT_EQ(both.transform(rgba(100, 100, 100, 100)).g, 150);  // 100 -> inner 70 -> outer 150
    EXPECT_EQ((Floats{both.m[1][0], both.m[1][1]}), (Floats{1, 50}));
    cxform huge = Make({FLT_MAX, FLT_MAX});
    huge.concatenate(Make({4, 4}));
    EXPECT_EQ((Floats{huge.m[0][0], huge.m[0][1]}), (Floats{0, 0}));

    cxform c = Make({2, 300, -1, -300, kNan, kNan, 0.25f, -12});
    c.clamp();
    EXPECT_EQ(Terms(c), (Floats{1, 255, 0, -255, 1, 255, 0.25f, -12}));
}

TEST(CxformTest, colour_lerp_rounds_halves_up) {
    rgba mixed;
    mixed.set_lerp(rgba(0, 0, 255, 10), rgba(255, 255, 0, 20), 0.5f);
    EXPECT_EQ(Channels(mixed), (Ints{128, 128, 128, 15}));
    mixed.set_lerp(rgba(0, 0, 255, 10), rgba(255, 255, 0, 20), 1.0f);
    EXPECT_EQ(Channels(mixed), (Ints{255, 255, 0, 20}));
}

}  // namespace
