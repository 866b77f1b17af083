#include "tests/support/RandomOutlines.h"

#include <algorithm>
#include <cmath>

namespace testing_support {

namespace {

constexpr double kPi = 3.14159265358979323846;

float Quarter(double value) {
    return static_cast<float>(std::round(value * 4.0) / 4.0);
}

// A star-shaped ring around (cx, cy): n corners at sorted random angles, radii in
// [min_r, max_r]. Corners at least a few units apart keep the ring simple after rounding.
std::vector<float> StarRing(std::mt19937& rng, double cx, double cy, double min_r, double max_r, int n,
                            bool clockwise) {
    std::uniform_real_distribution<double> jitter(0.1, 0.9);
    std::uniform_real_distribution<double> radius(min_r, max_r);
    std::vector<float> ring;
    for (int i = 0; i < n; i++) {
        // One corner per equal sector, so corners stay apart.
        double angle = 2.0 * kPi * (i + jitter(rng)) / n;
        if (clockwise) {
            angle = -angle;
        }
        double r = radius(rng);
        ring.push_back(Quarter(cx + r * std::cos(angle)));
        ring.push_back(Quarter(cy + r * std::sin(angle)));
    }
    return ring;
}

}  // namespace

std::vector<float> RegularPolygon(double cx, double cy, double r, int n, bool clockwise) {
    std::vector<float> ring;
    for (int i = 0; i < n; i++) {
        double angle = 2.0 * kPi * i / n;
        if (clockwise) {
            angle = -angle;
        }
        ring.push_back(static_cast<float>(cx + r * std::cos(angle)));
        ring.push_back(static_cast<float>(cy + r * std::sin(angle)));
    }
    return ring;
}

std::vector<std::vector<float>> RandomPolygonWithHoles(std::mt19937& rng, int outer_vertices, int holes_per_side,
                                                       int hole_vertices) {
    const double outer_radius = 10000.0;
    std::vector<std::vector<float>> rings;
    rings.push_back(StarRing(rng, 0.0, 0.0, 0.75 * outer_radius, outer_radius, outer_vertices, false));
    if (holes_per_side <= 0) {
        return rings;
    }
    // The lattice fills a square inside the largest circle around the centre that the outline's
    // edges leave free.
    const std::vector<float>& outline = rings.front();
    double free_radius = outer_radius;
    for (int i = 0; i < outer_vertices; i++) {
        int j = (i + 1) % outer_vertices;
        double x0 = outline[2 * i], y0 = outline[2 * i + 1];
        double x1 = outline[2 * j], y1 = outline[2 * j + 1];
        double length = std::hypot(x1 - x0, y1 - y0);
        if (length > 0.0) {
            free_radius = std::min(free_radius, std::fabs(x0 * y1 - x1 * y0) / length);
        }
    }
    double half = free_radius / std::sqrt(2.0) * 0.95;
    double cell = 2.0 * half / holes_per_side;
    for (int row = 0; row < holes_per_side; row++) {
        for (int column = 0; column < holes_per_side; column++) {
            double cx = -half + (column + 0.5) * cell;
            double cy = -half + (row + 0.5) * cell;
            rings.push_back(StarRing(rng, cx, cy, 0.2 * cell, 0.45 * cell, hole_vertices, true));
        }
    }
    return rings;
}

}  // namespace testing_support
