#include "game/RingSolver.h"

#include <gtest/gtest.h>

#include <cmath>
#include <vector>

namespace {

// A counter-clockwise square of side 2 around the origin, with unit masses.
struct Square {
    std::vector<b2Vec2> c{{-1.0f, -1.0f}, {1.0f, -1.0f}, {1.0f, 1.0f}, {-1.0f, 1.0f}};
    std::vector<float> invMass = std::vector<float>(4, 1.0f);
    std::vector<b2Vec2> normals = std::vector<b2Vec2>(4);
    Square() { RingNormals(c.data(), 4, normals.data()); }
};

}  // namespace

TEST(RingSolver, measures_a_square_and_its_velocity_pass_pushes_every_inward_body_back_out) {
    Square square;
    EXPECT_FLOAT_EQ(RingArea(square.c.data(), 4), 4.0f);
    EXPECT_FLOAT_EQ(RingPerimeter(square.c.data(), 4), 8.0f);
    std::vector<b2Vec2> v(4);
    for (int i = 0; i < 4; ++i) {
        // Each corner's normal points straight away from the centre.
        EXPECT_NEAR((square.normals[i] - (1.0f / square.c[i].Length()) * square.c[i]).Length(), 0.0f, 1e-6f);
        v[i] = -0.5f * square.c[i];
    }
    const std::vector<b2Vec2> before = v;
    SolveRingVelocity(square.c.data(), v.data(), square.invMass.data(), square.normals.data(), 4);
    for (int i = 0; i < 4; ++i) {
        EXPECT_GT(b2Dot(v[i] - before[i], square.normals[i]), 0.0f) << "body " << i;
    }
}

TEST(RingSolver, volume_pass_moves_touching_bodies_fully_and_free_ones_by_a_share) {
    const struct {
        float error;
        bool touching;
        float expectedStep;
        bool done;
    } cases[] = {
        {0.1f, true, 0.1f, false},
        {0.1f, false, 0.3f * 0.1f, false},
        {3.0f, true, kMaxVolumeStep, false},  // capped
        {-3.0f, false, -0.3f * kMaxVolumeStep, false},
        {0.004f, true, 0.004f, true},  // within the slop
    };
    for (const auto& c : cases) {
        Square square;
        const Square original;
        bool touching[4] = {c.touching, c.touching, c.touching, c.touching};
        EXPECT_EQ(SolveRingVolume(square.c.data(), square.normals.data(), square.invMass.data(), touching, 4, c.error),
                  c.done)
            << c.error;
        for (int i = 0; i < 4; ++i) {
            EXPECT_NEAR(b2Dot(square.c[i] - original.c[i], original.normals[i]), c.expectedStep, 1e-6f) << c.error;
        }
    }
}

TEST(RingSolver, spike_pass_pulls_in_corners_sharper_than_a_right_angle) {
    // A kite: only the corner at (10, 0) is sharp; the one at (-1, 0) is exactly a right angle.
    std::vector<b2Vec2> c{{0.0f, -1.0f}, {10.0f, 0.0f}, {0.0f, 1.0f}, {-1.0f, 0.0f}};
    const std::vector<b2Vec2> kite = c;
    std::vector<float> invMass(4, 1.0f);
    EXPECT_FALSE(SolveRingSpikes(c.data(), invMass.data(), 4));
    EXPECT_NEAR((c[1] - b2Vec2(10.0f - kSpikeStep, 0.0f)).Length(), 0.0f, 1e-5f);
    c[1] = kite[1];
    EXPECT_EQ(c, kite);
    Square square;
    EXPECT_TRUE(SolveRingSpikes(square.c.data(), square.invMass.data(), 4));
}

// Coincident centres and rings without perimeter divide by nothing.
TEST(RingSolver, gives_finite_results_for_coincident_bodies) {
    std::vector<b2Vec2> c(5, b2Vec2(2.0f, 3.0f)), v(5, b2Vec2(1.0f, -1.0f)), normals(5);
    std::vector<float> invMass(5, 1.0f);
    bool touching[5] = {};
    RingNormals(c.data(), 5, normals.data());
    const float error = RingVolumeError(10.0f, RingArea(c.data(), 5), RingPerimeter(c.data(), 5), 1.0f);
    EXPECT_EQ(error, 0.0f);
    EXPECT_TRUE(std::isfinite(SolveRingVelocity(c.data(), v.data(), invMass.data(), normals.data(), 5)));
    SolveRingVolume(c.data(), normals.data(), invMass.data(), touching, 5, error);
    SolveRingSpikes(c.data(), invMass.data(), 5);
    for (int i = 0; i < 5; ++i) {
        EXPECT_TRUE(c[i].IsValid() && v[i].IsValid() && normals[i].IsValid()) << "body " << i;
    }
}
