// The drawing canvas: the call sequences scripts and the game use, what they draw, and the
// mesh cache emptied by every change.
#include "swfplayer/main/shapes/canvas.h"
#include "tests/support/CoverageOracle.h"
#include "tests/swfplayer/main/shapes/ShapesFixture.h"

#include <gtest/gtest.h>

#include <cmath>

namespace swf_testing {
namespace {

using swfplayer::canvas;
using swfplayer::rgba;
using swfplayer::smart_ptr;
using Points = std::vector<std::pair<float, float>>;

constexpr double kPi = 3.14159265358979323846;
const rgba kRed(255, 0, 0, 255);
const rgba kBlue(0, 0, 255, 255);

class CanvasTest : public ShapesFixture {
protected:
    void SetUp() override {
        ShapesFixture::SetUp();
        m_canvas = new canvas(m_player.get_ptr());
    }
    // Displays at scale 1 and gives the mesh set built.
    const swfplayer::mesh_set& Draw() {
        m_canvas->display(Scale(1), {}, 1.0f, m_canvas->m_fill_styles, m_canvas->m_line_styles);
        return *m_canvas->get_cached_meshes().back();
    }
    double FilledArea() { return std::fabs(TriangleArea(Triangles(Draw(), 0))); }
    // Moves to the first point and draws lines through the others.
    void Lines(const Points& points) {
        m_canvas->move_to(points[0].first, points[0].second);
        for (size_t i = 1; i < points.size(); i++) {
            m_canvas->line_to(points[i].first, points[i].second);
        }
    }
    static int Strips(const swfplayer::mesh_set& set) {
        int strips = 0;
        for (const auto& l : set.get_layers()) {
            strips += static_cast<int>(l.m_line_strips.size());
        }
        return strips;
    }
    smart_ptr<canvas> m_canvas;
};

// Edges drawn with no path go to a new path at the pen, after an empty separator; a move to
// the pen starts no path; a filled figure ends with an edge back to its exact start.
TEST_F(CanvasTest, paths_start_where_edges_are_drawn_and_a_filled_figure_closes_itself) {
    m_canvas->move_to(0, 0);
    EXPECT_EQ(m_canvas->m_paths.size(), 0);
    m_canvas->line_to(100, 100);
    ASSERT_EQ(m_canvas->m_paths.size(), 2);
    EXPECT_TRUE(m_canvas->m_paths[0].m_new_shape && m_canvas->m_paths[0].is_empty());
    EXPECT_EQ(m_canvas->m_paths[1].m_edges.size(), 1);
    EXPECT_TRUE(Draw().get_layers().empty());  // no styles: nothing drawn
    m_canvas->clear();
    m_canvas->begin_fill(kRed);
    Lines({{10, 10}, {1010, 10}, {510, 1010}, {12, 14}});  // the last near the start, not on it
    m_canvas->end_fill();
    const swfplayer::path& p = m_canvas->m_paths.back();
    ASSERT_EQ(p.m_edges.size(), 4);
    EXPECT_EQ(p.m_edges[3].m_ax, 10.0f);
    EXPECT_EQ(p.m_edges[3].m_ay, 10.0f);
    EXPECT_EQ(m_canvas->m_current_path, -1);
    EXPECT_NEAR(FilledArea(), 0.5e6, 2000.0);
}

TEST_F(CanvasTest, fills_whichever_way_figures_are_drawn_and_keep_holes) {
    const Points square = {{0, 0}, {1000, 0}, {1000, 1000}, {0, 1000}};
    const struct {
        std::vector<Points> figures;
        double area;
    } rows[] = {
        {{square}, 1e6},
        {{{{0, 0}, {-1000, 0}, {-1000, 1000}, {0, 1000}}}, 1e6},
        {{square, {{300, 300}, {300, 700}, {700, 700}, {700, 300}}}, 1e6 - 400 * 400},
        {{square, {{300, 300}, {700, 300}, {700, 700}, {300, 700}}}, 1e6 - 400 * 400},
    };
    // After clear the pen is at the first corner: the edges follow begin_fill with no move.
    for (const auto& row : rows) {
        m_canvas->clear();
        m_canvas->begin_fill(kRed);
        for (const Points& figure : row.figures) {
            Lines(figure);
        }
        m_canvas->end_fill();
        EXPECT_NEAR(FilledArea(), row.area, 1.0) << &row - rows;
    }
}

TEST_F(CanvasTest, a_line_style_mid_figure_closes_the_part_drawn_and_fills_two_rings) {
    m_canvas->begin_fill(kRed);
    Lines({{0, 0}, {1000, 0}, {1000, 1000}});
    m_canvas->set_line_style(20, kBlue);  // closes (0,0)-(1000,0)-(1000,1000)
    m_canvas->line_to(2000, 1000);
    m_canvas->line_to(2000, 0);
    m_canvas->end_fill();  // closes (1000,1000)-(2000,1000)-(2000,0)
    ASSERT_EQ(m_canvas->m_paths.size(), 3);
    EXPECT_EQ(m_canvas->m_paths[1].m_edges.size(), 3);
    EXPECT_EQ(m_canvas->m_paths[2].m_edges.size(), 3);
    EXPECT_EQ(m_canvas->m_paths[2].m_line, 1);
    EXPECT_NEAR(FilledArea(), 1e6, 1.0);
    EXPECT_EQ(Strips(Draw()), 1);
    // end_fill without a current path only drops the fill.
    m_canvas->end_fill();
    EXPECT_EQ(m_canvas->m_paths.size(), 3);
}

TEST_F(CanvasTest, two_fills_make_two_styles_in_two_layers_and_clear_forgets_all) {
    for (auto [colour, x] : {std::pair{kRed, 0.0f}, {kBlue, 50.0f}}) {
        m_canvas->begin_fill(colour);
        Lines({{x, 0}, {x + 100, 0}, {x + 100, 100}});
        m_canvas->end_fill();
    }
    const swfplayer::mesh_set& set = Draw();
    ASSERT_EQ(set.get_layers().size(), 2u);
    EXPECT_TRUE(set.get_layers()[0].m_meshes[0]);
    EXPECT_TRUE(set.get_layers()[1].m_meshes[1]);
    EXPECT_EQ(m_render.with_prefix("fill_style_color"),
              (std::vector<std::string>{"fill_style_color 0 255,0,0,255", "fill_style_color 0 0,0,255,255"}));
    EXPECT_EQ(m_canvas->get_cached_meshes().size(), 1u);
    m_canvas->clear();
    EXPECT_EQ(m_canvas->get_cached_meshes().size(), 0u);
    m_render.calls.clear();
    Draw();
    EXPECT_EQ(m_render.with_prefix("draw_").size(), 0u);
}

// The game's sequence, twice: clear, begin fill, line style, move, one curve per body point, close.
TEST_F(CanvasTest, the_creature_outline_fills_its_area_with_one_outline_strip) {
    const int points = 42;
    const double radius = 2000;
    auto at = [&](double angle, double r) {
        return std::pair<float, float>(static_cast<float>(3000 + r * std::cos(angle)),
                                       static_cast<float>(3000 + r * std::sin(angle)));
    };
    for (int round = 0; round < 2; round++) {
        m_canvas->clear();
        m_canvas->begin_fill(kRed);
        m_canvas->set_line_style(40, kBlue);
        Lines({at(0, radius)});
        for (int i = 1; i <= points; i++) {
            auto control = at((i - 0.5) * 2 * kPi / points, radius / std::cos(kPi / points));
            auto anchor = at(i * 2 * kPi / points, radius);
            m_canvas->curve_to(control.first, control.second, anchor.first, anchor.second);
        }
        m_canvas->close_path();
        const swfplayer::mesh_set& set = Draw();
        EXPECT_NEAR(std::fabs(TriangleArea(Triangles(set, 0))), kPi * radius * radius, 0.01 * kPi * radius * radius);
        EXPECT_EQ(Strips(set), 1);
        auto report = testing_support::CoverageOracle(StripRings(set)).Check(Triangles(set, 0));
        EXPECT_TRUE(report.Faithful()) << report.Describe();
        EXPECT_TRUE(m_canvas->point_test_local(3000, 3000));
        EXPECT_FALSE(m_canvas->point_test_local(3000 + 1.5f * radius, 3000));
    }
}

TEST_F(CanvasTest, bounds_follow_the_drawing_and_every_change_empties_the_cache) {
    m_canvas->set_line_style(20, kRed);
    m_canvas->move_to(-100, 50);
    m_canvas->curve_to(0, -300, 400, 60);
    swfplayer::rect bound;
    m_canvas->get_bound(&bound);
    EXPECT_EQ(std::vector<float>({bound.x_min, bound.x_max, bound.y_min, bound.y_max}),
              std::vector<float>({-100, 400, -300, 60}));
    Draw();
    m_canvas->line_to(500, 500);
    EXPECT_EQ(m_canvas->get_cached_meshes().size(), 0u);
    Draw();
    m_canvas->move_to(0, 0);
    EXPECT_EQ(m_canvas->get_cached_meshes().size(), 0u);
    // Non-finite coordinates become 0; a copy keeps the drawing, not the cache.
    m_canvas->line_to(std::nanf(""), INFINITY);
    EXPECT_EQ(m_canvas->m_paths.back().m_edges.back().m_ax, 0.0f);
    Draw();
    smart_ptr<canvas> copy = new canvas(m_player.get_ptr());
    *copy = *m_canvas;
    EXPECT_EQ(copy->m_paths.size(), m_canvas->m_paths.size());
    EXPECT_EQ(copy->get_cached_meshes().size(), 0u);
    EXPECT_TRUE(copy->is(swfplayer::AS_CANVAS));
    EXPECT_TRUE(copy->is(swfplayer::AS_CHARACTER_DEF));
}

}  // namespace
}  // namespace swf_testing
