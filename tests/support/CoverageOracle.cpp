#include "tests/support/CoverageOracle.h"

#include <algorithm>
#include <cmath>
#include <set>
#include <sstream>
#include <utility>

namespace testing_support {

namespace {

double Cross(double ax, double ay, double bx, double by, double px, double py) {
    return (bx - ax) * (py - ay) - (px - ax) * (by - ay);
}

// Sample coordinate i of n over [low, low + size]: cell centres nudged by an irrational share of
// a cell, so that samples rarely fall exactly on an edge.
double SampleAt(double low, double size, int i, int n) {
    return low + (i + 0.5 + 0.0137 * std::sqrt(2.0)) * size / n;
}

// Calls edge(x0, y0, x1, y1) for every edge of every ring.
template <typename Edge>
void ForEachEdge(const std::vector<std::vector<float>>& rings, Edge edge) {
    for (const auto& ring : rings) {
        const size_t count = ring.size() / 2;
        for (size_t i = 0; i < count; i++) {
            const size_t j = (i + 1) % count;
            edge(ring[2 * i], ring[2 * i + 1], ring[2 * j], ring[2 * j + 1]);
        }
    }
}

}  // namespace

bool CoverageOracle::Report::Faithful() const {
    const bool areas_match = std::fabs(outline_area - triangle_area) <= 1e-6 * std::max(std::fabs(outline_area), 1.0);
    return CoversEvenOdd() && foreign_vertices == 0 && areas_match;
}

bool CoverageOracle::Report::CoversEvenOdd() const {
    return missed == 0 && spilled == 0 && overlapped == 0 && clockwise_triangles == 0;
}

std::string CoverageOracle::Report::Describe() const {
    std::ostringstream out;
    out << "samples " << samples << ", missed " << missed << ", spilled " << spilled << ", overlapped " << overlapped
        << ", foreign vertices " << foreign_vertices << ", clockwise triangles " << clockwise_triangles
        << ", outline area " << outline_area << ", triangle area " << triangle_area;
    return out.str();
}

CoverageOracle::CoverageOracle(std::vector<std::vector<float>> rings) : m_Rings(std::move(rings)) {}

bool CoverageOracle::NearEdge(double px, double py, double margin) const {
    bool near = false;
    ForEachEdge(m_Rings, [&](double x0, double y0, double x1, double y1) {
        const double dx = x1 - x0, dy = y1 - y0, length2 = dx * dx + dy * dy;
        const double t = length2 > 0.0 ? std::clamp(((px - x0) * dx + (py - y0) * dy) / length2, 0.0, 1.0) : 0.0;
        near = near || std::hypot(x0 + t * dx - px, y0 + t * dy - py) < margin;
    });
    return near;
}

CoverageOracle::Report CoverageOracle::Check(const std::vector<float>& triangles, int n, double margin) const {
    Report report;
    std::set<std::pair<float, float>> vertices;
    double min_x = HUGE_VAL, min_y = HUGE_VAL, max_x = -HUGE_VAL, max_y = -HUGE_VAL;
    ForEachEdge(m_Rings, [&](double x, double y, double x1, double y1) {
        report.outline_area += 0.5 * (x * y1 - x1 * y);
        vertices.insert({static_cast<float>(x), static_cast<float>(y)});
        min_x = std::min(min_x, x), max_x = std::max(max_x, x);
        min_y = std::min(min_y, y), max_y = std::max(max_y, y);
    });
    const double width = max_x - min_x, height = max_y - min_y;
    if (vertices.empty()) {
        return report;
    }
    // Coverage count per sample; -1 marks samples on a triangle's edge, which are not judged.
    std::vector<int> coverage(static_cast<size_t>(n) * n, 0);
    auto bin = [n](double v, double low, double size) {
        return static_cast<int>((v - low) / size * n);
    };
    for (size_t t = 0; t + 5 < triangles.size(); t += 6) {
        const double ax = triangles[t], ay = triangles[t + 1], bx = triangles[t + 2], by = triangles[t + 3];
        const double cx = triangles[t + 4], cy = triangles[t + 5];
        for (int k = 0; k < 3; k++) {
            report.foreign_vertices += vertices.count({triangles[t + 2 * k], triangles[t + 2 * k + 1]}) ? 0 : 1;
        }
        const double area = 0.5 * Cross(ax, ay, bx, by, cx, cy);
        report.triangle_area += area;
        report.clockwise_triangles += area < 0.0 ? 1 : 0;
        if (area <= 0.0 || width <= 0.0 || height <= 0.0) {
            continue;
        }
        const int i0 = std::max(0, bin(std::min({ax, bx, cx}), min_x, width) - 1);
        const int i1 = std::min(n - 1, bin(std::max({ax, bx, cx}), min_x, width) + 1);
        const int j0 = std::max(0, bin(std::min({ay, by, cy}), min_y, height) - 1);
        const int j1 = std::min(n - 1, bin(std::max({ay, by, cy}), min_y, height) + 1);
        for (int j = j0; j <= j1; j++) {
            const double py = SampleAt(min_y, height, j, n);
            for (int i = i0; i <= i1; i++) {
                const double px = SampleAt(min_x, width, i, n);
                const double d0 = Cross(ax, ay, bx, by, px, py), d1 = Cross(bx, by, cx, cy, px, py);
                const double d2 = Cross(cx, cy, ax, ay, px, py);
                int& cell = coverage[static_cast<size_t>(j) * n + i];
                if (d0 < 0.0 || d1 < 0.0 || d2 < 0.0) {
                    continue;
                } else if (d0 == 0.0 || d1 == 0.0 || d2 == 0.0) {
                    cell = -1;
                } else if (cell >= 0) {
                    cell++;
                }
            }
        }
    }
    for (int j = 0; j < n && width > 0.0 && height > 0.0; j++) {
        const double py = SampleAt(min_y, height, j, n);
        // Crossings of this sample row with the outline, for the even-odd test; a row through a
        // vertex is not judged.
        std::vector<double> crossings;
        bool on_edge_row = false;
        ForEachEdge(m_Rings, [&](double x0, double y0, double x1, double y1) {
            on_edge_row = on_edge_row || y0 == py || y1 == py;
            if ((y0 < py) != (y1 < py)) {
                crossings.push_back(x0 + (py - y0) * (x1 - x0) / (y1 - y0));
            }
        });
        std::sort(crossings.begin(), crossings.end());
        for (int i = 0; i < n && !on_edge_row; i++) {
            const double px = SampleAt(min_x, width, i, n);
            const int cell = coverage[static_cast<size_t>(j) * n + i];
            const auto at = std::lower_bound(crossings.begin(), crossings.end(), px);
            if (cell < 0 || (at != crossings.end() && *at == px)) {
                continue;
            }
            if (margin > 0.0 && NearEdge(px, py, margin)) {
                continue;
            }
            const bool inside = (at - crossings.begin()) % 2 == 1;
            report.samples++;
            report.missed += inside && cell == 0 ? 1 : 0;
            report.spilled += !inside && cell > 0 ? 1 : 0;
            report.overlapped += cell > 1 ? 1 : 0;
        }
    }
    return report;
}

}  // namespace testing_support
