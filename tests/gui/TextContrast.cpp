#include "tests/gui/TextContrast.h"

#include <algorithm>
#include <cmath>
#include <vector>

namespace gui_testing {

namespace {

// A pixel counts as covered in full from this share on.
constexpr float kFull = 0.98f;
// The share of the fully covered pixels that may read worse than the measure.
constexpr double kLowEnd = 0.05;
// Colours this close in every channel count as the same frame.
constexpr int kSameFrame = 24;

double Linear(sf::Uint8 channel) {
    const double c = channel / 255.0;
    return c <= 0.04045 ? c / 12.92 : std::pow((c + 0.055) / 1.055, 2.4);
}

double Luminance(const sf::Color& color) {
    return 0.2126 * Linear(color.r) + 0.7152 * Linear(color.g) + 0.0722 * Linear(color.b);
}

}  // namespace

double ContrastRatio(const sf::Color& a, const sf::Color& b) {
    const double la = Luminance(a);
    const double lb = Luminance(b);
    return (std::max(la, lb) + 0.05) / (std::min(la, lb) + 0.05);
}

TextCoverage::TextCoverage(const sf::Image& black, const sf::Image& white) : m_Black(black), m_White(white) {}

float TextCoverage::At(unsigned int x, unsigned int y) const {
    const sf::Color dark = m_Black.getPixel(x, y);
    const sf::Color light = m_White.getPixel(x, y);
    const int least = std::min({light.r - dark.r, light.g - dark.g, light.b - dark.b});
    return std::clamp(static_cast<float>(least) / 255.0f, 0.0f, 1.0f);
}

sf::IntRect TextCoverage::Bounds() const {
    const sf::Vector2u size = m_Black.getSize();
    int left = static_cast<int>(size.x), top = static_cast<int>(size.y), right = -1, bottom = -1;
    for (unsigned int y = 0; y < size.y; ++y) {
        for (unsigned int x = 0; x < size.x; ++x) {
            if (At(x, y) > 0.0f) {
                left = std::min(left, static_cast<int>(x));
                right = std::max(right, static_cast<int>(x));
                top = std::min(top, static_cast<int>(y));
                bottom = std::max(bottom, static_cast<int>(y));
            }
        }
    }
    return right < 0 ? sf::IntRect() : sf::IntRect(left, top, right - left + 1, bottom - top + 1);
}

double TextContrast(const sf::Image& with, const sf::Image& without, const TextCoverage& coverage) {
    std::vector<double> ratios;
    const sf::IntRect bounds = coverage.Bounds();
    for (int y = bounds.top; y < bounds.top + bounds.height; ++y) {
        for (int x = bounds.left; x < bounds.left + bounds.width; ++x) {
            const auto ux = static_cast<unsigned int>(x);
            const auto uy = static_cast<unsigned int>(y);
            if (coverage.At(ux, uy) >= kFull) {
                ratios.push_back(ContrastRatio(with.getPixel(ux, uy), without.getPixel(ux, uy)));
            }
        }
    }
    if (ratios.empty()) {
        return 0.0;
    }
    const auto low = ratios.begin() + static_cast<std::ptrdiff_t>(kLowEnd * static_cast<double>(ratios.size()));
    std::nth_element(ratios.begin(), low, ratios.end());
    return *low;
}

bool HasRoom(const sf::Image& without, const sf::IntRect& where, int margin) {
    const int y = where.top + where.height / 2;
    const int left = where.left - margin;
    const int right = where.left + where.width - 1 + margin;
    if (where.width <= 0 || left < 0 || right >= static_cast<int>(without.getSize().x)) {
        return false;
    }
    const sf::Color frame =
        without.getPixel(static_cast<unsigned int>(where.left + where.width / 2), static_cast<unsigned int>(y));
    for (const int x : {left, right}) {
        const sf::Color there = without.getPixel(static_cast<unsigned int>(x), static_cast<unsigned int>(y));
        if (std::abs(there.r - frame.r) > kSameFrame || std::abs(there.g - frame.g) > kSameFrame ||
            std::abs(there.b - frame.b) > kSameFrame) {
            return false;
        }
    }
    return true;
}

}  // namespace gui_testing
