#include "flash/FlashMovie.h"
#include "swfplayer/main/common/twips.h"
#include "tests/support/TempDir.h"
#include "tests/support/X11TestDisplay.h"
#include "tools/swfkit/FontBuilder.h"
#include "tools/swfkit/Movie.h"
#include "tools/swfkit/TextWriter.h"

#include <GL/gl.h>
#include <SFML/Graphics.hpp>
#include <gtest/gtest.h>
#include <physfs.h>

#include <cstdlib>
#include <string>
#include <utility>
#include <vector>

namespace {

constexpr int kWidth = 320;
constexpr int kHeight = 120;
constexpr int kTwips = swfplayer::twips_per_pixel;

// Pixels of the window's back buffer inside a rectangle that are blue enough to be text.
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

// A movie in the game font with one blue edit text field, 300 by 60 pixels at the origin, placed
// under the name "caption".
swfkit::Bytes FieldMovie() {
    swfkit::EmbeddedFont font;
    EXPECT_TRUE(swfkit::LoadTrueTypeFont(TEST_FONT, "HIWelo", &font));
    swfkit::EditText field;
    field.id = 2;
    field.bounds = {0, 300 * kTwips, 0, 60 * kTwips};
    field.fontId = 1;
    field.height = 40 * kTwips;
    field.color = swfkit::Color{0, 0, 255, 255};
    swfkit::Movie movie(8, {0, kWidth * kTwips, 0, kHeight * kTwips}, 12.0);
    movie.Tags().Tag(swfplayer::tag_define_font2, swfkit::DefineFont2Body(1, font, false, false, true));
    movie.Tags().Tag(swfplayer::tag_define_edit_text, swfkit::DefineEditTextBody(field));
    swfkit::Placement place;
    place.characterId = 2;
    place.name = "caption";
    movie.Tags().PlaceObject2(place);
    movie.Tags().ShowFrame();
    return movie.Write(false);
}

// The game sets a movie's text through FlashMovie::SetText; the screenshot shows the new text.
TEST(TextWindowTest, a_field_set_through_the_movie_wrapper_shows_the_new_text) {
    static testing_support::X11TestDisplay display(kWidth + 64, kHeight + 64);
    ASSERT_TRUE(display.Ready()) << "no Xvfb server";
    setenv("DISPLAY", display.Name().c_str(), 1);
    testing_support::TempDir dir;
    const swfkit::Bytes bytes = FieldMovie();
    testing_support::WriteFile(dir / "text.swf", std::string(bytes.begin(), bytes.end()));
    ASSERT_NE(PHYSFS_init(nullptr), 0);
    ASSERT_NE(PHYSFS_mount(dir.Path().c_str(), nullptr, 0), 0);
    {
        sf::RenderWindow window(sf::VideoMode(kWidth, kHeight), "text test", sf::Style::None,
                                sf::ContextSettings(24, 8, 4));
        FlashMovie movie("text.swf");
        ASSERT_TRUE(movie.GetRoot());
        ASSERT_TRUE(movie.GetCharacter("caption"));
        movie.Advance(0.0f);

        // Text pixels of the field's left and right halves after setting the text.
        auto shoot = [&](const char* text) {
            movie.SetText("caption", text);
            window.clear(sf::Color::Black);
            window.draw(movie);
            const std::pair halves{BluePixels(0, 0, 150, 60), BluePixels(150, 0, 300, 60)};
            EXPECT_EQ(BluePixels(0, 60, kWidth, kHeight), 0) << text;  // nothing below the field
            window.display();
            return halves;
        };
        const auto empty = shoot("");
        const auto narrow = shoot("I");
        const auto wide = shoot("WWWWW");
        const auto hello = shoot("Hello");
        EXPECT_EQ(empty.first + empty.second, 0);
        EXPECT_GT(narrow.first, 20);
        EXPECT_EQ(narrow.second, 0);  // one letter stays at the left
        EXPECT_GT(wide.first + wide.second, 4 * narrow.first);
        EXPECT_GT(hello.first, 20);
    }
    PHYSFS_deinit();
}

}  // namespace
