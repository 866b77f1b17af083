#include "swfplayer/base/base_random.h"

namespace swfplayer {
namespace base_random {

namespace {

struct generator_state {
    uint32_t q[8];
    uint32_t carry;
    int index;
};

constexpr generator_state seeded_state(uint32_t seed) {
    generator_state state{};
    uint32_t s = seed != 0 ? seed : 12345;
    for (uint32_t& word : state.q) {
        s ^= s << 13;
        s ^= s >> 17;
        s ^= s << 5;
        word = s;
    }
    state.carry = 362436;
    state.index = 7;
    return state;
}

// Seeded at compile time, so the generator is ready before any other initialiser runs.
generator_state s_state = seeded_state(987654321);

}  // namespace

void seed_random(uint32_t seed) {
    s_state = seeded_state(seed);
}

uint32_t next_random() {
    s_state.index = (s_state.index + 1) & 7;
    uint64_t t = 716514398ull * s_state.q[s_state.index] + s_state.carry;
    s_state.carry = static_cast<uint32_t>(t >> 32);
    uint32_t x = static_cast<uint32_t>(t) + s_state.carry;
    if (x < s_state.carry) {
        x++;
        s_state.carry++;
    }
    s_state.q[s_state.index] = 0xFFFFFFFE - x;
    return s_state.q[s_state.index];
}

}  // namespace base_random
}  // namespace swfplayer
