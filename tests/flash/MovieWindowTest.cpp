// Movies drawn into a real window through the game's wrapper: shapes at the movie's frame rate,
// a text field the game sets, and a button under a pointer that xdotool moves and presses.
#include "flash/FlashMovie.h"
#include "swfplayer/main/player/root.h"
#include "swfplayer/main/text/glyph_provider.h"
#include "tests/flash/FlashTestKit.h"
#include "tests/support/WaitUntil.h"
#include "tests/swfplayer/main/player/PlayerMovies.h"
#include "tools/swfkit/FontBuilder.h"
#include "tools/swfkit/Movie.h"
#include "tools/swfkit/TextWriter.h"

namespace flash_testing {
namespace {

const Pixel kBlack{0, 0, 0}, kRed{255, 0, 0}, kGreen{0, 255, 0}, kBlue{0, 0, 255};

class MovieWindowTest : public WindowTest {
protected:
    // Draws the movie over black as the game draws a frame, with an SFML marker after it, and
    // reads the given pixels.
    std::vector<Pixel> Shoot(const FlashMovie& movie, const std::vector<sf::Vector2i>& at) {
        m_Window->clear(sf::Color::Black);
        m_Window->draw(movie);
        sf::RectangleShape marker({4.0f, 4.0f});
        marker.setFillColor(sf::Color::Blue);
        marker.setPosition(300.0f, 220.0f);
        m_Window->draw(marker);
        std::vector<Pixel> pixels;
        for (const sf::Vector2i& p : at) {
            pixels.push_back(Read(p.x, p.y));
        }
        return pixels;
    }
    // Pixels inside a rectangle of the last shot that are blue enough to be text.
    static int BluePixels(int x0, int y0, int x1, int y1) {
        const std::vector<uint8_t> all = ReadAll();
        int count = 0;
        for (int y = y0; y < y1; y++) {
            for (int x = x0; x < x1; x++) {
                const uint8_t* p = &all[4 * ((kHeight - 1 - y) * kWidth + x)];
                count += p[2] > 128 && p[0] < 64 ? 1 : 0;
            }
        }
        return count;
    }
    // Writes "text.swf": a field named "caption" in the font, blue, 300 by 60 pixels at the origin.
    void WriteTextMovie(const swfkit::EmbeddedFont& font) {
        swfkit::EditText field;
        field.id = 2;
        field.bounds = {0, 300 * kTwips, 0, 60 * kTwips};
        field.fontId = 1;
        field.height = 40 * kTwips;
        field.color = swfkit::Color{0, 0, 255, 255};
        swfkit::Movie bytes(8, {0, kWidth * kTwips, 0, kHeight * kTwips}, 12.0);
        bytes.Tags().Tag(swfplayer::tag_define_font2, swfkit::DefineFont2Body(1, font, false, false, true));
        bytes.Tags().Tag(swfplayer::tag_define_edit_text, swfkit::DefineEditTextBody(field));
        swfkit::Placement place;
        place.characterId = 2;
        place.name = "caption";
        bytes.Tags().PlaceObject2(place).ShowFrame();
        Write("text.swf", bytes.Write(false));
    }
};

TEST_F(MovieWindowTest, the_movie_plays_at_its_frame_rate_with_its_shapes_and_colours_in_place) {
    Write("shapes.swf", player_movies::ShapesMovie(3, 30));
    FlashMovie movie("shapes.swf");
    ASSERT_TRUE(movie.GetRoot());
    movie.setPosition(10.0f, 10.0f);
    // Inside the red square of frames 0 and 2, the clip's half-coloured green square, an empty
    // point of the stage, and the SFML marker drawn after the movie.
    const std::vector<sf::Vector2i> at = {{20, 40}, {60, 40}, {140, 80}, {100, 100}, {301, 221}};
    const Pixel darkGreen{0, 128, 0};
    movie.Advance(0.0f);  // the first frame
    for (int frame : {0, 2}) {
        ASSERT_EQ(movie.GetRoot()->get_current_frame(), frame);
        const std::vector<Pixel> want = {frame ? kBlack : kRed, frame ? kRed : kBlack, darkGreen, kBlack, kBlue};
        const std::vector<Pixel> got = Shoot(movie, at);
        for (size_t i = 0; i < at.size(); ++i) {
            ExpectNear(got[i], want[i], 3, "frame " + std::to_string(frame) + ", point " + std::to_string(i));
        }
        // Two frames at 30 a second: the red square moves 40 pixels right.
        movie.Advance(1.0f / 30.0f);
        movie.Advance(1.0f / 30.0f);
    }
}

// Every drawing of a movie reports its time to the draw timer while one is set, and only then.
TEST_F(MovieWindowTest, each_drawing_reports_its_time_to_the_draw_timer) {
    static std::vector<float> reports;
    reports.clear();
    Write("shapes.swf", player_movies::ShapesMovie(3, 30));
    FlashMovie movie("shapes.swf");
    ASSERT_TRUE(movie.GetRoot());
    movie.Advance(0.0f);
    FlashMovie::SetDrawTimer([](float seconds) { reports.push_back(seconds); });
    Shoot(movie, {});
    Shoot(movie, {});
    FlashMovie::SetDrawTimer(nullptr);
    Shoot(movie, {});
    ASSERT_EQ(reports.size(), 2u);
    for (float seconds : reports) {
        EXPECT_GT(seconds, 0.0f);
        EXPECT_LT(seconds, 10.0f);
    }
}

// The game sets a field's text through FlashMovie::SetText; the screenshot shows the new text.
TEST_F(MovieWindowTest, a_field_set_through_the_movie_wrapper_shows_the_new_text) {
    swfkit::EmbeddedFont font;
    ASSERT_TRUE(swfkit::LoadTrueTypeFont(TEST_FONT, "HIWelo", &font));
    WriteTextMovie(font);
    FlashMovie movie("text.swf");
    ASSERT_TRUE(movie.GetCharacter("caption"));
    movie.Advance(0.0f);
    // Text pixels of the field's left and right halves after setting the text.
    auto shoot = [&](const char* text) {
        movie.SetText("caption", text);
        Shoot(movie, {});
        EXPECT_EQ(BluePixels(0, 60, 290, kHeight), 0) << text;  // nothing below the field
        return std::pair{BluePixels(0, 0, 150, 60), BluePixels(150, 0, 300, 60)};
    };
    const auto empty = shoot(""), narrow = shoot("I"), wide = shoot("WWWWW"), hello = shoot("Hello");
    EXPECT_EQ(empty.first + empty.second, 0);
    EXPECT_GT(narrow.first, 20);
    EXPECT_EQ(narrow.second, 0);  // one letter stays at the left
    EXPECT_GT(wide.first + wide.second, 4 * narrow.first);
    EXPECT_GT(hello.first, 20);
}

// A host that installs the glyph provider gets a field in a font the movie holds no outline for
// drawn in the installed family, each character its own shape; without it, every character is the
// same empty box.
TEST_F(MovieWindowTest, a_field_in_an_installed_font_draws_through_the_glyph_provider) {
    swfkit::EmbeddedFont font;
    font.name = "DejaVu Sans";
    WriteTextMovie(font);
    FlashMovie movie("text.swf");
    movie.Advance(0.0f);
    auto blue = [&](const char* text) {
        movie.SetText("caption", text);
        Shoot(movie, {});
        return BluePixels(0, 0, 300, 60);
    };
    swfplayer::create_glyph_provider();
    const int narrow = blue("I"), wide = blue("W");
    swfplayer::close_glyph_provider();
    const int narrow_box = blue("I"), wide_box = blue("W");
    EXPECT_GT(narrow, 100);
    EXPECT_GT(wide, 2 * narrow);
    EXPECT_GT(narrow_box, 0);
    EXPECT_EQ(narrow_box, wide_box);
}

// A button of 100 pixels at (40, 40) that is red when up, green under the mouse and blue while
// pressed, whose release sets _global.clicked to "yes".
swfkit::Bytes ButtonMovie() {
    swfkit::Movie movie(8, {0, kWidth * kTwips, 0, kHeight * kTwips}, 30.0);
    std::vector<swfkit::ButtonRecord> records(3);
    for (uint16_t i = 0; i < 3; i++) {
        swfkit::ShapeBuilder b;
        b.SetFillStyle0(b.AddFillStyle(swfkit::FillStyle::Solid(
            {uint8_t(i == 0 ? 255 : 0), uint8_t(i == 1 ? 255 : 0), uint8_t(i == 2 ? 255 : 0), 255})));
        b.MoveTo(0, 0);
        for (auto [x, y] : {std::pair{0, 100}, {100, 100}, {100, 0}, {0, 0}}) {
            b.LineTo(x * kTwips, y * kTwips);
        }
        movie.Tags().DefineShape(static_cast<uint16_t>(i + 1), b);
        records[i].characterId = static_cast<uint16_t>(i + 1);
    }
    records[0].up = records[0].hitTest = records[1].over = records[2].down = true;
    movie.Tags().DefineButton2(4, false, records, {{0x0008, player_movies::SetGlobalAction("clicked", "yes")}});
    swfkit::Placement p;
    p.characterId = 4;
    p.matrix = swfkit::Matrix{};
    p.matrix->translateX = p.matrix->translateY = 40 * kTwips;
    movie.Tags().PlaceObject2(p).ShowFrame();
    return movie.Write(false);
}

// The window's mouse events go to the root as the game hands them on, frame by frame, until the
// button's centre shows the colour (at most five seconds).
TEST_F(MovieWindowTest, the_mouse_rolls_over_presses_and_releases_the_button) {
    Write("button.swf", ButtonMovie());
    FlashMovie movie("button.swf");
    ASSERT_TRUE(movie.GetRoot());
    sf::Vector2i mouse{0, 0};
    int buttons = 0;
    auto shows = [&](const Pixel& colour) {
        return testing_support::WaitUntil(
            [&] {
                for (sf::Event event; m_Window->pollEvent(event);) {
                    if (event.type == sf::Event::MouseMoved) {
                        mouse = {event.mouseMove.x, event.mouseMove.y};
                    } else if (event.type == sf::Event::MouseButtonPressed ||
                               event.type == sf::Event::MouseButtonReleased) {
                        buttons = event.type == sf::Event::MouseButtonPressed ? 1 : 0;
                    }
                }
                movie.GetRoot()->notify_mouse_state(mouse.x, mouse.y, buttons);
                movie.Advance(1.0f / 30.0f);
                return Shoot(movie, {{90, 90}})[0] == colour;
            },
            std::chrono::seconds(5), std::chrono::milliseconds(10));
    };
    auto clicked = [&] {
        swfplayer::as_value value;
        movie.GetPlayer()->get_global()->get_member("clicked", &value);
        return std::string(value.to_string());
    };
    auto xdotool = [&](const std::vector<std::string>& arguments) {
        return Display().XDoTool(arguments, (m_Dir / "xdotool.txt").string());
    };
    const std::string window = std::to_string(m_Window->getSystemHandle());
    EXPECT_TRUE(shows(kRed)) << "up";
    ASSERT_TRUE(xdotool({"mousemove", "--window", window, "90", "90"}));
    EXPECT_TRUE(shows(kGreen)) << "over";
    ASSERT_TRUE(xdotool({"mousedown", "1"}));
    EXPECT_TRUE(shows(kBlue)) << "down";
    EXPECT_NE(clicked(), "yes");
    ASSERT_TRUE(xdotool({"mouseup", "1"}));
    EXPECT_TRUE(shows(kGreen)) << "over after the release";
    EXPECT_EQ(clicked(), "yes");
    ASSERT_TRUE(xdotool({"mousemove", "--window", window, "300", "220"}));
    EXPECT_TRUE(shows(kRed)) << "up after rolling out";
}

// A movie drawn between SFML's drawings changes nothing of what SFML draws after it: the frame is
// the same as when SFML is made to set all of its state again after the movie. SFML's drawings
// rely on its cached state: a zoomed view, a texture, the vertex cache of small shapes (which
// leaves the model view as it was) and shapes drawn through the model view.
// A movie that a script loads into the root movie is drawn in the size of the movie the handle
// loaded: a movie of 200 x 100 pixels in place of one of 100 x 50 shows at half its size.
TEST_F(MovieWindowTest, a_movie_loaded_into_the_root_is_drawn_in_the_size_the_handle_loaded) {
    Write("shapes.swf", player_movies::ShapesMovie(3, 30));
    swfkit::Movie loader(8, {0, 100 * kTwips, 0, 50 * kTwips}, 30);
    loader.Tags().DoAction(player_movies::GetUrlAction("shapes.swf", "_root"));
    loader.Tags().ShowFrame().ShowFrame();
    Write("loader.swf", loader.Write(false));
    FlashMovie movie("loader.swf");
    ASSERT_TRUE(movie.GetRoot());
    movie.Advance(1.0f / 30.0f);
    ASSERT_EQ(movie.GetRoot()->get_movie_width(), 200);
    movie.setPosition(10.0f, 10.0f);
    // The red square of the frame shown and the clip's dark green square, each at half its place
    // and size, and where each would show at the movie's own size.
    const int red = 20 * movie.GetRoot()->get_current_frame();
    const std::vector<sf::Vector2i> at = {{10 + red / 2 + 5, 25}, {75, 45}, {10 + red + 15, 45}, {140, 80}, {301, 221}};
    const std::vector<Pixel> want = {kRed, {0, 128, 0}, kBlack, kBlack, kBlue};
    const std::vector<Pixel> got = Shoot(movie, at);
    for (size_t i = 0; i < at.size(); ++i) {
        ExpectNear(got[i], want[i], 3, "point " + std::to_string(i));
    }
}

TEST_F(MovieWindowTest, sfml_draws_after_a_movie_as_it_would_with_its_state_set_again) {
    Write("heavy.swf", player_movies::ShapeHeavyMovie(12, 1, true));
    FlashMovie movie("heavy.swf");
    ASSERT_TRUE(movie.GetRoot());
    movie.Advance(0.0f);
    movie.setPosition(30.0f, 20.0f);
    sf::Image checks;
    checks.create(8, 8, sf::Color::Yellow);
    for (unsigned int i = 0; i < 8; ++i) {
        checks.setPixel(i, i, sf::Color::Magenta);
        checks.setPixel(7 - i, i, sf::Color::Cyan);
    }
    sf::Texture texture;
    ASSERT_TRUE(texture.loadFromImage(checks));
    sf::View view(sf::FloatRect(0.0f, 0.0f, kWidth * 0.8f, kHeight * 0.8f));
    view.rotate(5.0f);
    auto frame = [&](bool setAgain) {
        m_Window->setView(view);
        m_Window->clear(sf::Color::Black);
        sf::Sprite sprite(texture);
        sprite.setScale(6.0f, 6.0f);
        sprite.setPosition(10.0f, 150.0f);
        m_Window->draw(sprite);
        m_Window->draw(movie);
        if (setAgain) {
            m_Window->resetGLStates();
        }
        sprite.setPosition(80.0f, 160.0f);
        sprite.setRotation(20.0f);
        m_Window->draw(sprite);
        sf::CircleShape circle(30.0f, 40);
        circle.setFillColor(sf::Color(40, 200, 90, 160));
        circle.setOutlineColor(sf::Color::White);
        circle.setOutlineThickness(3.0f);
        circle.setPosition(170.0f, 120.0f);
        m_Window->draw(circle);
        m_Window->draw(movie);
        sf::RectangleShape box({50.0f, 20.0f});
        box.setFillColor(sf::Color::Blue);
        box.setPosition(200.0f, 40.0f);
        m_Window->draw(box, sf::BlendAdd);
        return ReadAll();
    };
    const std::vector<uint8_t> setAgain = frame(true);
    const std::vector<uint8_t> kept = frame(false);
    EXPECT_TRUE(kept == setAgain);
    m_Window->setView(m_Window->getDefaultView());
    // The frame holds the sprites' texture, the circle and the box, not only the movie.
    int yellow = 0;
    for (size_t i = 0; i < kept.size(); i += 4) {
        yellow += kept[i] > 200 && kept[i + 1] > 200 && kept[i + 2] < 60 ? 1 : 0;
    }
    EXPECT_GT(yellow, 500);
}

}  // namespace
}  // namespace flash_testing
