#pragma once

#include <cstdint>

namespace swfplayer {

// The player's one pseudo-random generator: complementary multiply-with-carry, lag 8,
// multiplier 716514398. It is seeded with 987654321 before anything runs, so every run gives the
// same sequence.
namespace base_random {

// Resets the generator; seed 0 counts as 12345.
void seed_random(uint32_t seed);
// The next 32-bit value.
uint32_t next_random();

}  // namespace base_random
}  // namespace swfplayer
