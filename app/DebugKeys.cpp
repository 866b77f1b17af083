#include "app/DebugKeys.h"

DebugKey DebugKeyFor(const sf::Event::KeyEvent& key, bool paused) {
    switch (key.code) {
    case sf::Keyboard::D: return key.alt ? DebugKey::ToggleDebugDraw : DebugKey::None;
    case sf::Keyboard::F: return key.alt ? DebugKey::ToggleCounters : DebugKey::None;
    case sf::Keyboard::L: return key.control ? DebugKey::ReloadSounds : DebugKey::None;
    case sf::Keyboard::O: return key.alt ? DebugKey::ShowPodium : DebugKey::None;
    case sf::Keyboard::P: return DebugKey::TogglePause;
    case sf::Keyboard::Space: return paused ? DebugKey::SingleStep : DebugKey::None;
    default: return DebugKey::None;
    }
}
