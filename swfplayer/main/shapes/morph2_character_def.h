#pragma once

#include "swfplayer/base/smart_ptr.h"
#include "swfplayer/main/shapes/shape_character_def.h"

#include <cstdint>
#include <memory>

namespace swfplayer {

// A morph shape (DefineMorphShape, DefineMorphShape2): a start shape and an end shape with
// paired styles and edges. Displaying it at a ratio blends the two into the inherited shape
// fields and draws them through one mesh set, rebuilt only when the ratio changes.
class morph2_character_def : public shape_character_def {
public:
    explicit morph2_character_def(player* owner);
    ~morph2_character_def() override;

    // Reads the record body after the id (tag 46 or 84). Data that cannot be paired (different
    // style counts or edge counts, a gradient of no or more than 8 records, an unknown fill
    // type) is logged and leaves the morph without anything to draw.
    void read(stream* in, int tag_type, bool with_style, movie_definition_sub* md);

    // Draws an instance at its ratio, with its world matrix and colour transform and its
    // parent's pixel scale.
    void display(character* instance) override;
    // Blends at ratio (0 start .. 1 end; NaN counts as 0) and draws with the matrix's scale.
    void display(const matrix& mat, const cxform& cx, float pixel_scale, float ratio);

    // Whether the record was read and its two shapes pair up.
    bool is_valid() const { return m_valid; }
    const shape_character_def& get_shape1() const { return *m_shape1; }
    const shape_character_def& get_shape2() const { return *m_shape2; }
    // Mesh sets built so far (one per change of ratio).
    int get_mesh_builds() const { return m_mesh_builds; }

private:
    // Reads one morph fill style into the start and end styles; false when it cannot be read.
    bool read_fill_style(stream* in, int tag_type, movie_definition_sub* md, fill_style* start, fill_style* end);
    bool read_line_styles(stream* in, int tag_type, movie_definition_sub* md);
    // Checks the pairing and sizes the blended arrays; false when the shapes do not pair.
    bool pair_shapes();
    void blend(float t);

    smart_ptr<shape_character_def> m_shape1;
    smart_ptr<shape_character_def> m_shape2;
    uint32_t m_offset = 0;
    int m_fill_style_count = 0;
    int m_line_style_count = 0;
    float m_last_ratio = -1.0f;
    std::unique_ptr<mesh_set> m_mesh;
    bool m_valid = false;
    int m_mesh_builds = 0;
};

}  // namespace swfplayer
