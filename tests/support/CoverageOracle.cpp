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

}  // namespace

bool CoverageOracle::Report::AreasMatch(double relative_tolerance) const {
    double scale = std::max(std::fabs(outline_area), 1.0);
    return std::fabs(outline_area - triangle_area) <= relative_tolerance * scale;
}

bool CoverageOracle::Report::Faithful() const {
    return missed == 0 && spilled == 0 && overlapped == 0 && foreign_vertices == 0 && clockwise_triangles == 0 &&
           AreasMatch();
}

std::string CoverageOracle::Report::Describe() const {
    std::ostringstream out;
    out << "samples " << samples << ", missed " << missed << ", spilled " << spilled << ", overlapped " << overlapped
        << ", foreign vertices " << foreign_vertices << ", clockwise triangles " << clockwise_triangles
        << ", outline area " << outline_area << ", triangle area " << triangle_area;
    return out.str();
}

CoverageOracle::CoverageOracle(std::vector<std::vector<float>> rings) : m_Rings(std::move(rings)) {}

CoverageOracle::Report CoverageOracle::Check(const std::vector<float>& triangles, int resolution) const {
    Report report;
    std::set<std::pair<float, float>> vertices;
    double min_x = HUGE_VAL, min_y = HUGE_VAL, max_x = -HUGE_VAL, max_y = -HUGE_VAL;
    for (const auto& ring : m_Rings) {
        size_t count = ring.size() / 2;
        for (size_t i = 0; i < count; i++) {
            double x = ring[2 * i], y = ring[2 * i + 1];
            size_t j = (i + 1) % count;
            report.outline_area += 0.5 * (x * ring[2 * j + 1] - ring[2 * j] * y);
            vertices.insert({ring[2 * i], ring[2 * i + 1]});
            min_x = std::min(min_x, x);
            max_x = std::max(max_x, x);
            min_y = std::min(min_y, y);
            max_y = std::max(max_y, y);
        }
    }
    if (vertices.empty()) {
        return report;
    }
    double width = max_x - min_x, height = max_y - min_y;
    int n = resolution;

    // Coverage count per sample; -1 marks samples on a triangle's edge, which are not judged.
    std::vector<int> coverage(static_cast<size_t>(n) * n, 0);
    for (size_t t = 0; t + 5 < triangles.size(); t += 6) {
        double ax = triangles[t], ay = triangles[t + 1];
        double bx = triangles[t + 2], by = triangles[t + 3];
        double cx = triangles[t + 4], cy = triangles[t + 5];
        for (int k = 0; k < 3; k++) {
            if (!vertices.count({triangles[t + 2 * k], triangles[t + 2 * k + 1]})) {
                report.foreign_vertices++;
            }
        }
        double area = 0.5 * Cross(ax, ay, bx, by, cx, cy);
        report.triangle_area += area;
        if (area < 0.0) {
            report.clockwise_triangles++;
            continue;
        }
        if (area == 0.0 || width <= 0.0 || height <= 0.0) {
            continue;
        }
        double tmin_x = std::min({ax, bx, cx}), tmax_x = std::max({ax, bx, cx});
        double tmin_y = std::min({ay, by, cy}), tmax_y = std::max({ay, by, cy});
        int i0 = std::max(0, static_cast<int>((tmin_x - min_x) / width * n) - 1);
        int i1 = std::min(n - 1, static_cast<int>((tmax_x - min_x) / width * n) + 1);
        int j0 = std::max(0, static_cast<int>((tmin_y - min_y) / height * n) - 1);
        int j1 = std::min(n - 1, static_cast<int>((tmax_y - min_y) / height * n) + 1);
        for (int j = j0; j <= j1; j++) {
            double py = SampleAt(min_y, height, j, n);
            for (int i = i0; i <= i1; i++) {
                double px = SampleAt(min_x, width, i, n);
                double d0 = Cross(ax, ay, bx, by, px, py);
                double d1 = Cross(bx, by, cx, cy, px, py);
                double d2 = Cross(cx, cy, ax, ay, px, py);
                if (d0 < 0.0 || d1 < 0.0 || d2 < 0.0) {
                    continue;
                }
                int& cell = coverage[static_cast<size_t>(j) * n + i];
                if (d0 == 0.0 || d1 == 0.0 || d2 == 0.0) {
                    cell = -1;
                } else if (cell >= 0) {
                    cell++;
                }
            }
        }
    }

    if (width <= 0.0 || height <= 0.0) {
        return report;
    }
    for (int j = 0; j < n; j++) {
        double py = SampleAt(min_y, height, j, n);
        // Crossings of this sample row with the outline, for the even-odd test.
        std::vector<double> crossings;
        bool on_edge_row = false;
        for (const auto& ring : m_Rings) {
            size_t count = ring.size() / 2;
            for (size_t i = 0; i < count; i++) {
                size_t k = (i + 1) % count;
                double x0 = ring[2 * i], y0 = ring[2 * i + 1];
                double x1 = ring[2 * k], y1 = ring[2 * k + 1];
                if (y0 == py || y1 == py) {
                    on_edge_row = true;
                }
                if ((y0 < py) != (y1 < py)) {
                    crossings.push_back(x0 + (py - y0) * (x1 - x0) / (y1 - y0));
                }
            }
        }
        if (on_edge_row) {
            continue;
        }
        std::sort(crossings.begin(), crossings.end());
        for (int i = 0; i < n; i++) {
            double px = SampleAt(min_x, width, i, n);
            int cell = coverage[static_cast<size_t>(j) * n + i];
            auto at = std::lower_bound(crossings.begin(), crossings.end(), px);
            if (cell < 0 || (at != crossings.end() && *at == px)) {
                continue;
            }
            bool inside = (at - crossings.begin()) % 2 == 1;
            report.samples++;
            if (inside && cell == 0) {
                report.missed++;
            } else if (!inside && cell > 0) {
                report.spilled++;
            }
            if (cell > 1) {
                report.overlapped++;
            }
        }
    }
    return report;
}

}  // namespace testing_support
