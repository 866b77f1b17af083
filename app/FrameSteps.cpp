#include "app/FrameSteps.h"

#include <cmath>

float FrameDeltaTime(bool frameSkip, float measuredSeconds) {
    if (frameSkip) {
        return kFrameSkipSeconds;
    }
    return std::isfinite(measuredSeconds) && measuredSeconds > 0.0f ? measuredSeconds : 0.0f;
}

FrameSteps SplitFrameTime(float dt) {
    if (!std::isfinite(dt) || dt < 0.0f) {
        dt = 0.0f;
    }
    float ratio = dt / kMaxStepSeconds;
    if (ratio <= 1.0f) {
        return {1, dt};
    }
    float steps = std::ceil(ratio);
    if (steps > static_cast<float>(kMaxStepsPerFrame)) {
        return {kMaxStepsPerFrame, kMaxStepSeconds};
    }
    return {static_cast<int>(steps), dt / steps};
}
