#pragma once

#include <cstdint>

namespace swfplayer {

class stream;

// A colour with straight alpha; alpha 255 is opaque. A new colour is opaque white.
struct rgba {
    uint8_t r = 255;
    uint8_t g = 255;
    uint8_t b = 255;
    uint8_t a = 255;

    rgba() = default;
    rgba(uint8_t red, uint8_t green, uint8_t blue, uint8_t alpha) : r(red), g(green), b(blue), a(alpha) {}

    // Reads r, g, b and, only for tag types above 22, a (else a = 255).
    void read(stream* in, int tag_type);
    // Three bytes r, g, b; a = 255.
    void read_rgb(stream* in);
    // Four bytes r, g, b, a.
    void read_rgba(stream* in);
    // Each channel = from + (to - from) * t rounded half up; t lies in [0, 1].
    void set_lerp(const rgba& from, const rgba& to, float t);
    // Writes "rgba: r g b a" to the player's log.
    void print() const;
};

}  // namespace swfplayer
