#pragma once
// What the game's benchmarks share: the build's game folder mounted as the game mounts it, an
// 800 x 600 window to draw in, and the minimum of a benchmark's repetitions.

#include "app/SoundManager.h"
#include "app/TiXmlIOProxy.h"
#include "app/TinyxmlPhysfsProxy.h"
#include "platform/HeapSettings.h"

#include <SFML/Graphics/RenderWindow.hpp>
#include <physfs.h>

#include <algorithm>
#include <string>
#include <vector>

namespace game_benchmark {

inline double Min(const std::vector<double>& v) {
    return *std::min_element(v.begin(), v.end());
}

// The game folder mounted at the root, with the game's sound table; once.
inline void MountGameFolder() {
    static const bool mounted = [] {
        static TinyxmlPhysfsProxy proxy;
        PHYSFS_init(nullptr);
        PHYSFS_mount(PONDORIX_GAME_DIR, nullptr, 0);
        TiXmlIOProxy::SetCurrent(&proxy);
        SoundManager::GetInstance().Load();
        return true;
    }();
    (void)mounted;
}

// A borderless 800 x 600 window with the game's context settings and heap setting, made active.
inline sf::RenderWindow& Window(const std::string& title) {
    static const bool kept = platform::KeepFreedHeapMemory();
    (void)kept;
    static sf::RenderWindow window(sf::VideoMode(800, 600), title, sf::Style::None, sf::ContextSettings(24, 8, 4));
    window.setActive(true);
    return window;
}

}  // namespace game_benchmark
