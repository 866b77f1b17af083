#include <gtest/gtest.h>

#include "app/DebugKeys.h"

namespace {

sf::Event::KeyEvent Key(sf::Keyboard::Key code, bool alt = false, bool control = false) {
    sf::Event::KeyEvent key{};
    key.code = code;
    key.alt = alt;
    key.control = control;
    return key;
}

}  // namespace

TEST(DebugKeys, alt_and_control_combinations_need_their_modifier) {
    EXPECT_EQ(DebugKeyFor(Key(sf::Keyboard::D, true), false), DebugKey::ToggleDebugDraw);
    EXPECT_EQ(DebugKeyFor(Key(sf::Keyboard::F, true), false), DebugKey::ToggleCounters);
    EXPECT_EQ(DebugKeyFor(Key(sf::Keyboard::O, true), false), DebugKey::ShowPodium);
    EXPECT_EQ(DebugKeyFor(Key(sf::Keyboard::L, false, true), false), DebugKey::ReloadSounds);
    // Without the modifier, or with the other one, they are ordinary keys.
    EXPECT_EQ(DebugKeyFor(Key(sf::Keyboard::D), false), DebugKey::None);
    EXPECT_EQ(DebugKeyFor(Key(sf::Keyboard::F, false, true), false), DebugKey::None);
    EXPECT_EQ(DebugKeyFor(Key(sf::Keyboard::L, true), false), DebugKey::None);
    EXPECT_EQ(DebugKeyFor(Key(sf::Keyboard::O), true), DebugKey::None);
}

TEST(DebugKeys, pause_toggles_with_any_modifier_and_space_steps_only_while_paused) {
    EXPECT_EQ(DebugKeyFor(Key(sf::Keyboard::P), false), DebugKey::TogglePause);
    EXPECT_EQ(DebugKeyFor(Key(sf::Keyboard::P, true, true), true), DebugKey::TogglePause);
    EXPECT_EQ(DebugKeyFor(Key(sf::Keyboard::Space), true), DebugKey::SingleStep);
    EXPECT_EQ(DebugKeyFor(Key(sf::Keyboard::Space), false), DebugKey::None);
    EXPECT_EQ(DebugKeyFor(Key(sf::Keyboard::Left), true), DebugKey::None);
}
