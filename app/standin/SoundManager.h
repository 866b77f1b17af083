#pragma once

// Stand-in for the sound manager: the calls the main loop makes, playing nothing.

namespace standin {

class SoundManager {
public:
    static SoundManager& GetInstance() {
        static SoundManager instance;
        return instance;
    }

    // Reads "data/sounds.xml".
    void Load() {}
    // Releases the cached sounds.
    void Clear() {}
    // Once per update step: releases finished sounds.
    void Update() {}

private:
    SoundManager() = default;
};

}  // namespace standin
