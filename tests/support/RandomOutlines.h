#pragma once

#include <random>
#include <vector>

namespace testing_support {

// Outlines for triangulation and tessellation tests, as flat rings x0, y0, x1, y1, ...

// A regular n-gon around (cx, cy) with circumradius r, counterclockwise (y up) unless clockwise.
std::vector<float> RegularPolygon(double cx, double cy, double r, int n, bool clockwise = false);

// A random simple polygon with holes: a counterclockwise star-shaped outline of outer_vertices
// corners (radii between 0.75 R and R, R = 10000), and holes_per_side^2 clockwise star-shaped
// holes of hole_vertices corners each, one per cell of a lattice inside the outline, so that no
// two rings touch. Coordinates are multiples of 1/4.
std::vector<std::vector<float>> RandomPolygonWithHoles(std::mt19937& rng, int outer_vertices, int holes_per_side,
                                                       int hole_vertices);

}  // namespace testing_support
