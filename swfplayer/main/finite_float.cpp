#include "swfplayer/main/finite_float.h"

#include <cassert>
#include <cfloat>

namespace swfplayer {

float finite_or_zero(double value) {
    // Written so that NaN fails the test too.
    if (value >= -static_cast<double>(FLT_MAX) && value <= static_cast<double>(FLT_MAX)) {
        return static_cast<float>(value);
    }
    return 0.0f;
}

void scale_finite_or_zero(float* value, float factor) {
    assert(value != nullptr);
    *value = finite_or_zero(*value * factor);
}

int iclamp(int v, int min, int max) {
    assert(min <= max);
    return v < min ? min : (v > max ? max : v);
}

}  // namespace swfplayer
