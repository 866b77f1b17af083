#pragma once

#include <cassert>

namespace swfplayer {

// x limited to [min, max] (max >= min).
inline float clamp_float(float x, float min, float max) {
    assert(max >= min);
    if (x < min)
        return min;
    if (x > max)
        return max;
    return x;
}

}  // namespace swfplayer
