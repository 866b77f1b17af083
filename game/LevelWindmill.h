#pragma once

#include "game/Level.h"

// The level "data/levels/1_nanomill.xml": its body "windmill" turns on a pin through its own
// position, and the path grid's walls are laid once the world is complete.
class LevelWindmill : public Level {
public:
    bool Load(const std::string& file, Application* application) override;
};
