#include "game/ConvexPieces.h"
#include "tests/support/RandomOutlines.h"

#include <box2d/b2_polygon_shape.h>
#include <gtest/gtest.h>

#include <cmath>
#include <numbers>
#include <random>
#include <vector>

namespace {

using Outline = std::vector<b2Vec2>;
using Outcome = ConvexPieces::Outcome;

Outline Regular(int n, float radius, bool clockwise = false) {
    Outline outline;
    for (int i = 0; i < n; ++i) {
        const float angle = 2.0f * std::numbers::pi_v<float> * i / n * (clockwise ? -1.0f : 1.0f);
        outline.emplace_back(radius * std::cos(angle), radius * std::sin(angle));
    }
    return outline;
}

// A star of n points: every other vertex pulled in, so the outline is concave.
Outline Star(int points, float outer, float inner) {
    Outline outline;
    for (int i = 0; i < 2 * points; ++i) {
        const float angle = std::numbers::pi_v<float> * i / points;
        const float r = i % 2 == 0 ? outer : inner;
        outline.emplace_back(r * std::cos(angle), r * std::sin(angle));
    }
    return outline;
}

// Every piece is what Box2D takes (3 to 8 vertices, clearly convex, counter-clockwise, with an
// area) and the pieces cover the outline's area. Box2D itself builds each piece: with its
// assertions on, a piece it refuses ends the test program.
void ExpectCovered(const Outline& outline, const ConvexPieces::Result& result) {
    double area = 0.0;
    for (const Outline& piece : result.pieces) {
        EXPECT_GE(piece.size(), 3u);
        EXPECT_LE(piece.size(), static_cast<size_t>(ConvexPieces::kMaxPieceVertices));
        EXPECT_TRUE(ConvexPieces::IsConvex(piece));
        const Outline oriented = ConvexPieces::Oriented(piece);
        b2PolygonShape shape;
        shape.Set(oriented.data(), static_cast<int32>(oriented.size()));
        b2MassData mass;
        shape.ComputeMass(&mass, 1.0f);
        EXPECT_NEAR(mass.mass, std::fabs(ConvexPieces::SignedArea(piece)), 1e-3 * mass.mass);
        area += std::fabs(ConvexPieces::SignedArea(piece));
    }
    EXPECT_NEAR(area, std::fabs(ConvexPieces::SignedArea(outline)), 1e-6 * area);
}

TEST(ConvexPieces, small_convex_outlines_stay_whole_and_larger_or_concave_ones_are_split) {
    const struct {
        const char* what;
        Outline outline;
        Outcome outcome;
        size_t pieces;  // 0: any number above 1
    } cases[] = {
        {"triangle", {{0, 0}, {4, 0}, {0, 3}}, Outcome::kWhole, 1},
        {"clockwise octagon", Regular(8, 5.0f, true), Outcome::kWhole, 1},
        {"convex 12-gon", Regular(12, 5.0f), Outcome::kSplit, 2},
        {"clockwise convex 12-gon", Regular(12, 5.0f, true), Outcome::kSplit, 2},
        {"concave 12-point star", Star(6, 6.0f, 2.5f), Outcome::kSplit, 0},
        {"concave quadrilateral (an arrow head)", {{0, 0}, {4, 2}, {0, 4}, {1, 2}}, Outcome::kSplit, 2},
        {"convex with a repeated and a straight-on point",
         {{0, 0}, {2, 0}, {2, 0}, {4, 0}, {4, 4}, {0, 4}},
         Outcome::kWhole,
         1},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        const ConvexPieces::Result result = ConvexPieces::Split(c.outline);
        EXPECT_EQ(result.outcome, c.outcome);
        if (c.pieces != 0) {
            EXPECT_EQ(result.pieces.size(), c.pieces);
        } else {
            EXPECT_GT(result.pieces.size(), 1u);
        }
        ExpectCovered(c.outline, result);
    }
}

TEST(ConvexPieces, a_whole_outline_keeps_its_own_order_without_the_points_box2d_would_weld) {
    const Outline clockwise = {{0, 0}, {0, 4}, {0, 4.001f}, {4, 4}, {4, 0}};
    const ConvexPieces::Result result = ConvexPieces::Split(clockwise);
    ASSERT_EQ(result.outcome, Outcome::kWhole);
    const Outline expected = {{0, 0}, {0, 4}, {4, 4}, {4, 0}};
    ASSERT_EQ(result.pieces.front().size(), expected.size());
    for (size_t i = 0; i < expected.size(); ++i) {
        EXPECT_EQ(result.pieces.front()[i], expected[i]);
    }
}

TEST(ConvexPieces, degenerate_crossing_and_oversized_outlines_give_nothing) {
    Outline many = Regular(ConvexPieces::kMaxPoints + 1, 20.0f);
    const struct {
        const char* what;
        Outline outline;
        Outcome outcome;
    } cases[] = {
        {"two points", {{0, 0}, {1, 1}}, Outcome::kDegenerate},
        {"three points on a line", {{0, 0}, {1, 1}, {2, 2}}, Outcome::kDegenerate},
        {"a line folded back on itself", {{0, 0}, {3, 0}, {1, 0}, {2, 0}}, Outcome::kDegenerate},
        {"one point three times", {{1, 1}, {1, 1}, {1, 1}}, Outcome::kDegenerate},
        {"points closer than Box2D welds", {{0, 0}, {0.001f, 0}, {0, 0.001f}}, Outcome::kDegenerate},
        {"a sliver thinner than rounding", {{0, 0}, {10, 0}, {5, 1e-7f}}, Outcome::kDegenerate},
        {"a point that is not a number", {{0, 0}, {NAN, 1}, {1, 1}}, Outcome::kDegenerate},
        {"an infinite point", {{0, 0}, {INFINITY, 1}, {1, 1}}, Outcome::kDegenerate},
        {"a bow tie", {{0, 0}, {4, 4}, {4, 0}, {0, 4}}, Outcome::kSelfCrossing},
        {"a loop touching itself", {{0, 0}, {4, 0}, {4, 4}, {2, 0}, {0, 4}}, Outcome::kSelfCrossing},
        {"a figure of two squares sharing a corner",
         {{0, 0}, {2, 0}, {2, 2}, {4, 2}, {4, 4}, {2, 4}, {2, 2}, {0, 2}},
         Outcome::kSelfCrossing},
        {"too many points", many, Outcome::kTooManyPoints},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        const ConvexPieces::Result result = ConvexPieces::Split(c.outline);
        EXPECT_EQ(result.outcome, c.outcome);
        EXPECT_TRUE(result.pieces.empty());
    }
}

TEST(ConvexPieces, the_first_three_points_decide_the_order_handed_to_box2d) {
    const Outline counterClockwise = {{0, 0}, {4, 0}, {0, 3}};
    const Outline clockwise = {{0, 0}, {0, 3}, {4, 0}};
    EXPECT_EQ(ConvexPieces::Oriented(counterClockwise), counterClockwise);
    EXPECT_EQ(ConvexPieces::Oriented(clockwise), (Outline{{4, 0}, {0, 3}, {0, 0}}));
    // Three points on a line count as not counter-clockwise: reversed.
    EXPECT_EQ(ConvexPieces::Oriented({{0, 0}, {1, 0}, {2, 0}, {1, 5}}), (Outline{{1, 5}, {2, 0}, {1, 0}, {0, 0}}));
}

// Random star-shaped outlines of 3 to 60 corners, either way round, at arena scale: every simple
// outline is cut into pieces Box2D takes that cover it exactly.
TEST(ConvexPieces, random_simple_outlines_are_covered_by_pieces_box2d_takes) {
    std::mt19937 rng(29);
    for (int round = 0; round < 300; ++round) {
        const int corners = 3 + round % 58;
        const std::vector<float> ring = testing_support::StarRing(rng, 0.0, 0.0, 3.0, 40.0, corners, round % 2 == 1);
        Outline outline;
        for (size_t i = 0; i < ring.size(); i += 2) {
            outline.emplace_back(ring[i] / 4.0f, ring[i + 1] / 4.0f);
        }
        SCOPED_TRACE(round);
        const ConvexPieces::Result result = ConvexPieces::Split(outline);
        ASSERT_TRUE(result.outcome == Outcome::kWhole || result.outcome == Outcome::kSplit);
        ExpectCovered(outline, result);
    }
}

}  // namespace
