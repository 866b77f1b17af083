#include "flash/FlashMovie.h"
#include "tests/support/TempDir.h"
#include "tests/swfplayer/main/player/PlayerMovies.h"

#include <GL/gl.h>
#include <SFML/Graphics.hpp>
#include <gtest/gtest.h>
#include <physfs.h>

#include <array>
#include <cstdlib>
#include <string>

namespace {

constexpr unsigned int kWidth = 320;
constexpr unsigned int kHeight = 240;

using Pixel = std::array<int, 3>;

// The kit's shapes movie loaded through the virtual file system and drawn into a window
// opened as the game opens its own, at an offset as a drawable.
class FlashMovieWindowTest : public ::testing::Test {
protected:
    void SetUp() override {
        if (!std::getenv("DISPLAY")) {
            GTEST_SKIP() << "no X display; the suite runs these under xvfb-run";
        }
        ASSERT_NE(PHYSFS_init(nullptr), 0);
        ASSERT_NE(PHYSFS_mount(m_Dir.Path().c_str(), nullptr, 0), 0);
        const swfkit::Bytes movie = player_movies::ShapesMovie(3, 30);
        testing_support::WriteFile(m_Dir / "shapes.swf", std::string(movie.begin(), movie.end()));
        m_Window.create(sf::VideoMode(kWidth, kHeight), "movie test", sf::Style::None, sf::ContextSettings(24, 8, 4));
        ASSERT_TRUE(m_Window.isOpen());
    }
    void TearDown() override {
        if (m_Window.isOpen()) {
            m_Window.close();
        }
        PHYSFS_deinit();
    }

    // Draws the movie over black, as the game draws a frame, and reads the back buffer at the
    // given window pixels.
    std::vector<Pixel> Shoot(const FlashMovie& movie, const std::vector<sf::Vector2i>& at) {
        m_Window.clear(sf::Color::Black);
        m_Window.draw(movie);
        // SFML drawing after the movie still works.
        sf::RectangleShape marker({4.0f, 4.0f});
        marker.setFillColor(sf::Color::Blue);
        marker.setPosition(300.0f, 220.0f);
        m_Window.draw(marker);
        std::vector<Pixel> pixels;
        glPixelStorei(GL_PACK_ALIGNMENT, 1);
        for (const sf::Vector2i& p : at) {
            unsigned char rgba[4] = {0, 0, 0, 0};
            glReadPixels(p.x, static_cast<int>(kHeight) - 1 - p.y, 1, 1, GL_RGBA, GL_UNSIGNED_BYTE, rgba);
            pixels.push_back({rgba[0], rgba[1], rgba[2]});
        }
        m_Window.display();
        return pixels;
    }

    testing_support::TempDir m_Dir;
    sf::RenderWindow m_Window;
};

void ExpectNear(const std::vector<Pixel>& got, const std::vector<Pixel>& want, const std::string& when) {
    ASSERT_EQ(got.size(), want.size());
    for (size_t i = 0; i < got.size(); ++i) {
        for (int c = 0; c < 3; ++c) {
            EXPECT_NEAR(got[i][c], want[i][c], 3) << when << ", point " << i << ", channel " << c;
        }
    }
}

TEST_F(FlashMovieWindowTest, the_movie_plays_at_its_frame_rate_with_its_shapes_and_colours_in_place) {
    FlashMovie movie("shapes.swf");
    ASSERT_TRUE(movie.GetRoot());
    movie.setPosition(10.0f, 10.0f);
    // Points inside the red square of frames 0 and 2, the clip's half-coloured green square, an
    // empty point of the stage, and the SFML marker drawn after the movie.
    const std::vector<sf::Vector2i> at = {{20, 40}, {60, 40}, {140, 80}, {100, 100}, {301, 221}};
    const Pixel black{0, 0, 0}, red{255, 0, 0}, darkGreen{0, 128, 0}, blue{0, 0, 255};
    movie.Advance(0.0f);  // the first frame
    ExpectNear(Shoot(movie, at), {red, black, darkGreen, black, blue}, "frame 0");

    // Two frames at 30 a second: the red square has moved 40 pixels right.
    movie.Advance(1.0f / 30.0f);
    movie.Advance(1.0f / 30.0f);
    ASSERT_EQ(movie.GetRoot()->get_current_frame(), 2);
    ExpectNear(Shoot(movie, at), {black, red, darkGreen, black, blue}, "frame 2");
}

}  // namespace
