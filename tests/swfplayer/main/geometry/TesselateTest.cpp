#include "swfplayer/main/geometry/fill_rings.h"
#include "swfplayer/main/geometry/tesselate.h"
#include "tests/support/CoverageOracle.h"
#include "tests/support/RandomOutlines.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <functional>
#include <random>
#include <string>
#include <vector>

namespace {

namespace tess = swfplayer::tesselate_new;
using swfplayer::point;
using Rings = std::vector<std::vector<float>>;
using testing_support::CoverageOracle;

// Records every call of the tessellator, in order.
class RecordingAccepter : public tess::mesh_accepter {
public:
    struct TriangleList {
        int style;
        int expected;
        std::vector<float> coords;
    };
    struct Strip {
        int style;
        std::vector<point> points;
    };

    void begin_trilist(int style, int expected_triangle_count) override {
        calls.push_back("begin_trilist");
        fills.push_back(TriangleList{style, expected_triangle_count, {}});
    }
    void accept_trilist_batch(const point* points, int point_count) override {
        calls.push_back("batch");
        for (int i = 0; i < point_count; i++) {
            fills.back().coords.push_back(points[i].x);
            fills.back().coords.push_back(points[i].y);
        }
    }
    void end_trilist() override { calls.push_back("end_trilist"); }
    void accept_line_strip(int style, const point* points, int point_count) override {
        calls.push_back("line_strip");
        strips.push_back(Strip{style, std::vector<point>(points, points + point_count)});
    }
    void end_shape() override { calls.push_back("end_shape"); }

    const TriangleList* Fill(int style) const {
        for (const auto& fill : fills) {
            if (fill.style == style) {
                return &fill;
            }
        }
        return nullptr;
    }

    std::vector<std::string> calls;
    std::vector<TriangleList> fills;
    std::vector<Strip> strips;
};

// Feeds one path of straight segments through the points x0, y0, x1, y1, ...
void AddPath(int fill0, int fill1, int line, const std::vector<float>& xy) {
    tess::begin_path(fill0, fill1, line, xy[0], xy[1]);
    for (size_t i = 2; i + 1 < xy.size(); i += 2) {
        tess::add_line_segment(xy[i], xy[i + 1]);
    }
    tess::end_path();
}

// Feeds a ring as one path, closed back to its first point.
void AddRing(const std::vector<float>& ring, int fill0, int fill1, int line) {
    std::vector<float> closed = ring;
    closed.push_back(ring[0]);
    closed.push_back(ring[1]);
    AddPath(fill0, fill1, line, closed);
}

// Tessellates the one shape whose paths add_paths draws.
RecordingAccepter Tessellate(float tolerance, const std::function<void()>& add_paths) {
    RecordingAccepter accepter;
    tess::begin_shape(&accepter, tolerance);
    add_paths();
    tess::end_shape();
    return accepter;
}

// Number of segments a single curve flattens into.
size_t CurveSegments(float tolerance, point p0, point control, point p1) {
    RecordingAccepter accepter = Tessellate(tolerance, [&] {
        tess::begin_path(-1, -1, 0, p0.x, p0.y);
        tess::add_curve_segment(control.x, control.y, p1.x, p1.y);
        tess::end_path();
    });
    return accepter.strips.empty() ? 0 : accepter.strips[0].points.size() - 1;
}

void ExpectFaithful(const Rings& rings, const std::vector<float>& triangles) {
    CoverageOracle::Report report = CoverageOracle(rings).Check(triangles);
    EXPECT_TRUE(report.Faithful()) << report.Describe();
}

const std::vector<float> kSquare = {0, 0, 100, 0, 100, 100, 0, 100};  // interior on the left

TEST(TesselateTest, curves_flatten_by_tolerance) {
    const struct {
        const char* label;
        float tolerance;
        point control, end;
        size_t segments;
    } cases[] = {
        {"control point on the anchor", 1, {100, 40}, {100, 40}, 1},
        {"control point on the chord's middle", 1, {50, 0}, {100, 0}, 1},
        // dist = half the control point's offset from the chord middle; each split quarters it.
        {"dist 2", 1, {50, 4}, {100, 0}, 2},
        {"dist 0.99", 1, {50, 1.98f}, {100, 0}, 1},
        {"dist 1: not below", 1, {50, 2}, {100, 0}, 2},
        {"dist 4: 4/4 not below", 1, {50, 8}, {100, 0}, 4},
        {"dist 32: 32/4^4 < 0.5", 0.5f, {50, 64}, {100, 0}, 16},
        {"dist |1.5| + |1.5|", 1, {53, 3}, {100, 0}, 2},
        // A tolerance of 0 or below stops at the depth cap; one that is not a number at once.
        {"tolerance 0", 0, {50, 50}, {100, 0}, 65536},
        {"tolerance -1", -1, {50, 50}, {100, 0}, 65536},
        {"tolerance NaN", std::nanf(""), {50, 50}, {100, 0}, 1},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(CurveSegments(c.tolerance, {0, 0}, c.control, c.end), c.segments) << c.label;
    }
}

TEST(TesselateTest, flattened_points_lie_on_the_curve_and_end_on_the_anchor) {
    RecordingAccepter accepter = Tessellate(0.25f, [] {
        tess::begin_path(-1, -1, 3, 0, 0);
        tess::add_curve_segment(400, 800, 800, 0);
        tess::end_path();
    });
    ASSERT_EQ(accepter.strips.size(), 1u);
    const auto& points = accepter.strips[0].points;
    EXPECT_EQ(accepter.strips[0].style, 3);
    EXPECT_EQ(points.back().x, 800);
    EXPECT_EQ(points.back().y, 0);
    for (const point& p : points) {
        // On x(t) = 800 t, y(t) = 1600 t (1 - t).
        double t = p.x / 800.0;
        EXPECT_NEAR(p.y, 1600 * t * (1 - t), 1e-3);
    }
}

TEST(TesselateTest, huge_coordinates_flatten_to_finite_points) {
    const float big = 3.0e38f;
    RecordingAccepter accepter = Tessellate(1e36f, [&] {
        tess::begin_path(-1, -1, 0, -big, -big);
        tess::add_curve_segment(big, big, big, -big);
        tess::end_path();
    });
    ASSERT_EQ(accepter.strips.size(), 1u);
    for (const point& p : accepter.strips[0].points) {
        EXPECT_TRUE(std::isfinite(p.x) && std::isfinite(p.y));
    }
}

// Paths with only fill1 or only fill0 are held to the coverage oracle by the shuffled-fragment
// test below; here, fills on both sides of one edge.
TEST(TesselateTest, fill0_fill1_and_both_become_right_hand_fills) {
    // Squares A (style 0, x 0..10) and B (style 1, x 10..20) share the edge x = 10, drawn once
    // upwards with A on its fill1 side and B on its fill0 side: that edge closes both.
    RecordingAccepter shared = Tessellate(1, [] {
        AddPath(1, 0, -1, {10, 0, 10, 10});
        AddPath(-1, 0, -1, {10, 10, 0, 10, 0, 0, 10, 0});
        AddPath(1, -1, -1, {10, 10, 20, 10, 20, 0, 10, 0});
    });
    ASSERT_NE(shared.Fill(0), nullptr);
    ASSERT_NE(shared.Fill(1), nullptr);
    ExpectFaithful({{0, 0, 10, 0, 10, 10, 0, 10}}, shared.Fill(0)->coords);
    ExpectFaithful({{10, 0, 20, 0, 20, 10, 10, 10}}, shared.Fill(1)->coords);

    // Both styles on one closed path: only the side that encloses the square fills.
    RecordingAccepter both = Tessellate(1, [] { AddRing(kSquare, 5, 6, -1); });
    ASSERT_EQ(both.fills.size(), 1u);
    EXPECT_EQ(both.fills[0].style, 6);
}

TEST(TesselateTest, unclosed_fill_paths_only_draw_lines) {
    RecordingAccepter open = Tessellate(1, [] { AddPath(-1, 0, 7, {0, 0, 100, 0, 100, 100}); });
    EXPECT_TRUE(open.fills.empty());
    ASSERT_EQ(open.strips.size(), 1u);
    EXPECT_EQ(open.strips[0].style, 7);
    EXPECT_EQ(open.strips[0].points.size(), 3u);
}

TEST(TesselateTest, rings_of_one_style_go_to_one_triangulation) {
    std::vector<float> hole = {30, 30, 30, 70, 70, 70, 70, 30};
    RecordingAccepter accepter = Tessellate(1, [&] {
        AddRing(kSquare, -1, 0, 1);
        AddRing(hole, -1, 0, 1);
    });
    ASSERT_EQ(accepter.fills.size(), 1u);
    EXPECT_EQ(accepter.fills[0].expected, 8);
    ExpectFaithful({kSquare, hole}, accepter.fills[0].coords);
    // Lines first, as drawn, then the fill, then the end of the shape.
    EXPECT_EQ(accepter.calls, (std::vector<std::string>{"line_strip", "line_strip", "begin_trilist", "batch",
                                                        "end_trilist", "end_shape"}));
    EXPECT_EQ(accepter.strips[1].points.front().x, 30);
    EXPECT_EQ(accepter.strips[1].points[1].y, 70);
}

TEST(TesselateTest, cleared_styles_single_points_and_empty_shapes_give_nothing) {
    RecordingAccepter cleared = Tessellate(1, [] {
        AddRing(kSquare, -2, -2, -2);
        AddPath(-1, 0, 0, {5, 5});  // a lone point: no line, and no ring
    });
    EXPECT_EQ(cleared.calls, (std::vector<std::string>{"end_shape"}));
    EXPECT_EQ(Tessellate(1, [] {}).calls, (std::vector<std::string>{"end_shape"}));
}

TEST(TesselateTest, abandoned_shape_is_dropped_by_the_next_one) {
    RecordingAccepter abandoned;
    tess::begin_shape(&abandoned, 1);
    AddRing(kSquare, -1, 0, -1);
    // No end_shape: the next shape starts clean.
    RecordingAccepter next = Tessellate(1, [] { AddRing({0, 0, 10, 0, 0, 10}, -1, 1, -1); });
    ASSERT_EQ(next.fills.size(), 1u);
    EXPECT_EQ(next.fills[0].style, 1);
    EXPECT_EQ(next.fills[0].expected, 1);
    EXPECT_TRUE(abandoned.calls.empty());
}

// Cuts each ring into fragments of random length (each fragment repeats the point where the
// previous one ended), then shuffles the fragments, optionally reversing some as fill0 paths.
std::vector<tess::fill_path> Fragments(const Rings& rings, std::mt19937& rng, bool reverse_some) {
    std::vector<tess::fill_path> paths;
    for (const auto& ring : rings) {
        size_t n = ring.size() / 2;
        size_t start = 0;
        while (start < n) {
            size_t length = 1 + rng() % 5;
            size_t end = std::min(n, start + length);
            tess::fill_path path;
            path.fill1 = 0;
            for (size_t i = start; i <= end; i++) {
                size_t k = i % n;
                path.points.push_back(point(ring[2 * k], ring[2 * k + 1]));
            }
            if (reverse_some && rng() % 2) {
                std::reverse(path.points.begin(), path.points.end());
                path.fill0 = 0;
                path.fill1 = -1;
            }
            paths.push_back(path);
            start = end;
        }
    }
    std::shuffle(paths.begin(), paths.end(), rng);
    return paths;
}

TEST(TesselateTest, shuffled_fragments_of_an_outline_fill_it_exactly) {
    std::mt19937 rng(99);
    for (int round = 0; round < 30; round++) {
        Rings rings = testing_support::RandomPolygonWithHoles(rng, 5 + rng() % 60, rng() % 4, 3 + rng() % 8);
        std::vector<tess::fill_path> fragments = Fragments(rings, rng, round % 2 == 1);
        RecordingAccepter accepter = Tessellate(1, [&] {
            for (const tess::fill_path& path : fragments) {
                tess::begin_path(path.fill0, path.fill1, -1, path.points[0].x, path.points[0].y);
                for (size_t i = 1; i < path.points.size(); i++) {
                    tess::add_line_segment(path.points[i].x, path.points[i].y);
                }
                tess::end_path();
            }
        });
        ASSERT_EQ(accepter.fills.size(), 1u) << round;
        CoverageOracle::Report report = CoverageOracle(rings).Check(accepter.fills[0].coords, 160);
        EXPECT_TRUE(report.Faithful()) << "round " << round << ": " << report.Describe();
    }
}

// The joining rule written as literally as possible: passes over all paths, each ending at its
// first change, until a pass changes nothing.
void JoinByPasses(std::vector<tess::fill_path>* paths) {
    auto same = [](const point& a, const point& b) {
        return a.x == b.x && a.y == b.y;
    };
    for (bool changed = true; changed;) {
        changed = false;
        for (size_t p = 0; p < paths->size() && !changed; p++) {
            tess::fill_path& path = (*paths)[p];
            if (path.closed || path.fill1 < 0 || path.points.empty()) {
                continue;
            }
            if (same(path.points.front(), path.points.back())) {
                path.closed = changed = true;
                break;
            }
            for (size_t q = 0; q < paths->size() && !changed; q++) {
                tess::fill_path& other = (*paths)[q];
                if (q == p || other.closed || other.fill1 != path.fill1 || other.points.empty()) {
                    continue;
                }
                if (same(other.points.front(), path.points.back())) {
                    path.points.insert(path.points.end(), other.points.begin() + 1, other.points.end());
                    other.fill1 = -1;
                    changed = true;
                } else if (same(other.points.back(), path.points.front())) {
                    other.points.insert(other.points.end(), path.points.begin() + 1, path.points.end());
                    path.fill1 = -1;
                    changed = true;
                }
            }
        }
    }
}

TEST(TesselateTest, ring_joining_follows_the_first_change_order) {
    std::mt19937 rng(5);
    for (int round = 0; round < 3000; round++) {
        // Few distinct points and two fills: many competing candidates for each join.
        std::vector<tess::fill_path> paths(2 + rng() % 20);
        for (auto& path : paths) {
            path.fill1 = static_cast<int>(rng() % 2);
            int count = 1 + static_cast<int>(rng() % 3);
            for (int i = 0; i < count; i++) {
                path.points.push_back(point(static_cast<float>(rng() % 3), static_cast<float>(rng() % 2)));
            }
        }
        std::vector<tess::fill_path> expected = paths;
        JoinByPasses(&expected);
        tess::join_open_rings(&paths);
        ASSERT_EQ(paths.size(), expected.size());
        for (size_t i = 0; i < paths.size(); i++) {
            EXPECT_EQ(paths[i].closed, expected[i].closed) << round << " " << i;
            EXPECT_EQ(paths[i].fill1, expected[i].fill1) << round << " " << i;
            if (paths[i].fill1 >= 0) {
                ASSERT_EQ(paths[i].points.size(), expected[i].points.size()) << round << " " << i;
                for (size_t k = 0; k < paths[i].points.size(); k++) {
                    EXPECT_TRUE(paths[i].points[k].x == expected[i].points[k].x &&
                                paths[i].points[k].y == expected[i].points[k].y);
                }
            }
        }
    }
}

// A circle of radius r around (cx, cy) from eight quadratic curves, counterclockwise (interior
// on the left) or clockwise.
void AddCircle(float cx, float cy, float r, bool clockwise, int fill1, int line) {
    const double pi = 3.14159265358979323846;
    double control_radius = r / std::cos(pi / 8);
    tess::begin_path(-1, fill1, line, cx + r, cy);
    for (int i = 1; i <= 8; i++) {
        double sign = clockwise ? -1.0 : 1.0;
        double control = sign * (i - 0.5) * pi / 4;
        double anchor = sign * i * pi / 4;
        float ax = i == 8 ? cx + r : static_cast<float>(cx + r * std::cos(anchor));
        float ay = i == 8 ? cy : static_cast<float>(cy + r * std::sin(anchor));
        tess::add_curve_segment(static_cast<float>(cx + control_radius * std::cos(control)),
                                static_cast<float>(cy + control_radius * std::sin(control)), ax, ay);
    }
    tess::end_path();
}

TEST(TesselateTest, curved_outlines_with_holes_fill_their_flattened_outline) {
    for (float tolerance : {20.0f, 2.0f, 0.25f}) {
        RecordingAccepter accepter = Tessellate(tolerance, [] {
            AddCircle(0, 0, 1000, false, 0, 0);
            AddCircle(-400, 0, 300, true, 0, 0);
            AddCircle(400, 100, 250, true, 0, 0);
        });
        // The line strips are the flattened outline; the fill must cover exactly their inside.
        Rings rings;
        for (const auto& strip : accepter.strips) {
            std::vector<float> ring;
            for (size_t i = 0; i + 1 < strip.points.size(); i++) {
                ring.push_back(strip.points[i].x);
                ring.push_back(strip.points[i].y);
            }
            rings.push_back(ring);
        }
        ASSERT_EQ(rings.size(), 3u);
        ASSERT_EQ(accepter.fills.size(), 1u);
        ExpectFaithful(rings, accepter.fills[0].coords);
    }
}

}  // namespace
