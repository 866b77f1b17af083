#pragma once

#include <vector>

namespace bench_geometry {

// A ring is a flat list x0, y0, x1, y1, ...; its filled side is on the left (counterclockwise
// with y up), so holes run clockwise.
using Ring = std::vector<float>;
using Rings = std::vector<Ring>;

// Each outline has about n vertices in all.
Rings Convex(int n);     // a regular polygon
Rings Star(int n);       // spikes: corners alternate between two radii
Rings Spiral(int n);     // a band winding around a centre, several turns
Rings Comb(int n);       // a base with upward teeth
Rings Glyph(int n);      // a wobbly letter-like outline with two counters (holes)
Rings ManyHoles(int n);  // a square with 32 x 32 = 1024 round holes

int VertexCount(const Rings& rings);

// One outline family of the triangulation benchmarks and the sizes it is run at.
struct ShapeCase {
    const char* name;
    Rings (*make)(int);
    std::vector<int> sizes;
    int glu_limit;  // GLU runs up to this size only: beyond, its time grows quadratically
};
const std::vector<ShapeCase>& TriangulateCases();

}  // namespace bench_geometry
