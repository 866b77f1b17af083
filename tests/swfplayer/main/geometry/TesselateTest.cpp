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

// Records every call of the tessellator: their names in order, the triangle lists and the strips.
struct RecordingAccepter : tess::mesh_accepter {
    struct Fill {
        int style, expected;
        std::vector<float> coords;
    };
    struct Strip {
        int style;
        std::vector<point> points;
    };
    void begin_trilist(int style, int expected) override {
        calls += "begin ";
        fills.push_back({style, expected, {}});
    }
    void accept_trilist_batch(const point* points, int count) override {
        calls += "batch ";
        for (int i = 0; i < count; i++) {
            fills.back().coords.insert(fills.back().coords.end(), {points[i].x, points[i].y});
        }
    }
    void end_trilist() override { calls += "end "; }
    void accept_line_strip(int style, const point* points, int count) override {
        calls += "line ";
        strips.push_back({style, std::vector<point>(points, points + count)});
    }
    void end_shape() override { calls += "shape"; }

    std::string calls;
    std::vector<Fill> fills;
    std::vector<Strip> strips;
};

// Feeds one path of straight segments through the points x0, y0, x1, y1, ...; closed repeats the first.
void AddPath(int fill0, int fill1, int line, const std::vector<float>& xy, bool closed = false) {
    tess::begin_path(fill0, fill1, line, xy[0], xy[1]);
    for (size_t i = 2; i + 1 < xy.size(); i += 2) {
        tess::add_line_segment(xy[i], xy[i + 1]);
    }
    if (closed) {
        tess::add_line_segment(xy[0], xy[1]);
    }
    tess::end_path();
}

RecordingAccepter Tessellate(float tolerance, const std::function<void()>& add_paths) {
    RecordingAccepter accepter;
    tess::begin_shape(&accepter, tolerance);
    add_paths();
    tess::end_shape();
    return accepter;
}

// The line strip of style 3 that one curve from p0 flattens into.
std::vector<point> Curve(float tolerance, point control, point end, point p0 = {0, 0}) {
    RecordingAccepter accepter = Tessellate(tolerance, [&] {
        tess::begin_path(-1, -1, 3, p0.x, p0.y);
        tess::add_curve_segment(control.x, control.y, end.x, end.y);
        tess::end_path();
    });
    EXPECT_EQ(accepter.strips.size(), 1u);
    EXPECT_EQ(accepter.strips.at(0).style, 3);
    return accepter.strips.at(0).points;
}

void ExpectFaithful(const Rings& rings, const std::vector<float>& triangles, int resolution = 256) {
    CoverageOracle::Report report = CoverageOracle(rings).Check(triangles, resolution);
    EXPECT_TRUE(report.Faithful()) << report.Describe();
}

const std::vector<float> kSquare = {0, 0, 100, 0, 100, 100, 0, 100};  // interior on the left

TEST(TesselateTest, curves_flatten_by_tolerance_onto_the_curve) {
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
        EXPECT_EQ(Curve(c.tolerance, c.control, c.end).size(), c.segments + 1) << c.label;
    }
    std::vector<point> points = Curve(0.25f, {400, 800}, {800, 0});
    EXPECT_TRUE(points.back().x == 800 && points.back().y == 0);
    for (const point& p : points) {
        double t = p.x / 800.0;  // on x(t) = 800 t, y(t) = 1600 t (1 - t)
        EXPECT_NEAR(p.y, 1600 * t * (1 - t), 1e-3);
    }
    const float big = 3.0e38f;  // huge coordinates flatten to finite points
    for (const point& p : Curve(1e36f, {big, big}, {big, -big}, {-big, -big})) {
        EXPECT_TRUE(std::isfinite(p.x) && std::isfinite(p.y));
    }
}

// Paths with only fill1 or only fill0 are held to the coverage oracle by the shuffled-fragment
// test below; here, fills on both sides of one edge.
TEST(TesselateTest, fill0_fill1_and_both_fill_what_the_path_encloses) {
    // Squares A (style 0, x 0..10) and B (style 1, x 10..20) share the edge x = 10, drawn once
    // upwards with A on its fill1 side and B on its fill0 side: that edge closes both.
    RecordingAccepter shared = Tessellate(1, [] {
        AddPath(1, 0, -1, {10, 0, 10, 10});
        AddPath(-1, 0, -1, {10, 10, 0, 10, 0, 0, 10, 0});
        AddPath(1, -1, -1, {10, 10, 20, 10, 20, 0, 10, 0});
    });
    ASSERT_EQ(shared.fills.size(), 2u);
    for (const auto& fill : shared.fills) {
        ExpectFaithful(
            {{10.0f * fill.style, 0, 10.0f * fill.style + 10, 0, 10.0f * fill.style + 10, 10, 10.0f * fill.style, 10}},
            fill.coords);
    }
    // Both styles on one closed path: each fills what the path encloses, whichever side it is
    // on, as the even-odd rule has it.
    RecordingAccepter both = Tessellate(1, [] { AddPath(5, 6, -1, kSquare, true); });
    ASSERT_EQ(both.fills.size(), 2u);
    for (const auto& fill : both.fills) {
        EXPECT_TRUE(fill.style == 5 || fill.style == 6) << fill.style;
        ExpectFaithful({kSquare}, fill.coords);
    }
}

TEST(TesselateTest, rings_of_one_style_go_to_one_triangulation_and_others_only_draw_lines) {
    std::vector<float> hole = {30, 30, 30, 70, 70, 70, 70, 30};
    RecordingAccepter a = Tessellate(1, [&] {
        AddPath(-1, 0, 1, kSquare, true);
        AddPath(-1, 0, 1, hole, true);
    });
    ASSERT_EQ(a.fills.size(), 1u);
    EXPECT_EQ(a.fills[0].expected, 8);
    ExpectFaithful({kSquare, hole}, a.fills[0].coords);
    // Lines first, as drawn, then the fill, then the end of the shape.
    EXPECT_EQ(a.calls, "line line begin batch end shape");
    EXPECT_TRUE(a.strips[1].points.front().x == 30 && a.strips[1].points[1].y == 70);

    RecordingAccepter open = Tessellate(1, [] { AddPath(-1, 0, 7, {0, 0, 100, 0, 100, 100}); });
    EXPECT_EQ(open.calls, "line shape");  // an unclosed fill path
    EXPECT_TRUE(open.strips[0].style == 7 && open.strips[0].points.size() == 3u);
    RecordingAccepter cleared = Tessellate(1, [] {
        AddPath(-2, -2, -2, kSquare, true);
        AddPath(-1, 0, 0, {5, 5});  // a lone point: no line, and no ring
    });
    EXPECT_EQ(cleared.calls, "shape");
    EXPECT_EQ(Tessellate(1, [] {}).calls, "shape");

    RecordingAccepter abandoned;
    tess::begin_shape(&abandoned, 1);
    AddPath(-1, 0, -1, kSquare, true);
    // No end_shape: the next shape starts clean.
    RecordingAccepter next = Tessellate(1, [] { AddPath(-1, 1, -1, {0, 0, 10, 0, 0, 10}, true); });
    ASSERT_EQ(next.fills.size(), 1u);
    EXPECT_TRUE(next.fills[0].style == 1 && next.fills[0].expected == 1);
    EXPECT_TRUE(abandoned.calls.empty());
}

// Curved outlines with holes are held to the same oracle by ShapeTest, at several tolerances.
TEST(TesselateTest, shuffled_fragments_of_an_outline_fill_it_exactly) {
    std::mt19937 rng(99);
    for (int round = 0; round < 60; round++) {
        SCOPED_TRACE(round);
        Rings rings = testing_support::RandomPolygonWithHoles(rng, 3 + rng() % 120, rng() % 6, 3 + rng() % 12);
        // Each ring cut into fragments of random length (each repeating the point where the previous
        // one ended), shuffled, some reversed as fill0 paths in every other round.
        std::vector<std::pair<bool, std::vector<float>>> fragments;
        for (const auto& ring : rings) {
            size_t n = ring.size() / 2;
            for (size_t start = 0, end; start < n; start = end) {
                end = std::min(n, start + 1 + rng() % 5);
                std::vector<float> xy;
                for (size_t i = start; i <= end; i++) {
                    xy.insert(xy.end(), {ring[2 * (i % n)], ring[2 * (i % n) + 1]});
                }
                bool reverse = round % 2 == 1 && rng() % 2;
                for (size_t i = 0; reverse && i < xy.size() / 2; i += 2) {
                    std::swap(xy[i], xy[xy.size() - 2 - i]);
                    std::swap(xy[i + 1], xy[xy.size() - 1 - i]);
                }
                fragments.emplace_back(reverse, xy);
            }
        }
        std::shuffle(fragments.begin(), fragments.end(), rng);
        RecordingAccepter accepter = Tessellate(1, [&] {
            for (const auto& [reversed, xy] : fragments) {
                AddPath(reversed ? 0 : -1, reversed ? -1 : 0, -1, xy);
            }
        });
        ASSERT_EQ(accepter.fills.size(), 1u);
        // Each bridge to a hole adds two vertices, and n vertices in one ring make n - 2 triangles.
        size_t vertices = 0;
        for (const auto& ring : rings) {
            vertices += ring.size() / 2 + 2;
        }
        EXPECT_EQ(accepter.fills[0].coords.size() / 6, vertices - 4);
        ExpectFaithful(rings, accepter.fills[0].coords, 200);
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

// What join_open_rings must agree on: closed, fill1 and, for paths still in use, the points.
std::vector<float> Outcome(const tess::fill_path& path) {
    std::vector<float> outcome = {float(path.closed), float(path.fill1)};
    for (size_t k = 0; path.fill1 >= 0 && k < path.points.size(); k++) {
        outcome.insert(outcome.end(), {path.points[k].x, path.points[k].y});
    }
    return outcome;
}

TEST(TesselateTest, ring_joining_follows_the_first_change_order) {
    std::mt19937 rng(5);
    for (int round = 0; round < 3000; round++) {
        // Few distinct points and two fills: many competing candidates for each join.
        std::vector<tess::fill_path> paths(2 + rng() % 20);
        for (auto& path : paths) {
            path.fill1 = static_cast<int>(rng() % 2);
            for (int i = 0, count = 1 + static_cast<int>(rng() % 3); i < count; i++) {
                path.points.push_back(point(static_cast<float>(rng() % 3), static_cast<float>(rng() % 2)));
            }
        }
        std::vector<tess::fill_path> expected = paths;
        JoinByPasses(&expected);
        tess::join_open_rings(&paths);
        ASSERT_EQ(paths.size(), expected.size());
        for (size_t i = 0; i < paths.size(); i++) {
            ASSERT_EQ(Outcome(paths[i]), Outcome(expected[i])) << round << " " << i;
        }
    }
}

}  // namespace
