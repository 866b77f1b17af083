#pragma once

#include <cfloat>

namespace swfplayer {

// The finite-or-zero rule of the player's geometry: NaN, and any value beyond the largest finite
// float in either direction, become 0; everything else is returned rounded to float. The two
// largest finite floats themselves pass unchanged.
// Inline: movie loading applies it to every matrix entry it reads.
inline float finite_or_zero(double value) {
    // Written so that NaN fails the test too.
    if (value >= -static_cast<double>(FLT_MAX) && value <= static_cast<double>(FLT_MAX)) {
        return static_cast<float>(value);
    }
    return 0.0f;
}

// value = value * factor rounded to float, finite-or-zero. The script Color class scales the
// multipliers of a colour transform with it.
void scale_finite_or_zero(float* value, float factor);

// Clamps v into [min, max]; min must not exceed max.
int iclamp(int v, int min, int max);

}  // namespace swfplayer
