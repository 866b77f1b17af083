#include "swfplayer/main/geometry/edge_grid.h"
#include "swfplayer/main/geometry/grid_layout.h"
#include "swfplayer/main/geometry/index_set.h"
#include "swfplayer/main/geometry/point_tree.h"
#include "swfplayer/main/geometry/tri_predicates.h"

#include <gtest/gtest.h>

#include <cfloat>
#include <cmath>
#include <random>
#include <set>
#include <utility>
#include <vector>

namespace {

using namespace swfplayer::triangulate;
using Points = std::vector<std::pair<float, float>>;

TEST(TriangulateIndexTest, grid_sizes_stay_in_range_for_any_rectangle) {
    const struct {
        const char* label;
        float x0, y0, x1, y1;
        long long items;
        int x_cells, y_cells;
    } cases[] = {
        {"huge", -FLT_MAX, -FLT_MAX, FLT_MAX, FLT_MAX, 1LL << 40, 256, 256},
        {"thin", 0, 0, 1e30f, 1e-30f, 1000, 256, 1},
        // Flat rectangles make a single row or a single column of about n / 2 cells.
        {"row", 0, 5, 100, 5, 100, 49, 1},
        {"column", 7, 0, 7, 100, 100, 1, 49},
        {"no items", 0, 0, 10, 10, 0, 1, 1},
    };
    for (const auto& c : cases) {
        grid_layout grid(c.x0, c.y0, c.x1, c.y1, c.items, 0.707);
        EXPECT_EQ(grid.x_cells(), c.x_cells) << c.label;
        EXPECT_EQ(grid.y_cells(), c.y_cells) << c.label;
    }
    // Cells clamp at the edges; a coordinate that is not a number lands in the first.
    grid_layout row(0, 5, 100, 5, 100, 0.707);
    EXPECT_EQ(row.column_of(-1e30), 0);
    EXPECT_EQ(row.column_of(1e30), 48);
    EXPECT_EQ(row.column_of(NAN), 0);
    EXPECT_EQ(grid_layout(7, 0, 7, 100, 100, 0.707).column_of(7), 0);
}

TEST(TriangulateIndexTest, index_set_finds_the_next_member_across_words) {
    index_set set(10000);
    EXPECT_EQ(set.lower_bound(0), -1);
    for (int i : {3, 64, 4095, 4096, 9999}) {
        set.insert(i);
    }
    const std::pair<int, int> bounds[] = {{0, 3}, {4, 64}, {65, 4095}, {4096, 4096}, {4097, 9999}};
    for (const auto& [from, next] : bounds) {
        EXPECT_EQ(set.lower_bound(from), next) << from;
    }
    set.erase(9999);
    EXPECT_EQ(set.lower_bound(4097), -1);
    EXPECT_EQ(set.lower_bound(20000), -1);
}

// Expects the tree to report every one of points that lies in the counterclockwise triangle t
// (skipped when t is not counterclockwise); returns whether t was queried.
bool ExpectTreeFindsPointsIn(const point_tree& tree, const Points& points, const float* t) {
    if (left_sign(t[0], t[1], t[2], t[3], t[4], t[5]) <= 0) {
        return false;
    }
    std::set<std::pair<float, float>> reported;
    tree.any(t[0], t[1], t[2], t[3], t[4], t[5], [&](float x, float y) {
        reported.insert({x, y});
        return false;
    });
    const std::pair<float, float>* last_inside = nullptr;
    for (const auto& p : points) {
        if (point_in_triangle(p.first, p.second, t[0], t[1], t[2], t[3], t[4], t[5])) {
            EXPECT_TRUE(reported.count(p)) << p.first << " " << p.second;
            last_inside = &p;
        }
    }
    // A test that answers true stops the search, and any says so.
    EXPECT_EQ(last_inside != nullptr, tree.any(t[0], t[1], t[2], t[3], t[4], t[5], [&](float x, float y) {
        return last_inside && x == last_inside->first && y == last_inside->second;
    }));
    return true;
}

TEST(TriangulateIndexTest, point_tree_reports_points_on_triangle_edges_at_any_scale) {
    // The tree passes over boxes and points by a rounded edge test with an error margin, so
    // corners and points lying exactly on an edge must be reported at huge, tiny and far-off
    // coordinates.
    std::mt19937 rng(5);
    int queries = 0;
    for (float scale : {1.0f, 0x1p-120f, 0x1p118f, 1.0e4f}) {
        for (float offset : {0.0f, 1.0e7f, -2.5e5f}) {
            for (int round = 0; round < 30; round++) {
                SCOPED_TRACE(testing::Message() << scale << " " << offset << " " << round);
                // Corners with all their digits in use, so that the edge terms round; on the
                // lattice in every other round, so that the eighths along each edge are exact.
                float t[6];
                for (float& v : t) {
                    float fraction = round % 2 == 0 ? static_cast<float>(rng() % 4096) / 4096.0f : 0.0f;
                    v = offset +
                        scale * (static_cast<float>(8 * static_cast<int>(rng() % 64) - 256) + fraction * 7.77f);
                }
                // The eighths lie exactly on each edge; points at random fractions round to within
                // a unit in the last place of it, on either side.
                Points points;
                point_tree tree;
                for (int e = 0; e < 3; e++) {
                    int f = (e + 1) % 3;
                    for (int k = 0; k <= 16; k++) {
                        float r = k <= 8 ? k / 8.0f : static_cast<float>(rng() % 1000) / 1000.0f;
                        points.push_back(
                            {t[2 * e] + (t[2 * f] - t[2 * e]) * r, t[2 * e + 1] + (t[2 * f + 1] - t[2 * e + 1]) * r});
                        tree.add(points.back().first, points.back().second);
                    }
                }
                tree.build();
                queries += ExpectTreeFindsPointsIn(tree, points, t);
            }
        }
    }
    EXPECT_GT(queries, 100);
}

TEST(TriangulateIndexTest, point_tree_and_edge_grid_find_what_a_full_scan_finds) {
    std::mt19937 rng(17);
    for (int round = 0; round < 50; round++) {
        SCOPED_TRACE(round);
        // Coordinates of one magnitude, or of many, some on a line.
        bool wide = round % 2 == 1;
        auto coordinate = [&]() {
            float v = static_cast<float>(rng() % 2001) - 1000.0f;
            return wide ? v * std::pow(10.0f, static_cast<float>(rng() % 7)) : v;
        };
        Points points;
        point_tree tree;
        for (int i = 0; i < 1 + static_cast<int>(rng() % 400); i++) {
            float x = coordinate(), y = rng() % 4 == 0 ? 0.0f : coordinate();
            points.push_back({x, y});
            tree.add(x, y);
        }
        tree.build();
        for (int query = 0; query < 40; query++) {
            float t[6] = {coordinate(), coordinate(), coordinate(), coordinate(), coordinate(), coordinate()};
            ExpectTreeFindsPointsIn(tree, points, t);
        }

        float lo = -1000.0f * (wide ? 1e6f : 1.0f), hi = -lo;
        edge_grid edges(lo, lo, hi, hi, 300, 0.707);
        std::vector<std::vector<float>> segments;
        for (int i = 0; i < 300; i++) {
            std::vector<float> s = {coordinate(), coordinate(), coordinate(), coordinate()};
            if (i % 7 == 0) {
                s[2] = s[0] + 1;  // short ones on the finest level
                s[3] = s[1];
            }
            edges.add(s[0], s[1], s[2], s[3]);
            segments.push_back(s);
        }
        for (int query = 0; query < 40; query++) {
            float p[4] = {coordinate(), coordinate(), coordinate(), coordinate()};
            int reported = 0, crossing = 0;
            edges.any(std::min(p[0], p[2]), std::min(p[1], p[3]), std::max(p[0], p[2]), std::max(p[1], p[3]),
                      [&](float ex, float ey, float fx, float fy) {
                          reported += segments_cross(p[0], p[1], p[2], p[3], ex, ey, fx, fy);
                          return false;
                      });
            for (const auto& s : segments) {
                crossing += segments_cross(p[0], p[1], p[2], p[3], s[0], s[1], s[2], s[3]);
            }
            EXPECT_EQ(reported, crossing) << query;
        }
    }
}

}  // namespace
