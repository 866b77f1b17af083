#include "game/OutlineTracer.h"
#include "game/RingSolver.h"
#include "tests/game/CreatureRing.h"
#include "tests/support/TempDir.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <filesystem>
#include <fstream>
#include <memory>
#include <random>
#include <string>
#include <vector>

namespace {

bool AllFinite(const OutlineTracer& tracer) {
    bool finite = std::isfinite(tracer.GetSignedArea()) && std::isfinite(tracer.GetPerimeter());
    for (int v = 0; v < tracer.GetVertexCount(); ++v) {
        finite = finite && tracer.GetVertices()[v].IsValid();
    }
    return finite;
}

}  // namespace

// Any convex ring, either way round, traces to its own points: no added vertex, every point once,
// clockwise from the leftmost point, with the shoelace area (negative: clockwise) and the ring's
// perimeter. The creature's fresh ring comes first.
TEST(OutlineTracer, traces_convex_rings_clockwise_from_their_leftmost_point) {
    std::mt19937 random(7);
    std::uniform_real_distribution<float> unit(0.0f, 1.0f);
    OutlineTracer tracer;
    for (int trial = -1; trial < 200; ++trial) {
        std::vector<b2Vec2> ring = creature_ring::RingPoints(b2Vec2(0.0f, 0.0f));
        float radius = 4.0f;
        const bool counterClockwise = trial % 2 != 1;
        if (trial >= 0) {
            std::vector<float> angles(3 + trial % 60);
            for (float& angle : angles) {
                angle = 6.2831853f * unit(random);
            }
            std::sort(angles.begin(), angles.end());
            if (!counterClockwise) {
                std::reverse(angles.begin(), angles.end());
            }
            const b2Vec2 centre(100.0f * unit(random) - 50.0f, 100.0f * unit(random) - 50.0f);
            radius = 0.5f + 10.0f * unit(random);
            ring.clear();
            for (float angle : angles) {
                ring.push_back(centre + radius * b2Vec2(std::cos(angle), std::sin(angle)));
            }
        }
        const int count = static_cast<int>(ring.size());
        const auto leftmost =
            std::min_element(ring.begin(), ring.end(), [](b2Vec2 a, b2Vec2 b) { return a.x < b.x; }) - ring.begin();
        std::vector<int> clockwise;
        for (int k = 0; k < count; ++k) {
            clockwise.push_back(static_cast<int>(leftmost + (counterClockwise ? count - k : k)) % count);
        }
        ASSERT_TRUE(tracer.Trace(ring.data(), count));
        EXPECT_EQ(tracer.GetVertexCount(), count) << "trial " << trial;
        EXPECT_EQ(std::vector<int>(tracer.GetContour(), tracer.GetContour() + tracer.GetContourCount()), clockwise)
            << "trial " << trial;
        EXPECT_NEAR(tracer.GetSignedArea(), -RingArea(ring.data(), count), 1e-3f * radius * radius);
        EXPECT_NEAR(tracer.GetPerimeter(), RingPerimeter(ring.data(), count), 1e-4f * radius * count);
        EXPECT_TRUE(trial >= 0 || std::fabs(tracer.GetSignedArea() + 37.6f) < 0.05f) << tracer.GetSignedArea();
    }
}

TEST(OutlineTracer, splits_a_figure_eight_at_its_crossing_and_walks_both_lobes) {
    // Two triangles of area 1 meeting at (1, 1).
    const b2Vec2 ring[] = {{0.0f, 0.0f}, {2.0f, 2.0f}, {2.0f, 0.0f}, {0.0f, 2.0f}};
    OutlineTracer tracer;
    ASSERT_TRUE(tracer.Trace(ring, 4));
    ASSERT_EQ(tracer.GetVertexCount(), 5);
    EXPECT_LT((tracer.GetVertices()[4] - b2Vec2(1.0f, 1.0f)).Length(), 1e-6f);
    // Around the outside: each corner once, the crossing twice.
    ASSERT_EQ(tracer.GetContourCount(), 6);
    EXPECT_EQ(std::count(tracer.GetContour(), tracer.GetContour() + 6, 4), 2);
    EXPECT_FLOAT_EQ(std::fabs(tracer.GetSignedArea()), 2.0f);
    EXPECT_FLOAT_EQ(tracer.GetPerimeter(), 4.0f + 4.0f * std::sqrt(2.0f));
}

TEST(OutlineTracer, gives_finite_results_within_its_limits_for_degenerate_rings) {
    struct {
        const char* name;
        std::vector<b2Vec2> ring;
    } cases[] = {
        {"all in one place", std::vector<b2Vec2>(42, b2Vec2(3.0f, -2.0f))},
        {"pairs of equal points", {{0, 0}, {0, 0}, {1, 0}, {1, 0}, {1, 1}, {1, 1}, {0, 1}, {0, 1}}},
        {"a ring folded onto a line", {{0, 0}, {1, 0}, {2, 0}, {1, 0}}},
        {"a single point", {{5, 5}}},
        {"no points", {}},
        {"more points than fit", {}},
    };
    for (int t = 0; t < 8; ++t) {  // the creature's ring walked round eight times
        const std::vector<b2Vec2> ring = creature_ring::RingPoints(b2Vec2(0.0f, 0.0f));
        cases[5].ring.insert(cases[5].ring.end(), ring.begin(), ring.end());
    }
    OutlineTracer tracer;
    for (const auto& c : cases) {
        tracer.Trace(c.ring.data(), static_cast<int>(c.ring.size()));
        EXPECT_TRUE(AllFinite(tracer)) << c.name;
        EXPECT_LE(tracer.GetContourCount(), OutlineTracer::kCapacity) << c.name;
    }
}

// A ring wound many times round (a crumpled creature) needs more crossings than fit: the tracer
// stays within its arrays, stops the walk at the limit and writes the overflow report.
TEST(OutlineTracer, stays_within_its_limits_on_a_crumpled_ring_and_writes_the_report) {
    // The report goes to the working folder: a fresh one for this test.
    testing_support::TempDir folder;
    const std::filesystem::path working = std::filesystem::current_path();
    std::filesystem::current_path(folder.Path());
    std::vector<b2Vec2> ring;
    for (int k = 0; k < 100; ++k) {
        // Wound three times round: each point is 3 hundredths of the circle on from the last.
        const float angle = 6.2831853f * static_cast<float>((k * 3) % 100) / 100.0f;
        const float radius = 5.0f + 0.01f * static_cast<float>(k % 7);
        ring.emplace_back(radius * std::cos(angle), radius * std::sin(angle));
    }
    auto tracer = std::make_unique<OutlineTracer>();
    EXPECT_FALSE(tracer->Trace(ring.data(), static_cast<int>(ring.size())));
    EXPECT_EQ(tracer->GetContourCount(), OutlineTracer::kCapacity);
    EXPECT_LE(tracer->GetVertexCount(), OutlineTracer::kCapacity);
    EXPECT_TRUE(AllFinite(*tracer));

    std::filesystem::current_path(working);
    std::ifstream report(folder / "b2constantvolumejoint.log");
    ASSERT_TRUE(report.good());
    std::vector<std::string> lines;
    for (std::string line; std::getline(report, line) && line != "Segments:";) {
        lines.push_back(line);
    }
    ASSERT_GE(lines.size(), 2u);
    EXPECT_EQ(lines[0] + "/" + lines[1], "b2ConstantVolumeJoint: indices overflow!/Indices:");
    EXPECT_EQ(lines.size(), 2u + OutlineTracer::kCapacity);
}
