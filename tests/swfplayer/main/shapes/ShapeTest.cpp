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

#include <algorithm>
#include <cmath>
#include <functional>
#include <random>
#include <string>
#include <vector>

namespace swf_testing {
namespace {

using swfkit::BitWriter;
using swfkit::ShapeBuilder;
using swfplayer::base_file;
using swfplayer::shape_character_def;
using swfplayer::smart_ptr;

const swfkit::Color kRed{255, 0, 0, 255};
const swfkit::Color kBlue{0, 0, 255, 255};

// A square whose left side is its inside: counterclockwise on screen, where y grows down.
void Square(ShapeBuilder& b, int x, int y, int size) {
    b.MoveTo(x, y);
    for (auto [dx, dy] : {std::pair{0, 1}, {1, 1}, {1, 0}, {0, 0}}) {
        b.LineTo(x + dx * size, y + dy * size);
    }
}

// A square outline through styles fill0 and line (0: none set), with no styles of its own.
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

// A red square with its fill style.
ShapeBuilder RedSquare(int x, int y, int size) {
    ShapeBuilder b;
    b.SetFillStyle0(b.AddFillStyle(swfkit::FillStyle::Solid(kRed)));
    Square(b, x, y, size);
    return b;
}

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
    // Draws the shape with its own styles at the scale.
    static void Show(shape_character_def& shape, float scale = 1) {
        shape.display(Scale(scale), {}, 1.0f, shape.m_fill_styles, shape.m_line_styles);
    }
};

TEST_F(ShapeTest, style_counts_of_255_escape_per_tag_type) {
    struct Row {
        int tag_type, version;
        int fills, lines;  // styles written
        bool escape;       // of the non-zero count
    } rows[] = {{2, 1, 255, 0, false}, {22, 2, 300, 0, true}, {2, 1, 0, 2, true}, {32, 3, 0, 2, true}};
    for (const Row& row : rows) {
        auto count = [&](BitWriter& out, int n) {
            out.WriteU8(n && row.escape ? 0xFF : static_cast<uint8_t>(n));
            if (n && row.escape) {
                out.WriteU16(static_cast<uint16_t>(n));
            }
        };
        auto styles = [&](BitWriter& out) {
            count(out, row.fills);
            for (int i = 0; i < row.fills; i++) {
                swfkit::WriteFillStyle(out, swfkit::FillStyle::Solid(kRed), row.version);
            }
            count(out, row.lines);
            for (int i = 0; i < row.lines; i++) {
                out.WriteU16(20);
                row.version >= 3 ? swfkit::WriteRgba(out, kBlue) : swfkit::WriteRgb(out, kBlue);
            }
        };
        ClearLog();
        swfplayer::set_verbose_parse(true);
        auto shape = Raw(row.tag_type, styles, SquareRecords(row.fills, row.lines), row.fills, row.lines);
        swfplayer::set_verbose_parse(false);
        SCOPED_TRACE(std::to_string(row.fills) + " fills, " + std::to_string(row.lines) + " lines, tag " +
                     std::to_string(row.tag_type));
        // The trace of the line count names the escape byte, then the count that follows it.
        const std::string lines = std::to_string(row.lines);
        const bool escaped = row.lines && row.escape;
        EXPECT_EQ(CountLogged("  read_line_styles: count = " + (escaped ? "255" : lines)), 1);
        EXPECT_EQ(CountLogged("  read_line_styles: count2 = " + lines), escaped ? 1 : 0);
        EXPECT_EQ(shape->m_fill_styles.size(), row.fills);
        EXPECT_EQ(shape->m_line_styles.size(), row.lines);
        ASSERT_EQ(shape->m_paths.size(), 1);
        EXPECT_EQ(shape->m_paths[0].m_fill0, row.fills);
        EXPECT_EQ(shape->m_paths[0].m_line, row.lines);
        EXPECT_EQ(shape->m_paths[0].m_edges.size(), 4);
    }
}

TEST_F(ShapeTest, records_end_move_and_style_changes) {
    auto no_styles = [](BitWriter& out) {
        out.WriteU16(0);
    };
    EXPECT_EQ(Raw(2, no_styles, ShapeBuilder(), 0, 0)->m_paths.size(), 0);
    ShapeBuilder moves;
    moves.MoveTo(50, 50);
    moves.LineTo(60, 50);
    moves.MoveTo(0, 0);  // a move with 0-bit coordinates
    moves.LineTo(0, 70);
    auto shape = Raw(2, no_styles, moves, 0, 0);
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

// Every path of a shape as text: separator flag, styles, start and edges.
std::string Describe(const shape_character_def& shape) {
    std::string text;
    for (int i = 0; i < shape.m_paths.size(); i++) {
        const swfplayer::path& p = shape.m_paths[i];
        text += std::to_string(p.m_new_shape) + " " + std::to_string(p.m_fill0) + " " + std::to_string(p.m_fill1) +
                " " + std::to_string(p.m_line) + " @" + std::to_string(p.m_ax) + "," + std::to_string(p.m_ay) + ":";
        for (int k = 0; k < p.m_edges.size(); k++) {
            const swfplayer::edge& e = p.m_edges[k];
            text += " " + std::to_string(e.m_cx) + "," + std::to_string(e.m_cy) + "," + std::to_string(e.m_ax) + "," +
                    std::to_string(e.m_ay);
        }
        text += "\n";
    }
    return text;
}

TEST_F(ShapeTest, shapes_read_one_after_another_keep_only_their_own_paths_and_edges) {
    // Two sub-shapes with style changes, moves and curves, read before and after shapes of
    // other sizes (one of more edges than the room kept between shapes), give the same paths,
    // each with exactly its own edges.
    ShapeBuilder layered = RedSquare(0, 0, 100);
    layered.CurveTo(150, 50, 100, 100);
    layered.NewStyles({swfkit::FillStyle::Solid({1, 1, 1, 255}), swfkit::FillStyle::Solid(kBlue)}, {});
    layered.SetFillStyle0(2);
    Square(layered, 50, 50, 100);
    ShapeBuilder huge = RedSquare(0, 0, 100);
    for (int i = 0; i < 70000; i++) {
        huge.LineTo(i % 2 == 0 ? 10 : 0, i % 7);
    }
    auto first = Built(layered, 3);
    const std::string expected = Describe(*first);
    ASSERT_EQ(first->m_paths.size(), 3);
    EXPECT_EQ(first->m_paths[0].m_edges.size(), 5);  // the square and the curve after it
    EXPECT_EQ(first->m_paths[1].m_new_shape, true);
    EXPECT_EQ(first->m_paths[1].m_edges.size(), 0);
    EXPECT_EQ(first->m_paths[2].m_edges.size(), 4);
    for (const ShapeBuilder* other :
         {static_cast<const ShapeBuilder*>(&huge), static_cast<const ShapeBuilder*>(nullptr)}) {
        auto between = other ? Built(*other, 3) : Built(RedSquare(5, 5, 10), 3);
        int edges = 0;
        for (int i = 0; i < between->m_paths.size(); i++) {
            edges += between->m_paths[i].m_edges.size();
        }
        EXPECT_EQ(edges, other ? 70004 : 4);
        EXPECT_EQ(Describe(*Built(layered, 3)), expected);
    }
}

TEST_F(ShapeTest, new_styles_mid_shape_number_from_the_new_arrays_and_start_a_layer) {
    ShapeBuilder b = RedSquare(0, 0, 100);
    b.NewStyles({swfkit::FillStyle::Solid({1, 1, 1, 255}), swfkit::FillStyle::Solid(kBlue)}, {});
    b.SetFillStyle0(2);
    Square(b, 50, 50, 100);
    auto shape = Built(b, 2);
    ASSERT_EQ(shape->m_fill_styles.size(), 3);
    ASSERT_EQ(shape->m_paths.size(), 3);
    EXPECT_TRUE(shape->m_paths[1].m_new_shape);
    EXPECT_EQ(shape->m_paths[2].m_fill0, 3);
    Show(*shape);
    ASSERT_EQ(shape->get_cached_meshes().size(), 1u);
    const auto& layers = shape->get_cached_meshes()[0]->get_layers();
    ASSERT_EQ(layers.size(), 2u);
    EXPECT_TRUE(layers[0].m_meshes[0]);
    EXPECT_TRUE(layers[1].m_meshes[2]);
    EXPECT_EQ(m_render.with_prefix("fill_style_color"),
              (std::vector<std::string>{"fill_style_color 0 255,0,0,255", "fill_style_color 0 0,0,255,255"}));
}

TEST_F(ShapeTest, style_numbers_beyond_the_arrays_and_unknown_fill_types) {
    auto one_fill = [](BitWriter& out) {
        swfkit::WriteFillStyles(out, {swfkit::FillStyle::Solid(kRed)}, 3), out.WriteU8(0);
    };
    auto beyond = Raw(32, one_fill, SquareRecords(3, 0), 3, 0);
    ASSERT_EQ(beyond->m_paths.size(), 1);
    EXPECT_EQ(beyond->m_paths[0].m_fill0, 0);
    EXPECT_TRUE(Logged("style numbers beyond"));
    auto unknown_fill = [](BitWriter& out) {
        out.WriteU8(1), out.WriteU8(0x33), out.WriteU8(0);
    };
    EXPECT_EQ(Raw(32, unknown_fill, SquareRecords(1, 0), 1, 0)->m_paths.size(), 0);
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
    // A line from (0, 0) to (0, 100), and a curve from (0, 0) through (50, 100) to (100, 0): y = 50
    // at t = 0.5 and at its ends only in the limit; y = 0 has the roots t = 0 (counted) and t = 1
    // (not counted).
    swfplayer::path straight, curve;
    straight.m_edges.push_back(swfplayer::edge(0, 100, 0, 100));
    curve.m_edges.push_back(swfplayer::edge(50, 100, 100, 0));
    const struct {
        const swfplayer::path& path;
        float x, y;
        bool inside;
    } path_rows[] = {{straight, -5, 0, false}, {straight, -5, 100, true}, {curve, -10, 0, true},
                     {curve, 50, 0, false},    {curve, -10, 50, false},   {curve, 50, 40, true}};
    for (const auto& row : path_rows) {
        EXPECT_EQ(row.path.point_test(row.x, row.y), row.inside) << row.x << ", " << row.y;
    }
}

TEST_F(ShapeTest, point_test_agrees_with_the_triangles_of_straight_shapes) {
    // A random star-shaped polygon, clockwise on screen with its inside on the right (fill 1).
    std::mt19937 rng(11);
    std::uniform_int_distribution<int> radius(200, 500);
    ShapeBuilder b;
    b.SetFillStyle1(b.AddFillStyle(swfkit::FillStyle::Solid(kRed)));
    const int corners = 40;
    b.MoveTo(1000, 500);
    for (int i = 1; i < corners; i++) {
        const double angle = 2.0 * 3.14159265358979 * i / corners;
        const int r = radius(rng);
        b.LineTo(500 + static_cast<int>(r * std::cos(angle)), 500 + static_cast<int>(r * std::sin(angle)));
    }
    b.LineTo(1000, 500);
    auto shape = Built(b, 1);
    Show(*shape);
    std::vector<float> t = Triangles(*shape->get_cached_meshes()[0], 0);
    rng.seed(7);
    std::uniform_int_distribution<int> coordinate(-100, 1100);
    for (int i = 0; i < 2000; i++) {
        const float x = coordinate(rng) + 0.5f;  // never on an edge
        const float y = coordinate(rng) + 0.5f;
        int covered = 0;
        for (size_t k = 0; k + 5 < t.size(); k += 6) {
            auto side = [&](int a, int b) {
                return (t[k + b] - t[k + a]) * (y - t[k + a + 1]) - (t[k + b + 1] - t[k + a + 1]) * (x - t[k + a]);
            };
            const float s0 = side(0, 2), s1 = side(2, 4), s2 = side(4, 0);
            covered += (s0 > 0 && s1 > 0 && s2 > 0) || (s0 < 0 && s1 < 0 && s2 < 0);
        }
        ASSERT_EQ(shape->point_test_local(x, y), covered == 1) << x << ", " << y;
    }
}

TEST_F(ShapeTest, mesh_sets_are_chosen_per_scale_and_built_only_when_none_fits) {
    auto shape = Built(RedSquare(0, 0, 1000), 1);
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
        Show(*shape, step.scale);
        std::vector<float> tolerances;
        for (const auto& set : shape->get_cached_meshes()) {
            tolerances.push_back(set->get_error_tolerance());
        }
        EXPECT_EQ(tolerances, step.tolerances) << "scale " << step.scale;
    }
    EXPECT_EQ(m_render.with_prefix("draw_triangle_list").size(), 5u);
    EXPECT_EQ(shape_character_def::wanted_tolerance(1e9f, 1.0f), swfplayer::min_error_tolerance);
    EXPECT_EQ(shape_character_def::wanted_tolerance(1.0f, 0.0f), 1e6f);
    for (auto [set, got] : {std::pair{0.0f, 1e-6f}, {1e9f, 1e6f}, {0.5f, 0.5f}}) {
        swfplayer::set_curve_max_pixel_error(set);
        EXPECT_EQ(swfplayer::get_curve_max_pixel_error(), got);
    }
}

TEST_F(ShapeTest, display_draws_each_layer_fills_then_lines) {
    ShapeBuilder b;
    const int red = b.AddFillStyle(swfkit::FillStyle::Solid(kRed)),
              blue = b.AddFillStyle(swfkit::FillStyle::Solid(kBlue));
    b.SetFillStyle0(red);
    b.SetLineStyle(b.AddLineStyle({40, {0, 255, 0, 255}}));
    Square(b, 0, 0, 100);
    b.SetFillStyle0(blue);
    Square(b, 500, 0, 100);
    auto shape = Built(b, 3);
    Show(*shape);
    std::vector<std::string> expected = {"set_matrix", "set_cxform"};
    for (const char* colour : {"255,0,0,255", "0,0,255,255"}) {
        expected.insert(expected.end(), {std::string("fill_style_color 0 ") + colour, "draw_triangle_list 6"});
    }
    for (int square = 0; square < 2; square++) {
        expected.insert(expected.end(),
                        {"line_style_color 0,255,0,255", "line_style_width 40.000000", "draw_line_strip 5"});
    }
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

// A ring of curves with a curved hole, every path outlined so that the strips give the outline
// the oracle judges each scale's triangles against.
TEST_F(ShapeTest, kit_shapes_with_curves_and_holes_triangulate_faithfully_at_every_scale) {
    ShapeBuilder b;
    b.SetFillStyle1(b.AddFillStyle(swfkit::FillStyle::Solid(kRed)));
    b.SetLineStyle(b.AddLineStyle({20, kBlue}));
    b.MoveTo(0, -4000);
    for (auto [x, y] : {std::pair{4000, -4000}, {4000, 4000}, {-4000, 4000}, {-4000, -4000}}) {
        b.CurveTo(x, y, x == y ? 0 : x, x == y ? y : 0);  // past the corner to the next axis
    }
    b.MoveTo(0, -1500);
    b.CurveTo(-1500, -1500, -1500, 0);
    b.CurveTo(-1500, 1500, 0, 1500);
    b.CurveTo(1000, 1500, 1500, 0);
    b.LineTo(0, -1500);
    auto shape = Built(b, 3);
    for (float scale : {0.05f, 0.3f, 1.0f, 4.0f, 20.0f}) {
        Show(*shape, scale);
    }
    ASSERT_EQ(shape->get_cached_meshes().size(), 5u);
    size_t previous_points = 0;
    for (const auto& set : shape->get_cached_meshes()) {
        std::vector<std::vector<float>> rings = StripRings(*set);
        ASSERT_EQ(rings.size(), 2u);
        auto report = testing_support::CoverageOracle(rings).Check(Triangles(*set, 0));
        EXPECT_TRUE(report.Faithful()) << set->get_error_tolerance() << ": " << report.Describe();
        EXPECT_GE(rings[0].size() + rings[1].size(), previous_points) << "finer sets have more points";
        previous_points = rings[0].size() + rings[1].size();
    }
}

TEST_F(ShapeTest, coordinates_beyond_sixteen_bits_clamp) {
    auto shape = Built(RedSquare(30000, -40000, 10000), 1);
    Show(*shape);
    std::vector<float> t = Triangles(*shape->get_cached_meshes()[0], 0);
    ASSERT_FALSE(t.empty());
    for (size_t i = 0; i < t.size(); i += 2) {
        EXPECT_TRUE(t[i] == 30000 || t[i] == 32767) << t[i];
        EXPECT_TRUE(t[i + 1] == -32768 || t[i + 1] == -30000) << t[i + 1];
    }
    EXPECT_EQ(swfplayer::to_mesh_coord(std::nanf("")), 0);
    EXPECT_EQ(swfplayer::to_mesh_coord(-12.9f), -12);
}

// The cache records of a shape (their layout is pinned by the cache file tests): they read back
// into a fresh definition, which then draws from them, and damaged ones are refused.
TEST_F(ShapeTest, caches_round_trip_and_damaged_ones_are_refused_without_harm) {
    auto shape = Built(BridgedHole(), 3);
    for (float scale : {0.5f, 3.0f, 30.0f}) {
        Show(*shape, scale);
    }
    auto cache_of = [](shape_character_def& from) {
        base_file out(swfplayer::memory_buffer);
        from.output_cached_data(&out, 0);
        swfkit::Bytes bytes(out.get_position());
        out.set_position(0);
        out.read_bytes(bytes.data(), static_cast<int>(bytes.size()));
        return bytes;
    };
    auto read = [&](const swfkit::Bytes& bytes, shape_character_def& into) {
        base_file in(swfplayer::memory_buffer, static_cast<int>(bytes.size()), bytes.data());
        return into.input_cached_data(&in);
    };
    const swfkit::Bytes good = cache_of(*shape);
    auto copy = Built(BridgedHole(), 3);
    ASSERT_TRUE(read(good, *copy));
    EXPECT_EQ(cache_of(*copy), good);
    Show(*copy, 3.0f);  // a cached scale builds nothing
    EXPECT_EQ(copy->get_cached_meshes().size(), 3u);
    for (size_t cut = 0; cut < good.size(); cut++) {
        ASSERT_FALSE(read(swfkit::Bytes(good.begin(), good.begin() + cut), *Built(BridgedHole(), 3))) << cut;
    }
    // Every 32-bit field overwritten by values no writer makes.
    for (size_t at = 0; at + 4 <= good.size(); at++) {
        for (uint32_t bad : {0xFFFFFFFFu, 0x7FFFFFFFu, 0x7FC00000u /* NaN */}) {
            swfkit::Bytes bytes = good;
            for (int i = 0; i < 4; i++) {
                bytes[at + i] = static_cast<uint8_t>(bad >> (8 * i));
            }
            read(bytes, *Built(BridgedHole(), 3));  // may succeed where the field was coordinates; must not crash
        }
    }
}

// With verbose parse logging on, each shape logs its id and then "  bound rect:" followed by its
// bounds; each morph shape logs its own loader's line.
TEST_F(ShapeTest, the_tag_table_loads_every_shape_and_morph_tag_with_its_verbose_lines) {
    swfplayer::register_shape_loaders();
    swfkit::Movie movie(8, {0, 2000, 0, 2000}, 12.0);
    for (int version = 1; version <= 4; version++) {
        movie.Tags().DefineShape(static_cast<uint16_t>(version), RedSquare(0, 0, 100), version);
    }
    for (int version = 1; version <= 2; version++) {
        movie.Tags().Tag(
            version == 1 ? 46 : 84,
            swfkit::DefineMorphShapeBody(static_cast<uint16_t>(10 + version),
                                         {{swfkit::FillStyle::Solid(kRed), swfkit::FillStyle::Solid(kBlue)}}, {},
                                         SquareRecords(1, 0), SquareRecords(1, 0), version));
    }
    movie.Tags().ShowFrame();
    swfplayer::set_verbose_parse(true);
    auto def = LoadMovie(movie.Write(false));
    swfplayer::set_verbose_parse(false);
    ASSERT_TRUE(def);
    const std::vector<std::string>& log = Log();
    for (int id = 1; id <= 4; id++) {
        // The bound follows the shape's own reading lines, before the next shape's.
        auto line = std::find(log.begin(), log.end(), "  shape_loader: id = " + std::to_string(id) + "\n");
        auto bound = std::find(line, log.end(), "  bound rect:");
        ASSERT_TRUE(log.end() - bound > 1) << id;
        EXPECT_EQ(bound[1], "xmin = 0, ymin = 0, xmax = 5, ymax = 5\n");
        EXPECT_TRUE(std::none_of(line + 1, bound, [](const std::string& s) { return s.find("  shape_loader") == 0; }));
    }
    EXPECT_EQ(CountLogged("  bound rect:"), 4);
    for (int id : {11, 12}) {
        EXPECT_EQ(CountLogged("  shape_morph_loader: id = " + std::to_string(id) + "\n"), 1) << id;
        EXPECT_EQ(CountLogged("  shape_loader: id = " + std::to_string(id)), 0) << id;
    }
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
