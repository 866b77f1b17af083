#pragma once
// Internal to the tessellator's even-odd step.

#include "swfplayer/main/common/point.h"
#include "swfplayer/main/geometry/ring_chains.h"

#include <vector>

namespace swfplayer {
namespace tesselate_new {

// The region that rings enclose by the even-odd rule, as rings that neither cross nor overlap,
// each with the region on its left (the triangulator's convention); they may touch at points.
//
// Segments are cut where they cross or touch (a crossing point rounded to the nearest float
// point), pieces that lie on top of each other cancel in pairs, and the pieces left are walked
// face by face. A face is inside when a ray from it crosses the pieces an odd number of times;
// faces on the two sides of a piece differ, so one ray per connected set of pieces decides.
//
// Returns false, leaving *out empty, when the work would pass budget (about the number of
// segment pairs and ray tests looked at).
bool trace_even_odd_faces(const ring_set& rings, long long budget, std::vector<std::vector<point>>* out);

}  // namespace tesselate_new
}  // namespace swfplayer
