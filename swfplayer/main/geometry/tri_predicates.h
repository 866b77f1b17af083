#pragma once

#include <cmath>

namespace swfplayer {
namespace triangulate {

// The geometric predicates of the triangulator. Every one is exact: it works from the float
// coordinates with no tolerance and answers the sign the real-number formula would give.

// The exact sign of L from an exact sum of its terms, for when doubles cannot tell.
int left_sign_exact(float ax, float ay, float bx, float by, float cx, float cy);

// Sign (+1, -1 or 0) of L(a, b, c) = (b.x - a.x)(c.y - a.y) - (c.x - a.x)(b.y - a.y): positive
// when c lies to the left of the directed line a->b. Evaluated in doubles; when the result is
// within the evaluation's error bound of 0, the exact sum decides.
inline int left_sign(float ax, float ay, float bx, float by, float cx, float cy) {
    // Relative error bound of the double evaluation (three roundings at most).
    constexpr double kErrorBound = 3.3306690738754716e-16 * 1.0000001;
    double left = (static_cast<double>(bx) - ax) * (static_cast<double>(cy) - ay);
    double right = (static_cast<double>(cx) - ax) * (static_cast<double>(by) - ay);
    double det = left - right;
    double bound = kErrorBound * (std::fabs(left) + std::fabs(right));
    if (det > bound) {
        return 1;
    }
    if (-det > bound) {
        return -1;
    }
    return left_sign_exact(ax, ay, bx, by, cx, cy);
}

// -1 when u comes first in (x, then y) order, +1 when v does, 0 when they coincide.
int vertex_order(float ux, float uy, float vx, float vy);

// True when p lies in the cone of the corner a->b->c: for a strict left turn, inside or on both
// of its sides; otherwise on the left of (or on) at least one of the two edges.
bool in_cone(float px, float py, float ax, float ay, float bx, float by, float cx, float cy);

// True when p lies in the closed counterclockwise triangle (a, b, c).
inline bool point_in_triangle(float px, float py, float ax, float ay, float bx, float by, float cx, float cy) {
    return left_sign(ax, ay, bx, by, px, py) >= 0 && left_sign(bx, by, cx, cy, px, py) >= 0 &&
           left_sign(cx, cy, ax, ay, px, py) >= 0;
}

// True when segment P-Q crosses segment E-F: P and Q lie strictly on opposite sides of the line
// EF, and E and F do not lie strictly on one side of the line PQ. Touching at an end is no
// crossing.
bool segments_cross(float px, float py, float qx, float qy, float ex, float ey, float fx, float fy);

}  // namespace triangulate
}  // namespace swfplayer
