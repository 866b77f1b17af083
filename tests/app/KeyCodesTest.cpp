#include <gtest/gtest.h>

#include <set>
#include <vector>

#include "app/KeyCodes.h"

// Every key of the window library has a code, no two keys share one, and each code leads back to
// its key.
TEST(KeyCodes, every_window_key_has_a_distinct_code_that_leads_back_to_it) {
    std::set<uint32_t> codes;
    for (int k = 0; k < sf::Keyboard::KeyCount; ++k) {
        const auto key = static_cast<sf::Keyboard::Key>(k);
        std::optional<Key::Code> code = Key::FromSfml(key);
        ASSERT_TRUE(code) << "key " << k;
        EXPECT_TRUE(codes.insert(*code).second) << "code " << *code << " given twice";
        EXPECT_EQ(Key::ToSfml(*code), key) << "code " << *code;
    }
}

// The stored values are those of the old key list: letters and digits by their ASCII values, the
// rest numbered from Escape = 256 in the list's order up to Pause = 320.
TEST(KeyCodes, codes_are_the_stored_values_of_the_old_key_list) {
    EXPECT_EQ(Key::FromSfml(sf::Keyboard::Z), 122u);
    EXPECT_EQ(Key::FromSfml(sf::Keyboard::A), 97u);
    EXPECT_EQ(Key::FromSfml(sf::Keyboard::Num0), 48u);
    EXPECT_EQ(Key::FromSfml(sf::Keyboard::Num9), 57u);
    EXPECT_EQ(Key::FromSfml(sf::Keyboard::Escape), 256u);
    EXPECT_EQ(Key::FromSfml(sf::Keyboard::RControl), 261u);
    EXPECT_EQ(Key::FromSfml(sf::Keyboard::Hyphen), 276u);
    EXPECT_EQ(Key::FromSfml(sf::Keyboard::Enter), 278u);
    EXPECT_EQ(Key::FromSfml(sf::Keyboard::Left), 291u);
    EXPECT_EQ(Key::FromSfml(sf::Keyboard::Down), 294u);
    EXPECT_EQ(Key::FromSfml(sf::Keyboard::Numpad0), 295u);
    EXPECT_EQ(Key::FromSfml(sf::Keyboard::F1), 305u);
    EXPECT_EQ(Key::FromSfml(sf::Keyboard::Pause), 320u);
    // From Escape on, the old list and the library's list name the keys in the same order.
    for (int k = sf::Keyboard::Escape; k <= sf::Keyboard::Pause; ++k) {
        EXPECT_EQ(Key::FromSfml(static_cast<sf::Keyboard::Key>(k)), 256u + (k - sf::Keyboard::Escape));
    }
}

// Every code of the old list names a key, and that key gives the code back.
TEST(KeyCodes, every_stored_code_names_a_key_that_gives_it_back) {
    std::vector<uint32_t> codes;
    for (uint32_t c = 'a'; c <= 'z'; ++c) {
        codes.push_back(c);
    }
    for (uint32_t c = '0'; c <= '9'; ++c) {
        codes.push_back(c);
    }
    for (uint32_t c = Key::Escape; c <= Key::Pause; ++c) {
        codes.push_back(c);
    }
    EXPECT_EQ(codes.size(), static_cast<size_t>(sf::Keyboard::KeyCount));
    for (uint32_t code : codes) {
        const sf::Keyboard::Key key = Key::ToSfml(code);
        ASSERT_NE(key, sf::Keyboard::Unknown) << code;
        EXPECT_EQ(Key::FromSfml(key), code);
    }
}

TEST(KeyCodes, unknown_keys_and_codes_match_nothing) {
    EXPECT_FALSE(Key::FromSfml(sf::Keyboard::Unknown));
    EXPECT_FALSE(Key::FromSfml(sf::Keyboard::KeyCount));
    for (uint32_t code : {0u, 65u, 90u, 47u, 58u, 96u, 123u, 255u, 321u, 1000u, uint32_t(Key::None)}) {
        EXPECT_EQ(Key::ToSfml(code), sf::Keyboard::Unknown) << code;
    }
}
