#include "tests/swfplayer/main/text/TextFixture.h"

#include "swfplayer/main/shapes/shape_loaders.h"
#include "swfplayer/main/text/text_loaders.h"

namespace text_test {

const swfkit::EmbeddedFont& KitFont() {
    static const swfkit::EmbeddedFont font = [] {
        swfkit::EmbeddedFont loaded;
        bool ok = swfkit::LoadTrueTypeFont(PONDORIX_TEST_FONT,
                                           " !,.0123456789:?ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz"
                                           "\xc3\xa9\xe2\x82\xac",
                                           &loaded);
        EXPECT_TRUE(ok) << PONDORIX_TEST_FONT;
        return loaded;
    }();
    return font;
}

void TextFixture::SetUp() {
    DisplayFixture::SetUp();
    register_shape_loaders();
    register_text_loaders();
    set_render_handler(&m_matrices);
}

void TextFixture::TearDown() {
    m_sprite = nullptr;
    m_movie = nullptr;
    DisplayFixture::TearDown();
}

smart_ptr<movie_def_impl> TextFixture::LoadWithFont(const std::function<void(swfkit::TagList&)>& addTags) {
    swfkit::Movie movie(8, {0, 11000, 0, 8000}, 12.0);
    movie.Tags().Tag(tag_define_font2, swfkit::DefineFont2Body(kFontId, KitFont(), false, false, true));
    addTags(movie.Tags());
    movie.Tags().ShowFrame();
    return LoadMovie(movie.Write(false));
}

smart_ptr<edit_text_character> TextFixture::MakeField(const swfkit::EditText& field) {
    m_movie = LoadWithFont([&](swfkit::TagList& tags) { tags.Tag(tag_define_edit_text, DefineEditTextBody(field)); });
    EXPECT_TRUE(m_movie);
    if (!m_movie) {
        return nullptr;
    }
    m_sprite = make_root_sprite(m_movie.get_ptr());
    character_def* def = m_movie->get_character_def(field.id);
    EXPECT_TRUE(def);
    character* ch = def ? def->create_character_instance(m_sprite.get_ptr(), field.id) : nullptr;
    EXPECT_TRUE(ch && ch->is(AS_EDIT_TEXT));
    return static_cast<edit_text_character*>(ch);
}

std::vector<std::string> TextFixture::Lines(const edit_text_character& field) {
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

float TextFixture::Width(const std::string& text, float height) {
    float width = 0.0f;
    for (char c : text) {
        const int index = KitFont().IndexOf(static_cast<uint8_t>(c));
        width += index >= 0 ? KitFont().advances[static_cast<size_t>(index)] * height / 1024.0f : 0.0f;
    }
    return width;
}

}  // namespace text_test
