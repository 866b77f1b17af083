#include "swfplayer/main/shapes/mesh_set.h"
#include "swfplayer/main/shapes/shape_character_def.h"
#include "swfplayer/main/text/glyph.h"
#include "tests/swfplayer/main/shapes/ShapesFixture.h"
#include "tests/swfplayer/main/text/TextFixture.h"

#include <gtest/gtest.h>

#include <cmath>

namespace text_test {
namespace {

using Tags = std::vector<std::pair<int, swfkit::Bytes>>;

swfkit::Bytes Font2(bool wideOffsets, bool wideCodes, bool layout, const swfkit::EmbeddedFont& kit = KitFont()) {
    return swfkit::DefineFont2Body(kFontId, kit, wideOffsets, wideCodes, layout);
}

class FontTest : public TextFixture {
protected:
    // The font of id 1 of a movie made of the given font tags.
    smart_ptr<font> Load(const Tags& tags) {
        swfkit::Movie movie(8, {0, 2000, 0, 2000}, 12.0);
        for (const auto& [type, body] : tags) {
            movie.Tags().Tag(type, body);
        }
        movie.Tags().ShowFrame();
        m_movie = LoadMovie(movie.Write(false));
        EXPECT_TRUE(m_movie);
        character_def* f = m_movie ? m_movie->get_font(kFontId) : nullptr;
        return f && f->is(AS_FONT) ? static_cast<font*>(f) : nullptr;
    }
};

TEST_F(FontTest, every_font_tag_finds_each_kit_character_with_its_outline_and_advance) {
    swfkit::EmbeddedFont renamed = KitFont(), shifted = KitFont();
    renamed.name = "Renamed";
    renamed.italic = true;
    for (uint16_t& code : shifted.codes) {
        code = static_cast<uint16_t>(code + 0x100);
    }
    const swfkit::Bytes name = {kFontId, 0, 'C', 'h', 'i', 'l', 'd', 0, '(', 'c', ')', 0};
    swfkit::Bytes zones = {kFontId, 0, 0x40};  // table hint 1
    for (size_t i = 0; i < KitFont().glyphs.size(); i++) {
        // Two zones of 1.0 as half floats, and the mask.
        zones.insert(zones.end(), {2, 0x00, 0x3C, 0x00, 0x3C, 0x00, 0x3C, 0x00, 0x3C, 3});
    }
    struct Case {
        Tags tags;
        bool wideCodes, layout;
        bool twentieths = false;  // alignment zones make a font of twentieths
        int codeShift = 0;        // font info after DefineFont2 replaces the code table
        std::string name = KitFont().name;
    };
    auto info = [&](int version, bool wide) {
        return Tags{{tag_define_font, swfkit::DefineFontBody(kFontId, renamed)},
                    {version == 1 ? tag_define_font_info : tag_define_font_info2,
                     DefineFontInfoBody(kFontId, renamed, version, wide)}};
    };
    const std::pair<int, swfkit::Bytes> font2 = {tag_define_font2, Font2(false, false, true)};
    const std::vector<Case> cases = {
        {{font2}, false, true},
        {{{tag_define_font2, Font2(true, false, true)}}, false, true},
        {{{tag_define_font2, Font2(false, true, false)}}, true, false},
        {{{tag_define_font3, Font2(true, true, true)}}, true, true},
        {{{tag_define_font3, Font2(false, false, false)}}, false, false},
        {info(1, false), false, false, false, 0, "Renamed"},
        {info(1, true), true, false, false, 0, "Renamed"},
        {info(2, false), false, false, false, 0, "Renamed"},
        {info(2, true), true, false, false, 0, "Renamed"},
        {{font2, {tag_define_font_info, DefineFontInfoBody(kFontId, shifted, 1, true)}}, true, true, false, 0x100},
        {{font2, {tag_define_font_name, name}}, false, true, false, 0, "Child"},
        {{{tag_define_font3, Font2(false, false, false)}, {tag_define_font_align_zones, zones}}, false, false, true}};
    for (const Case& c : cases) {
        SCOPED_TRACE(&c - cases.data());
        ClearLog();
        smart_ptr<font> f = Load(c.tags);
        ASSERT_TRUE(f);
        EXPECT_EQ(f->get_name(), c.name.c_str());
        EXPECT_EQ(f->is_bold(), KitFont().bold && c.name != "Child");  // DefineFontName clears it
        EXPECT_EQ(f->is_italic(), c.name == "Renamed");
        EXPECT_EQ(f->has_wide_codes(), c.wideCodes);
        EXPECT_EQ(f->get_ascent(), c.layout ? KitFont().ascent : 0);
        EXPECT_EQ(f->get_descent(), c.layout ? KitFont().descent : 0);
        EXPECT_EQ(f->is_twentieths(), c.twentieths);
        EXPECT_FLOAT_EQ(f->get_scale(1024.0f), c.twentieths ? 1.0f / 20.0f : 1.0f);
        EXPECT_FALSE(Logged("error"));
        // Each kit character is found by code with the kit's glyph index, an outline exactly when
        // the kit glyph has one, and the kit's advance (or the default without layout). Narrow
        // code tables keep the low byte of each code.
        const swfkit::EmbeddedFont& kit = KitFont();
        const float defaultAdvance = c.twentieths ? 10240.0f : 512.0f;
        ASSERT_EQ(f->get_glyph_count(), static_cast<int>(kit.glyphs.size()));
        EXPECT_EQ(f->get_code_count(), static_cast<int>(kit.codes.size()));
        for (size_t i = 0; i < kit.codes.size(); i++) {
            glyph g;
            const int code = (c.wideCodes ? kit.codes[i] : kit.codes[i] & 0xFF) + c.codeShift;
            ASSERT_TRUE(f->get_char_glyph(&g, code, 12)) << code;
            EXPECT_EQ(g.m_glyph_index, static_cast<int>(i));
            EXPECT_EQ(g.m_glyph_advance, c.layout ? kit.advances[i] : defaultAdvance) << code;
            ASSERT_TRUE(g.m_shape) << code;
            EXPECT_EQ(g.m_shape->m_paths.size() > 0, kit.glyphs[i].GetBounds().xMax > kit.glyphs[i].GetBounds().xMin);
        }
        for (int code : {'~', c.codeShift ? 'A' : '~'}) {
            glyph missing;
            EXPECT_FALSE(f->get_char_glyph(&missing, code, 12));
            EXPECT_EQ(missing.m_glyph_index, -1);
            EXPECT_EQ(missing.m_glyph_advance, c.layout ? 512.0f : defaultAdvance);
        }
    }
}

// DefineFontName gives the font its full name and clears the italic and bold flags the font's
// own tag set; with verbose parse logging on, its line opens the tag.
TEST_F(FontTest, a_font_name_renames_the_font_and_clears_its_style_flags) {
    swfkit::EmbeddedFont styled = KitFont();
    styled.italic = true;
    styled.bold = true;
    const std::pair<int, swfkit::Bytes> font2 = {tag_define_font2, Font2(false, false, true, styled)};
    smart_ptr<font> before = Load({font2});
    ASSERT_TRUE(before);
    EXPECT_TRUE(before->is_italic() && before->is_bold());
    set_verbose_parse(true);
    smart_ptr<font> f =
        Load({font2, {tag_define_font_name, {kFontId, 0, 'C', 'h', 'i', 'l', 'd', 0, '(', 'c', ')', 0}}});
    set_verbose_parse(false);
    ASSERT_TRUE(f);
    EXPECT_EQ(f->get_name(), "Child");
    EXPECT_FALSE(f->is_italic());
    EXPECT_FALSE(f->is_bold());
    EXPECT_EQ(CountLogged("\n  define_font_name\n"), 1);
}

TEST_F(FontTest, hostile_font_tags_are_reported_and_keep_what_is_sound) {
    // The code-table offset is the last u16 of the offset table (after id, flags, language, name
    // and count); one past the glyphs, the code table does not follow them.
    swfkit::Bytes shiftedCodes = Font2(false, false, true);
    shiftedCodes[2 + 1 + 1 + 1 + KitFont().name.size() + 2 + 2 * KitFont().glyphs.size()]++;
    smart_ptr<font> f = Load({{tag_define_font2, shiftedCodes}});
    ASSERT_TRUE(f);
    EXPECT_EQ(f->get_glyph_count(), static_cast<int>(KitFont().glyphs.size()));
    EXPECT_TRUE(f->get_glyph_by_index(1));
    glyph g;
    EXPECT_FALSE(f->get_char_glyph(&g, 'A', 12));
    EXPECT_EQ(f->get_code_count(), 0);
    EXPECT_TRUE(Logged("code table does not follow"));

    // Info for a font that is not there is skipped; a first offset of zero leaves no glyphs.
    Load({{tag_define_font_info, swfkit::DefineFontInfoBody(7, KitFont(), 1, false)}});
    EXPECT_TRUE(Logged("define_font_info_loader: can't find font w/ id 7"));
    smart_ptr<font> empty = Load({{tag_define_font, {1, 0, 0, 0}}});
    ASSERT_TRUE(empty);
    EXPECT_EQ(empty->get_glyph_count(), 0);

    // Every cut of a tag reads safely and keeps whole glyphs only.
    const swfkit::Bytes good = Font2(true, true, true);
    for (size_t cut = 2; cut < good.size(); cut += 7) {
        smart_ptr<font> part = Load({{tag_define_font2, swfkit::Bytes(good.begin(), good.begin() + cut)}});
        ASSERT_TRUE(part) << cut;
        EXPECT_LE(part->get_glyph_count(), static_cast<int>(KitFont().glyphs.size()));
        part->get_char_glyph(&g, 'A', 12);
        EXPECT_LE(g.m_glyph_index, part->get_glyph_count() - 1);
    }

    // Overlapping outlines read the tag a bounded number of times: 500 offsets all at one
    // outline, each of which would read it again.
    constexpr int kCount = 500;
    const swfkit::Bytes outline = KitFont().glyphs[static_cast<size_t>(KitFont().IndexOf('W'))].BuildRecords(1, 1, 0);
    swfkit::BitWriter body;
    body.WriteU16(kFontId);
    for (int i = 0; i < kCount; i++) {
        body.WriteU16(2 * kCount);
    }
    body.WriteBytes(outline);
    smart_ptr<font> overlapping = Load({{tag_define_font, body.GetBytes()}});
    ASSERT_TRUE(overlapping);
    ASSERT_EQ(overlapping->get_glyph_count(), kCount);
    int read = 0;
    for (int i = 0; i < kCount; i++) {
        read += overlapping->get_glyph_by_index(i) ? 1 : 0;
    }
    const int budget = 2 * (2 * kCount + static_cast<int>(outline.size()));
    EXPECT_LE(read * static_cast<int>(outline.size()), budget + static_cast<int>(outline.size()));
    EXPECT_GT(read, 1);
    EXPECT_TRUE(overlapping->get_glyph_by_index(0) && overlapping->get_glyph_by_index(0)->m_paths.size() > 0);
    EXPECT_TRUE(Logged("glyph outlines overlap"));
}

TEST_F(FontTest, kerning_pairs_are_found_by_their_low_sixteen_bits) {
    swfkit::EmbeddedFont kit = KitFont();
    kit.kerning = {{'A', 'V', -80}, {'T', 'o', -40}, {'A', 'V', -90}, {0xFFFF, 'A', 7}};
    smart_ptr<font> f = Load({{tag_define_font2, Font2(false, true, true, kit)}});
    ASSERT_TRUE(f);
    const std::tuple<int, int, float> pairs[] = {{'A', 'V', -90.0f},           {'T', 'o', -40.0f}, {'V', 'A', 0.0f},
                                                 {0x10000 + 'A', 'V', -90.0f}, {-1, 'A', 7.0f},    {'A', 'A', 0.0f}};
    for (const auto& [last, code, adjustment] : pairs) {
        EXPECT_EQ(f->get_kerning_adjustment(last, code), adjustment) << last << " " << code;
    }
}

// The area a glyph's outline encloses: the sum of its contours' signed areas (holes run the other
// way round), curves sampled finely.
double OutlineArea(const shape_character_def& shape) {
    double twice = 0.0;
    for (const path& p : shape.m_paths) {
        float x = p.m_ax, y = p.m_ay;
        for (const edge& e : p.m_edges) {
            for (int k = 1; k <= 32; k++) {
                const float t = k / 32.0f, u = 1.0f - t;
                const float nx = u * u * x + 2 * u * t * e.m_cx + t * t * e.m_ax;
                const float ny = u * u * y + 2 * u * t * e.m_cy + t * t * e.m_ay;
                twice += static_cast<double>(x) * ny - static_cast<double>(nx) * y;
                x = nx;
                y = ny;
            }
        }
    }
    return std::fabs(twice) / 2.0;
}

TEST_F(FontTest, every_glyph_tessellates_to_its_outline_area) {
    smart_ptr<font> f = Load({{tag_define_font2, Font2(false, true, true)}});
    ASSERT_TRUE(f);
    for (int i = 0; i < f->get_glyph_count(); i++) {
        shape_character_def* shape = f->get_glyph_by_index(i);
        ASSERT_TRUE(shape);
        if (shape->m_paths.size() > 0) {
            const double area = std::fabs(swf_testing::TriangleArea(swf_testing::Triangles(mesh_set(shape, 0.5f), 0)));
            const double outline = OutlineArea(*shape);
            EXPECT_GT(outline, 100.0);
            // Flattening shaves a little off round glyphs; a lost hole or contour costs far more.
            EXPECT_NEAR(area, outline, 0.06 * outline) << "code " << KitFont().codes[static_cast<size_t>(i)];
        }
    }
}

}  // namespace
}  // namespace text_test
