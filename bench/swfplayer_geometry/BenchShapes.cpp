#include "bench/swfplayer_geometry/BenchShapes.h"

#include <algorithm>
#include <cmath>

namespace bench_geometry {

namespace {

constexpr double kPi = 3.14159265358979323846;

void Add(Ring* ring, double x, double y) {
    // Twips with quarter-twip precision, as flattened curves give.
    ring->push_back(static_cast<float>(std::round(x * 4.0) / 4.0));
    ring->push_back(static_cast<float>(std::round(y * 4.0) / 4.0));
}

Ring Ellipse(double cx, double cy, double rx, double ry, int n, bool clockwise) {
    Ring ring;
    for (int i = 0; i < n; i++) {
        double angle = 2.0 * kPi * i / n * (clockwise ? -1.0 : 1.0);
        Add(&ring, cx + rx * std::cos(angle), cy + ry * std::sin(angle));
    }
    return ring;
}

}  // namespace

Rings Convex(int n) {
    return {Ellipse(0, 0, 20000, 20000, std::max(3, n), false)};
}

Rings Star(int n) {
    int spikes = std::max(3, n / 2);
    Ring ring;
    for (int i = 0; i < 2 * spikes; i++) {
        double angle = kPi * i / spikes;
        double r = i % 2 == 0 ? 20000.0 : 9000.0;
        Add(&ring, r * std::cos(angle), r * std::sin(angle));
    }
    return {ring};
}

Rings Spiral(int n) {
    int half = std::max(3, n / 2);
    double turns = std::clamp(half / 100.0, 1.0, 12.0);
    double end = 2.0 * kPi * turns;
    // Centre line r = 400 + 250 theta; the band is 120 wide, turns are 1570 apart.
    Ring ring;
    for (int i = 0; i < half; i++) {
        double theta = end * i / (half - 1);
        double r = 400.0 + 250.0 * theta + 60.0;
        Add(&ring, r * std::cos(theta), r * std::sin(theta));
    }
    for (int i = half - 1; i >= 0; i--) {
        double theta = end * i / (half - 1);
        double r = 400.0 + 250.0 * theta - 60.0;
        Add(&ring, r * std::cos(theta), r * std::sin(theta));
    }
    return {ring};
}

Rings Comb(int n) {
    int teeth = std::max(2, n / 4);
    const double pitch = 40.0, tooth = 20.0, base = 100.0, height = 2000.0;
    double width = (teeth - 1) * pitch + tooth;
    Ring ring;
    Add(&ring, 0, 0);
    Add(&ring, width, 0);
    for (int i = teeth - 1; i >= 0; i--) {
        double left = i * pitch;
        Add(&ring, left + tooth, height);
        Add(&ring, left, height);
        if (i > 0) {
            Add(&ring, left, base);
            Add(&ring, left - pitch + tooth, base);
        }
    }
    return {ring};
}

Rings Glyph(int n) {
    int outer = std::max(8, n * 3 / 5);
    int counter = std::max(4, n / 5);
    Ring ring;
    for (int i = 0; i < outer; i++) {
        double angle = 2.0 * kPi * i / outer;
        double r = 1.0 + 0.04 * std::sin(9.0 * angle);
        Add(&ring, 14000.0 * r * std::cos(angle), 20000.0 * r * std::sin(angle));
    }
    return {ring, Ellipse(0, 9000, 7000, 6500, counter, true), Ellipse(0, -9000, 8000, 7000, counter, true)};
}

Rings ManyHoles(int n) {
    const int side = 32;
    int per_hole = std::max(3, (n - 4) / (side * side));
    const double cell = 1000.0;
    double size = side * cell;
    Rings rings = {{0, 0, static_cast<float>(size), 0, static_cast<float>(size), static_cast<float>(size), 0,
                    static_cast<float>(size)}};
    for (int row = 0; row < side; row++) {
        for (int column = 0; column < side; column++) {
            // Staggered so that holes do not line up exactly.
            double cx = (column + 0.5) * cell + (row % 2) * 60.0;
            double cy = (row + 0.5) * cell + (column % 3) * 40.0;
            rings.push_back(Ellipse(cx, cy, 300.0, 260.0, per_hole, true));
        }
    }
    return rings;
}

int VertexCount(const Rings& rings) {
    size_t count = 0;
    for (const Ring& ring : rings) {
        count += ring.size() / 2;
    }
    return static_cast<int>(count);
}

const std::vector<ShapeCase>& TriangulateCases() {
    static const std::vector<int> sizes = {10, 100, 1000, 10000, 100000};
    // GLU takes about a minute on the star and far longer on the comb at 100,000 vertices.
    static const std::vector<ShapeCase> cases = {
        {"convex", Convex, sizes, 100000}, {"star", Star, sizes, 10000},
        {"spiral", Spiral, sizes, 100000}, {"comb", Comb, sizes, 10000},
        {"glyph", Glyph, sizes, 100000},   {"holes1024", ManyHoles, {4000, 10000, 100000}, 100000},
    };
    return cases;
}

}  // namespace bench_geometry
