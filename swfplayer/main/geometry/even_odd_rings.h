#pragma once

#include "swfplayer/main/common/point.h"

#include <vector>

namespace swfplayer {
namespace tesselate_new {

// Prepares the closed rings of one fill style (each without the closing repeat of its first
// point) for the triangulator, which fills the left side of every ring. Afterwards the rings fill
// exactly the region the given ones enclose by the even-odd rule, whatever the direction each
// was drawn in: a hole may run either way, and where rings cross (a self-crossing star, two
// overlapping outlines) the parts covered an even number of times stay empty.
//
// Rings that neither cross nor touch themselves or one another are kept as they are, each
// reversed when it runs the wrong way for its depth (inside an even number of other rings it
// must run counterclockwise, inside an odd number clockwise). Otherwise the rings are replaced
// by rings around the faces of the region, which may touch at points. The work is bounded by a
// multiple of the number of points: rings too tangled to untangle within it are only oriented,
// or left as they came.
void orient_even_odd(std::vector<std::vector<point>>* rings);

}  // namespace tesselate_new
}  // namespace swfplayer
