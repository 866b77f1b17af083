#pragma once

#include "swfplayer/base/array.h"
#include "swfplayer/main/common/cxform.h"
#include "swfplayer/main/common/matrix.h"
#include "swfplayer/main/common/point.h"
#include "swfplayer/main/geometry/tesselate.h"

#include <cstdint>
#include <memory>
#include <vector>

namespace swfplayer {

class base_file;
class fill_style;
class line_style;

namespace tesselate {

// Something the tessellator can be run on: it feeds its paths, between begin_shape and
// end_shape, to tesselate_new at the given curve tolerance (twips, > 0).
class tesselating_shape {
public:
    virtual ~tesselating_shape() = default;
    virtual void tesselate_new(float error_tolerance, tesselate_new::mesh_accepter* accepter) const = 0;
};

}  // namespace tesselate

// Triangles of one fill style: interleaved x, y pairs in twips.
struct mesh {
    std::vector<int16_t> m_triangle_strip;  // only from cache files that carry one
    std::vector<int16_t> m_triangle_list;   // three points per triangle
};

// The line of one path, curves flattened: at least two points.
struct line_strip {
    int m_style = -1;  // 0-based line style
    std::vector<int16_t> m_coords;
};

// What one sub-shape adds: meshes by 0-based fill style (null where the style has none) and
// line strips. Later layers draw over earlier ones.
struct layer {
    std::vector<std::unique_ptr<mesh>> m_meshes;
    std::vector<std::unique_ptr<line_strip>> m_line_strips;
};

// One tessellation of a shape at one curve tolerance (twips).
class mesh_set {
public:
    // Fill styles and line styles above these are not built from tessellator output.
    static constexpr int max_fill_style = 9999;
    static constexpr int max_line_style = 999;

    // An empty set, to be filled by input_cached_data.
    mesh_set() = default;
    // Tessellates shape at error_tolerance.
    mesh_set(const tesselate::tesselating_shape* shape, float error_tolerance);

    float get_error_tolerance() const { return m_error_tolerance; }
    const std::vector<layer>& get_layers() const { return m_layers; }

    // Sets the matrix and colour transform, then draws each layer: the meshes of each fill
    // style in that style, then (when there are line styles) each line strip in its style.
    // Meshes and strips whose style is missing from fills or lines, or has nothing to draw
    // with, are skipped.
    void display(const matrix& mat, const cxform& cx, const array<fill_style>& fills,
                 const array<line_style>& lines) const;

    // Appends a line strip of points (count >= 2) in line style (0..max_line_style) to the
    // last layer, creating one if there is none.
    void add_line_strip(int style, const point* points, int point_count);

    // The cache-file record: tolerance, layers, meshes and strips.
    void output_cached_data(base_file* out) const;
    // Reads a record written by output_cached_data. Returns false, leaving the set unusable,
    // when the file ends early or holds what no writer makes (a tolerance that is not a
    // positive finite number, odd or negative counts, styles out of range).
    bool input_cached_data(base_file* in);

private:
    friend class collect_tris;

    float m_error_tolerance = 0.0f;
    std::vector<layer> m_layers;
};

// A coordinate in twips as stored in meshes: clamped to the 16-bit range, truncated toward zero;
// NaN becomes 0.
int16_t to_mesh_coord(float v);

}  // namespace swfplayer
