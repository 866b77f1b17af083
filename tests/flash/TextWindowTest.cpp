#include "flash/render_handler_ogl.h"
#include "swfplayer/base/base_file.h"
#include "swfplayer/main/common/twips.h"
#include "swfplayer/main/display/character.h"
#include "swfplayer/main/loading/movie_loader.h"
#include "swfplayer/main/script/player.h"
#include "swfplayer/main/shapes/shape_loaders.h"
#include "swfplayer/main/text/text_loaders.h"
#include "tests/support/X11TestDisplay.h"
#include "tools/swfkit/FontBuilder.h"
#include "tools/swfkit/Movie.h"
#include "tools/swfkit/TextWriter.h"

#include <GL/gl.h>
#include <SFML/Graphics.hpp>
#include <gtest/gtest.h>

#include <cstdlib>
#include <memory>
#include <vector>

using namespace swfplayer;

namespace {

constexpr int kWidth = 320;
constexpr int kHeight = 120;
constexpr uint16_t kFieldId = 2;

// Pixels of the window (read back from the back buffer) inside a rectangle that are blue enough
// to be text.
int BluePixels(int x0, int y0, int x1, int y1) {
    std::vector<uint8_t> all(kWidth * kHeight * 4);
    glPixelStorei(GL_PACK_ALIGNMENT, 1);
    glReadPixels(0, 0, kWidth, kHeight, GL_RGBA, GL_UNSIGNED_BYTE, all.data());
    int count = 0;
    for (int y = y0; y < y1; y++) {
        for (int x = x0; x < x1; x++) {
            const uint8_t* p = &all[4 * ((kHeight - 1 - y) * kWidth + x)];
            count += p[2] > 128 && p[0] < 64 ? 1 : 0;
        }
    }
    return count;
}

// A movie with the game font and one edit text field, 300 by 60 pixels at the origin.
std::vector<uint8_t> FieldMovie() {
    swfkit::EmbeddedFont font;
    EXPECT_TRUE(swfkit::LoadTrueTypeFont(TEST_FONT, "HIWelo", &font));
    swfkit::EditText field;
    field.id = kFieldId;
    field.bounds = {0, 300 * twips_per_pixel, 0, 60 * twips_per_pixel};
    field.fontId = 1;
    field.height = 40 * twips_per_pixel;
    field.color = swfkit::Color{0, 0, 255, 255};
    field.variable = "caption";
    swfkit::Movie movie(8, {0, kWidth * twips_per_pixel, 0, kHeight * twips_per_pixel}, 12.0);
    movie.Tags().Tag(tag_define_font2, swfkit::DefineFont2Body(1, font, false, false, true));
    movie.Tags().Tag(tag_define_edit_text, swfkit::DefineEditTextBody(field));
    movie.Tags().ShowFrame();
    return movie.Write(false);
}

// An edit text field set the way the game sets texts (its "text" member) shows the new text in
// a real window through the OpenGL handler.
TEST(TextWindowTest, a_field_shows_the_text_it_is_set_to) {
    static testing_support::X11TestDisplay display(kWidth + 64, kHeight + 64);
    ASSERT_TRUE(display.Ready()) << "no Xvfb server";
    setenv("DISPLAY", display.Name().c_str(), 1);
    sf::RenderWindow window(sf::VideoMode(kWidth, kHeight), "text test", sf::Style::None,
                            sf::ContextSettings(24, 8, 4));
    ASSERT_TRUE(window.setActive(true));
    window.resetGLStates();
    glMatrixMode(GL_PROJECTION);
    glLoadIdentity();
    glOrtho(0, kWidth, kHeight, 0, -1, 1);
    glMatrixMode(GL_MODELVIEW);
    glLoadIdentity();

    render_handler_ogl handler;
    set_render_handler(&handler);
    register_shape_loaders();
    register_text_loaders();
    smart_ptr<player> owner = new player();
    const std::vector<uint8_t> bytes = FieldMovie();
    smart_ptr<movie_def_impl> def = create_movie_definition(
        owner.get_ptr(), new base_file(memory_buffer, static_cast<int>(bytes.size()), bytes.data()));
    ASSERT_TRUE(def);
    smart_ptr<character> field = def->get_character_def(kFieldId)->create_character_instance(nullptr, kFieldId);
    ASSERT_TRUE(field && field->is(AS_EDIT_TEXT));

    // Counts the text pixels of the field's left and right halves after drawing text.
    auto draw = [&](const char* text) {
        field->set_member("text", as_value(text));
        glClearColor(0, 0, 0, 1);
        glClear(GL_COLOR_BUFFER_BIT | GL_STENCIL_BUFFER_BIT);
        handler.begin_display(rgba(0, 0, 0, 255), 0, 0, kWidth, kHeight, 0, kWidth * twips_per_pixel, 0,
                              kHeight * twips_per_pixel);
        field->display();
        handler.end_display();
        return std::pair{BluePixels(0, 0, 150, 60), BluePixels(150, 0, 300, 60)};
    };
    const auto empty = draw("");
    const auto narrow = draw("I");
    const auto wide = draw("WWWWW");
    const auto hello = draw("Hello");
    set_render_handler(nullptr);

    EXPECT_EQ(empty.first + empty.second, 0);
    EXPECT_GT(narrow.first, 20);
    EXPECT_EQ(narrow.second, 0);  // one letter stays at the left
    EXPECT_GT(wide.first + wide.second, 4 * narrow.first);
    EXPECT_GT(hello.first, 20);
    EXPECT_EQ(BluePixels(0, 60, kWidth, kHeight), 0);  // nothing below the field
}

}  // namespace
