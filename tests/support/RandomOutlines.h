#pragma once

#include <algorithm>
#include <cmath>
#include <random>
#include <vector>

namespace testing_support {

// Outlines for triangulation and tessellation tests, as flat rings x0, y0, x1, y1, ...

// A regular n-gon around (cx, cy) with circumradius r, counterclockwise (y up) unless clockwise.
inline std::vector<float> RegularPolygon(double cx, double cy, double r, int n, bool clockwise = false) {
    std::vector<float> ring;
    for (int i = 0; i < n; i++) {
        const double angle = 2.0 * M_PI * i / n * (clockwise ? -1 : 1);
        ring.insert(ring.end(),
                    {static_cast<float>(cx + r * std::cos(angle)), static_cast<float>(cy + r * std::sin(angle))});
    }
    return ring;
}

// A star-shaped ring around (cx, cy): n corners at sorted random angles, one per equal sector so
// that corners stay apart and the ring stays simple after rounding to multiples of 1/4, radii in
// [min_r, max_r].
inline std::vector<float> StarRing(std::mt19937& rng, double cx, double cy, double min_r, double max_r, int n,
                                   bool clockwise) {
    std::uniform_real_distribution<double> jitter(0.1, 0.9), radius(min_r, max_r);
    auto quarter = [](double value) {
        return static_cast<float>(std::round(value * 4.0) / 4.0);
    };
    std::vector<float> ring;
    for (int i = 0; i < n; i++) {
        const double angle = 2.0 * M_PI * (i + jitter(rng)) / n * (clockwise ? -1 : 1), r = radius(rng);
        ring.insert(ring.end(), {quarter(cx + r * std::cos(angle)), quarter(cy + r * std::sin(angle))});
    }
    return ring;
}

// A random simple polygon with holes: a counterclockwise star-shaped outline of outer_vertices
// corners (radii between 0.75 R and R, R = 10000), and holes_per_side^2 clockwise star-shaped
// holes of hole_vertices corners each, one per cell of a lattice inside the outline, so that no
// two rings touch. Coordinates are multiples of 1/4.
inline std::vector<std::vector<float>> RandomPolygonWithHoles(std::mt19937& rng, int outer_vertices, int holes_per_side,
                                                              int hole_vertices) {
    const double outer_radius = 10000.0;
    std::vector<std::vector<float>> rings = {
        StarRing(rng, 0.0, 0.0, 0.75 * outer_radius, outer_radius, outer_vertices, false)};
    // The holes' lattice fills a square inside the largest circle around the centre that the
    // outline's edges leave free.
    const std::vector<float>& outline = rings.front();
    double free_radius = outer_radius;
    for (int i = 0; i < outer_vertices; i++) {
        const int j = (i + 1) % outer_vertices;
        const double x0 = outline[2 * i], y0 = outline[2 * i + 1], x1 = outline[2 * j], y1 = outline[2 * j + 1];
        if (const double length = std::hypot(x1 - x0, y1 - y0); length > 0.0) {
            free_radius = std::min(free_radius, std::fabs(x0 * y1 - x1 * y0) / length);
        }
    }
    const double half = free_radius / std::sqrt(2.0) * 0.95, cell = 2.0 * half / std::max(holes_per_side, 1);
    for (int row = 0; row < holes_per_side; row++) {
        for (int column = 0; column < holes_per_side; column++) {
            rings.push_back(StarRing(rng, -half + (column + 0.5) * cell, -half + (row + 0.5) * cell, 0.2 * cell,
                                     0.45 * cell, hole_vertices, true));
        }
    }
    return rings;
}

}  // namespace testing_support
