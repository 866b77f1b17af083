#include "swfplayer/main/shapes/mesh_set.h"
#include "swfplayer/main/shapes/shape_character_def.h"
#include "swfplayer/main/text/glyph.h"
#include "tests/swfplayer/main/shapes/ShapesFixture.h"
#include "tests/swfplayer/main/text/TextFixture.h"

#include <gtest/gtest.h>

#include <cmath>

namespace text_test {
namespace {

class FontTest : public TextFixture {
protected:
    // The font of id 1 of a movie made of the given font tags.
    smart_ptr<font> Load(const std::vector<std::pair<int, swfkit::Bytes>>& tags) {
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

    // Every character of the kit font is found by code with the kit's glyph index, an outline
    // exactly when the kit glyph has one, and the kit's advance (or the default without layout).
    // Narrow code tables keep the low byte of each code.
    void ExpectKitCodes(const font& f, bool withLayout, bool wideCodes, float defaultAdvance = 512.0f) {
        const swfkit::EmbeddedFont& kit = KitFont();
        ASSERT_EQ(f.get_glyph_count(), static_cast<int>(kit.glyphs.size()));
        for (size_t i = 0; i < kit.codes.size(); i++) {
            glyph g;
            const int code = wideCodes ? kit.codes[i] : kit.codes[i] & 0xFF;
            ASSERT_TRUE(f.get_char_glyph(&g, code, 12)) << code;
            EXPECT_EQ(g.m_glyph_index, static_cast<int>(i));
            EXPECT_EQ(g.m_glyph_advance, withLayout ? kit.advances[i] : defaultAdvance) << kit.codes[i];
            ASSERT_TRUE(g.m_shape) << kit.codes[i];
            const bool kitHasOutline = kit.glyphs[i].GetBounds().xMax > kit.glyphs[i].GetBounds().xMin;
            EXPECT_EQ(g.m_shape->m_paths.size() > 0, kitHasOutline) << kit.codes[i];
        }
        glyph missing;
        EXPECT_FALSE(f.get_char_glyph(&missing, '~', 12));
        EXPECT_EQ(missing.m_glyph_index, -1);
        EXPECT_EQ(missing.m_glyph_advance, defaultAdvance);
    }
};

TEST_F(FontTest, define_font2_and_3_read_narrow_and_wide_offsets_codes_and_layout) {
    struct Case {
        int tag;
        bool wideOffsets, wideCodes, layout;
    };
    for (const Case& c : {Case{tag_define_font2, false, false, true}, Case{tag_define_font2, true, false, true},
                          Case{tag_define_font2, false, true, false}, Case{tag_define_font3, true, true, true},
                          Case{tag_define_font3, false, false, false}}) {
        SCOPED_TRACE(testing::Message() << c.tag << " wide offsets " << c.wideOffsets << " wide codes " << c.wideCodes
                                        << " layout " << c.layout);
        smart_ptr<font> f =
            Load({{c.tag, swfkit::DefineFont2Body(kFontId, KitFont(), c.wideOffsets, c.wideCodes, c.layout)}});
        ASSERT_TRUE(f);
        EXPECT_EQ(f->get_name(), KitFont().name.c_str());
        EXPECT_EQ(f->is_bold(), KitFont().bold);
        EXPECT_EQ(f->has_wide_codes(), c.wideCodes);
        ExpectKitCodes(*f, c.layout, c.wideCodes);
        EXPECT_EQ(f->get_ascent(), c.layout ? KitFont().ascent : 0);
        EXPECT_EQ(f->get_descent(), c.layout ? KitFont().descent : 0);
        EXPECT_FALSE(Logged("error"));
    }
}

TEST_F(FontTest, a_code_table_that_does_not_follow_the_glyphs_keeps_the_glyphs_only) {
    swfkit::Bytes body = swfkit::DefineFont2Body(kFontId, KitFont(), false, false, true);
    // The code-table offset is the last u16 of the offset table (after id, flags, language,
    // name and count).
    const size_t table = 2 + 1 + 1 + 1 + KitFont().name.size() + 2;
    const size_t codeOffsetAt = table + 2 * KitFont().glyphs.size();
    body[codeOffsetAt] = static_cast<uint8_t>(body[codeOffsetAt] + 1);
    smart_ptr<font> f = Load({{tag_define_font2, body}});
    ASSERT_TRUE(f);
    EXPECT_EQ(f->get_glyph_count(), static_cast<int>(KitFont().glyphs.size()));
    EXPECT_TRUE(f->get_glyph_by_index(1));
    glyph g;
    EXPECT_FALSE(f->get_char_glyph(&g, 'A', 12));
    EXPECT_EQ(f->get_code_count(), 0);
    EXPECT_TRUE(Logged("code table does not follow"));
}

TEST_F(FontTest, define_font_takes_its_codes_from_font_info_one_or_two) {
    for (int version : {1, 2}) {
        for (bool wideCodes : {false, true}) {
            SCOPED_TRACE(testing::Message() << "info " << version << " wide " << wideCodes);
            swfkit::EmbeddedFont kit = KitFont();
            kit.name = "Renamed";
            kit.italic = true;
            const int infoTag = version == 1 ? tag_define_font_info : tag_define_font_info2;
            smart_ptr<font> f = Load({{tag_define_font, swfkit::DefineFontBody(kFontId, kit)},
                                      {infoTag, swfkit::DefineFontInfoBody(kFontId, kit, version, wideCodes)}});
            ASSERT_TRUE(f);
            EXPECT_EQ(f->get_name(), "Renamed");
            EXPECT_TRUE(f->is_italic());
            ExpectKitCodes(*f, false, wideCodes);
        }
    }
    // Info for a font that is not there is reported and skipped.
    Load({{tag_define_font_info, swfkit::DefineFontInfoBody(7, KitFont(), 1, false)}});
    EXPECT_TRUE(Logged("define_font_info_loader: can't find font w/ id 7"));
}

TEST_F(FontTest, font_info_after_define_font2_replaces_its_code_table) {
    swfkit::EmbeddedFont shifted = KitFont();
    for (uint16_t& code : shifted.codes) {
        code = static_cast<uint16_t>(code + 0x100);
    }
    smart_ptr<font> f = Load({{tag_define_font2, swfkit::DefineFont2Body(kFontId, KitFont(), false, false, true)},
                              {tag_define_font_info, swfkit::DefineFontInfoBody(kFontId, shifted, 1, true)}});
    ASSERT_TRUE(f);
    EXPECT_EQ(f->get_code_count(), static_cast<int>(KitFont().codes.size()));
    glyph g;
    EXPECT_FALSE(f->get_char_glyph(&g, 'A', 12));
    ASSERT_TRUE(f->get_char_glyph(&g, 'A' + 0x100, 12));
    EXPECT_EQ(g.m_glyph_index, KitFont().IndexOf('A'));
    EXPECT_EQ(g.m_glyph_advance, KitFont().advances[static_cast<size_t>(KitFont().IndexOf('A'))]);
}

TEST_F(FontTest, overlapping_outlines_read_the_tag_a_bounded_number_of_times) {
    // 500 offsets all at one outline: each would read it again.
    constexpr int kCount = 500;
    const swfkit::Bytes outline = KitFont().glyphs[static_cast<size_t>(KitFont().IndexOf('W'))].BuildRecords(1, 1, 0);
    swfkit::BitWriter body;
    body.WriteU16(kFontId);
    for (int i = 0; i < kCount; i++) {
        body.WriteU16(2 * kCount);
    }
    body.WriteBytes(outline);
    smart_ptr<font> f = Load({{tag_define_font, body.GetBytes()}});
    ASSERT_TRUE(f);
    ASSERT_EQ(f->get_glyph_count(), kCount);
    int read = 0;
    for (int i = 0; i < kCount; i++) {
        read += f->get_glyph_by_index(i) ? 1 : 0;
    }
    const int budget = 2 * (2 * kCount + static_cast<int>(outline.size()));
    EXPECT_LE(read * static_cast<int>(outline.size()), budget + static_cast<int>(outline.size()));
    EXPECT_GT(read, 1);
    EXPECT_TRUE(f->get_glyph_by_index(0) && f->get_glyph_by_index(0)->m_paths.size() > 0);
    EXPECT_TRUE(Logged("glyph outlines overlap"));
}

TEST_F(FontTest, define_font_with_a_first_offset_of_zero_has_no_glyphs) {
    smart_ptr<font> f = Load({{tag_define_font, {1, 0, 0, 0}}});
    ASSERT_TRUE(f);
    EXPECT_EQ(f->get_glyph_count(), 0);
}

TEST_F(FontTest, alignment_zones_make_a_twentieths_font) {
    swfkit::BitWriter zones;
    zones.WriteU16(kFontId);
    zones.WriteU8(0x40);  // table hint 1
    for (size_t i = 0; i < KitFont().glyphs.size(); i++) {
        zones.WriteU8(2);
        for (int half = 0; half < 4; half++) {
            zones.WriteU16(0x3C00);  // 1.0 as a half float
        }
        zones.WriteU8(3);
    }
    smart_ptr<font> f = Load({{tag_define_font3, swfkit::DefineFont2Body(kFontId, KitFont(), false, false, false)},
                              {tag_define_font_align_zones, zones.GetBytes()}});
    ASSERT_TRUE(f);
    EXPECT_TRUE(f->is_twentieths());
    EXPECT_FLOAT_EQ(f->get_scale(1024.0f), 1.0f / 20.0f);
    ExpectKitCodes(*f, false, false, 10240.0f);

    smart_ptr<font> plain =
        Load({{tag_define_font3, swfkit::DefineFont2Body(kFontId, KitFont(), false, false, false)}});
    ASSERT_TRUE(plain);
    EXPECT_FALSE(plain->is_twentieths());
    EXPECT_FLOAT_EQ(plain->get_scale(1024.0f), 1.0f);
}

TEST_F(FontTest, kerning_pairs_are_found_by_their_low_sixteen_bits) {
    swfkit::EmbeddedFont kit = KitFont();
    kit.kerning = {{'A', 'V', -80}, {'T', 'o', -40}, {'A', 'V', -90}, {0xFFFF, 'A', 7}};
    smart_ptr<font> f = Load({{tag_define_font2, swfkit::DefineFont2Body(kFontId, kit, false, true, true)}});
    ASSERT_TRUE(f);
    struct Case {
        int last, code;
        float adjustment;
    };
    for (const Case& c : {Case{'A', 'V', -90.0f}, Case{'T', 'o', -40.0f}, Case{'V', 'A', 0.0f},
                          Case{0x10000 + 'A', 'V', -90.0f}, Case{-1, 'A', 7.0f}, Case{'A', 'A', 0.0f}}) {
        EXPECT_EQ(f->get_kerning_adjustment(c.last, c.code), c.adjustment) << c.last << " " << c.code;
    }
}

TEST_F(FontTest, font_name_tags_rename_an_existing_font) {
    swfkit::BitWriter name;
    name.WriteU16(kFontId);
    name.WriteString("Child");
    name.WriteString("(c) notice");
    smart_ptr<font> f = Load({{tag_define_font2, swfkit::DefineFont2Body(kFontId, KitFont(), false, false, true)},
                              {tag_define_font_name, name.GetBytes()}});
    ASSERT_TRUE(f);
    EXPECT_EQ(f->get_name(), "Child");
}

TEST_F(FontTest, every_cut_of_a_font_tag_reads_safely_and_keeps_whole_glyphs) {
    const swfkit::Bytes good = swfkit::DefineFont2Body(kFontId, KitFont(), true, true, true);
    for (size_t cut = 2; cut < good.size(); cut += 7) {
        smart_ptr<font> f = Load({{tag_define_font2, swfkit::Bytes(good.begin(), good.begin() + cut)}});
        ASSERT_TRUE(f) << cut;
        EXPECT_LE(f->get_glyph_count(), static_cast<int>(KitFont().glyphs.size()));
        glyph g;
        f->get_char_glyph(&g, 'A', 12);
        EXPECT_LE(g.m_glyph_index, f->get_glyph_count() - 1);
    }
}

}  // namespace
}  // namespace text_test

namespace text_test {
namespace {

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
    smart_ptr<font> f = Load({{tag_define_font2, swfkit::DefineFont2Body(kFontId, KitFont(), false, true, true)}});
    ASSERT_TRUE(f);
    for (int i = 0; i < f->get_glyph_count(); i++) {
        shape_character_def* shape = f->get_glyph_by_index(i);
        ASSERT_TRUE(shape);
        if (shape->m_paths.size() == 0) {
            continue;
        }
        mesh_set set(shape, 0.5f);
        const double area = std::fabs(swf_testing::TriangleArea(swf_testing::Triangles(set, 0)));
        const double outline = OutlineArea(*shape);
        EXPECT_GT(outline, 100.0);
        // Flattening shaves a little off round glyphs; a lost hole or contour costs far more.
        EXPECT_NEAR(area, outline, 0.06 * outline) << "code " << KitFont().codes[static_cast<size_t>(i)];
    }
}

}  // namespace
}  // namespace text_test
