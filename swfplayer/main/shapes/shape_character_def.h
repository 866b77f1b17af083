#pragma once

#include "swfplayer/base/array.h"
#include "swfplayer/main/common/rect.h"
#include "swfplayer/main/display/character_def.h"
#include "swfplayer/main/shapes/fill_style.h"
#include "swfplayer/main/shapes/line_style.h"
#include "swfplayer/main/shapes/mesh_set.h"
#include "swfplayer/main/shapes/shape_path.h"

#include <memory>
#include <vector>

namespace swfplayer {

class base_file;
class movie_definition_sub;
class stream;

// The largest on-screen deviation of a flattened curve from the true curve, in pixels; limited to
// [1e-6, 1e6], NaN giving 1e6. Default 0.5.
void set_curve_max_pixel_error(float pixel_error);
float get_curve_max_pixel_error();

// Mesh sets are never built finer than this (twips of the shape): curves stay a bounded number of
// segments however far a shape is scaled up.
constexpr float min_error_tolerance = 0.5f;

// A vector shape of the dictionary (DefineShape 1 to 4), also the glyph outlines of fonts. It
// keeps its styles and paths, answers point tests and draws itself through mesh sets built at
// the tolerance its on-screen scale asks for, cached per tolerance.
class shape_character_def : public character_def, public tesselate::tesselating_shape {
public:
    explicit shape_character_def(player* owner);
    ~shape_character_def() override;

    // Reads a shape record body after the id. With styles (shapes): bounds, the DefineShape4
    // edge bounds and flags, and the style arrays first; without (glyphs, morph halves): only
    // the bit counts and records. Style numbers in the records that lie beyond the style arrays
    // are logged and become 0 (none). An unknown fill style type ends the reading: the record
    // gives no length, so the shape keeps its styles and bounds and has no paths.
    void read(stream* in, int tag_type, bool with_style, movie_definition_sub* md);

    // Draws an instance: its world matrix and colour transform, its parent's pixel scale, the
    // shape's own styles.
    void display(character* instance) override;
    // Chooses or builds the mesh set for the scale of mat and draws it with the given styles.
    // Nothing is drawn for a degenerate matrix.
    void display(const matrix& mat, const cxform& cx, float pixel_scale, const array<fill_style>& fills,
                 const array<line_style>& lines);

    // Point in the shape's own twips: within the bounds and inside the area of some fill style,
    // by the even-odd rule over every path with that style on either side (so holes are not
    // inside), or inside a closed path that has no fill on either side.
    bool point_test_local(float x, float y) const override;
    void get_bound(rect* r) const override { *r = m_bound; }

    // The mesh cache record: a count, then each mesh set (coarsest first).
    void output_cached_data(base_file* out, int options) const override;
    // Reads the record. Mesh sets read in full are kept; false when the record was cut short or
    // corrupt, after which the file's position is not at a record boundary.
    bool input_cached_data(base_file* in) override;

    void tesselate_new(float error_tolerance, tesselate_new::mesh_accepter* accepter) const override;

    // The cached mesh sets, coarsest first.
    const std::vector<std::unique_ptr<mesh_set>>& get_cached_meshes() const { return m_cached_meshes; }
    // The object-space tolerance (twips) a display at this scale asks for.
    static float wanted_tolerance(float max_scale, float pixel_scale);

    array<fill_style> m_fill_styles;
    array<line_style> m_line_styles;
    array<path> m_paths;
    rect m_bound;
    rect m_edge_bound;
    bool m_uses_nonscaling_strokes = false;
    bool m_uses_scaling_strokes = false;

protected:
    // Copies styles, paths, bounds and flags; the mesh cache is emptied.
    void copy_shape_from(const shape_character_def& other);
    void clear_mesh_cache() { m_cached_meshes.clear(); }
    // Style numbers beyond the style arrays become 0; logs once when there were any.
    void validate_style_indices();
    // Hands one path to the tessellator.
    static void tesselate_path(const path& p);

private:
    // Reads a fill or line style array; false when a fill style of unknown type stopped it.
    bool read_fill_styles(stream* in, int tag_type, movie_definition_sub* md);
    void read_line_styles(stream* in, int tag_type, movie_definition_sub* md);
    void read_records(stream* in, int tag_type, movie_definition_sub* md);

    std::vector<std::unique_ptr<mesh_set>> m_cached_meshes;
};

}  // namespace swfplayer
