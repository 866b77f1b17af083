#include "swfplayer/main/common/finite_float.h"
#include "swfplayer/main/common/matrix.h"

#include <gtest/gtest.h>

#include <cfloat>
#include <cmath>
#include <limits>
#include <random>
#include <string>

namespace {

using swfplayer::matrix;
using swfplayer::point;
using swfplayer::rect;

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

// Expects the first `columns` columns of both rows of m to equal those of expected.
void ExpectEntries(const matrix& m, const matrix& expected, int columns = 3) {
    for (int row = 0; row < 2; row++) {
        for (int col = 0; col < columns; col++) {
            EXPECT_EQ(m.m[row][col], expected.m[row][col]) << "entry " << row << "," << col;
        }
    }
}

matrix RandomMatrix(std::mt19937& rng) {
    std::uniform_real_distribution<float> entry(-4.0f, 4.0f);
    std::uniform_real_distribution<float> shift(-2000.0f, 2000.0f);
    for (;;) {
        matrix m = Make(entry(rng), entry(rng), shift(rng), entry(rng), entry(rng), shift(rng));
        if (std::fabs(m.get_determinant()) > 0.1f) {
            return m;
        }
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
    float value = 1e30f;
    swfplayer::scale_finite_or_zero(&value, 1e10f);
    EXPECT_EQ(value, 0.0f);
    value = 3.0f;
    swfplayer::scale_finite_or_zero(&value, 0.5f);
    EXPECT_EQ(value, 1.5f);
}

TEST(MatrixTest, composition_and_inverse_agree_on_random_matrices) {
    std::mt19937 rng(42);
    std::uniform_real_distribution<float> coordinate(-500.0f, 500.0f);
    for (int round = 0; round < 500; round++) {
        SCOPED_TRACE("round " + std::to_string(round));
        matrix a = RandomMatrix(rng);
        matrix b = RandomMatrix(rng);
        point p(coordinate(rng), coordinate(rng));
        // a x b maps through b first, then a.
        matrix ab = a;
        ab.concatenate(b);
        point through_b, expected, got;
        b.transform(&through_b, p);
        a.transform(&expected, through_b);
        ab.transform(&got, p);
        EXPECT_NEAR(got.x, expected.x, 1e-2);
        EXPECT_NEAR(got.y, expected.y, 1e-2);

        // M x M^-1 is the identity.
        matrix inverse;
        inverse.set_inverse(a);
        matrix product = a;
        product.concatenate(inverse);
        EXPECT_NEAR(product.m[0][0], 1.0, 1e-4);
        EXPECT_NEAR(product.m[0][1], 0.0, 1e-4);
        EXPECT_NEAR(product.m[1][0], 0.0, 1e-4);
        EXPECT_NEAR(product.m[1][1], 1.0, 1e-4);
        EXPECT_NEAR(product.m[0][2], 0.0, 2e-2);
        EXPECT_NEAR(product.m[1][2], 0.0, 2e-2);

        point through_a, back;
        a.transform(&through_a, p);
        a.transform_by_inverse(&back, through_a);
        EXPECT_NEAR(back.x, p.x, 1e-2);
        EXPECT_NEAR(back.y, p.y, 1e-2);
    }
}

TEST(MatrixTest, singular_and_nan_matrices_invert_without_spreading_infinities) {
    matrix inverse;
    // A singular matrix inverts as a pure translation back.
    inverse.set_inverse(Make(0, 0, 100, 0, 0, -40));
    ExpectEntries(inverse, Make(1, 0, -100, 0, 1, 40));
    inverse.set_inverse(Make(kNan, 0, 5, 0, 1, 5));
    ExpectEntries(inverse, Make(0, 0, 0, 0, 0, 0), 2);
    // A tiny determinant (1e-40) gives entries past the float range, stored as 0.
    inverse.set_inverse(Make(1e-20f, 0, 0, 0, 1e-20f, 0));
    EXPECT_EQ(inverse.m[0][0], 0);
    EXPECT_EQ(inverse.m[1][1], 0);
}

TEST(MatrixTest, scale_and_rotation_written_read_back_unchanged) {
    const float angles[] = {0.0f, 0.3f, 1.5f, -2.0f, 3.0f, static_cast<float>(kPi / 2)};
    for (float x_scale : {1.0f, 0.25f, 3.0f, -2.0f, -0.5f}) {
        for (float y_scale : {1.0f, 2.5f, 0.1f}) {
            for (float angle : angles) {
                SCOPED_TRACE(std::to_string(x_scale) + " " + std::to_string(y_scale) + " " + std::to_string(angle));
                matrix m = Make(1, 0, 77, 0, 1, -33);
                m.set_scale_rotation(x_scale, y_scale, angle);
                EXPECT_NEAR(m.get_x_scale(), x_scale, 1e-5);
                EXPECT_NEAR(m.get_y_scale(), y_scale, 1e-5);
                EXPECT_NEAR(m.get_rotation(), angle, 1e-5);
                EXPECT_EQ(m.does_flip(), x_scale < 0);
                EXPECT_EQ(m.m[0][2], 77);
                EXPECT_EQ(m.m[1][2], -33);
                EXPECT_NEAR(m.get_max_scale(), std::max(std::fabs(x_scale), y_scale), 1e-5);

                // Writing back what was read changes nothing, as a script's _xscale does.
                matrix again = m;
                again.set_scale_rotation(m.get_x_scale(), m.get_y_scale(), m.get_rotation());
                for (int row = 0; row < 2; row++) {
                    for (int col = 0; col < 2; col++) {
                        EXPECT_NEAR(again.m[row][col], m.m[row][col], 1e-5);
                    }
                }
            }
        }
    }
}

TEST(MatrixTest, non_finite_scale_or_rotation_writes_are_ignored) {
    matrix m;
    m.set_scale_rotation(2, 3, 0.5f);
    matrix before = m;
    m.set_scale_rotation(kNan, 3, 0.5f);
    m.set_scale_rotation(2, kInf, 0.5f);
    m.set_scale_rotation(2, 3, -kInf);
    ExpectEntries(m, before);
    // Finite arguments whose products overflow are stored as 0.
    m.set_scale_rotation(FLT_MAX, 1, 0);
    EXPECT_EQ(m.m[0][0], FLT_MAX);
    m.concatenate_scale(4);
    EXPECT_EQ(m.m[0][0], 0);
}

TEST(MatrixTest, scaling_translating_and_lerping_store_finite_values) {
    matrix m = Make(1e10f, 2, 5, 3, 4, 6);
    m.concatenate_scale(1e30f);
    EXPECT_EQ(m.m[0][0], 0);
    EXPECT_EQ(m.m[0][1], 2e30f);
    EXPECT_EQ(m.m[0][2], 5);

    matrix t = Make(2, 0, 10, 0, 3, 20);
    t.concatenate_translation(5, 7);
    EXPECT_EQ(t.m[0][2], 20);
    EXPECT_EQ(t.m[1][2], 41);
    t.concatenate_translation(FLT_MAX, 0);
    EXPECT_EQ(t.m[0][2], 0);

    matrix half;
    half.set_lerp(Make(0, 0, 0, 0, 0, 0), Make(2, 4, 100, -2, 8, -100), 0.5f);
    ExpectEntries(half, Make(1, 2, 50, -1, 4, -50));
    matrix far;
    far.set_lerp(Make(-FLT_MAX, 0, 0, 0, 0, 0), Make(FLT_MAX, 0, 0, 0, 0, 0), 2);
    EXPECT_EQ(far.m[0][0], 0);
}

TEST(MatrixTest, rectangles_transform_to_the_box_of_their_corners) {
    matrix rotate;
    rotate.set_scale_rotation(1, 2, static_cast<float>(kPi / 2));
    rect r(0, 10, 0, 20);
    rotate.transform(&r);
    // (x, y) -> (-2y, x)
    EXPECT_NEAR(r.x_min, -40, 1e-4);
    EXPECT_NEAR(r.x_max, 0, 1e-4);
    EXPECT_NEAR(r.y_min, 0, 1e-4);
    EXPECT_NEAR(r.y_max, 10, 1e-4);
    rotate.transform_by_inverse(&r);
    EXPECT_NEAR(r.x_min, 0, 1e-4);
    EXPECT_NEAR(r.x_max, 10, 1e-4);
    EXPECT_NEAR(r.y_min, 0, 1e-4);
    EXPECT_NEAR(r.y_max, 20, 1e-4);

    point v;
    Make(2, 0, 1000, 0, 3, 1000).transform_vector(&v, point(1, 1));
    EXPECT_EQ(v.x, 2);
    EXPECT_EQ(v.y, 3);
}

}  // namespace
