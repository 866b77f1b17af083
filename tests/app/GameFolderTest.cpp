#include <gtest/gtest.h>

#include <filesystem>

#include <SFML/Graphics/Font.hpp>
#include <SFML/Graphics/Image.hpp>

// The working folder that the build assembles holds what the game reads at start-up.

TEST(GameFolder, icon_is_a_32_pixel_picture_with_a_transparent_corner_and_an_opaque_middle) {
    sf::Image icon;
    ASSERT_TRUE(icon.loadFromFile(PONDORIX_GAME_DIR "/data/icon32.png"));
    ASSERT_EQ(icon.getSize(), sf::Vector2u(32, 32));
    EXPECT_EQ(icon.getPixel(0, 0).a, 0);
    EXPECT_EQ(icon.getPixel(16, 24).a, 255);
}

TEST(GameFolder, font_and_application_data_are_in_place) {
    sf::Font font;
    EXPECT_TRUE(font.loadFromFile(PONDORIX_GAME_DIR "/data/child.ttf"));
    EXPECT_TRUE(std::filesystem::is_regular_file(PONDORIX_GAME_DIR "/application.xml"));
}
