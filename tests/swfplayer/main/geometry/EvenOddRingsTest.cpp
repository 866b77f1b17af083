// The tessellator's even-odd step, held to the coverage oracle: the rings it hands over are
// triangulated and every sample point must be covered exactly when the given rings enclose it
// an odd number of times, whichever way each ring runs.
#include "swfplayer/base/log.h"
#include "swfplayer/main/geometry/even_odd_rings.h"
#include "swfplayer/main/geometry/triangulate.h"
#include "tests/support/CoverageOracle.h"
#include "tests/support/EvenOddOutlines.h"
#include "tests/support/OwnTime.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <chrono>
#include <random>
#include <string>
#include <vector>

namespace {

using swfplayer::point;
using Ring = std::vector<float>;
using Rings = std::vector<Ring>;
using testing_support::CoverageOracle;
using testing_support::Rectangle;
using testing_support::Reversed;

std::vector<std::vector<point>> Points(const Rings& rings) {
    std::vector<std::vector<point>> out;
    for (const Ring& ring : rings) {
        out.emplace_back();
        for (size_t i = 0; i + 1 < ring.size(); i += 2) {
            out.back().push_back(point(ring[i], ring[i + 1]));
        }
    }
    return out;
}

Rings Flat(const std::vector<std::vector<point>>& rings) {
    Rings out;
    for (const auto& ring : rings) {
        out.emplace_back();
        for (const point& p : ring) {
            out.back().insert(out.back().end(), {p.x, p.y});
        }
    }
    return out;
}

// The triangles of the rings after the even-odd step.
std::vector<float> Triangles(const Rings& rings) {
    std::vector<std::vector<point>> oriented = Points(rings);
    swfplayer::tesselate_new::orient_even_odd(&oriented);
    swfplayer::array<swfplayer::array<float>> input;
    for (const auto& ring : oriented) {
        input.push_back(swfplayer::array<float>());
        for (const point& p : ring) {
            input.back().push_back(p.x);
            input.back().push_back(p.y);
        }
    }
    swfplayer::array<float> result;
    if (!input.empty()) {
        swfplayer::triangulate::compute(&result, input.size(), input.begin());
    }
    return std::vector<float>(result.begin(), result.end());
}

TEST(EvenOddRingsTest, every_direction_fills_the_even_odd_region) {
    for (const testing_support::EvenOddOutline& c : testing_support::EvenOddOutlines()) {
        const size_t combinations = size_t{1} << c.rings.size();
        for (size_t mask = 0; mask < combinations; mask++) {
            Rings rings = c.rings;
            for (size_t r = 0; r < rings.size(); r++) {
                if (mask & (size_t{1} << r)) {
                    rings[r] = Reversed(rings[r]);
                }
            }
            const CoverageOracle::Report report = CoverageOracle(rings).Check(Triangles(rings), 200, 1e-3);
            EXPECT_TRUE(report.CoversEvenOdd()) << c.name << ", directions " << mask << ": " << report.Describe();
            EXPECT_GT(report.samples, 1000) << c.name;
        }
    }
}

// Rings that neither cross nor touch are handed over as they came, only reversed where they
// run the wrong way for their depth; rings of the right direction come out unchanged, so shapes
// that always filled right draw exactly as before.
TEST(EvenOddRingsTest, simple_rings_keep_their_points_and_turn_only_where_needed) {
    const Ring outline = Rectangle(0, 0, 100, 100), hole = Reversed(Rectangle(30, 30, 70, 70));
    const Ring island = Rectangle(40, 40, 60, 60);
    for (int mask = 0; mask < 8; mask++) {
        const Rings right = {outline, hole, island};
        Rings given = right;
        for (int r = 0; r < 3; r++) {
            if (mask & (1 << r)) {
                given[r] = Reversed(given[r]);
            }
        }
        std::vector<std::vector<point>> oriented = Points(given);
        swfplayer::tesselate_new::orient_even_odd(&oriented);
        ASSERT_EQ(oriented.size(), 3u);
        // A ring given backwards is turned back point for point.
        EXPECT_EQ(right, Flat(oriented)) << "directions " << mask;
    }
}

// Random rings of random corners cross themselves and one another everywhere.
TEST(EvenOddRingsTest, random_tangles_fill_their_even_odd_region) {
    std::mt19937 rng(26);
    std::uniform_int_distribution<int> coordinate(0, 400);
    for (int round = 0; round < 40; round++) {
        Rings rings(1 + rng() % 3);
        for (Ring& ring : rings) {
            for (int i = 0, n = 3 + static_cast<int>(rng() % 9); i < n; i++) {
                ring.insert(ring.end(), {static_cast<float>(coordinate(rng)), static_cast<float>(coordinate(rng))});
            }
        }
        const CoverageOracle::Report report = CoverageOracle(rings).Check(Triangles(rings), 160, 1e-2);
        EXPECT_TRUE(report.CoversEvenOdd()) << "round " << round << ": " << report.Describe();
    }
}

std::string g_Logged;
void Capture(bool, const char* message) {
    g_Logged += message;
}

// A fill of thousands of long segments all crossing one another would take quadratic time to
// untangle: the step gives up within its bound, says so, and hands the ring on, at most turned.
TEST(EvenOddRingsTest, a_hopeless_tangle_ends_in_bounded_time) {
    std::mt19937 rng(7);
    std::uniform_real_distribution<float> coordinate(0.0f, 10000.0f);
    Ring zigzag;
    for (int i = 0; i < 6000; i++) {
        zigzag.insert(zigzag.end(), {coordinate(rng), coordinate(rng)});
    }
    std::vector<std::vector<point>> rings = Points({zigzag});
    swfplayer::log_callback previous = swfplayer::register_log_callback(Capture);
    const testing_support::OwnTime own;  // the work's time, however busy the machine
    swfplayer::tesselate_new::orient_even_odd(&rings);
    const std::chrono::nanoseconds took = own.Elapsed();
    swfplayer::register_log_callback(previous);
    EXPECT_LT(took, std::chrono::seconds(2));
    EXPECT_NE(g_Logged.find("too tangled to resolve"), std::string::npos) << g_Logged;
    const Rings after = Flat(rings);
    EXPECT_TRUE(after == Rings{zigzag} || after == Rings{Reversed(zigzag)});
}

}  // namespace
