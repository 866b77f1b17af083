#include "swfplayer/main/display/generic_character.h"
#include "swfplayer/main/text/text_character_def.h"
#include "tests/swfplayer/main/text/TextFixture.h"

#include <gtest/gtest.h>

namespace text_test {
namespace {

constexpr uint16_t kTextId = 5;

class StaticTextTest : public TextFixture {
protected:
    // Loads a text of the tag body (after alignment zones for the font when twentieths, and with
    // CSM settings) and draws an instance of it on each of the frames.
    void Draw(const swfkit::Bytes& body, int version, bool twentieths = false, int frames = 1) {
        swfkit::Bytes zones = {kFontId, 0, 0};
        for (size_t i = 0; i < KitFont().glyphs.size(); i++) {
            zones.insert(zones.end(), {0, 0});  // no zones, no mask
        }
        m_movie = LoadWithFont([&](swfkit::TagList& tags) {
            if (twentieths) {
                tags.Tag(tag_define_font_align_zones, zones);
            }
            tags.Tag(version == 1 ? tag_define_text : tag_define_text2, body);
            // Flash type on, grid fit 2 (0b01'010'000), thickness 1.5 and sharpness -2 as floats,
            // a reserved byte.
            tags.Tag(tag_csm_text_settings, {kTextId, 0, 0x50, 0, 0, 0xC0, 0x3F, 0, 0, 0, 0xC0, 0});
        });
        ASSERT_TRUE(m_movie);
        m_text = dynamic_cast<text_character_def*>(m_movie->get_character_def(kTextId));
        ASSERT_TRUE(m_text);
        smart_ptr<character> instance = m_text->create_character_instance(nullptr, kTextId);
        for (int i = 0; i < frames; i++) {
            instance->display();
        }
    }

    text_character_def* m_text = nullptr;
};

swfkit::TextRun MakeRun(const std::string& text, std::optional<int16_t> x = 0, std::optional<int16_t> y = 0) {
    swfkit::TextRun run = RunOf(KitFont(), kFontId, text, 400);
    run.x = x;
    run.y = y;
    return run;
}

TEST_F(StaticTextTest, glyphs_draw_at_the_carried_pen_position_scaled_to_the_height) {
    // A font run led by a glyph past the font (drawn as nothing, still advancing), a colour-only
    // run (offsets reset, pen carried), a y-only run.
    swfkit::TextRun first = MakeRun("Ab", 100, 300), second = MakeRun("cd", {}, {}), third = MakeRun("E", {}, 900);
    first.glyphs.insert(first.glyphs.begin(), swfkit::TextGlyph{4000, 300});
    second.fontId = third.fontId = std::nullopt;
    second.color = swfkit::Color{10, 20, 30, 40};
    swfkit::Matrix placement;
    placement.translateX = 1000;
    placement.translateY = 2000;
    for (auto [version, twentieths] : {std::pair{1, false}, {2, false}, {2, true}}) {
        SCOPED_TRACE(testing::Message() << "version " << version << " twentieths " << twentieths);
        m_matrices.calls.clear();
        m_matrices.matrices.clear();
        Draw(swfkit::DefineTextBody(kTextId, {0, 4000, 0, 1000}, placement, {first, second, third}, version), version,
             twentieths);
        // Expected glyph matrices: pen positions from the runs' own advances.
        std::vector<std::pair<float, float>> pens;
        float x = 0.0f, y = 0.0f;
        for (const swfkit::TextRun& run : {first, second, third}) {
            x = run.x ? *run.x : x;
            y = run.y ? *run.y : y;
            for (const swfkit::TextGlyph& g : run.glyphs) {
                if (g.index < KitFont().glyphs.size()) {
                    pens.push_back({x, y});
                }
                x += static_cast<float>(g.advance);
            }
        }
        ASSERT_EQ(m_matrices.matrices.size(), pens.size());
        const float scale = 400.0f / 1024.0f / (twentieths ? 20.0f : 1.0f);
        for (size_t i = 0; i < pens.size(); i++) {
            const matrix& m = m_matrices.matrices[i];
            EXPECT_FLOAT_EQ(m.m[0][0], scale) << i;
            EXPECT_FLOAT_EQ(m.m[1][1], scale) << i;
            EXPECT_FLOAT_EQ(m.m[0][2], 1000.0f + pens[i].first) << i;
            EXPECT_FLOAT_EQ(m.m[1][2], 2000.0f + pens[i].second) << i;
        }
        // The first run keeps the default white; the second changes the colour (three bytes in
        // DefineText, four in DefineText2) and keeps the font.
        const auto fills = m_matrices.with_prefix("fill_style_color 0");
        ASSERT_FALSE(fills.empty());
        EXPECT_EQ(fills.front(), "fill_style_color 0 255,255,255,255");
        EXPECT_FALSE(
            m_matrices.with_prefix(version == 1 ? "fill_style_color 0 10,20,30,255" : "fill_style_color 0 10,20,30,40")
                .empty());
        ASSERT_EQ(m_text->m_text_glyph_records.size(), 3);
        EXPECT_FALSE(m_text->m_text_glyph_records[1].m_style.m_has_x_offset);
        EXPECT_EQ(m_text->m_text_glyph_records[1].m_style.m_font_id, kFontId);
        EXPECT_EQ(m_text->m_text_glyph_records[1].m_style.m_text_height, 400.0f);
        // CSM text settings are kept with their text.
        EXPECT_TRUE(m_text->m_csm.m_use_flashtype);
        EXPECT_EQ(m_text->m_csm.m_grid_fit, 2);
        EXPECT_EQ(m_text->m_csm.m_thickness, 1.5f);
        EXPECT_EQ(m_text->m_csm.m_sharpness, -2.0f);
    }
}

TEST_F(StaticTextTest, bad_records_draw_nothing_and_are_reported_once) {
    swfkit::TextRun unknownFont = MakeRun("AB"), noFont;
    unknownFont.fontId = 9;
    noFont.glyphs = {{1, 100}};
    swfkit::Bytes wideBits = swfkit::DefineTextBody(kTextId, {}, {}, {MakeRun("A")}, 1);
    wideBits[2 + 1 + 1] = 33;  // glyph bits, behind the id, an empty rect and the identity matrix
    for (const auto& [body, records, logged] :
         {std::tuple{swfkit::DefineTextBody(kTextId, {}, {}, {unknownFont}, 1), 1, "undefined font; font_id = 9"},
          {swfkit::DefineTextBody(kTextId, {}, {}, {noFont}, 1), 1, "undefined font; font_id = -1"},
          {wideBits, 0, "beyond 32"},
          {swfkit::DefineTextBody(kTextId, {}, {}, {}, 1), 0, ""}}) {
        SCOPED_TRACE(logged);
        ClearLog();
        m_matrices.calls.clear();
        Draw(body, 1, false, 3);
        EXPECT_EQ(m_text->m_text_glyph_records.size(), records);
        EXPECT_TRUE(m_matrices.calls.empty());
        EXPECT_TRUE(!*logged || CountLogged(logged) == 1);
    }
}

}  // namespace
}  // namespace text_test
