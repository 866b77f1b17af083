#pragma once

#include "swfplayer/main/common/point.h"

namespace swfplayer {
namespace tesselate_new {

// Receives what the tessellator makes of one shape: triangle lists per fill style and line
// strips per line style. Styles are 0-based. Coordinates are in the shape's own units (twips).
class mesh_accepter {
public:
    virtual ~mesh_accepter() = default;
    // A triangle list of the given fill style begins; expected_triangle_count is its size.
    virtual void begin_trilist(int style, int expected_triangle_count) = 0;
    // Three points per triangle.
    virtual void accept_trilist_batch(const point* points, int point_count) = 0;
    virtual void end_trilist() = 0;
    // A path of the given line style, curves flattened, in the direction it was drawn.
    virtual void accept_line_strip(int style, const point* points, int point_count) = 0;
    // The shape is complete.
    virtual void end_shape() = 0;
};

// Tessellation of one shape at a time. Calls for one shape: begin_shape, then per path
// begin_path, any number of add_line_segment and add_curve_segment, end_path; finally
// end_shape. Line strips are delivered at each end_path; the fills, joined into closed rings
// and triangulated one fill style at a time, at end_shape. Each fill style fills the area its
// closed rings enclose by the even-odd rule, whatever the direction of each ring: a ring inside
// an odd number of others is a hole, and where rings cross, what they cover twice stays empty.
// All the rings of a style are taken together, so a hole stays a hole however the movie drew
// its rings and split them among paths.
//
// Style numbers are 0-based; any negative value means none. Curves are flattened until the
// middle of each piece lies within curve_error_tolerance (twips, > 0) of its chord, measured as
// |dx| + |dy|.
//
// The state is kept for the one shape in progress; a shape that was abandoned before its
// end_shape is discarded by the next begin_shape.
void begin_shape(mesh_accepter* accepter, float curve_error_tolerance);
void begin_path(int fill0, int fill1, int line, float ax, float ay);
void add_line_segment(float ax, float ay);
// A quadratic curve from the last point through the control point (cx, cy) to (ax, ay); a
// control point equal to the anchor makes a straight segment.
void add_curve_segment(float cx, float cy, float ax, float ay);
void end_path();
void end_shape();

}  // namespace tesselate_new
}  // namespace swfplayer
