#pragma once

#include <cstdint>
#include <random>

// The game's one source of random numbers: sound choices, creature timers, bot decisions. It is
// seedable, so that tests and replays can ask for the same sequence again.
class GameRandom {
public:
    // The program-wide generator, seeded from the system's entropy source on first use.
    static GameRandom& GetInstance();

    // A generator that starts from the given seed.
    explicit GameRandom(uint32_t seed);

    // Restarts the sequence from the seed.
    void SetSeed(uint32_t seed);
    // The seed the current sequence started from.
    uint32_t GetSeed() const { return m_Seed; }

    // An integer from first to last, both included, each equally likely. A reversed range
    // (last < first) gives first.
    int Random(int first, int last);
    // A float from min (included) to max (excluded when max > min). Non-finite bounds give 0.
    float Random(float min, float max);

private:
    uint32_t m_Seed;
    std::mt19937 m_Engine;
};
