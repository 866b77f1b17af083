#pragma once
// What each ActionScript 1/2 record costs the frame's instruction budget before it runs: the
// fixed native work behind it, in plain instructions (a jump or a stack operation is one). The
// figures were measured by running each record in an endless loop until the budget ended it:
// looking a name up in a clip, calling, making an object or a function takes tens to hundreds of
// times as long as a jump, and charging it one instruction let such a loop hold its frame for
// many seconds. The work that grows with the data (elements made or visited, prototype levels,
// names enumerated, text walked, calls) is charged where it is done, on top of these.

#include <array>
#include <cstdint>

namespace swfplayer {

namespace action_cost_detail {

struct cost_entry {
    uint8_t id;
    uint8_t cost;
};

// Records that cost more than one instruction.
constexpr cost_entry record_costs[] = {
    // Name lookups: variables through the scope (with-blocks, locals, the target, globals),
    // members through the holder's tables; characters answer their own properties first.
    {0x1C, 24},
    {0x1D, 24},
    {0x3C, 16},
    {0x41, 16},
    {0x4E, 48},
    {0x4F, 32},
    {0x3A, 32},
    {0x3B, 48},
    // Calls and constructions: the lookup of the callee (the call itself is charged per call).
    {0x3D, 24},
    {0x52, 32},
    {0x40, 32},
    {0x53, 40},
    // Objects, arrays and functions made (each element of a literal is charged besides).
    {0x42, 48},
    {0x43, 24},
    {0x69, 64},
    {0x8E, 128},
    {0x9B, 128},
    {0x2B, 8},
    {0x54, 8},
    {0x46, 24},
    {0x55, 8},
    // Text made: a new string each.
    {0x15, 16},
    {0x21, 16},
    {0x33, 16},
    {0x44, 8},
    {0x4B, 16},
    {0x26, 48},
    // Movie control: frames, targets, properties of characters, clips made and removed.
    {0x04, 16},
    {0x05, 16},
    {0x06, 8},
    {0x07, 8},
    {0x09, 8},
    {0x20, 32},
    {0x22, 32},
    {0x23, 32},
    {0x24, 255},
    {0x25, 128},
    {0x27, 16},
    {0x28, 8},
    {0x34, 8},
    {0x81, 64},
    {0x83, 64},
    {0x88, 16},
    {0x8B, 32},
    {0x8C, 64},
    {0x9A, 64},
    {0x9E, 64},
    {0x9F, 64},
};

constexpr std::array<uint8_t, 256> make_table() {
    std::array<uint8_t, 256> table{};
    for (uint8_t& cost : table) {
        cost = 1;
    }
    for (const cost_entry& entry : record_costs) {
        table[entry.id] = entry.cost;
    }
    return table;
}

}  // namespace action_cost_detail

// The instructions a record of the id costs before it runs, at least one.
inline constexpr std::array<uint8_t, 256> action_cost = action_cost_detail::make_table();

}  // namespace swfplayer
