#include "flash/FlashMovie.h"
#include "swfplayer/main/display/sprite_instance.h"
#include "swfplayer/main/player/root.h"
#include "tests/support/TempDir.h"
#include "tests/support/WaitUntil.h"
#include "tests/support/X11TestDisplay.h"
#include "tools/swfkit/Movie.h"

#include <GL/gl.h>
#include <SFML/Graphics.hpp>
#include <gtest/gtest.h>
#include <physfs.h>

#include <array>
#include <cstdlib>
#include <optional>
#include <string>

namespace {

constexpr unsigned int kWidth = 320;
constexpr unsigned int kHeight = 240;
// The button's square: 100 pixels wide with its top-left corner at (40, 40).
constexpr int kButtonLeft = 40;
constexpr int kButtonSize = 100;

using Pixel = std::array<int, 3>;
const Pixel kRed{255, 0, 0}, kGreen{0, 255, 0}, kBlue{0, 0, 255};

swfkit::ShapeBuilder Square(swfkit::Color colour) {
    const int size = kButtonSize * swfplayer::twips_per_pixel;
    swfkit::ShapeBuilder b;
    b.SetFillStyle0(b.AddFillStyle(swfkit::FillStyle::Solid(colour)));
    b.MoveTo(0, 0);
    b.LineTo(0, size);
    b.LineTo(size, size);
    b.LineTo(size, 0);
    b.LineTo(0, 0);
    return b;
}

// A button that is red when up, green under the mouse and blue while pressed, whose release
// sets the root's variable clicked to "yes".
swfkit::Bytes ButtonMovie() {
    swfkit::Movie movie(8, {0, kWidth * swfplayer::twips_per_pixel, 0, kHeight * swfplayer::twips_per_pixel}, 30.0);
    swfkit::TagList& tags = movie.Tags();
    tags.DefineShape(1, Square({255, 0, 0, 255})).DefineShape(2, Square({0, 255, 0, 255}));
    tags.DefineShape(3, Square({0, 0, 255, 255}));
    std::vector<swfkit::ButtonRecord> records(3);
    for (uint16_t i = 0; i < 3; i++) {
        records[i].characterId = static_cast<uint16_t>(i + 1);
    }
    records[0].up = records[0].hitTest = true;
    records[1].over = true;
    records[2].down = true;
    // Push (14 bytes: the strings "clicked" and "yes"), SetVariable, End.
    const swfkit::Bytes clicked = {0x96, 14, 0, 0, 'c', 'l', 'i', 'c', 'k', 'e', 'd', 0, 0, 'y', 'e', 's', 0, 0x1D, 0};
    tags.DefineButton2(4, false, records, {{0x0008, clicked}});
    swfkit::Placement p;
    p.characterId = 4;
    p.name = "button";
    p.matrix = swfkit::Matrix{};
    p.matrix->translateX = p.matrix->translateY = kButtonLeft * swfplayer::twips_per_pixel;
    tags.PlaceObject2(p).ShowFrame();
    return movie.Write(false);
}

// The movie in a real window: the pointer is moved and pressed by xdotool, the window's mouse
// events go to the root as the game hands them on, and the button's colour is read back.
class ButtonWindowTest : public ::testing::Test {
protected:
    void SetUp() override {
        // An X server of the test's own: no other test's window covers the button, and no other
        // test moves the pointer. SFML opens its windows on $DISPLAY.
        m_Display = &OwnDisplay();
        if (!m_Display->Ready()) {
            GTEST_SKIP() << "no Xvfb server";
        }
        if (const char* previous = std::getenv("DISPLAY")) {
            m_PreviousDisplay = previous;
        }
        setenv("DISPLAY", m_Display->Name().c_str(), 1);
        ASSERT_NE(PHYSFS_init(nullptr), 0);
        ASSERT_NE(PHYSFS_mount(m_Dir.Path().c_str(), nullptr, 0), 0);
        const swfkit::Bytes movie = ButtonMovie();
        testing_support::WriteFile(m_Dir / "button.swf", std::string(movie.begin(), movie.end()));
        m_Window.emplace(sf::VideoMode(kWidth, kHeight), "button test", sf::Style::None);
        ASSERT_TRUE(m_Window->isOpen());
    }
    void TearDown() override {
        m_Window.reset();
        if (PHYSFS_isInit()) {
            PHYSFS_deinit();
        }
        if (m_PreviousDisplay) {
            setenv("DISPLAY", m_PreviousDisplay->c_str(), 1);
        }
    }

    bool XDoTool(const std::vector<std::string>& arguments) {
        return m_Display->XDoTool(arguments, (m_Dir / "xdotool.txt").string());
    }

    // One frame: the window's mouse events go to the root, the movie advances and is drawn, and
    // the colour at the button's centre comes back.
    Pixel Frame(FlashMovie& movie) {
        for (sf::Event event; m_Window->pollEvent(event);) {
            if (event.type == sf::Event::MouseMoved) {
                m_Mouse = {event.mouseMove.x, event.mouseMove.y};
            } else if (event.type == sf::Event::MouseButtonPressed && event.mouseButton.button == sf::Mouse::Left) {
                m_Buttons = 1;
            } else if (event.type == sf::Event::MouseButtonReleased && event.mouseButton.button == sf::Mouse::Left) {
                m_Buttons = 0;
            }
        }
        movie.GetRoot()->notify_mouse_state(m_Mouse.x, m_Mouse.y, m_Buttons);
        movie.Advance(1.0f / 30.0f);
        m_Window->clear(sf::Color::Black);
        m_Window->draw(movie);
        unsigned char rgba[4] = {0, 0, 0, 0};
        glPixelStorei(GL_PACK_ALIGNMENT, 1);
        const int centre = kButtonLeft + kButtonSize / 2;
        glReadPixels(centre, static_cast<int>(kHeight) - 1 - centre, 1, 1, GL_RGBA, GL_UNSIGNED_BYTE, rgba);
        m_Window->display();
        return {rgba[0], rgba[1], rgba[2]};
    }

    // The root's variable that the button's release sets.
    static std::string Clicked(FlashMovie& movie) {
        swfplayer::as_value value;
        movie.GetRoot()->get_root_sprite()->get_member("clicked", &value);
        return value.to_string();
    }

    // Runs frames until the button shows colour (at most five seconds).
    bool Shows(FlashMovie& movie, const Pixel& colour) {
        return testing_support::WaitUntil([&] { return Frame(movie) == colour; }, std::chrono::seconds(5),
                                          std::chrono::milliseconds(10));
    }

    // Lives until the process ends: SFML keeps its connection to the display after the last window
    // closes, and Xlib ends the process when that server goes away first.
    static testing_support::X11TestDisplay& OwnDisplay() {
        static testing_support::X11TestDisplay display(kWidth, kHeight);
        return display;
    }

    testing_support::X11TestDisplay* m_Display = nullptr;
    std::optional<std::string> m_PreviousDisplay;
    testing_support::TempDir m_Dir;
    // Made once DISPLAY names the test's server: SFML connects to the display with its first window.
    std::optional<sf::RenderWindow> m_Window;
    sf::Vector2i m_Mouse{0, 0};
    int m_Buttons = 0;
};

TEST_F(ButtonWindowTest, the_mouse_rolls_over_presses_and_releases_the_button) {
    FlashMovie movie("button.swf");
    ASSERT_TRUE(movie.GetRoot());
    const std::string window = std::to_string(m_Window->getSystemHandle());
    const std::string inside = std::to_string(kButtonLeft + kButtonSize / 2);
    EXPECT_TRUE(Shows(movie, kRed)) << "up";
    ASSERT_TRUE(XDoTool({"mousemove", "--window", window, inside, inside}));
    EXPECT_TRUE(Shows(movie, kGreen)) << "over";
    ASSERT_TRUE(XDoTool({"mousedown", "1"}));
    EXPECT_TRUE(Shows(movie, kBlue)) << "down";
    EXPECT_NE(Clicked(movie), "yes");
    ASSERT_TRUE(XDoTool({"mouseup", "1"}));
    EXPECT_TRUE(Shows(movie, kGreen)) << "over after the release";
    EXPECT_EQ(Clicked(movie), "yes");
    ASSERT_TRUE(XDoTool({"mousemove", "--window", window, "300", "220"}));
    EXPECT_TRUE(Shows(movie, kRed)) << "up after rolling out";
}

}  // namespace
