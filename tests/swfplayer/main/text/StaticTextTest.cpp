#include "swfplayer/main/display/generic_character.h"
#include "swfplayer/main/text/text_character_def.h"
#include "tests/swfplayer/main/text/TextFixture.h"

#include <gtest/gtest.h>

namespace text_test {
namespace {

constexpr uint16_t kTextId = 5;

class StaticTextTest : public TextFixture {
protected:
    // Loads a text of the runs and draws an instance of it at the given placement.
    void Draw(const std::vector<swfkit::TextRun>& runs, int version, const swfkit::Matrix& textMatrix = {},
              int draws = 1) {
        m_movie = LoadWithFont([&](swfkit::TagList& tags) {
            tags.Tag(version == 1 ? tag_define_text : tag_define_text2,
                     swfkit::DefineTextBody(kTextId, {0, 4000, 0, 1000}, textMatrix, runs, version));
        });
        ASSERT_TRUE(m_movie);
        m_text = dynamic_cast<text_character_def*>(m_movie->get_character_def(kTextId));
        ASSERT_TRUE(m_text);
        smart_ptr<character> instance = m_text->create_character_instance(nullptr, kTextId);
        for (int i = 0; i < draws; i++) {
            instance->display();
        }
    }

    text_character_def* m_text = nullptr;
};

swfkit::TextRun MakeRun(const std::string& text, uint16_t height, std::optional<int16_t> x, std::optional<int16_t> y) {
    swfkit::TextRun run = RunOf(KitFont(), kFontId, text, height);
    run.x = x;
    run.y = y;
    return run;
}

TEST_F(StaticTextTest, glyphs_draw_at_the_carried_pen_position_scaled_to_the_height) {
    // A font run, a colour-only run (offsets reset, pen carried), a y-only run.
    swfkit::TextRun second;
    second.color = swfkit::Color{10, 20, 30, 40};
    second.glyphs = RunOf(KitFont(), kFontId, "cd", 400).glyphs;
    swfkit::TextRun third;
    third.y = 900;
    third.glyphs = RunOf(KitFont(), kFontId, "E", 400).glyphs;
    const std::vector<swfkit::TextRun> runs = {MakeRun("Ab", 400, 100, 300), second, third};
    swfkit::Matrix placement;
    placement.translateX = 1000;
    placement.translateY = 2000;
    Draw(runs, 2, placement);

    // Expected glyph matrices: pen positions from the runs' own advances.
    struct Pen {
        float x, y;
    };
    std::vector<Pen> pens;
    float x = 0.0f, y = 0.0f;
    for (const swfkit::TextRun& run : runs) {
        x = run.x ? *run.x : x;
        y = run.y ? *run.y : y;
        for (const swfkit::TextGlyph& g : run.glyphs) {
            pens.push_back({x, y});
            x += static_cast<float>(g.advance);
        }
    }
    ASSERT_EQ(m_matrices.matrices.size(), pens.size());
    for (size_t i = 0; i < pens.size(); i++) {
        const matrix& m = m_matrices.matrices[i];
        EXPECT_FLOAT_EQ(m.m[0][0], 400.0f / 1024.0f) << i;
        EXPECT_FLOAT_EQ(m.m[1][1], 400.0f / 1024.0f) << i;
        EXPECT_FLOAT_EQ(m.m[0][2], 1000.0f + pens[i].x) << i;
        EXPECT_FLOAT_EQ(m.m[1][2], 2000.0f + pens[i].y) << i;
    }
    // The first run keeps the default white; the second changes the colour and keeps the font.
    const auto fills = m_matrices.with_prefix("fill_style_color 0");
    ASSERT_FALSE(fills.empty());
    EXPECT_EQ(fills.front(), m_matrices.with_prefix("fill_style_color 0 255,255,255,255").front());
    EXPECT_FALSE(m_matrices.with_prefix("fill_style_color 0 10,20,30,40").empty());
    ASSERT_EQ(m_text->m_text_glyph_records.size(), 3);
    EXPECT_FALSE(m_text->m_text_glyph_records[1].m_style.m_has_x_offset);
    EXPECT_EQ(m_text->m_text_glyph_records[1].m_style.m_font_id, kFontId);
    EXPECT_EQ(m_text->m_text_glyph_records[1].m_style.m_text_height, 400.0f);
}

TEST_F(StaticTextTest, define_text_reads_three_colour_bytes_and_define_text2_four) {
    for (int version : {1, 2}) {
        swfkit::TextRun run = MakeRun("A", 240, {}, {});
        run.color = swfkit::Color{1, 2, 3, 4};
        Draw({run, MakeRun("B", 240, {}, {})}, version);
        ASSERT_EQ(m_text->m_text_glyph_records.size(), 2) << version;
        const rgba& c = m_text->m_text_glyph_records[0].m_style.m_color;
        EXPECT_EQ(c.b, 3);
        EXPECT_EQ(c.a, version == 1 ? 255 : 4);
    }
}

TEST_F(StaticTextTest, bad_records_draw_nothing_and_are_reported_once) {
    struct Case {
        const char* what;
        swfkit::Bytes body;
        int records;
        const char* logged;
    };
    swfkit::TextRun unknownFont = MakeRun("AB", 240, 0, 0);
    unknownFont.fontId = 9;
    swfkit::TextRun noFont;
    noFont.glyphs = {{1, 100}};
    swfkit::Bytes wideBits = swfkit::DefineTextBody(kTextId, {}, {}, {MakeRun("A", 240, 0, 0)}, 1);
    wideBits[2 + 1 + 1] = 33;  // glyph bits, behind the id, an empty rect and the identity matrix
    swfkit::Bytes empty = swfkit::DefineTextBody(kTextId, {}, {}, {}, 1);
    for (const Case& c :
         {Case{"unknown font", swfkit::DefineTextBody(kTextId, {}, {}, {unknownFont}, 1), 1,
               "undefined font; font_id = 9"},
          Case{"no font", swfkit::DefineTextBody(kTextId, {}, {}, {noFont}, 1), 1, "undefined font; font_id = -1"},
          Case{"bit count", wideBits, 0, "beyond 32"}, Case{"no records", empty, 0, nullptr}}) {
        SCOPED_TRACE(c.what);
        ClearLog();
        m_matrices.calls.clear();
        m_movie = LoadWithFont([&](swfkit::TagList& tags) { tags.Tag(tag_define_text, c.body); });
        ASSERT_TRUE(m_movie);
        auto* text = dynamic_cast<text_character_def*>(m_movie->get_character_def(kTextId));
        ASSERT_TRUE(text);
        EXPECT_EQ(text->m_text_glyph_records.size(), c.records);
        smart_ptr<character> instance = text->create_character_instance(nullptr, kTextId);
        for (int frame = 0; frame < 3; frame++) {
            instance->display();
        }
        EXPECT_TRUE(m_matrices.calls.empty());
        if (c.logged) {
            EXPECT_EQ(CountLogged(c.logged), 1);
        }
    }
}

TEST_F(StaticTextTest, a_glyph_past_the_font_draws_nothing_and_still_advances) {
    swfkit::TextRun run = MakeRun("A", 1024, 0, 0);
    run.glyphs.insert(run.glyphs.begin(), swfkit::TextGlyph{4000, 300});
    Draw({run}, 1);
    ASSERT_EQ(m_matrices.matrices.size(), 1u);
    EXPECT_FLOAT_EQ(m_matrices.matrices[0].m[0][2], 300.0f);
}

TEST_F(StaticTextTest, a_twentieths_font_draws_at_a_twentieth_of_the_scale) {
    swfkit::BitWriter zones;
    zones.WriteU16(kFontId);
    zones.WriteU8(0);
    for (size_t i = 0; i < KitFont().glyphs.size(); i++) {
        zones.WriteU8(0);
        zones.WriteU8(0);
    }
    m_movie = LoadWithFont([&](swfkit::TagList& tags) {
        tags.Tag(tag_define_font_align_zones, zones.GetBytes());
        tags.Tag(tag_define_text, swfkit::DefineTextBody(kTextId, {}, {}, {MakeRun("A", 1024, 0, 0)}, 1));
    });
    ASSERT_TRUE(m_movie);
    smart_ptr<character> instance = m_movie->get_character_def(kTextId)->create_character_instance(nullptr, kTextId);
    instance->display();
    ASSERT_EQ(m_matrices.matrices.size(), 1u);
    EXPECT_FLOAT_EQ(m_matrices.matrices[0].m[0][0], 1.0f / 20.0f);
}

TEST_F(StaticTextTest, csm_text_settings_are_kept_with_their_text) {
    swfkit::BitWriter csm;
    csm.WriteU16(kTextId);
    csm.WriteBits(1, 2);
    csm.WriteBits(2, 3);
    csm.WriteBits(0, 3);
    csm.WriteFloat(1.5f);
    csm.WriteFloat(-2.0f);
    csm.WriteU8(0);
    m_movie = LoadWithFont([&](swfkit::TagList& tags) {
        tags.Tag(tag_define_text, swfkit::DefineTextBody(kTextId, {}, {}, {MakeRun("A", 240, 0, 0)}, 1));
        tags.Tag(tag_csm_text_settings, csm.GetBytes());
    });
    ASSERT_TRUE(m_movie);
    auto* text = dynamic_cast<text_character_def*>(m_movie->get_character_def(kTextId));
    ASSERT_TRUE(text);
    EXPECT_TRUE(text->m_csm.m_use_flashtype);
    EXPECT_EQ(text->m_csm.m_grid_fit, 2);
    EXPECT_EQ(text->m_csm.m_thickness, 1.5f);
    EXPECT_EQ(text->m_csm.m_sharpness, -2.0f);
}

}  // namespace
}  // namespace text_test
