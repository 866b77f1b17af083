#include "swfplayer/main/geometry/tri_predicates.h"
#include "swfplayer/main/geometry/triangulate.h"
#include "tests/support/CoverageOracle.h"
#include "tests/support/RandomOutlines.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <limits>
#include <random>
#include <vector>

namespace {

using Rings = std::vector<std::vector<float>>;
using testing_support::CoverageOracle;
using namespace swfplayer::triangulate;

std::vector<float> Triangulate(const Rings& rings) {
    std::vector<swfplayer::array<float>> paths(rings.size());
    for (size_t i = 0; i < rings.size(); i++) {
        for (float value : rings[i]) {
            paths[i].push_back(value);
        }
    }
    swfplayer::array<float> result;
    result.push_back(99.0f);  // compute starts from an empty result whatever it is handed
    compute(&result, static_cast<int>(paths.size()), paths.data());
    return std::vector<float>(result.begin(), result.end());
}

// The signed areas of a flat triangle list.
std::vector<double> Areas(const std::vector<float>& t) {
    std::vector<double> areas;
    for (size_t i = 0; i + 5 < t.size(); i += 6) {
        areas.push_back(0.5 * ((double(t[i + 2]) - t[i]) * (double(t[i + 5]) - t[i + 1]) -
                               (double(t[i + 4]) - t[i]) * (double(t[i + 3]) - t[i + 1])));
    }
    return areas;
}

size_t Vertices(const Rings& rings) {
    size_t vertices = 0;
    for (const auto& ring : rings) {
        vertices += ring.size() / 2;
    }
    return vertices;
}

std::vector<float> Square(float x0, float y0, float size, bool clockwise = false) {
    if (clockwise) {
        return {x0, y0, x0, y0 + size, x0 + size, y0 + size, x0 + size, y0};
    }
    return {x0, y0, x0 + size, y0, x0 + size, y0 + size, x0, y0 + size};
}

TEST(TriangulateTest, small_and_degenerate_outlines) {
    // A single triangle is listed from the predecessor of its smallest vertex; coordinates that
    // are not numbers are taken as 0.
    const float nan = std::numeric_limits<float>::quiet_NaN(), inf = std::numeric_limits<float>::infinity();
    EXPECT_EQ(Triangulate({{10, 0, 0, 10, 0, 0}}), (std::vector<float>{0, 10, 0, 0, 10, 0}));
    EXPECT_EQ(Triangulate({{nan, inf, 10, 0, 0, 10}}), (std::vector<float>{0, 10, 0, 0, 10, 0}));
    EXPECT_EQ(Areas(Triangulate({{0, 0, 10, 0, 0, 10, 7}})).size(), 1u);  // a trailing lone coordinate is no vertex
    const struct {
        const char* label;
        Rings rings;
        bool nothing;  // no triangle at all, rather than only triangles of no area
    } cases[] = {
        {"clockwise polygon", {testing_support::RegularPolygon(0, 0, 100, 12, true)}, true},
        {"one point", {{5, 5}}, true},
        {"two points", {{5, 5, 10, 5}}, true},
        {"empty rings", {{}, {}}, true},
        {"horizontal line", {{0, 5, 10, 5, 30, 5, 20, 5}}, false},
        {"vertical line", {{7, 0, 7, 10, 7, 30, 7, 2}}, false},
        {"one point thrice", {{1, 1, 1, 1, 1, 1}}, false},
    };
    for (const auto& c : cases) {
        std::vector<double> areas = Areas(Triangulate(c.rings));
        EXPECT_TRUE(!c.nothing || areas.empty()) << c.label;
        EXPECT_EQ(std::count(areas.begin(), areas.end(), 0.0), static_cast<long>(areas.size())) << c.label;
    }
    // A repeated point is clipped at once as (predecessor, repeated vertex, successor), of no area.
    std::vector<float> triangles = Triangulate({{0, 0, 10, 0, 10, 0, 10, 10, 0, 10}});
    std::vector<double> areas = Areas(triangles);
    ASSERT_EQ(areas.size(), 3u);
    EXPECT_EQ(std::count(areas.begin(), areas.end(), 0.0), 1);
    EXPECT_DOUBLE_EQ(areas[0] + areas[1] + areas[2], 100.0);
    for (size_t i = 0; i < 3; i++) {
        EXPECT_GE(areas[i], 0.0);
        if (areas[i] == 0.0) {
            EXPECT_EQ(std::vector<float>(triangles.begin() + 6 * i, triangles.begin() + 6 * i + 6),
                      (std::vector<float>{10, 0, 10, 0, 10, 10}));
        }
    }
}

TEST(TriangulateTest, small_outlines_with_holes_islands_and_touching_rings_fill_exactly) {
    const struct {
        const char* label;
        Rings rings;
        size_t triangles;  // 0: any number
        bool all_of_area;  // no triangle of zero area
    } cases[] = {
        // Random outlines with holes are held to the oracle through the tessellator. The rings are
        // ordered by their smallest vertex, so the hole may come first.
        {"hole first", {Square(30, 30, 40, true), Square(0, 0, 100)}, 8, false},
        {"L shape", {{0, 0, 20, 0, 20, 10, 10, 10, 10, 30, 0, 30}}, 4, false},
        {"islands", {Square(0, 0, 10), Square(50, 20, 10)}, 4, false},
        // A path of two points inside is no ring and blocks no ear.
        {"two-point path inside", {Square(0, 0, 100), {50, 40, 50, 60}}, 2, true},
        // A straight corner is kept, and blocks ears through it.
        {"straight corner", {{0, 0, 5, 0, 10, 0, 10, 10, 0, 10}}, 3, true},
        {"islands meeting at a corner", {Square(0, 0, 10), Square(10, 10, 10)}, 0, false},
        {"same, other ring order", {Square(10, 10, 10), Square(0, 0, 10)}, 0, false},
        {"hole touching the outline", {Square(0, 0, 100), {0, 50, 40, 70, 40, 30}}, 0, false},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.label);
        std::vector<float> triangles = Triangulate(c.rings);
        std::vector<double> areas = Areas(triangles);
        EXPECT_TRUE(c.triangles == 0 || areas.size() == c.triangles);
        EXPECT_TRUE(!c.all_of_area || *std::min_element(areas.begin(), areas.end()) > 0.0);
        CoverageOracle::Report report = CoverageOracle(c.rings).Check(triangles);
        EXPECT_TRUE(report.Faithful() && report.samples > 0) << report.Describe();
    }
}

TEST(TriangulateTest, garbage_input_terminates_with_triangles_from_its_points) {
    std::mt19937 rng(7);
    const float specials[] = {
        0.0f, -0.0f, 1.0f, std::numeric_limits<float>::max(), -std::numeric_limits<float>::max(), 1e-45f, 3.0f};
    for (int round = 0; round < 300; round++) {
        Rings rings(1 + rng() % 4);
        for (auto& ring : rings) {
            for (int i = 0, n = static_cast<int>(rng() % 40); i < 2 * n; i++) {
                // Few distinct values: plenty of duplicates, collinear runs and crossings.
                ring.push_back(rng() % 5 == 0 ? specials[rng() % 7] : static_cast<float>(rng() % 6));
            }
        }
        std::vector<float> triangles = Triangulate(rings);
        EXPECT_LE(triangles.size() / 6, Vertices(rings) + 2 * rings.size());
        CoverageOracle::Report report = CoverageOracle(rings).Check(triangles, 8);
        EXPECT_EQ(report.foreign_vertices + report.clockwise_triangles, 0) << report.Describe();
    }
}

int Sign(double value) {
    return (value > 0) - (value < 0);
}

TEST(TriangulateTest, left_test_is_exact_near_collinear_points) {
    std::mt19937 rng(3);
    int degenerate = 0;
    // Every value is a multiple of 2^-16 below 2^39, whose exact L the 128-bit integers give.
    auto snap = [](double v) {
        return static_cast<float>(std::ldexp(std::round(std::ldexp(v, 16)), -16));
    };
    auto fixed = [](float v) {
        return static_cast<__int128>(std::ldexp(static_cast<double>(v), 16));
    };
    for (int round = 0; round < 20000; round++) {
        auto coordinate = [&]() {
            return snap(std::ldexp(static_cast<double>(rng() % (1u << 24)), static_cast<int>(rng() % 31) - 16));
        };
        float ax = coordinate(), ay = coordinate(), bx = coordinate(), by = coordinate();
        double t = std::ldexp(static_cast<double>(rng() % 1024), -9);
        float cx = snap(ax + t * (static_cast<double>(bx) - ax)), cy = snap(ay + t * (static_cast<double>(by) - ay));
        __int128 det =
            (fixed(bx) - fixed(ax)) * (fixed(cy) - fixed(ay)) - (fixed(cx) - fixed(ax)) * (fixed(by) - fixed(ay));
        int expected = det > 0 ? 1 : (det < 0 ? -1 : 0);
        degenerate += expected == 0;
        ASSERT_EQ(left_sign(ax, ay, bx, by, cx, cy), expected)
            << ax << " " << ay << " " << bx << " " << by << " " << cx << " " << cy;
    }
    EXPECT_GT(degenerate, 10);

    // b and c on one line through the origin, a tiny: L = ax (by - cy) + ay (cx - bx) exactly,
    // which the plain double formula loses when it rounds b - a to b.
    int plain_double_wrong = 0;
    for (int round = 0; round < 2000; round++) {
        auto small = [&]() {
            return static_cast<double>(static_cast<int>(rng() % 201) - 100);
        };
        double px = small(), py = small(), k1 = small(), k2 = small();
        float bx = static_cast<float>(k1 * px), by = static_cast<float>(k1 * py);
        float cx = static_cast<float>(k2 * px), cy = static_cast<float>(k2 * py);
        float ax = static_cast<float>(std::ldexp(small(), -70)), ay = static_cast<float>(std::ldexp(small(), -70));
        int expected = Sign(double(ax) * (double(by) - cy) + double(ay) * (double(cx) - bx));
        plain_double_wrong +=
            Sign((double(bx) - ax) * (double(cy) - ay) - (double(cx) - ax) * (double(by) - ay)) != expected;
        ASSERT_EQ(left_sign(ax, ay, bx, by, cx, cy), expected)
            << ax << " " << ay << " " << bx << " " << by << " " << cx << " " << cy;
    }
    EXPECT_GT(plain_double_wrong, 100);
}

TEST(TriangulateTest, predicates_follow_their_sign_rules) {
    EXPECT_EQ(vertex_order(0, 5, 1, 0), -1);
    EXPECT_EQ(vertex_order(1, 0, 1, 5), -1);
    EXPECT_EQ(vertex_order(1, 5, 1, 0), 1);
    EXPECT_EQ(vertex_order(-0.0f, 2, 0.0f, 2), 0);
    // Convex corner (0,0)->(10,0)->(10,10): the cone is the closed wedge between the edges.
    EXPECT_TRUE(in_cone(5, 1, 0, 0, 10, 0, 10, 10));
    EXPECT_TRUE(in_cone(5, 0, 0, 0, 10, 0, 10, 10));
    EXPECT_FALSE(in_cone(5, -1, 0, 0, 10, 0, 10, 10));
    // Reflex corner (0,0)->(10,0)->(10,-10): everything but the open wedge x < 10, y < 0.
    EXPECT_TRUE(in_cone(5, 1, 0, 0, 10, 0, 10, -10));
    EXPECT_TRUE(in_cone(12, -1, 0, 0, 10, 0, 10, -10));
    EXPECT_TRUE(in_cone(5, 0, 0, 0, 10, 0, 10, -10));
    EXPECT_FALSE(in_cone(5, -1, 0, 0, 10, 0, 10, -10));
    EXPECT_TRUE(point_in_triangle(0, 0, 0, 0, 10, 0, 0, 10));
    EXPECT_TRUE(point_in_triangle(5, 5, 0, 0, 10, 0, 0, 10));
    EXPECT_FALSE(point_in_triangle(5.5f, 5, 0, 0, 10, 0, 0, 10));
    EXPECT_TRUE(segments_cross(0, 0, 10, 10, 0, 10, 10, 0));
    EXPECT_FALSE(segments_cross(0, 0, 10, 10, 10, 10, 20, 0));  // shared end
    EXPECT_FALSE(segments_cross(0, 0, 10, 10, 0, 1, 10, 11));   // parallel
    EXPECT_TRUE(segments_cross(0, 0, 10, 0, 5, -5, 5, 0));      // edge ends on the segment
    EXPECT_FALSE(segments_cross(5, 5, 5, 5, 5, 5, 5, 5));       // all coincide
}

}  // namespace
