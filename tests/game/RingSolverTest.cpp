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

bool Finite(const b2Vec2& v) {
    return std::isfinite(v.x) && std::isfinite(v.y);
}

}  // namespace

TEST(RingSolver, measures_and_finds_outward_normals_of_a_square) {
    Square square;
    EXPECT_FLOAT_EQ(RingArea(square.c.data(), 4), 4.0f);
    EXPECT_FLOAT_EQ(RingPerimeter(square.c.data(), 4), 8.0f);
    for (int i = 0; i < 4; ++i) {
        // Each corner's normal points straight away from the centre.
        b2Vec2 outward = square.c[i];
        outward.Normalize();
        EXPECT_NEAR(square.normals[i].x, outward.x, 1e-6f);
        EXPECT_NEAR(square.normals[i].y, outward.y, 1e-6f);
    }
}

// The velocity pass counters a squeeze: every body moving inward is pushed back out.
TEST(RingSolver, velocity_pass_pushes_against_a_change_of_area) {
    Square square;
    std::vector<b2Vec2> v(4);
    for (int i = 0; i < 4; ++i) {
        v[i] = -0.5f * square.c[i];
    }
    std::vector<b2Vec2> before = v;
    SolveRingVelocity(square.c.data(), v.data(), square.invMass.data(), square.normals.data(), 4);
    for (int i = 0; i < 4; ++i) {
        EXPECT_GT(b2Dot(v[i] - before[i], square.normals[i]), 0.0f) << "body " << i;
    }
}

TEST(RingSolver, volume_pass_moves_touching_bodies_fully_and_free_ones_by_a_share) {
    const struct {
        const char* name;
        float error;
        bool touching;
        float expectedStep;
        bool done;
    } cases[] = {
        {"small error, touching", 0.1f, true, 0.1f, false},
        {"small error, free", 0.1f, false, 0.3f * 0.1f, false},
        {"large error is capped", 3.0f, true, kMaxVolumeStep, false},
        {"large shrink is capped", -3.0f, false, -0.3f * kMaxVolumeStep, false},
        {"within the slop", 0.004f, true, 0.004f, true},
    };
    for (const auto& c : cases) {
        Square square;
        bool touching[4] = {c.touching, c.touching, c.touching, c.touching};
        const bool done =
            SolveRingVolume(square.c.data(), square.normals.data(), square.invMass.data(), touching, 4, c.error);
        EXPECT_EQ(done, c.done) << c.name;
        const Square original;
        for (int i = 0; i < 4; ++i) {
            EXPECT_NEAR(b2Dot(square.c[i] - original.c[i], original.normals[i]), c.expectedStep, 1e-6f) << c.name;
        }
    }
}

TEST(RingSolver, spike_pass_pulls_in_corners_sharper_than_a_right_angle) {
    // A kite: only the corner at (10, 0) is sharp; the one at (-1, 0) is exactly a right angle.
    std::vector<b2Vec2> c{{0.0f, -1.0f}, {10.0f, 0.0f}, {0.0f, 1.0f}, {-1.0f, 0.0f}};
    const std::vector<b2Vec2> kite = c;
    std::vector<float> invMass(4, 1.0f);
    EXPECT_FALSE(SolveRingSpikes(c.data(), invMass.data(), 4));
    EXPECT_EQ(c[0], kite[0]);
    EXPECT_EQ(c[2], kite[2]);
    EXPECT_EQ(c[3], kite[3]);
    EXPECT_NEAR(c[1].x, 10.0f - kSpikeStep, 1e-5f);
    EXPECT_NEAR(c[1].y, 0.0f, 1e-5f);
    Square square;
    EXPECT_TRUE(SolveRingSpikes(square.c.data(), square.invMass.data(), 4));
}

// Coincident centres and rings without perimeter divide by nothing.
TEST(RingSolver, gives_finite_results_for_coincident_bodies) {
    std::vector<b2Vec2> c(5, b2Vec2(2.0f, 3.0f));
    std::vector<b2Vec2> v(5, b2Vec2(1.0f, -1.0f));
    std::vector<b2Vec2> normals(5);
    std::vector<float> invMass(5, 1.0f);
    bool touching[5] = {};
    RingNormals(c.data(), 5, normals.data());
    const float error = RingVolumeError(10.0f, RingArea(c.data(), 5), RingPerimeter(c.data(), 5), 1.0f);
    EXPECT_EQ(error, 0.0f);
    EXPECT_TRUE(std::isfinite(SolveRingVelocity(c.data(), v.data(), invMass.data(), normals.data(), 5)));
    SolveRingVolume(c.data(), normals.data(), invMass.data(), touching, 5, error);
    SolveRingSpikes(c.data(), invMass.data(), 5);
    for (int i = 0; i < 5; ++i) {
        EXPECT_TRUE(Finite(c[i]) && Finite(v[i]) && Finite(normals[i])) << "body " << i;
    }
}
