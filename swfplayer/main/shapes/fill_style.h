#pragma once

#include "swfplayer/base/array.h"
#include "swfplayer/base/smart_ptr.h"
#include "swfplayer/main/common/matrix.h"
#include "swfplayer/main/common/rgba.h"
#include "swfplayer/main/display/movie_definition.h"
#include "swfplayer/main/loading/bitmap_character_def.h"
#include "swfplayer/main/render/render_handler.h"

#include <cstdint>
#include <vector>

namespace swfplayer {

class stream;

// The SWF fill style types the player knows.
enum fill_type {
    fill_solid = 0x00,
    fill_linear_gradient = 0x10,
    fill_radial_gradient = 0x12,
    fill_focal_gradient = 0x13,  // read and dropped: draws nothing
    fill_repeating_bitmap = 0x40,
    fill_clipped_bitmap = 0x41,
    fill_repeating_bitmap_hard = 0x42,  // without smoothing
    fill_clipped_bitmap_hard = 0x43,
    fill_unknown = 0xFF  // a type the reader did not recognise: draws nothing
};

// Gradients hold at most this many records: the count is four bits.
constexpr int max_gradient_records = 15;

struct gradient_record {
    uint8_t m_ratio = 0;  // position along the gradient, 0..255
    rgba m_color;
};

class base_fill_style {
public:
    virtual ~base_fill_style() = default;
    virtual void apply(int fill_side, float ratio) const = 0;
};

// One fill of a shape: a solid colour, a gradient drawn through a small bitmap, or a bitmap
// character. Copies share the gradient bitmap and the bitmap character.
class fill_style : public base_fill_style {
public:
    // Reads one FILLSTYLE record of a shape tag. md supplies bitmap characters by id. A type
    // the reader does not know ends what can be read of the record: the style becomes
    // fill_unknown and the caller should stop reading the shape (the record gives no length).
    void read(stream* in, int tag_type, movie_definition_sub* md);

    // Sets the renderer's fill of that side. Returns false when the style has nothing to draw
    // with (an unknown or focal type, an empty gradient, a missing bitmap): the caller then
    // skips the meshes of this style instead of drawing them in whatever fill came before.
    bool apply_fill(int fill_side) const;
    void apply(int fill_side, float ratio) const override;

    // The gradient colour at ratio (0..255). A gradient without records gives the style colour.
    rgba sample(int ratio) const;
    // The gradient as RGBA bytes, row by row: 256 x 1 for linear, 64 x 64 for radial.
    std::vector<uint8_t> gradient_pixels(int* width, int* height) const;
    void gradient_size(int* width, int* height) const;
    // Writes the gradient's pixels into rows of pitch bytes.
    void write_gradient_pixels(uint8_t* pixels, int pitch) const;
    // A new gradient bitmap from the renderer (a placeholder without one).
    bitmap_info* create_gradient_bitmap() const;

    // Morph blend of two styles of the same type; t in [0, 1]. The record array must already
    // hold as many records as a and b. The gradient bitmap is made again at the next apply.
    void set_lerp(const fill_style& a, const fill_style& b, float t);

    int get_type() const { return m_type; }
    bool is_gradient() const { return m_type == fill_linear_gradient || m_type == fill_radial_gradient; }
    bool is_bitmap() const { return m_type >= fill_repeating_bitmap && m_type <= fill_clipped_bitmap_hard; }

    int m_type = fill_solid;
    rgba m_color;
    matrix m_gradient_matrix;  // shape twips to gradient texels
    array<gradient_record> m_gradients;
    // The gradient's bitmap, made at the first apply with a renderer installed (never without
    // one), and shared with every fill that shows the same gradient meanwhile. A bitmap made
    // for a fill joins the bitmap list of the movie the fill was read from.
    mutable smart_ptr<bitmap_info> m_gradient_bitmap_info;
    weak_ptr<movie_definition_sub> m_movie;
    smart_ptr<bitmap_character_def> m_bitmap_character;
    matrix m_bitmap_matrix;  // shape twips to bitmap pixels

    // The gradient matrix for a gradient placed by placement (its MATRIX record): the
    // gradient square -16384..16384 maps onto the bitmap's texels.
    static matrix gradient_matrix_for(int type, const matrix& placement);
};

// The bitmap character of the movie's bitmap dictionary with that id, or null.
bitmap_character_def* find_bitmap_character(movie_definition_sub* md, int id);

}  // namespace swfplayer
