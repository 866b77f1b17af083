#include "swfplayer/main/common/cxform.h"
#include "swfplayer/main/common/finite_float.h"
#include "swfplayer/main/common/matrix.h"
#include "swfplayer/main/common/rect.h"
#include "swfplayer/main/common/rgba.h"

#include <gtest/gtest.h>

#include <cfloat>
#include <cmath>
#include <limits>
#include <random>
#include <string>
#include <vector>

namespace {

using swfplayer::cxform;
using swfplayer::matrix;
using swfplayer::point;
using swfplayer::rect;
using swfplayer::rgba;
using Floats = std::vector<float>;
using Ints = std::vector<int>;

constexpr double kPi = 3.14159265358979323846;
constexpr float kNan = std::numeric_limits<float>::quiet_NaN();
constexpr float kInf = std::numeric_limits<float>::infinity();

// The matrix | a b tx | over | c d ty |.
matrix Make(float a, float b, float tx, float c, float d, float ty) {
    matrix m;
    m.m[0][0] = a;
    m.m[0][1] = b;
    m.m[0][2] = tx;
    m.m[1][0] = c;
    m.m[1][1] = d;
    m.m[1][2] = ty;
    return m;
}

Floats Sides(const rect& r) {
    return {r.x_min, r.x_max, r.y_min, r.y_max};
}

// a, b, tx, c, d, ty; or only a, b, c, d.
Floats Entries(const matrix& m, bool translation = true) {
    if (!translation) {
        return {m.m[0][0], m.m[0][1], m.m[1][0], m.m[1][1]};
    }
    return {m.m[0][0], m.m[0][1], m.m[0][2], m.m[1][0], m.m[1][1], m.m[1][2]};
}

void ExpectNear(const Floats& got, const Floats& expected, double tolerance) {
    ASSERT_EQ(got.size(), expected.size());
    for (size_t i = 0; i < got.size(); i++) {
        EXPECT_NEAR(got[i], expected[i], tolerance) << "entry " << i;
    }
}

TEST(MatrixTest, finite_or_zero_passes_the_float_range_and_nothing_beyond) {
    const struct {
        double in;
        float out;
    } cases[] = {
        {FLT_MAX, FLT_MAX},
        {-static_cast<double>(FLT_MAX), -FLT_MAX},
        {std::nextafter(static_cast<double>(FLT_MAX), HUGE_VAL), 0.0f},
        {-1e39, 0.0f},
        {std::numeric_limits<double>::quiet_NaN(), 0.0f},
        {HUGE_VAL, 0.0f},
        {-2.5, -2.5f},
        {1e-40, static_cast<float>(1e-40)},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(swfplayer::finite_or_zero(c.in), c.out) << c.in;
    }
    float value = 1e30f, other = 3.0f;
    swfplayer::scale_finite_or_zero(&value, 1e10f);
    swfplayer::scale_finite_or_zero(&other, 0.5f);
    EXPECT_EQ((Floats{value, other}), (Floats{0.0f, 1.5f}));
}

TEST(MatrixTest, composition_and_inverse_agree_on_random_matrices) {
    std::mt19937 rng(42);
    std::uniform_real_distribution<float> coordinate(-500.0f, 500.0f), entry(-4.0f, 4.0f), shift(-2000.0f, 2000.0f);
    auto random_matrix = [&]() {
        for (;;) {
            matrix m = Make(entry(rng), entry(rng), shift(rng), entry(rng), entry(rng), shift(rng));
            if (std::fabs(m.get_determinant()) > 0.1f) {
                return m;
            }
        }
    };
    for (int round = 0; round < 500; round++) {
        SCOPED_TRACE("round " + std::to_string(round));
        matrix a = random_matrix(), b = random_matrix();
        point p(coordinate(rng), coordinate(rng));
        // a x b maps through b first, then a.
        matrix ab = a;
        ab.concatenate(b);
        point through_b, expected, got, through_a, back;
        b.transform(&through_b, p);
        a.transform(&expected, through_b);
        ab.transform(&got, p);
        ExpectNear({got.x, got.y}, {expected.x, expected.y}, 1e-2);
        a.transform(&through_a, p);
        a.transform_by_inverse(&back, through_a);
        ExpectNear({back.x, back.y}, {p.x, p.y}, 1e-2);

        // M x M^-1 is the identity.
        matrix inverse, product = a;
        inverse.set_inverse(a);
        product.concatenate(inverse);
        ExpectNear(Entries(product, false), {1, 0, 0, 1}, 1e-4);
        ExpectNear({product.m[0][2], product.m[1][2]}, {0, 0}, 2e-2);
    }
}

TEST(MatrixTest, singular_and_nan_matrices_invert_without_spreading_infinities) {
    matrix inverse;
    // A singular matrix inverts as a pure translation back.
    inverse.set_inverse(Make(0, 0, 100, 0, 0, -40));
    EXPECT_EQ(Entries(inverse), (Floats{1, 0, -100, 0, 1, 40}));
    inverse.set_inverse(Make(kNan, 0, 5, 0, 1, 5));
    EXPECT_EQ(Entries(inverse, false), (Floats{0, 0, 0, 0}));
    // A tiny determinant (1e-40) gives entries past the float range, stored as 0.
    inverse.set_inverse(Make(1e-20f, 0, 0, 0, 1e-20f, 0));
    EXPECT_EQ((Floats{inverse.m[0][0], inverse.m[1][1]}), (Floats{0, 0}));
}

TEST(MatrixTest, scale_and_rotation_written_read_back_unchanged) {
    for (float x_scale : {1.0f, 0.25f, 3.0f, -2.0f, -0.5f}) {
        for (float y_scale : {1.0f, 2.5f, 0.1f}) {
            for (float angle : {0.0f, 0.3f, 1.5f, -2.0f, 3.0f, static_cast<float>(kPi / 2)}) {
                SCOPED_TRACE(std::to_string(x_scale) + " " + std::to_string(y_scale) + " " + std::to_string(angle));
                matrix m = Make(1, 0, 77, 0, 1, -33);
                m.set_scale_rotation(x_scale, y_scale, angle);
                ExpectNear({m.get_x_scale(), m.get_y_scale(), m.get_rotation(), m.get_max_scale()},
                           {x_scale, y_scale, angle, std::max(std::fabs(x_scale), y_scale)}, 1e-5);
                EXPECT_EQ(m.does_flip(), x_scale < 0);
                EXPECT_EQ((Floats{m.m[0][2], m.m[1][2]}), (Floats{77, -33}));
                // Writing back what was read changes nothing, as a script's _xscale does.
                matrix again = m;
                again.set_scale_rotation(m.get_x_scale(), m.get_y_scale(), m.get_rotation());
                ExpectNear(Entries(again, false), Entries(m, false), 1e-5);
            }
        }
    }
}

TEST(MatrixTest, non_finite_writes_are_ignored_and_overflowing_results_stored_as_zero) {
    matrix m;
    m.set_scale_rotation(2, 3, 0.5f);
    matrix before = m;
    m.set_scale_rotation(kNan, 3, 0.5f);
    m.set_scale_rotation(2, kInf, 0.5f);
    m.set_scale_rotation(2, 3, -kInf);
    EXPECT_EQ(Entries(m), Entries(before));
    // Finite arguments whose products overflow are stored as 0.
    m.set_scale_rotation(FLT_MAX, 1, 0);
    EXPECT_EQ(m.m[0][0], FLT_MAX);
    m.concatenate_scale(4);
    EXPECT_EQ(m.m[0][0], 0);

    matrix s = Make(1e10f, 2, 5, 3, 4, 6);
    s.concatenate_scale(1e30f);
    EXPECT_EQ((Floats{s.m[0][0], s.m[0][1], s.m[0][2]}), (Floats{0, 2e30f, 5}));
    matrix t = Make(2, 0, 10, 0, 3, 20);
    t.concatenate_translation(5, 7);
    EXPECT_EQ((Floats{t.m[0][2], t.m[1][2]}), (Floats{20, 41}));
    t.concatenate_translation(FLT_MAX, 0);
    EXPECT_EQ(t.m[0][2], 0);

    matrix half, far;
    half.set_lerp(Make(0, 0, 0, 0, 0, 0), Make(2, 4, 100, -2, 8, -100), 0.5f);
    EXPECT_EQ(Entries(half), (Floats{1, 2, 50, -1, 4, -50}));
    far.set_lerp(Make(-FLT_MAX, 0, 0, 0, 0, 0), Make(FLT_MAX, 0, 0, 0, 0, 0), 2);
    EXPECT_EQ(far.m[0][0], 0);
}

TEST(MatrixTest, rectangles_transform_to_the_box_of_their_corners) {
    matrix rotate;
    rotate.set_scale_rotation(1, 2, static_cast<float>(kPi / 2));
    rect r(0, 10, 0, 20);
    rotate.transform(&r);  // (x, y) -> (-2y, x)
    ExpectNear(Sides(r), {-40, 0, 0, 10}, 1e-4);
    rotate.transform_by_inverse(&r);
    ExpectNear(Sides(r), {0, 10, 0, 20}, 1e-4);
    point v;
    Make(2, 0, 1000, 0, 3, 1000).transform_vector(&v, point(1, 1));
    EXPECT_EQ((Floats{v.x, v.y}), (Floats{2, 3}));
}

// Per channel: the multiplier, then the add term.
cxform Cxform(const Floats& terms) {
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
        EXPECT_EQ(Channels(Cxform({c.multiplier, c.add}).transform(rgba(c.in, c.in, c.in, c.in))), Ints(4, c.expected))
            << c.multiplier << " " << c.add << " " << int(c.in);
    }
}

TEST(CxformTest, concatenation_applies_the_argument_first_and_clamp_limits_the_terms) {
    cxform both = Cxform({2, 10});
    both.concatenate(Cxform({0.5f, 20}));
    EXPECT_EQ(both.transform(rgba(100, 100, 100, 100)).g, 150);  // 100 -> inner 70 -> outer 150
    EXPECT_EQ((Floats{both.m[1][0], both.m[1][1]}), (Floats{1, 50}));
    cxform huge = Cxform({FLT_MAX, FLT_MAX});
    huge.concatenate(Cxform({4, 4}));
    EXPECT_EQ((Floats{huge.m[0][0], huge.m[0][1]}), (Floats{0, 0}));

    cxform c = Cxform({2, 300, -1, -300, kNan, kNan, 0.25f, -12});
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

// Expansion is held by the matrix's box of corners and by the bounds of drawings and clips.
TEST(RectTest, corners_and_lerp) {
    const rect r(-1, 20, -3, 8);
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
