#pragma once

#include "swfplayer/base/array.h"

namespace swfplayer {
namespace triangulate {

// Turns the closed outlines of one fill style into triangles by ear clipping.
//
// paths holds path_count rings, each a flat list x0, y0, x1, y1, ... closed implicitly (the last
// vertex joins the first), in twips. The filled region lies to the left of each ring's
// direction of travel, so holes run opposite to the outline around them; holes and separate
// islands are joined to the outline by bridges before clipping. result is cleared, then receives
// six floats per triangle: its corners a, b, w, counterclockwise (or of zero area where the
// input repeats a point).
//
// Any input terminates. Outlines that cannot be fully triangulated (self-intersecting rings,
// overlapping holes, clockwise rings) leave the area they cannot clip without triangles.
// Coordinates that are not finite are taken as 0.
void compute(array<float>* result, int path_count, const array<float>* paths);

}  // namespace triangulate
}  // namespace swfplayer
