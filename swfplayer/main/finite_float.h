#pragma once

namespace swfplayer {

// The finite-or-zero rule of the player's geometry: NaN, and any value beyond the largest finite
// float in either direction, become 0; everything else is returned rounded to float. The two
// largest finite floats themselves pass unchanged.
float finite_or_zero(double value);

// value = value * factor rounded to float, finite-or-zero. The script Color class scales the
// multipliers of a colour transform with it.
void scale_finite_or_zero(float* value, float factor);

// Clamps v into [min, max]; min must not exceed max.
int iclamp(int v, int min, int max);

}  // namespace swfplayer
