#pragma once

#include <cmath>

namespace swfplayer {

// A position or a vector in the player's units (twips, 1/20 pixel).
struct point {
    float x = 0.0f;
    float y = 0.0f;

    point() = default;
    point(float x_value, float y_value) : x(x_value), y(y_value) {}

    // The distance from the origin.
    float get_length() const { return std::sqrt(x * x + y * y); }
};

}  // namespace swfplayer
