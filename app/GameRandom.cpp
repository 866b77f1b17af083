#include "app/GameRandom.h"

#include <cmath>

GameRandom& GameRandom::GetInstance() {
    static GameRandom instance(std::random_device{}());
    return instance;
}

GameRandom::GameRandom(uint32_t seed) : m_Seed(seed), m_Engine(seed) {}

void GameRandom::SetSeed(uint32_t seed) {
    m_Seed = seed;
    m_Engine.seed(seed);
}

int GameRandom::Random(int first, int last) {
    if (last <= first) {
        return first;
    }
    // The span of a full int range needs 33 bits. Values from the top of the engine's range that
    // would make some results more likely than others are drawn again.
    const uint64_t span = static_cast<uint64_t>(static_cast<int64_t>(last) - first) + 1;
    const uint64_t range = uint64_t{1} << 32;
    const uint64_t limit = range - range % span;
    uint64_t value = m_Engine();
    while (value >= limit) {
        value = m_Engine();
    }
    return static_cast<int>(static_cast<int64_t>(first) + static_cast<int64_t>(value % span));
}

float GameRandom::Random(float min, float max) {
    if (!std::isfinite(min) || !std::isfinite(max)) {
        return 0.0f;
    }
    // 24 random bits: every value is exactly representable and below 1.
    const float unit = static_cast<float>(m_Engine() >> 8) / 16777216.0f;
    const float value = min + (max - min) * unit;
    // Rounding can reach max itself, and a span wider than the float range overflows.
    if (!std::isfinite(value) || (max > min && value >= max)) {
        return min;
    }
    return value;
}
