// Shape records built with the SWF kit, the point test, mesh-set selection, what display hands
// the renderer, and the mesh cache records.
#include "swfplayer/base/base_file.h"
#include "swfplayer/main/display/generic_character.h"
#include "swfplayer/main/shapes/morph2_character_def.h"
#include "swfplayer/main/shapes/shape_character_def.h"
#include "swfplayer/main/shapes/shape_loaders.h"
#include "tests/support/CoverageOracle.h"
#include "tests/swfplayer/main/shapes/ShapesFixture.h"
#include "tools/swfkit/Movie.h"
#include "tools/swfkit/ShapeBuilder.h"

#include <gtest/gtest.h>

#include <cmath>
#include <functional>
#include <random>

namespace swf_testing {
namespace {

using swfkit::BitWriter;
using swfkit::ShapeBuilder;
using swfplayer::base_file;
using swfplayer::shape_character_def;
using swfplayer::smart_ptr;

class ShapeTest : public ShapesFixture {
protected:
    // A shape body without id: bounds, styles written by write_styles, then the records.
    smart_ptr<shape_character_def> Raw(int tag_type, const std::function<void(BitWriter&)>& write_styles,
                                       const ShapeBuilder& records, size_t fills, size_t lines) {
        BitWriter out;
        swfkit::WriteRect(out, {0, 1000, 0, 1000});
        write_styles(out);
        out.WriteBytes(records.BuildRecords(1, fills, lines));
        return ReadShape(out.GetBytes(), tag_type);
    }
    smart_ptr<shape_character_def> Built(const ShapeBuilder& shape, int version) {
        swfkit::Bytes body = swfkit::DefineShapeBody(1, shape, version);
        return ReadShape(swfkit::Bytes(body.begin() + 2, body.end()), swfkit::DefineShapeTagType(version));
    }
};

const swfkit::Color kRed{255, 0, 0, 255};
const swfkit::Color kBlue{0, 0, 255, 255};

// A square whose left side (fill 0) is its inside: counterclockwise on screen, where y grows down.
void Square(ShapeBuilder& b, int x, int y, int size) {
    b.MoveTo(x, y);
    b.LineTo(x, y + size);
    b.LineTo(x + size, y + size);
    b.LineTo(x + size, y);
    b.LineTo(x, y);
}

// A square outline through styles fill0 and line.
ShapeBuilder SquareRecords(int fill0, int line) {
    ShapeBuilder b;
    if (fill0) {
        b.SetFillStyle0(fill0);
    }
    if (line) {
        b.SetLineStyle(line);
    }
    Square(b, 0, 0, 100);
    return b;
}

swfkit::Bytes FileBytes(base_file& file) {
    int size = file.get_position();
    file.set_position(0);
    swfkit::Bytes bytes(size);
    file.read_bytes(bytes.data(), size);
    return bytes;
}

TEST_F(ShapeTest, style_counts_of_255_escape_per_tag_type) {
    struct Row {
        const char* what;
        int tag_type;
        int fills;  // styles written
        int lines;
        bool escape_fills;
        bool escape_lines;
    } rows[] = {
        {"255 fills in DefineShape", 2, 255, 0, false, false},
        {"300 fills in DefineShape2", 22, 300, 0, true, false},
        {"2 lines behind 255 in DefineShape", 2, 0, 2, false, true},
        {"2 lines behind 255 in DefineShape3", 32, 0, 2, false, true},
    };
    for (const Row& row : rows) {
        int version = row.tag_type == 2 ? 1 : row.tag_type == 22 ? 2 : 3;
        auto styles = [&](BitWriter& out) {
            out.WriteU8(row.escape_fills ? 0xFF : static_cast<uint8_t>(row.fills));
            if (row.escape_fills) {
                out.WriteU16(static_cast<uint16_t>(row.fills));
            }
            for (int i = 0; i < row.fills; i++) {
                swfkit::WriteFillStyle(out, swfkit::FillStyle::Solid(kRed), version);
            }
            out.WriteU8(row.escape_lines ? 0xFF : static_cast<uint8_t>(row.lines));
            if (row.escape_lines) {
                out.WriteU16(static_cast<uint16_t>(row.lines));
            }
            for (int i = 0; i < row.lines; i++) {
                out.WriteU16(20);
                version >= 3 ? swfkit::WriteRgba(out, kBlue) : swfkit::WriteRgb(out, kBlue);
            }
        };
        auto shape = Raw(row.tag_type, styles, SquareRecords(row.fills, row.lines), row.fills, row.lines);
        EXPECT_EQ(shape->m_fill_styles.size(), row.fills) << row.what;
        EXPECT_EQ(shape->m_line_styles.size(), row.lines) << row.what;
        ASSERT_EQ(shape->m_paths.size(), 1) << row.what;
        EXPECT_EQ(shape->m_paths[0].m_fill0, row.fills) << row.what;
        EXPECT_EQ(shape->m_paths[0].m_line, row.lines) << row.what;
        EXPECT_EQ(shape->m_paths[0].m_edges.size(), 4) << row.what;
    }
}

TEST_F(ShapeTest, records_end_move_and_style_changes) {
    ShapeBuilder empty;
    EXPECT_EQ(Raw(
                  2, [](BitWriter& out) { out.WriteU16(0); }, empty, 0, 0)
                  ->m_paths.size(),
              0);

    ShapeBuilder moves;
    moves.MoveTo(50, 50);
    moves.LineTo(60, 50);
    moves.MoveTo(0, 0);  // a move with 0-bit coordinates
    moves.LineTo(0, 70);
    auto shape = Raw(
        2, [](BitWriter& out) { out.WriteU16(0); }, moves, 0, 0);
    ASSERT_EQ(shape->m_paths.size(), 2);
    EXPECT_EQ(shape->m_paths[1].m_ax, 0.0f);
    EXPECT_EQ(shape->m_paths[1].m_ay, 0.0f);
    EXPECT_EQ(shape->m_paths[1].m_edges[0].m_ay, 70.0f);

    // A fill change while the fill bits are 0 reads nothing: the edge after it stays intact.
    BitWriter out;
    swfkit::WriteRect(out, {0, 100, 0, 100});
    out.WriteU16(0);
    out.WriteBits(0, 8);         // 0 fill bits, 0 line bits
    out.WriteBits(0b000010, 6);  // style change: fill 0, no data
    out.WriteBits(0b11, 2);      // straight edge
    out.WriteBits(3, 4);         // 5 bits
    out.WriteBits(0b01, 2);      // vertical
    out.WriteSignedBits(12, 5);  // dy
    out.WriteBits(0, 6);         // end
    shape = ReadShape(out.GetBytes(), 2);
    ASSERT_EQ(shape->m_paths.size(), 1);
    EXPECT_EQ(shape->m_paths[0].m_fill0, 0);
    EXPECT_EQ(shape->m_paths[0].m_edges[0].m_ay, 12.0f);
}

TEST_F(ShapeTest, new_styles_mid_shape_number_from_the_new_arrays_and_start_a_layer) {
    ShapeBuilder b;
    b.SetFillStyle0(b.AddFillStyle(swfkit::FillStyle::Solid(kRed)));
    Square(b, 0, 0, 100);
    b.NewStyles({swfkit::FillStyle::Solid({1, 1, 1, 255}), swfkit::FillStyle::Solid(kBlue)}, {});
    b.SetFillStyle0(2);
    Square(b, 50, 50, 100);
    auto shape = Built(b, 2);
    ASSERT_EQ(shape->m_fill_styles.size(), 3);
    ASSERT_EQ(shape->m_paths.size(), 3);
    EXPECT_TRUE(shape->m_paths[1].m_new_shape);
    EXPECT_EQ(shape->m_paths[2].m_fill0, 3);
    shape->display(Scale(1), {}, 1.0f, shape->m_fill_styles, shape->m_line_styles);
    ASSERT_EQ(shape->get_cached_meshes().size(), 1u);
    const auto& layers = shape->get_cached_meshes()[0]->get_layers();
    ASSERT_EQ(layers.size(), 2u);
    EXPECT_TRUE(layers[0].m_meshes[0]);
    EXPECT_TRUE(layers[1].m_meshes[2]);
    EXPECT_EQ(m_render.with_prefix("fill_style_color"),
              (std::vector<std::string>{"fill_style_color 0 255,0,0,255", "fill_style_color 0 0,0,255,255"}));
}

TEST_F(ShapeTest, style_numbers_beyond_the_arrays_and_unknown_fill_types) {
    auto beyond = Raw(
        32, [](BitWriter& out) { swfkit::WriteFillStyles(out, {swfkit::FillStyle::Solid(kRed)}, 3), out.WriteU8(0); },
        SquareRecords(3, 0), 3, 0);
    ASSERT_EQ(beyond->m_paths.size(), 1);
    EXPECT_EQ(beyond->m_paths[0].m_fill0, 0);
    EXPECT_TRUE(Logged("style numbers beyond"));

    auto unknown = Raw(
        32, [](BitWriter& out) { out.WriteU8(1), out.WriteU8(0x33), out.WriteU8(0); }, SquareRecords(1, 0), 1, 0);
    EXPECT_EQ(unknown->m_paths.size(), 0);
}

// A square of 1000 with a square hole of 400, one path joined by a bridge from the corner.
ShapeBuilder BridgedHole() {
    ShapeBuilder b;
    b.SetFillStyle0(b.AddFillStyle(swfkit::FillStyle::Solid(kRed)));
    b.MoveTo(0, 0);
    for (auto [x, y] : {std::pair{1000, 0},
                        {1000, 1000},
                        {0, 1000},
                        {0, 0},
                        {300, 300},
                        {300, 700},
                        {700, 700},
                        {700, 300},
                        {300, 300},
                        {0, 0}}) {
        b.LineTo(x, y);
    }
    return b;
}

TEST_F(ShapeTest, point_test_at_vertex_heights_through_holes_and_on_curves) {
    auto shape = Built(BridgedHole(), 1);
    struct Row {
        float x, y;
        bool inside;
    } rows[] = {{500, 500, false}, {100, 500, true},   {100, 300, true}, {500, 300, true}, {100, 700, true},
                {850, 700, true},  {1200, 500, false}, {0, 0, false},    {500, 0, false},  {500, 1000, true}};
    for (const Row& row : rows) {
        EXPECT_EQ(shape->point_test_local(row.x, row.y), row.inside) << row.x << ", " << row.y;
    }
    swfplayer::path straight;
    straight.m_edges.push_back(swfplayer::edge(0, 100, 0, 100));
    EXPECT_FALSE(straight.point_test(-5, 0));
    EXPECT_TRUE(straight.point_test(-5, 100));
    // A curve from (0, 0) through (50, 100) to (100, 0): y = 50 at t = 0.5 and at its ends only
    // in the limit; y = 0 has the roots t = 0 (counted) and t = 1 (not counted).
    swfplayer::path curve;
    curve.m_edges.push_back(swfplayer::edge(50, 100, 100, 0));
    EXPECT_TRUE(curve.point_test(-10, 0));
    EXPECT_FALSE(curve.point_test(50, 0));
    EXPECT_FALSE(curve.point_test(-10, 50));  // two crossings
    EXPECT_TRUE(curve.point_test(50, 40));
}

TEST_F(ShapeTest, point_test_agrees_with_the_triangles_of_straight_shapes) {
    // A random star-shaped polygon, clockwise on screen with its inside on the right (fill 1).
    std::mt19937 shape_rng(11);
    std::uniform_int_distribution<int> radius(200, 500);
    ShapeBuilder b;
    b.SetFillStyle1(b.AddFillStyle(swfkit::FillStyle::Solid(kRed)));
    const int corners = 40;
    int first_x = 500 + 500, first_y = 500;
    b.MoveTo(first_x, first_y);
    for (int i = 1; i < corners; i++) {
        double angle = 2.0 * 3.14159265358979 * i / corners;
        int r = radius(shape_rng);
        b.LineTo(500 + static_cast<int>(r * std::cos(angle)), 500 + static_cast<int>(r * std::sin(angle)));
    }
    b.LineTo(first_x, first_y);
    auto shape = Built(b, 1);
    shape->display(Scale(1), {}, 1.0f, shape->m_fill_styles, shape->m_line_styles);
    std::vector<float> t = Triangles(*shape->get_cached_meshes()[0], 0);
    std::mt19937 rng(7);
    std::uniform_int_distribution<int> coordinate(-100, 1100);
    for (int i = 0; i < 2000; i++) {
        float x = coordinate(rng) + 0.5f;  // never on an edge
        float y = coordinate(rng) + 0.5f;
        int covered = 0;
        for (size_t k = 0; k + 5 < t.size(); k += 6) {
            auto side = [&](int a, int b) {
                return (t[k + b] - t[k + a]) * (y - t[k + a + 1]) - (t[k + b + 1] - t[k + a + 1]) * (x - t[k + a]);
            };
            float s0 = side(0, 2), s1 = side(2, 4), s2 = side(4, 0);
            covered += (s0 > 0 && s1 > 0 && s2 > 0) || (s0 < 0 && s1 < 0 && s2 < 0);
        }
        ASSERT_EQ(shape->point_test_local(x, y), covered == 1) << x << ", " << y;
    }
}

TEST_F(ShapeTest, mesh_sets_are_chosen_per_scale_and_built_only_when_none_fits) {
    ShapeBuilder b;
    b.SetFillStyle0(b.AddFillStyle(swfkit::FillStyle::Solid(kRed)));
    Square(b, 0, 0, 1000);
    auto shape = Built(b, 1);
    struct Step {
        float scale;
        std::vector<float> tolerances;  // the cache afterwards, coarsest first
    } steps[] = {
        {1, {7.5f}},
        {2, {7.5f, 3.75f}},
        {1, {7.5f, 3.75f}},
        {10, {7.5f, 3.75f, 0.75f}},
        {0.1f, {75, 7.5f, 3.75f, 0.75f}},
        {0, {75, 7.5f, 3.75f, 0.75f}},  // degenerate: draws nothing
    };
    for (const Step& step : steps) {
        shape->display(Scale(step.scale), {}, 1.0f, shape->m_fill_styles, shape->m_line_styles);
        std::vector<float> tolerances;
        for (const auto& set : shape->get_cached_meshes()) {
            tolerances.push_back(set->get_error_tolerance());
        }
        EXPECT_EQ(tolerances, step.tolerances) << "scale " << step.scale;
    }
    EXPECT_EQ(m_render.with_prefix("draw_triangle_list").size(), 5u);
    EXPECT_EQ(shape_character_def::wanted_tolerance(1e9f, 1.0f), swfplayer::min_error_tolerance);
    EXPECT_EQ(shape_character_def::wanted_tolerance(1.0f, 0.0f), 1e6f);
    swfplayer::set_curve_max_pixel_error(0);
    EXPECT_EQ(swfplayer::get_curve_max_pixel_error(), 1e-6f);
    swfplayer::set_curve_max_pixel_error(1e9f);
    EXPECT_EQ(swfplayer::get_curve_max_pixel_error(), 1e6f);
    swfplayer::set_curve_max_pixel_error(0.5f);
}

TEST_F(ShapeTest, display_draws_each_layer_fills_then_lines) {
    ShapeBuilder b;
    int red = b.AddFillStyle(swfkit::FillStyle::Solid(kRed));
    int blue = b.AddFillStyle(swfkit::FillStyle::Solid(kBlue));
    int line = b.AddLineStyle({40, {0, 255, 0, 255}});
    b.SetFillStyle0(red);
    b.SetLineStyle(line);
    Square(b, 0, 0, 100);
    b.SetFillStyle0(blue);
    Square(b, 500, 0, 100);
    auto shape = Built(b, 3);
    shape->display(Scale(1), {}, 1.0f, shape->m_fill_styles, shape->m_line_styles);
    std::vector<std::string> expected = {"set_matrix",
                                         "set_cxform",
                                         "fill_style_color 0 255,0,0,255",
                                         "draw_triangle_list 6",
                                         "fill_style_color 0 0,0,255,255",
                                         "draw_triangle_list 6",
                                         "line_style_color 0,255,0,255",
                                         "line_style_width 40.000000",
                                         "draw_line_strip 5",
                                         "line_style_color 0,255,0,255",
                                         "line_style_width 40.000000",
                                         "draw_line_strip 5"};
    EXPECT_EQ(m_render.calls, expected);
    // Without line styles the strips are not drawn; a style missing from the array skips its mesh.
    m_render.calls.clear();
    swfplayer::array<swfplayer::fill_style> one_fill;
    one_fill.push_back(shape->m_fill_styles[0]);
    shape->display(Scale(1), {}, 1.0f, one_fill, {});
    EXPECT_EQ(m_render.calls, (std::vector<std::string>(expected.begin(), expected.begin() + 4)));
    // An instance draws with the shape's own styles.
    m_render.calls.clear();
    smart_ptr<swfplayer::generic_character> instance =
        new swfplayer::generic_character(m_player.get_ptr(), shape.get_ptr(), nullptr, 1);
    instance->display();
    EXPECT_EQ(m_render.calls, expected);
}

TEST_F(ShapeTest, kit_shapes_with_curves_and_holes_triangulate_faithfully_at_every_scale) {
    // A ring of curves with a curved hole, every path outlined so the strips give the outline.
    ShapeBuilder b;
    int fill = b.AddFillStyle(swfkit::FillStyle::Solid(kRed));
    int line = b.AddLineStyle({20, kBlue});
    b.SetFillStyle1(fill);
    b.SetLineStyle(line);
    b.MoveTo(0, -4000);
    b.CurveTo(4000, -4000, 4000, 0);
    b.CurveTo(4000, 4000, 0, 4000);
    b.CurveTo(-4000, 4000, -4000, 0);
    b.CurveTo(-4000, -4000, 0, -4000);
    b.MoveTo(0, -1500);
    b.CurveTo(-1500, -1500, -1500, 0);
    b.CurveTo(-1500, 1500, 0, 1500);
    b.CurveTo(1000, 1500, 1500, 0);
    b.LineTo(0, -1500);
    auto shape = Built(b, 3);
    for (float scale : {0.05f, 0.3f, 1.0f, 4.0f, 20.0f}) {
        shape->display(Scale(scale), {}, 1.0f, shape->m_fill_styles, shape->m_line_styles);
    }
    ASSERT_EQ(shape->get_cached_meshes().size(), 5u);
    size_t previous_points = 0;
    for (auto it = shape->get_cached_meshes().begin(); it != shape->get_cached_meshes().end(); ++it) {
        const swfplayer::mesh_set& set = **it;
        std::vector<std::vector<float>> rings = StripRings(set);
        ASSERT_EQ(rings.size(), 2u);
        testing_support::CoverageOracle oracle(rings);
        auto report = oracle.Check(Triangles(set, 0));
        EXPECT_TRUE(report.Faithful()) << set.get_error_tolerance() << ": " << report.Describe();
        size_t points = rings[0].size() + rings[1].size();
        EXPECT_GE(points, previous_points) << "finer sets have more points";
        previous_points = points;
    }
}

TEST_F(ShapeTest, coordinates_beyond_sixteen_bits_clamp) {
    ShapeBuilder b;
    b.SetFillStyle0(b.AddFillStyle(swfkit::FillStyle::Solid(kRed)));
    Square(b, 30000, -40000, 10000);
    auto shape = Built(b, 1);
    shape->display(Scale(1), {}, 1.0f, shape->m_fill_styles, shape->m_line_styles);
    std::vector<float> t = Triangles(*shape->get_cached_meshes()[0], 0);
    ASSERT_FALSE(t.empty());
    for (size_t i = 0; i < t.size(); i += 2) {
        EXPECT_TRUE(t[i] == 30000 || t[i] == 32767) << t[i];
        EXPECT_TRUE(t[i + 1] == -32768 || t[i + 1] == -30000) << t[i + 1];
    }
    EXPECT_EQ(swfplayer::to_mesh_coord(std::nanf("")), 0);
    EXPECT_EQ(swfplayer::to_mesh_coord(-12.9f), -12);
}

TEST_F(ShapeTest, the_cache_record_layout_and_round_trip) {
    // One set of tolerance 1.5, one layer, an empty slot and a mesh of 6 list values.
    swfkit::Bytes record = {0x00, 0x00, 0xC0, 0x3F, 1, 0, 0, 0, 2, 0, 0, 0, 0, 1, 0, 0, 0, 0, 6,
                            0,    0,    0,    1,    0, 2, 0, 3, 0, 4, 0, 5, 0, 6, 0, 0, 0, 0, 0};
    base_file in(swfplayer::memory_buffer, static_cast<int>(record.size()), record.data());
    swfplayer::mesh_set set;
    ASSERT_TRUE(set.input_cached_data(&in));
    EXPECT_EQ(set.get_error_tolerance(), 1.5f);
    base_file out(swfplayer::memory_buffer);
    set.output_cached_data(&out);
    EXPECT_EQ(FileBytes(out), record);

    auto shape = Built(BridgedHole(), 1);
    for (float scale : {0.5f, 3.0f, 30.0f}) {
        shape->display(Scale(scale), {}, 1.0f, shape->m_fill_styles, shape->m_line_styles);
    }
    base_file first(swfplayer::memory_buffer);
    shape->output_cached_data(&first, 0);
    swfkit::Bytes written = FileBytes(first);
    base_file again(swfplayer::memory_buffer, static_cast<int>(written.size()), written.data());
    auto copy = Built(BridgedHole(), 1);
    ASSERT_TRUE(copy->input_cached_data(&again));
    base_file second(swfplayer::memory_buffer);
    copy->output_cached_data(&second, 0);
    EXPECT_EQ(FileBytes(second), written);
    // The sets read are used: drawing at a cached scale builds nothing.
    copy->display(Scale(3.0f), {}, 1.0f, copy->m_fill_styles, copy->m_line_styles);
    EXPECT_EQ(copy->get_cached_meshes().size(), 3u);
}

TEST_F(ShapeTest, corrupt_caches_are_refused_without_harm) {
    auto shape = Built(BridgedHole(), 3);
    shape->display(Scale(1), {}, 1.0f, shape->m_fill_styles, shape->m_line_styles);
    shape->display(Scale(5), {}, 1.0f, shape->m_fill_styles, shape->m_line_styles);
    base_file out(swfplayer::memory_buffer);
    shape->output_cached_data(&out, 0);
    swfkit::Bytes good = FileBytes(out);
    auto read = [&](const swfkit::Bytes& bytes) {
        base_file in(swfplayer::memory_buffer, static_cast<int>(bytes.size()), bytes.data());
        auto target = Built(BridgedHole(), 3);
        return target->input_cached_data(&in);
    };
    ASSERT_TRUE(read(good));
    for (size_t cut = 0; cut < good.size(); cut++) {
        ASSERT_FALSE(read(swfkit::Bytes(good.begin(), good.begin() + cut))) << cut;
    }
    // Every 32-bit field overwritten by values no writer makes.
    for (size_t at = 0; at + 4 <= good.size(); at++) {
        for (uint32_t bad : {0xFFFFFFFFu, 0x7FFFFFFFu, 0x7FC00000u /* NaN */}) {
            swfkit::Bytes bytes = good;
            for (int i = 0; i < 4; i++) {
                bytes[at + i] = static_cast<uint8_t>(bad >> (8 * i));
            }
            read(bytes);  // may succeed where the field was coordinates; must not crash
        }
    }
}

TEST_F(ShapeTest, the_tag_table_loads_every_shape_and_morph_tag) {
    swfplayer::register_shape_loaders();
    swfkit::Movie movie(8, {0, 2000, 0, 2000}, 12.0);
    ShapeBuilder b;
    b.SetFillStyle0(b.AddFillStyle(swfkit::FillStyle::Solid(kRed)));
    Square(b, 0, 0, 100);
    for (int version = 1; version <= 4; version++) {
        movie.Tags().DefineShape(static_cast<uint16_t>(version), b, version);
    }
    ShapeBuilder morph_half;
    morph_half.SetFillStyle0(1);
    Square(morph_half, 0, 0, 100);
    for (int version = 1; version <= 2; version++) {
        movie.Tags().Tag(
            version == 1 ? 46 : 84,
            swfkit::DefineMorphShapeBody(static_cast<uint16_t>(10 + version),
                                         {{swfkit::FillStyle::Solid(kRed), swfkit::FillStyle::Solid(kBlue)}}, {},
                                         morph_half, morph_half, version));
    }
    movie.Tags().ShowFrame();
    auto def = LoadMovie(movie.Write(false));
    ASSERT_TRUE(def);
    for (int id = 1; id <= 4; id++) {
        auto* shape = dynamic_cast<shape_character_def*>(def->get_character_def(id));
        ASSERT_TRUE(shape) << id;
        EXPECT_EQ(shape->m_paths.size(), 1) << id;
        EXPECT_EQ(shape->m_fill_styles.size(), 1) << id;
    }
    for (int id : {11, 12}) {
        auto* morph = dynamic_cast<swfplayer::morph2_character_def*>(def->get_character_def(id));
        ASSERT_TRUE(morph) << id;
        EXPECT_TRUE(morph->is_valid()) << id;
    }
}

}  // namespace
}  // namespace swf_testing
