#pragma once

#include "swfplayer/main/shapes/shape_loaders.h"
#include "swfplayer/main/text/edit_text_character.h"
#include "swfplayer/main/text/font.h"
#include "swfplayer/main/text/text_loaders.h"
#include "tests/swfplayer/main/display/DisplayTestKit.h"
#include "tools/swfkit/FontBuilder.h"
#include "tools/swfkit/Movie.h"
#include "tools/swfkit/TextWriter.h"

#include <functional>
#include <string>
#include <vector>

namespace text_test {

using namespace swfplayer;

// A recording render handler that also keeps every matrix it was given.
class MatrixRecorder : public testing_support::RecordingRenderHandler {
public:
    void set_matrix(const matrix& m) override {
        matrices.push_back(m);
        RecordingRenderHandler::set_matrix(m);
    }
    std::vector<matrix> matrices;
};

// The id the fixture's movies give the kit font.
constexpr uint16_t kFontId = 1;

// The game font, embedded with the characters the text tests use.
inline const swfkit::EmbeddedFont& KitFont() {
    static const swfkit::EmbeddedFont font = [] {
        swfkit::EmbeddedFont loaded;
        EXPECT_TRUE(swfkit::LoadTrueTypeFont(
            PONDORIX_TEST_FONT,
            " !,.0123456789:?ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz\xc3\xa9\xe2\x82\xac", &loaded))
            << PONDORIX_TEST_FONT;
        return loaded;
    }();
    return font;
}

// Base of the text tests: the display fixture with the text and shape loaders registered and a
// matrix-recording render handler installed.
class TextFixture : public display_test::DisplayFixture {
protected:
    void SetUp() override {
        DisplayFixture::SetUp();
        register_shape_loaders();
        register_text_loaders();
        set_render_handler(&m_matrices);
    }
    void TearDown() override {
        m_sprite = nullptr;
        m_movie = nullptr;
        DisplayFixture::TearDown();
    }

    // A movie holding the kit font as DefineFont2 (id 1, with layout) and the tags added.
    smart_ptr<movie_def_impl> LoadWithFont(const std::function<void(swfkit::TagList&)>& addTags) {
        swfkit::Movie movie(8, {0, 11000, 0, 8000}, 12.0);
        movie.Tags().Tag(tag_define_font2, swfkit::DefineFont2Body(kFontId, KitFont(), false, false, true));
        addTags(movie.Tags());
        movie.Tags().ShowFrame();
        return LoadMovie(movie.Write(false));
    }

    // A field of the definition under a root sprite of its movie (kept in m_movie, m_sprite).
    smart_ptr<edit_text_character> MakeField(const swfkit::EditText& field) {
        m_movie =
            LoadWithFont([&](swfkit::TagList& tags) { tags.Tag(tag_define_edit_text, DefineEditTextBody(field)); });
        m_sprite = m_movie ? make_root_sprite(m_movie.get_ptr()) : nullptr;
        character_def* def = m_movie ? m_movie->get_character_def(field.id) : nullptr;
        character* ch = def ? def->create_character_instance(m_sprite.get_ptr(), field.id) : nullptr;
        EXPECT_TRUE(ch && ch->is(AS_EDIT_TEXT));
        return ch && ch->is(AS_EDIT_TEXT) ? static_cast<edit_text_character*>(ch) : nullptr;
    }

    // The lines of a laid-out field, one record per line, from the kit font's codes ('?' for a
    // missing glyph).
    static std::vector<std::string> Lines(const edit_text_character& field) {
        std::vector<std::string> lines;
        for (const text_glyph_record& record : field.get_records()) {
            base_string utf8;
            for (const glyph& g : record.m_glyphs) {
                const auto& codes = KitFont().codes;
                if (g.m_glyph_index >= 0 && g.m_glyph_index < static_cast<int>(codes.size())) {
                    utf8.append_wide_char(static_cast<uint32_t>(codes[static_cast<size_t>(g.m_glyph_index)]));
                } else {
                    utf8 += "?";
                }
            }
            lines.push_back(utf8.c_str());
        }
        return lines;
    }

    // The advance of text in the kit font at a height, twips.
    static float Width(const std::string& text, float height) {
        float width = 0.0f;
        for (char c : text) {
            const int index = KitFont().IndexOf(static_cast<uint8_t>(c));
            width += index >= 0 ? KitFont().advances[static_cast<size_t>(index)] * height / 1024.0f : 0.0f;
        }
        return width;
    }

    MatrixRecorder m_matrices;
    smart_ptr<movie_def_impl> m_movie;
    smart_ptr<sprite_instance> m_sprite;
};

}  // namespace text_test
