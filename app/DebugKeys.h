#pragma once

#include <SFML/Window/Event.hpp>

// The developer keys of the main loop.
enum class DebugKey {
    None,
    ToggleDebugDraw,  // Alt+D: the physics debug view of matches
    ToggleCounters,   // Alt+F: the performance overlay
    ReloadSounds,     // Control+L: the sound table read again
    ShowPodium,       // Alt+O: the championship podium with fixed places
    TogglePause,      // P: stop or resume the update steps
    SingleStep,       // Space while paused: one update step of the screens
};

// The developer key that a key press is, None for any other key.
DebugKey DebugKeyFor(const sf::Event::KeyEvent& key, bool paused);
