#include "app/DebugKeys.h"

#include <gtest/gtest.h>

// Alt and Control combinations need exactly their modifier; P toggles the pause with any
// modifiers; Space steps only while paused.
TEST(DebugKeys, each_developer_key_needs_its_modifier_and_state) {
    const struct {
        sf::Keyboard::Key code;
        bool alt, control, paused;
        DebugKey expected;
    } rows[] = {
        {sf::Keyboard::D, true, false, false, DebugKey::ToggleDebugDraw},
        {sf::Keyboard::F, true, false, false, DebugKey::ToggleCounters},
        {sf::Keyboard::O, true, false, false, DebugKey::ShowPodium},
        {sf::Keyboard::L, false, true, false, DebugKey::ReloadSounds},
        {sf::Keyboard::D, false, false, false, DebugKey::None},
        {sf::Keyboard::F, false, true, false, DebugKey::None},
        {sf::Keyboard::L, true, false, false, DebugKey::None},
        {sf::Keyboard::O, false, false, true, DebugKey::None},
        {sf::Keyboard::P, false, false, false, DebugKey::TogglePause},
        {sf::Keyboard::P, true, true, true, DebugKey::TogglePause},
        {sf::Keyboard::Space, false, false, true, DebugKey::SingleStep},
        {sf::Keyboard::Space, false, false, false, DebugKey::None},
        {sf::Keyboard::Left, false, false, true, DebugKey::None},
    };
    for (const auto& row : rows) {
        const sf::Event::KeyEvent key{row.code, row.alt, row.control, false, false};
        EXPECT_EQ(DebugKeyFor(key, row.paused), row.expected)
            << "key " << row.code << " alt " << row.alt << " control " << row.control << " paused " << row.paused;
    }
}
