#include "app/ViewFitting.h"

namespace {

// Windows narrower than 4:3 are fitted by width, the others by height.
constexpr float kFitByWidthBelowAspect = 1.3333334f;

}  // namespace

std::optional<sf::Vector2f> FittedViewSize(unsigned width, unsigned height, sf::Vector2f logicalSize) {
    if (width == 0 || height == 0) {
        return std::nullopt;
    }
    float w = static_cast<float>(width);
    float h = static_cast<float>(height);
    if (w / h < kFitByWidthBelowAspect) {
        return sf::Vector2f(logicalSize.x, logicalSize.x * h / w);
    }
    return sf::Vector2f(logicalSize.y * w / h, logicalSize.y);
}
