#include "swfplayer/main/common/finite_float.h"

#include <cassert>
#include <cfloat>

namespace swfplayer {

void scale_finite_or_zero(float* value, float factor) {
    assert(value != nullptr);
    *value = finite_or_zero(*value * factor);
}

int iclamp(int v, int min, int max) {
    assert(min <= max);
    return v < min ? min : (v > max ? max : v);
}

}  // namespace swfplayer
