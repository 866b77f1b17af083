#include <SFML/Graphics/Font.hpp>
#include <SFML/Graphics/Image.hpp>
#include <gtest/gtest.h>

#include <filesystem>

// The working folder that the build assembles holds what the game reads at start-up: the
// application data, the font, and the icon the build draws (a 32-pixel picture with a
// transparent corner and an opaque middle).
TEST(GameFolder, holds_the_application_data_font_and_drawn_icon) {
    EXPECT_TRUE(std::filesystem::is_regular_file(PONDORIX_GAME_DIR "/application.xml"));
    sf::Font font;
    EXPECT_TRUE(font.loadFromFile(PONDORIX_GAME_DIR "/data/child.ttf"));
    sf::Image icon;
    ASSERT_TRUE(icon.loadFromFile(PONDORIX_GAME_DIR "/data/icon32.png"));
    ASSERT_EQ(icon.getSize(), sf::Vector2u(32, 32));
    EXPECT_EQ(icon.getPixel(0, 0).a, 0);
    EXPECT_EQ(icon.getPixel(16, 24).a, 255);
}
