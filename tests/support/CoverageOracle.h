#pragma once

#include <string>
#include <vector>

namespace testing_support {

// Checks a triangulation against the outline it came from, independently of the code under
// test: it samples a grid of points over the outline's bounds and compares, at each, the
// even-odd test of the outline with the number of triangles covering the point.
class CoverageOracle {
public:
    // What a check found. A faithful triangulation has every count 0 and equal areas.
    struct Report {
        int samples = 0;              // sample points judged (those on no edge)
        int missed = 0;               // inside the outline, covered by no triangle
        int spilled = 0;              // outside the outline, covered by a triangle
        int overlapped = 0;           // covered by two or more triangles
        int foreign_vertices = 0;     // triangle corners that are no vertex of the outline
        int clockwise_triangles = 0;  // triangles of negative area
        double outline_area = 0.0;    // sum of the rings' signed areas
        double triangle_area = 0.0;   // sum of the triangles' signed areas

        // A faithful triangulation: no missed, spilled or overlapped sample, every corner from
        // the outline, no clockwise triangle and areas equal to a millionth.
        bool Faithful() const;
        // Every sample judged right, by one triangle at most, and no clockwise triangle: what
        // is asked of outlines whose rings cross, where triangles have corners at the crossings
        // and the rings' signed areas say nothing of the region.
        bool CoversEvenOdd() const;
        std::string Describe() const;
    };

    // rings: flat lists x0, y0, x1, y1, ... of closed rings, filled by the even-odd rule.
    explicit CoverageOracle(std::vector<std::vector<float>> rings);

    // Checks a flat triangle list (six floats per triangle) on a grid of n x n sample points.
    // Samples closer than margin to an edge of the outline are not judged: triangles whose
    // corners were rounded (crossing points of rings) may stray that far from it.
    Report Check(const std::vector<float>& triangles, int n = 256, double margin = 0.0) const;

private:
    bool NearEdge(double px, double py, double margin) const;

    std::vector<std::vector<float>> m_Rings;
};

}  // namespace testing_support
