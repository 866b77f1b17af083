#pragma once

namespace swfplayer {
namespace triangulate {

// The geometric predicates of the triangulator. Every one is exact: it works from the float
// coordinates with no tolerance and answers the sign the real-number formula would give.

// Sign (+1, -1 or 0) of L(a, b, c) = (b.x - a.x)(c.y - a.y) - (c.x - a.x)(b.y - a.y): positive
// when c lies to the left of the directed line a->b.
int left_sign(float ax, float ay, float bx, float by, float cx, float cy);

// -1 when u comes first in (x, then y) order, +1 when v does, 0 when they coincide.
int vertex_order(float ux, float uy, float vx, float vy);

// True when p lies in the cone of the corner a->b->c: for a strict left turn, inside or on both
// of its sides; otherwise on the left of (or on) at least one of the two edges.
bool in_cone(float px, float py, float ax, float ay, float bx, float by, float cx, float cy);

// True when p lies in the closed counterclockwise triangle (a, b, c).
bool point_in_triangle(float px, float py, float ax, float ay, float bx, float by, float cx,
                       float cy);

// True when segment P-Q crosses segment E-F: P and Q lie strictly on opposite sides of the line
// EF, and E and F do not lie strictly on one side of the line PQ. Touching at an end is no
// crossing.
bool segments_cross(float px, float py, float qx, float qy, float ex, float ey, float fx, float fy);

}  // namespace triangulate
}  // namespace swfplayer
