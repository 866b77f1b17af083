#pragma once

#include "swfplayer/main/common/rgba.h"

namespace swfplayer {

class stream;

// A colour transform: for each channel r, g, b, a (in this order) a pair (multiplier, add term).
// A channel c (0..255) becomes c * multiplier + add, limited to 0..255.
class cxform {
public:
    float m[4][2];

    // The identity: every multiplier 1, every add term 0.
    cxform();

    // c is applied first, then the old this. Results are stored finite-or-zero.
    void concatenate(const cxform& c);
    // The transformed colour, each channel limited to 0..255 and truncated.
    rgba transform(const rgba& in) const;
    // Reads a CXFORM record (no alpha terms: the alpha multiplier becomes 1, its add term 0).
    void read_rgb(stream* in);
    // Reads a CXFORMWITHALPHA record.
    void read_rgba(stream* in);
    // Limits each multiplier to [0, 1] and each add term to [-255, 255].
    void clamp();
    // Writes the table of multipliers and add terms to the player's log.
    void print() const;
};

}  // namespace swfplayer
