#pragma once

#include "swfplayer/main/common/point.h"

#include <vector>

namespace swfplayer {
namespace tesselate_new {

// One path of a shape in tessellation: its styles (0-based, negative for none) and its points,
// curves flattened, starting with the start point.
struct fill_path {
    int fill0 = -1;  // the fill on the left of the direction of travel
    int fill1 = -1;  // the fill on the right
    int line = -1;
    bool closed = false;     // the first point equals the last
    bool processed = false;  // handed to the triangulator
    std::vector<point> points;
};

// Makes every fill a right-hand fill (fill1). A path with only fill0 is reversed in place; a
// path with both gets a reversed copy appended for fill0 (without line) and loses its fill0.
void normalise_fill_sides(std::vector<fill_path>* paths);

// Chains open paths of the same fill1 into closed rings, with exact point equality. The result
// is that of repeated passes over the paths in order, each ending at its first change: a path
// whose ends meet is closed; otherwise the first other open path of the same fill1 that starts
// where it ends is appended to it (and used up: fill1 -1), or else the first that ends where it
// starts takes it over (and it is used up). Ends are found through an index, so the work grows
// with the number of paths times a logarithm rather than with its cube.
void join_open_rings(std::vector<fill_path>* paths);

}  // namespace tesselate_new
}  // namespace swfplayer
