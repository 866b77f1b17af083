// Movies drawn through the game's own load path (FlashMovie with its precompute and cache file,
// then the OpenGL handler) into a real window, every pixel held to an even-odd point test of the
// outlines: shapes written the way other SWF writers write them (fill style 0 only, contours
// either way), glyph outlines with counters as shapes and as text, a morph, a mask, regions of
// two fills sharing edges; then alpha bitmaps and gradients, pixel by pixel.
#include "flash/FlashMovie.h"
#include "swfplayer/main/loading/movie_def_impl.h"
#include "swfplayer/main/player/root.h"
#include "swfplayer/main/shapes/shape_character_def.h"
#include "swfplayer/main/text/font.h"
#include "tests/flash/FlashTestKit.h"
#include "tests/support/EvenOddOutlines.h"
#include "tools/swfkit/Bitmaps.h"
#include "tools/swfkit/FontBuilder.h"
#include "tools/swfkit/Movie.h"
#include "tools/swfkit/ShapeBuilder.h"
#include "tools/swfkit/TextWriter.h"

#include <algorithm>
#include <cmath>
#include <filesystem>
#include <functional>
#include <optional>
#include <sstream>
#include <tuple>

namespace flash_testing {
namespace {

using swfplayer::shape_character_def;

const Pixel kBlack{0, 0, 0}, kGreen{0, 255, 0}, kRed{255, 0, 0}, kBlue{0, 0, 255};
const swfkit::Color kGreenFill{0, 255, 0, 255}, kRedFill{255, 0, 0, 255}, kBlueFill{0, 0, 255, 255};

// Where the outlines' box 0..100 lies in the window: its corner and pixels per unit.
constexpr double kBoxX = 60.0, kBoxY = 20.0, kBoxScale = 2.0;

int32_t BoxTwips(float unit, double corner) {
    return static_cast<int32_t>(std::lround((corner + unit * kBoxScale) * kTwips));
}

// Line segments in window pixels filled by the even-odd rule: which pixel centres lie inside,
// and which lie within 1.5 pixels of an edge (left unjudged: edges are antialiased).
class Outline {
public:
    void Add(double x0, double y0, double x1, double y1) { m_Segments.push_back({x0, y0, x1, y1}); }
    // A ring of the outlines' box, closed.
    void AddBoxRing(const std::vector<float>& ring, double t = 1.0, const std::vector<float>* to = nullptr) {
        const size_t n = ring.size() / 2;
        auto at = [&](size_t i, int c) {
            const double from = ring[2 * (i % n) + c];
            const double value = to ? from + ((*to)[2 * (i % n) + c] - from) * t : from;
            return (c == 0 ? kBoxX : kBoxY) + value * kBoxScale;
        };
        for (size_t i = 0; i < n; i++) {
            Add(at(i, 0), at(i, 1), at(i + 1, 0), at(i + 1, 1));
        }
    }
    // The paths of a shape (twips), placed by m: curves cut into 16 chords each.
    void AddShape(const shape_character_def& shape, const swfplayer::matrix& m) {
        auto place = [&](double x, double y) {
            return std::pair((m.m[0][0] * x + m.m[0][1] * y + m.m[0][2]) / kTwips,
                             (m.m[1][0] * x + m.m[1][1] * y + m.m[1][2]) / kTwips);
        };
        for (int i = 0; i < shape.m_paths.size(); i++) {
            const swfplayer::path& p = shape.m_paths[i];
            double x = p.m_ax, y = p.m_ay;
            for (int k = 0; k < p.m_edges.size(); k++) {
                const swfplayer::edge& e = p.m_edges[k];
                const int pieces = e.is_straight() ? 1 : 16;
                auto on_curve = [&](double t) {
                    return place((1 - t) * (1 - t) * x + 2 * t * (1 - t) * e.m_cx + t * t * e.m_ax,
                                 (1 - t) * (1 - t) * y + 2 * t * (1 - t) * e.m_cy + t * t * e.m_ay);
                };
                for (int j = 0; j < pieces; j++) {
                    const auto [fx, fy] = on_curve(static_cast<double>(j) / pieces);
                    const auto [tx, ty] = on_curve(static_cast<double>(j + 1) / pieces);
                    Add(fx, fy, tx, ty);
                }
                x = e.m_ax;
                y = e.m_ay;
            }
        }
    }

    // Readies the tests over the window.
    void Finish() {
        m_Crossings.assign(kHeight, {});
        m_Near.assign(kWidth * kHeight, false);
        for (const Segment& s : m_Segments) {
            for (int y = 0; y < kHeight; y++) {
                const double cy = y + 0.5;
                if ((s.y0 > cy) != (s.y1 > cy)) {
                    m_Crossings[y].push_back(s.x0 + (cy - s.y0) * (s.x1 - s.x0) / (s.y1 - s.y0));
                }
            }
            MarkNear(s);
        }
        for (auto& row : m_Crossings) {
            std::sort(row.begin(), row.end());
        }
    }
    bool Inside(int x, int y) const {
        const std::vector<double>& row = m_Crossings[y];
        return (row.end() - std::upper_bound(row.begin(), row.end(), x + 0.5)) % 2 == 1;
    }
    bool NearEdge(int x, int y) const { return m_Near[y * kWidth + x]; }

private:
    struct Segment {
        double x0, y0, x1, y1;
    };
    void MarkNear(const Segment& s) {
        const double length = std::hypot(s.x1 - s.x0, s.y1 - s.y0);
        const int steps = static_cast<int>(length / 0.5) + 1;
        for (int i = 0; i <= steps; i++) {
            const double px = s.x0 + (s.x1 - s.x0) * i / steps, py = s.y0 + (s.y1 - s.y0) * i / steps;
            for (int y = static_cast<int>(py) - 2; y <= static_cast<int>(py) + 2; y++) {
                for (int x = static_cast<int>(px) - 2; x <= static_cast<int>(px) + 2; x++) {
                    if (x >= 0 && y >= 0 && x < kWidth && y < kHeight && std::hypot(x + 0.5 - px, y + 0.5 - py) < 1.8) {
                        m_Near[y * kWidth + x] = true;
                    }
                }
            }
        }
    }

    std::vector<Segment> m_Segments;
    std::vector<std::vector<double>> m_Crossings;  // per pixel row, at its centre line
    std::vector<bool> m_Near;
};

// Closed rings of the outlines' box as moves and lines.
void AddBoxRings(swfkit::ShapeBuilder* b, const std::vector<std::vector<float>>& rings) {
    for (const std::vector<float>& ring : rings) {
        b->MoveTo(BoxTwips(ring[0], kBoxX), BoxTwips(ring[1], kBoxY));
        for (size_t i = 2; i <= ring.size(); i += 2) {
            b->LineTo(BoxTwips(ring[i % ring.size()], kBoxX), BoxTwips(ring[(i + 1) % ring.size()], kBoxY));
        }
    }
}

// A rectangle of window pixels as a move and lines.
void AddRectangle(swfkit::ShapeBuilder* b, int x0, int y0, int x1, int y1) {
    b->MoveTo(x0 * kTwips, y0 * kTwips);
    for (auto [x, y] : {std::pair{x1, y0}, {x1, y1}, {x0, y1}, {x0, y0}}) {
        b->LineTo(x * kTwips, y * kTwips);
    }
}

// A shape of one solid fill from rings of the outlines' box, written with fill style 0 only.
swfkit::ShapeBuilder BoxShape(const std::vector<std::vector<float>>& rings, const swfkit::Color& colour,
                              bool reverse_contours) {
    swfkit::ShapeBuilder b;
    b.SetFillStyle1(b.AddFillStyle(swfkit::FillStyle::Solid(colour)));
    AddBoxRings(&b, rings);
    return b.WithFillStyle0Only(reverse_contours);
}

swfkit::Movie WindowMovie() {
    return swfkit::Movie(8, {0, kWidth * kTwips, 0, kHeight * kTwips}, 12.0);
}

swfkit::Placement Place(uint16_t depth, uint16_t id) {
    swfkit::Placement p;
    p.depth = depth;
    p.characterId = id;
    return p;
}

class FillWindowTest : public WindowTest {
protected:
    // Loads the movie through the game's wrapper and draws it over black; the back buffer after.
    std::vector<uint8_t> Show(const std::string& name, const swfkit::Bytes& bytes) {
        Write(name, bytes);
        m_Movie.emplace(name.c_str());
        EXPECT_TRUE(m_Movie->GetRoot()) << name;
        m_Window->clear(sf::Color::Black);
        m_Window->draw(*m_Movie);
        return ReadAll();
    }
    static Pixel At(const std::vector<uint8_t>& all, int x, int y) {
        const uint8_t* p = &all[4 * ((kHeight - 1 - y) * kWidth + x)];
        return {p[0], p[1], p[2]};
    }
    swfplayer::movie_def_impl* Definition() const { return m_Movie->GetRoot()->get_movie_definition(); }
    shape_character_def* Shape(int id) const {
        return dynamic_cast<shape_character_def*>(Definition()->get_character_def(id));
    }

    // Every pixel away from the outline's edges against the even-odd rule: inside shows
    // colour(x, y), outside the background. Returns the pixels judged inside.
    int ExpectPixels(const std::vector<uint8_t>& all, const Outline& outline, const std::string& what,
                     const std::function<Pixel(int, int)>& inside, Pixel outside = kBlack) {
        int wrong = 0;
        int judged_inside = 0;
        std::ostringstream first;
        for (int y = 0; y < kHeight; y++) {
            for (int x = 0; x < kWidth; x++) {
                if (outline.NearEdge(x, y)) {
                    continue;
                }
                const bool in = outline.Inside(x, y);
                judged_inside += in ? 1 : 0;
                const Pixel want = in ? inside(x, y) : outside;
                const Pixel got = At(all, x, y);
                bool same = true;
                for (int c = 0; c < 3; c++) {
                    same = same && std::abs(got[c] - want[c]) <= 2;
                }
                if (!same && wrong++ < 3) {
                    first << " (" << x << "," << y << ") " << got[0] << "," << got[1] << "," << got[2] << " not "
                          << want[0] << "," << want[1] << "," << want[2] << ";";
                }
            }
        }
        EXPECT_EQ(wrong, 0) << what << ":" << first.str();
        return judged_inside;
    }

    std::optional<FlashMovie> m_Movie;
};

// Every outline of the table, its contours written with fill style 0 only as given, each second
// one turned, and all turned by the kit: the window shows the even-odd region, and the shape's
// point test agrees with it.
TEST_F(FillWindowTest, outlines_in_fill_style_0_fill_the_even_odd_way_whatever_their_direction) {
    int movies = 0;
    for (const testing_support::EvenOddOutline& o : testing_support::EvenOddOutlines()) {
        Outline outline;
        for (const std::vector<float>& ring : o.rings) {
            outline.AddBoxRing(ring);
        }
        outline.Finish();
        for (int variant = 0; variant < 3; variant++) {
            std::vector<std::vector<float>> rings = o.rings;
            for (size_t r = 0; variant == 1 && r < rings.size(); r += 2) {
                rings[r] = testing_support::Reversed(rings[r]);
            }
            swfkit::Movie movie = WindowMovie();
            movie.Tags().DefineShape(1, BoxShape(rings, kGreenFill, variant == 2), 3).PlaceObject2(Place(1, 1));
            const std::string what = std::string(o.name) + ", variant " + std::to_string(variant);
            const std::vector<uint8_t> all = Show("outline" + std::to_string(movies++) + ".swf", movie.Write(false));
            ExpectPixels(all, outline, what, [](int, int) { return kGreen; });
            shape_character_def* shape = Shape(1);
            ASSERT_TRUE(shape) << what;
            int disagree = 0;
            for (int y = 1; y < kHeight; y += 3) {
                for (int x = 1; x < kWidth; x += 3) {
                    if (!outline.NearEdge(x, y)) {
                        disagree +=
                            shape->point_test_local((x + 0.5f) * kTwips, (y + 0.5f) * kTwips) != outline.Inside(x, y);
                    }
                }
            }
            EXPECT_EQ(disagree, 0) << what << ": point test";
        }
    }
}

// "0" and "B" of the game's font as shapes, their contours in fill style 0 both ways round, and
// as static text of a DefineFont2 whose glyphs are written that way: the counters stay empty.
TEST_F(FillWindowTest, glyph_outlines_with_counters_fill_right_as_shapes_and_as_text) {
    swfkit::EmbeddedFont font;
    ASSERT_TRUE(swfkit::LoadTrueTypeFont(TEST_FONT, "0B", &font));
    ASSERT_EQ(font.glyphs.size(), 2u);
    swfplayer::matrix placements[2];
    for (int g = 0; g < 2; g++) {
        placements[g].concatenate_translation((20.0f + 150.0f * g) * kTwips, 200.0f * kTwips);
        placements[g].concatenate_scale(3.5f);
    }
    for (bool reverse : {false, true}) {
        swfkit::Movie movie = WindowMovie();
        for (int g = 0; g < 2; g++) {
            swfkit::ShapeBuilder glyph = font.glyphs[g];
            glyph.AddFillStyle(swfkit::FillStyle::Solid(kGreenFill));
            movie.Tags().DefineShape(static_cast<uint16_t>(g + 1), glyph.WithFillStyle0Only(reverse), 3);
            swfkit::Placement place = Place(static_cast<uint16_t>(g + 1), static_cast<uint16_t>(g + 1));
            place.matrix = swfkit::Matrix{3.5,
                                          3.5,
                                          0.0,
                                          0.0,
                                          static_cast<int32_t>(placements[g].m[0][2]),
                                          static_cast<int32_t>(placements[g].m[1][2])};
            movie.Tags().PlaceObject2(place);
        }
        const std::vector<uint8_t> all = Show(reverse ? "glyphs_reversed.swf" : "glyphs.swf", movie.Write(false));
        Outline outline;
        for (int g = 0; g < 2; g++) {
            ASSERT_TRUE(Shape(g + 1));
            outline.AddShape(*Shape(g + 1), placements[g]);
        }
        outline.Finish();
        EXPECT_GT(ExpectPixels(all, outline, reverse ? "glyph shapes turned" : "glyph shapes",
                               [](int, int) { return kGreen; }),
                  3000);
    }

    // The same glyphs as text: DefineFont2 with fill style 0 only, drawn in green.
    swfkit::EmbeddedFont written = font;
    for (swfkit::ShapeBuilder& glyph : written.glyphs) {
        glyph = glyph.WithFillStyle0Only(true);
    }
    swfkit::Movie movie = WindowMovie();
    movie.Tags().Tag(swfplayer::tag_define_font2, swfkit::DefineFont2Body(1, written, false, false, true));
    swfkit::TextRun run = swfkit::RunOf(written, 1, "0B", 120 * kTwips);
    run.color = kGreenFill;
    run.x = 20 * kTwips;
    run.y = 180 * kTwips;
    movie.Tags()
        .Tag(swfplayer::tag_define_text,
             swfkit::DefineTextBody(2, {0, kWidth * kTwips, 0, kHeight * kTwips}, {}, {run}, 1))
        .PlaceObject2(Place(1, 2));
    const std::vector<uint8_t> all = Show("text.swf", movie.Write(false));
    auto* fnt = dynamic_cast<swfplayer::font*>(Definition()->get_font(1));
    ASSERT_TRUE(fnt);
    Outline outline;
    float x = *run.x;
    for (const swfkit::TextGlyph& g : run.glyphs) {
        swfplayer::matrix m;
        m.concatenate_translation(x, static_cast<float>(*run.y));
        m.concatenate_scale(fnt->get_scale(run.height));
        ASSERT_TRUE(fnt->get_glyph_by_index(static_cast<int>(g.index)));
        outline.AddShape(*fnt->get_glyph_by_index(static_cast<int>(g.index)), m);
        x += static_cast<float>(g.advance);
    }
    outline.Finish();
    EXPECT_GT(ExpectPixels(all, outline, "glyphs as text", [](int, int) { return kGreen; }), 2000);
}

// A morph between two squares with holes, every contour in fill style 0 and each hole running
// the same way as its outline, shown halfway.
TEST_F(FillWindowTest, a_morph_between_such_shapes_fills_its_blend_the_even_odd_way) {
    using testing_support::Rectangle;
    const std::vector<std::vector<float>> start = {Rectangle(0, 0, 60, 60), Rectangle(15, 15, 45, 45)};
    const std::vector<std::vector<float>> end = {Rectangle(40, 40, 100, 100), Rectangle(50, 60, 90, 90)};
    auto builder = [](const std::vector<std::vector<float>>& rings) {
        swfkit::ShapeBuilder b;
        b.SetFillStyle0(1);
        AddBoxRings(&b, rings);
        return b;
    };
    swfkit::Movie movie = WindowMovie();
    const swfkit::FillStyle green = swfkit::FillStyle::Solid(kGreenFill);
    movie.Tags().Tag(swfplayer::tag_define_morph_shape,
                     swfkit::DefineMorphShapeBody(1, {{green, green}}, {}, builder(start), builder(end), 1));
    swfkit::Placement place = Place(1, 1);
    place.ratio = 32768;
    movie.Tags().PlaceObject2(place);
    const std::vector<uint8_t> all = Show("morph.swf", movie.Write(false));
    const double t = 32768.0 / 65535.0;
    Outline outline;
    for (size_t r = 0; r < start.size(); r++) {
        outline.AddBoxRing(start[r], t, &end[r]);
    }
    outline.Finish();
    EXPECT_GT(ExpectPixels(all, outline, "morph at half", [](int, int) { return kGreen; }), 3000);
}

// A mask whose star is written clockwise (and the other way) in fill style 0: the red layer
// under it shows inside the star's even-odd region only.
TEST_F(FillWindowTest, a_mask_written_either_way_shows_what_lies_under_it) {
    const std::vector<float> star = {50, 0, 79, 90, 2, 35, 98, 35, 21, 90};
    for (bool reverse : {false, true}) {
        swfkit::Movie movie = WindowMovie();
        swfkit::ShapeBuilder red;
        red.SetFillStyle0(red.AddFillStyle(swfkit::FillStyle::Solid(kRedFill)));
        AddRectangle(&red, 0, 0, kWidth, kHeight);
        movie.Tags().DefineShape(1, BoxShape({star}, kGreenFill, reverse), 3).DefineShape(2, red, 3);
        swfkit::Placement mask = Place(1, 1);
        mask.clipDepth = 2;
        movie.Tags().PlaceObject2(mask).PlaceObject2(Place(2, 2));
        const std::vector<uint8_t> all = Show(reverse ? "mask_reversed.swf" : "mask.swf", movie.Write(false));
        Outline outline;
        outline.AddBoxRing(star);
        outline.Finish();
        EXPECT_GT(ExpectPixels(all, outline, reverse ? "mask turned" : "mask", [](int, int) { return kRed; }), 3000);
    }
}

// Two regions of two fills as authoring tools write them: the shared edge carries the left
// region's fill on one side and the right's on the other, the outer edges one fill each, every
// edge with its region on the side its fill names.
TEST_F(FillWindowTest, regions_sharing_an_edge_with_fill_0_and_fill_1_both_fill) {
    swfkit::ShapeBuilder b;
    const int left = b.AddFillStyle(swfkit::FillStyle::Solid(kRedFill));
    const int right = b.AddFillStyle(swfkit::FillStyle::Solid(kBlueFill));
    auto to = [&](float u, float v) {
        b.LineTo(BoxTwips(u, kBoxX), BoxTwips(v, kBoxY));
    };
    b.SetFillStyle0(left);
    b.SetFillStyle1(right);
    b.MoveTo(BoxTwips(50, kBoxX), BoxTwips(0, kBoxY));
    to(50, 100);
    b.SetFillStyle0(left);
    b.SetFillStyle1(0);
    to(0, 100);
    to(0, 0);
    to(50, 0);
    b.SetFillStyle0(0);
    b.SetFillStyle1(right);
    b.MoveTo(BoxTwips(50, kBoxX), BoxTwips(100, kBoxY));
    to(100, 100);
    to(100, 0);
    to(50, 0);
    swfkit::Movie movie = WindowMovie();
    movie.Tags().DefineShape(1, b, 3).PlaceObject2(Place(1, 1));
    const std::vector<uint8_t> all = Show("regions.swf", movie.Write(false));
    Outline outline;
    outline.AddBoxRing(testing_support::Rectangle(0, 0, 100, 100));
    outline.Finish();
    // The shared edge runs between two pixel columns, each all of its own region: no gap.
    const double middle = kBoxX + 50 * kBoxScale;
    EXPECT_GT(ExpectPixels(all, outline, "two regions", [&](int x, int) { return x + 0.5 < middle ? kRed : kBlue; }),
              3000);
    // The point test sums each fill's crossings over all its paths, open ones included.
    ASSERT_TRUE(Shape(1));
    for (auto [u, v, inside] : {std::tuple{25, 50, true}, {75, 50, true}, {110, 50, false}, {50, 110, false}}) {
        EXPECT_EQ(Shape(1)->point_test_local(BoxTwips(u, kBoxX), BoxTwips(v, kBoxY)), inside) << u << "," << v;
    }
}

// A DefineBitsLossless2 bitmap as every writer writes it (premultiplied) with alpha 0, 128, 255
// and between, shown through clipped bitmap fills over white and over black: at each texel's
// centre the window shows straight-alpha blending of the colour written, within 2 levels.
TEST_F(FillWindowTest, alpha_bitmaps_blend_their_straight_colour_over_white_and_black) {
    const std::vector<swfkit::Color> texels = {{255, 0, 0, 0},     {255, 0, 0, 128}, {255, 0, 0, 255},
                                               {0, 0, 255, 128},   {0, 255, 0, 128}, {255, 255, 255, 128},
                                               {40, 80, 120, 200}, {10, 200, 30, 1}};
    constexpr int kTexel = 32;                         // pixels
    const int origins[2][2] = {{20, 20}, {180, 130}};  // over white, over black
    swfkit::ShapeBuilder white;
    white.SetFillStyle0(white.AddFillStyle(swfkit::FillStyle::Solid({255, 255, 255, 255})));
    AddRectangle(&white, 0, 0, kWidth, 110);
    swfkit::ShapeBuilder pictures;
    for (const auto& origin : origins) {
        // A texel is kTexel pixels wide; its centre falls on a pixel's centre.
        const swfkit::Matrix texels_in_twips{kTexel * kTwips,
                                             kTexel * kTwips,
                                             0.0,
                                             0.0,
                                             origin[0] * kTwips + kTwips / 2,
                                             origin[1] * kTwips + kTwips / 2};
        pictures.SetFillStyle0(pictures.AddFillStyle(swfkit::FillStyle::Bitmap(0x41, 1, texels_in_twips)));
        AddRectangle(&pictures, origin[0], origin[1], origin[0] + 4 * kTexel, origin[1] + 2 * kTexel);
    }
    swfkit::Movie movie = WindowMovie();
    movie.Tags()
        .Tag(swfplayer::tag_define_bits_lossless2, swfkit::DefineBitsLossless2Body(1, 4, 2, texels))
        .DefineShape(2, white, 3)
        .DefineShape(3, pictures, 3)
        .PlaceObject2(Place(1, 2))
        .PlaceObject2(Place(2, 3));
    const std::vector<uint8_t> all = Show("alpha.swf", movie.Write(false));
    for (int i = 0; i < 2; i++) {
        const int background = i == 0 ? 255 : 0;
        for (size_t t = 0; t < texels.size(); t++) {
            const swfkit::Color& c = texels[t];
            const int x = origins[i][0] + kTexel * static_cast<int>(t % 4) + kTexel / 2;
            const int y = origins[i][1] + kTexel * static_cast<int>(t / 4) + kTexel / 2;
            auto blend = [&](int channel) {
                return static_cast<int>(std::lround((channel * c.a + background * (255 - c.a)) / 255.0));
            };
            ExpectNear(At(all, x, y), {blend(c.r), blend(c.g), blend(c.b)}, 2,
                       (i == 0 ? "over white, texel " : "over black, texel ") + std::to_string(t));
        }
    }
}

// The colour of a gradient of straight records at ratio (0..255).
Pixel GradientAt(const std::vector<swfkit::GradientStop>& stops, double ratio) {
    size_t i = 1;
    while (i + 1 < stops.size() && stops[i].ratio < ratio) {
        i++;
    }
    const swfkit::GradientStop& a = stops[i - 1];
    const swfkit::GradientStop& b = stops[i];
    const double f = std::clamp((ratio - a.ratio) / (b.ratio - a.ratio), 0.0, 1.0);
    auto mix = [&](int from, int to) {
        return static_cast<int>(std::lround(from + (to - from) * f));
    };
    return {mix(a.color.r, b.color.r), mix(a.color.g, b.color.g), mix(a.color.b, b.color.b)};
}

// A linear and a radial gradient loaded through the game's wrapper, first without a cache file
// (which the load writes) and then with it: both show their colour ramps, at both ends and in
// the middle, not one flat colour.
TEST_F(FillWindowTest, gradients_show_their_ramps_loaded_with_and_without_the_cache_file) {
    const std::vector<swfkit::GradientStop> linear = {{0, {255, 0, 0, 255}}, {255, {0, 0, 255, 255}}};
    const std::vector<swfkit::GradientStop> radial = {
        {0, {255, 255, 0, 255}}, {128, {255, 0, 255, 255}}, {255, {0, 255, 255, 255}}};
    // The gradient square spans 32768 twips; a linear one over 256 pixels from x = 20, a radial
    // one of radius 80 pixels around (160, 160).
    swfkit::ShapeBuilder bar;
    const double bar_scale = 256.0 * kTwips / 32768.0, disc_scale = 160.0 * kTwips / 32768.0;
    bar.SetFillStyle0(bar.AddFillStyle(
        swfkit::FillStyle::Linear({bar_scale, bar_scale, 0.0, 0.0, 148 * kTwips, 40 * kTwips}, linear)));
    AddRectangle(&bar, 20, 20, 276, 60);
    swfkit::ShapeBuilder disc;
    disc.SetFillStyle0(disc.AddFillStyle(
        swfkit::FillStyle::Radial({disc_scale, disc_scale, 0.0, 0.0, 160 * kTwips, 160 * kTwips}, radial)));
    AddRectangle(&disc, 80, 80, 240, 240);
    swfkit::Movie movie = WindowMovie();
    movie.Tags().DefineShape(1, bar, 3).DefineShape(2, disc, 3).PlaceObject2(Place(1, 1)).PlaceObject2(Place(2, 2));
    const swfkit::Bytes bytes = movie.Write(false);
    const std::filesystem::path cache = m_Dir / "gradients.swf.gsc";
    for (bool cached : {false, true}) {
        const std::string how = cached ? "with the cache file" : "without a cache file";
        ASSERT_EQ(std::filesystem::exists(cache), cached) << how;
        Write("gradients.swf", bytes);
        if (cached) {
            std::filesystem::last_write_time(cache, std::filesystem::last_write_time(m_Dir / "gradients.swf"));
        }
        const std::vector<uint8_t> all = Show("gradients.swf", bytes);
        // Linear: texel s of the 256 lies under pixel 20 + s.
        for (int x : {20, 147, 275}) {
            ExpectNear(At(all, x, 40), GradientAt(linear, x - 20), 3, how + ", linear at x " + std::to_string(x));
        }
        // Radial: the ratio grows with the distance from the centre, 255.5 a radius.
        ExpectNear(At(all, 159, 159), GradientAt(radial, 5), 6, how + ", radial centre");
        for (int distance : {40, 70}) {
            ExpectNear(At(all, 160 + distance, 159), GradientAt(radial, (distance + 0.5) / 80.0 * 255.5), 10,
                       how + ", radial at " + std::to_string(distance));
        }
        ExpectNear(At(all, 81, 81), GradientAt(radial, 255), 3, how + ", radial corner");
        EXPECT_TRUE(std::filesystem::exists(cache)) << how;
    }
}

}  // namespace
}  // namespace flash_testing
