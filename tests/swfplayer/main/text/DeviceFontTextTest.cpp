#include "tests/swfplayer/main/text/DeviceFontKit.h"

#include <gtest/gtest.h>

namespace text_test {
namespace {

constexpr uint16_t kFieldId = 7;
constexpr float kHeight = 400.0f;  // twips: 20 pixels
constexpr int kPixels = 20;
const std::string kText = "Ag";

class DeviceFontTextTest : public DeviceFontFixture {
protected:
    static font* record_font(const edit_text_character& field) {
        EXPECT_EQ(field.get_records().size(), 1);
        return field.get_records()[0].m_style.m_font.get_ptr();
    }
    // A field showing kText in a font of the family that holds no outline (or, for a twentieths
    // font, which needs glyphs to take alignment zones, one outline of a character not in the
    // text), drawn once.
    smart_ptr<edit_text_character> DrawField(const std::string& family, bool twentieths) {
        swfkit::EmbeddedFont font;
        font.name = family;
        if (twentieths) {
            const int dot = KitFont().IndexOf('.');
            font.codes = {KitFont().codes[static_cast<size_t>(dot)]};
            font.glyphs = {KitFont().glyphs[static_cast<size_t>(dot)]};
            font.advances = {KitFont().advances[static_cast<size_t>(dot)]};
        }
        swfkit::EditText field;
        field.id = kFieldId;
        field.bounds = {0, 8000, 0, 2000};
        field.fontId = kFontId;
        field.height = static_cast<uint16_t>(kHeight);
        field.color = swfkit::Color{10, 20, 30, 255};
        field.text = kText;

        swfkit::Movie movie(8, {0, 11000, 0, 8000}, 12.0);
        movie.Tags().Tag(tag_define_font2, swfkit::DefineFont2Body(kFontId, font, false, false, true));
        if (twentieths) {
            movie.Tags().Tag(tag_define_font_align_zones, {kFontId, 0, 0, 0, 0});
        }
        movie.Tags().Tag(tag_define_edit_text, DefineEditTextBody(field));
        movie.Tags().ShowFrame();
        m_movie = LoadMovie(movie.Write(false));
        EXPECT_TRUE(m_movie);
        if (!m_movie) {
            return nullptr;
        }
        m_sprite = make_root_sprite(m_movie.get_ptr());
        character* ch = m_movie->get_character_def(kFieldId)->create_character_instance(m_sprite.get_ptr(), kFieldId);
        EXPECT_TRUE(ch && ch->is(AS_EDIT_TEXT));
        m_bitmaps.calls.clear();
        m_bitmaps.quads.clear();
        ch->display();
        return static_cast<edit_text_character*>(ch);
    }
};

TEST_F(DeviceFontTextTest, an_installed_font_draws_each_character_as_its_bitmap_on_the_pen) {
    const std::string file = InstalledFile(kDeviceFamily);
    std::vector<rect> plain_quads;
    for (bool twentieths : {false, true}) {
        SCOPED_TRACE(twentieths ? "twentieths" : "plain");
        smart_ptr<edit_text_character> field = DrawField(kDeviceFamily, twentieths);
        ASSERT_TRUE(field);
        ASSERT_TRUE(record_font(*field)->is_twentieths() == twentieths);
        const text_glyph_record& record = field->get_records()[0];
        ASSERT_EQ(record.m_glyphs.size(), static_cast<int>(kText.size()));
        ASSERT_EQ(m_bitmaps.quads.size(), kText.size());
        EXPECT_TRUE(m_bitmaps.with_prefix("draw_line_strip").empty());  // no empty-character box
        EXPECT_EQ(m_bitmaps.with_prefix("draw_bitmap 10,20,30,255").size(), kText.size());

        // Each quad puts FreeType's ink where FreeType puts it against the pen: in twips at the
        // text's scale (its height over the EM square, and a further 20th in a twentieths font).
        const float scale = kHeight / 1024.0f / (twentieths ? 20.0f : 1.0f);
        for (size_t i = 0; i < kText.size(); i++) {
            SCOPED_TRACE(kText[i]);
            const glyph& g = record.m_glyphs[static_cast<int>(i)];
            const RenderedGlyph freetype = RenderWithFreeType(file, kText[i], kPixels);
            ASSERT_TRUE(freetype.ok);
            EXPECT_EQ(g.m_glyph_index, -1);
            EXPECT_FALSE(g.m_shape);
            EXPECT_EQ(g.m_fontsize, kPixels);
            EXPECT_NEAR(g.m_glyph_advance, freetype.advance * 20.0f, 0.1f);

            const BitmapRecorder::Quad& q = m_bitmaps.quads[i];
            EXPECT_EQ(q.bitmap, g.m_bitmap.get_ptr());
            const float texture_width = static_cast<float>(q.bitmap->get_width());
            const float texture_height = static_cast<float>(q.bitmap->get_height());
            EXPECT_NEAR(q.coords.x_min * scale, freetype.left * 20.0f, 10.0f);
            EXPECT_NEAR((q.coords.x_max - q.coords.x_min) * scale, freetype.width * 20.0f, 0.1f);
            EXPECT_NEAR(q.coords.y_min * scale, -freetype.top * 20.0f, 10.0f);
            EXPECT_NEAR((q.coords.y_max - q.coords.y_min) * scale, freetype.rows * 20.0f, 0.1f);
            EXPECT_FLOAT_EQ(q.uv.x_min, 0.0f);
            EXPECT_FLOAT_EQ(q.uv.y_min, 0.0f);
            EXPECT_FLOAT_EQ(q.uv.x_max, freetype.width / texture_width);
            EXPECT_FLOAT_EQ(q.uv.y_max, freetype.rows / texture_height);
            if (twentieths) {
                EXPECT_FLOAT_EQ(q.coords.x_max, plain_quads[i].x_max * 20.0f);
                EXPECT_FLOAT_EQ(q.coords.y_min, plain_quads[i].y_min * 20.0f);
            } else {
                plain_quads.push_back(q.coords);
            }
        }
        // The second glyph's matrix moved the pen by the first one's advance.
        EXPECT_NEAR(m_bitmaps.quads[1].m.m[0][2] - m_bitmaps.quads[0].m.m[0][2], record.m_glyphs[0].m_glyph_advance,
                    0.01f);
    }
}

TEST_F(DeviceFontTextTest, without_the_provider_or_the_font_characters_fall_back_to_the_empty_box) {
    for (bool installed : {false, true}) {
        SCOPED_TRACE(installed ? "provider, font not installed" : "no provider");
        if (!installed) {
            close_glyph_provider();
        }
        smart_ptr<edit_text_character> field = DrawField(installed ? "No Such Font Pondorix" : kDeviceFamily, false);
        ASSERT_TRUE(field);
        EXPECT_TRUE(m_bitmaps.quads.empty());
        EXPECT_EQ(m_bitmaps.with_prefix("draw_line_strip 5").size(), kText.size());
        for (const glyph& g : field->get_records()[0].m_glyphs) {
            EXPECT_FALSE(g.m_bitmap);
            EXPECT_FLOAT_EQ(g.m_glyph_advance, 512.0f * kHeight / 1024.0f);
        }
        create_glyph_provider(RecordingFinder);
    }
}

}  // namespace
}  // namespace text_test
