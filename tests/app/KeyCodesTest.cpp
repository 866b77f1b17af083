#include "app/KeyCodes.h"

#include <gtest/gtest.h>

// The stored codes are those of the old key list: letters and digits by their ASCII values, the
// other keys numbered from Escape = 256 in the list's order up to Pause = 320. Every key of the
// window library has its code, and each code leads back to its key.
TEST(KeyCodes, every_window_key_has_its_stored_code_both_ways) {
    for (int k = 0; k < sf::Keyboard::KeyCount; ++k) {
        const auto key = static_cast<sf::Keyboard::Key>(k);
        uint32_t expected = 256 + (k - sf::Keyboard::Escape);
        if (k <= sf::Keyboard::Z) {
            expected = 'a' + (k - sf::Keyboard::A);
        } else if (k <= sf::Keyboard::Num9) {
            expected = '0' + (k - sf::Keyboard::Num0);
        }
        EXPECT_EQ(Key::FromSfml(key), expected) << "key " << k;
        EXPECT_EQ(Key::ToSfml(expected), key) << "code " << expected;
    }
    const std::pair<sf::Keyboard::Key, uint32_t> landmarks[] = {
        {sf::Keyboard::A, 97},       {sf::Keyboard::Z, 122},       {sf::Keyboard::Num0, 48},
        {sf::Keyboard::Num9, 57},    {sf::Keyboard::Escape, 256},  {sf::Keyboard::RControl, 261},
        {sf::Keyboard::Hyphen, 276}, {sf::Keyboard::Enter, 278},   {sf::Keyboard::Left, 291},
        {sf::Keyboard::Down, 294},   {sf::Keyboard::Numpad0, 295}, {sf::Keyboard::F1, 305},
        {sf::Keyboard::Pause, 320}};
    for (auto [key, code] : landmarks) {
        EXPECT_EQ(Key::FromSfml(key), code) << "key " << key;
    }
}

TEST(KeyCodes, unknown_keys_and_codes_match_nothing) {
    EXPECT_FALSE(Key::FromSfml(sf::Keyboard::Unknown));
    EXPECT_FALSE(Key::FromSfml(sf::Keyboard::KeyCount));
    for (uint32_t code : {0u, 65u, 90u, 47u, 58u, 96u, 123u, 255u, 321u, 1000u, uint32_t(Key::None)}) {
        EXPECT_EQ(Key::ToSfml(code), sf::Keyboard::Unknown) << code;
    }
}
