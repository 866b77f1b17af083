// Morph shapes built with the SWF kit: blending at ratios, pairing of edges across paths, mesh
// rebuilds, and records that cannot be paired.
#include "swfplayer/main/display/generic_character.h"
#include "swfplayer/main/shapes/morph2_character_def.h"
#include "tests/swfplayer/main/shapes/ShapesFixture.h"
#include "tools/swfkit/ShapeBuilder.h"

#include <gtest/gtest.h>

#include <cmath>

namespace swf_testing {
namespace {

using swfkit::MorphFillStyle;
using swfkit::MorphLineStyle;
using swfkit::ShapeBuilder;
using swfplayer::morph2_character_def;
using swfplayer::smart_ptr;

const swfkit::Color kRed{255, 0, 0, 255};
const swfkit::Color kBlue{0, 0, 255, 255};

// A square from (0, 0), clockwise on screen (the morph draws its fill 0 on the right); split
// starts a new path at the third corner.
ShapeBuilder Square(int size, bool split = false) {
    ShapeBuilder b;
    b.SetFillStyle0(1);
    b.SetLineStyle(1);
    b.MoveTo(0, 0);
    for (auto [x, y] : {std::pair{1, 0}, {1, 1}, {0, 1}, {0, 0}}) {
        if (split && x == 0 && y == 1) {
            b.MoveTo(size, size);
        }
        b.LineTo(x * size, y * size);
    }
    return b;
}

int EdgeCount(const swfplayer::shape_character_def& shape) {
    int count = 0;
    for (int i = 0; i < shape.m_paths.size(); i++) {
        count += shape.m_paths[i].m_edges.size();
    }
    return count;
}

class MorphTest : public ShapesFixture {
protected:
    smart_ptr<morph2_character_def> Read(const ShapeBuilder& start, const ShapeBuilder& end, int version = 1,
                                         std::vector<MorphFillStyle> fills = {
                                             {swfkit::FillStyle::Solid(kRed), swfkit::FillStyle::Solid(kBlue)}}) {
        swfkit::Bytes body =
            swfkit::DefineMorphShapeBody(1, fills, {MorphLineStyle{{20, kRed}, {40, kBlue}}}, start, end, version);
        ByteStream bytes(swfkit::Bytes(body.begin() + 2, body.end()));
        smart_ptr<morph2_character_def> morph = new morph2_character_def(m_player.get_ptr());
        morph->read(&bytes.in, version == 1 ? 46 : 84, true, nullptr);
        return morph;
    }
    double AreaAt(morph2_character_def& morph, float ratio) {
        m_render.calls.clear();
        morph.display(Scale(1), {}, 1.0f, ratio);
        // The blended fields now hold the shape at ratio: tessellate them once more to measure.
        swfplayer::mesh_set set(&morph, 7.5f);
        return std::fabs(TriangleArea(Triangles(set, 0)));
    }
};

// The end square of version 2 is split into two paths: edges pair in reading order across them.
TEST_F(MorphTest, squares_and_lines_blend_at_every_ratio) {
    for (int version : {1, 2}) {
        auto morph = Read(Square(1000), Square(2000, version == 2), version);
        ASSERT_TRUE(morph->is_valid()) << version;
        ASSERT_EQ(morph->get_shape2().m_paths.size(), version);
        struct Row {
            float ratio;
            double side;
            float line_width;
        } rows[] = {{0.0f, 1000, 20},  {0.5f, 1500, 30},          {1.0f, 2000, 40},
                    {-3.0f, 1000, 20}, {std::nanf(""), 1000, 20}, {7.0f, 2000, 40}};
        for (const Row& row : rows) {
            EXPECT_NEAR(AreaAt(*morph, row.ratio), row.side * row.side, 1.0) << row.ratio;
            EXPECT_EQ(m_render.with_prefix("draw_triangle_list"), std::vector<std::string>{"draw_triangle_list 6"});
            EXPECT_EQ(m_render.with_prefix("line_style_width"),
                      std::vector<std::string>{"line_style_width " + std::to_string(row.line_width)});
            swfplayer::rect bound;
            morph->get_bound(&bound);
            EXPECT_NEAR(bound.x_max - bound.x_min, row.side, 1.0);
        }
        // The start path's fill 0 is drawn as the right fill.
        EXPECT_EQ(morph->m_paths[0].m_fill1, 1);
        EXPECT_EQ(morph->m_paths[0].m_fill0, 0);
    }
}

TEST_F(MorphTest, meshes_are_rebuilt_only_when_the_ratio_changes) {
    auto morph = Read(Square(1000), Square(2000));
    struct Step {
        float ratio;
        int builds;
    } steps[] = {{0.5f, 1}, {0.5f, 1}, {0.25f, 2}, {0.5f, 3}, {0.25f, 4}, {0.25f, 4}};
    for (const Step& step : steps) {
        morph->display(Scale(step.ratio == 0.25f ? 3.0f : 1.0f), {}, 1.0f, step.ratio);
        EXPECT_EQ(morph->get_mesh_builds(), step.builds) << step.ratio;
    }
    EXPECT_EQ(morph->get_cached_meshes().size(), 0u);
    // A gradient is made again only with a new blend, not at every display of the same ratio.
    auto gradient = Read(Square(1000), Square(2000), 1,
                         {{swfkit::FillStyle::Linear({}, {{0, kRed}, {255, kBlue}}),
                           swfkit::FillStyle::Linear({}, {{40, kBlue}, {200, kRed}})}});
    for (float ratio : {0.5f, 0.5f, 0.5f, 0.7f, 0.7f}) {
        gradient->display(Scale(1), {}, 1.0f, ratio);
    }
    EXPECT_EQ(m_render.with_prefix("create_bitmap_info_rgba").size(), 2u);
    EXPECT_EQ(gradient->m_fill_styles[0].m_gradients[0].m_ratio, 28);  // 0 + 40 * 0.7 + 0.5
}

TEST_F(MorphTest, records_that_do_not_pair_are_rejected_and_draw_nothing) {
    ShapeBuilder longer = Square(2000);
    longer.LineTo(5, 5);
    auto gradient = [&](size_t stops) {
        std::vector<swfkit::GradientStop> list(stops, swfkit::GradientStop{0, kRed});
        return MorphFillStyle{swfkit::FillStyle::Linear({}, list), swfkit::FillStyle::Linear({}, list)};
    };
    struct Row {
        const char* what;
        smart_ptr<morph2_character_def> morph;
        const char* logged;
    } rows[] = {
        {"edge counts", Read(Square(1000), longer), "edges"},
        {"gradient of no records", Read(Square(1000), Square(2000), 1, {gradient(0)}), "gradient of 0"},
        {"gradient of 9 records", Read(Square(1000), Square(2000), 2, {gradient(9)}), "gradient of 9"},
        {"unknown fill type", Read(Square(1000), Square(2000), 1, {{swfkit::FillStyle::Bitmap(0x33, 1, {}), {}}}),
         "unknown morph fill style type 0x33"},
    };
    for (const Row& row : rows) {
        EXPECT_FALSE(row.morph->is_valid()) << row.what;
        EXPECT_TRUE(Logged(row.logged)) << row.what;
        m_render.calls.clear();
        row.morph->display(Scale(1), {}, 1.0f, 0.5f);
        EXPECT_TRUE(m_render.calls.empty()) << row.what;
    }
    EXPECT_TRUE(Read(Square(1000), Square(2000), 1, {gradient(8)})->is_valid());
}

TEST_F(MorphTest, truncated_records_never_crash_and_pair_when_accepted) {
    swfkit::Bytes body =
        swfkit::DefineMorphShapeBody(1, {{swfkit::FillStyle::Solid(kRed), swfkit::FillStyle::Solid(kBlue)}},
                                     {MorphLineStyle{{20, kRed}, {40, kBlue}}}, Square(1000), Square(2000, true), 2);
    for (size_t cut = 2; cut <= body.size(); cut++) {
        ByteStream bytes(swfkit::Bytes(body.begin() + 2, body.begin() + cut));
        smart_ptr<morph2_character_def> morph = new morph2_character_def(m_player.get_ptr());
        morph->read(&bytes.in, 84, true, nullptr);
        morph->display(Scale(1), {}, 1.0f, 0.3f);
        // A cut record reads zeros past its end: what is read may still pair, and then it
        // holds as many edges at both ends.
        if (morph->is_valid()) {
            EXPECT_EQ(EdgeCount(morph->get_shape1()), EdgeCount(morph->get_shape2())) << cut;
        }
    }
}

TEST_F(MorphTest, instances_draw_at_their_own_ratio) {
    auto morph = Read(Square(1000), Square(2000));
    smart_ptr<swfplayer::generic_character> first =
        new swfplayer::generic_character(m_player.get_ptr(), morph.get_ptr(), nullptr, 1);
    smart_ptr<swfplayer::generic_character> second =
        new swfplayer::generic_character(m_player.get_ptr(), morph.get_ptr(), nullptr, 2);
    first->set_ratio(0.0f);
    second->set_ratio(1.0f);
    for (int frame = 0; frame < 2; frame++) {
        first->display();
        EXPECT_EQ(morph->m_paths[0].m_edges[0].m_ax, 1000.0f);
        second->display();
        EXPECT_EQ(morph->m_paths[0].m_edges[0].m_ax, 2000.0f);
    }
    EXPECT_EQ(morph->get_mesh_builds(), 4);  // one per change of ratio
    EXPECT_EQ(m_render.with_prefix("draw_triangle_list").size(), 4u);
}

}  // namespace
}  // namespace swf_testing
