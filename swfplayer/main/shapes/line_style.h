#pragma once

#include "swfplayer/main/common/rgba.h"
#include "swfplayer/main/shapes/fill_style.h"

#include <cstdint>

namespace swfplayer {

class movie_definition_sub;
class stream;

class base_line_style {
public:
    virtual ~base_line_style() = default;
    virtual void apply(float ratio) const = 0;
};

// One line style of a shape: a width in twips and a colour. LINESTYLE2 records add caps, joins,
// scaling flags and an optional fill, which are read and kept but not drawn.
class line_style : public base_line_style {
public:
    line_style() = default;
    line_style(uint16_t width, const rgba& color) : m_width(width), m_color(color) {}

    // Reads one LINESTYLE record, or a LINESTYLE2 record for tag type 83.
    void read(stream* in, int tag_type, movie_definition_sub* md);
    // Sets the renderer's line colour and width (twips).
    void apply(float ratio) const override;

    uint16_t get_width() const { return m_width; }
    const rgba& get_color() const { return m_color; }

    uint16_t m_width = 0;
    rgba m_color;
    fill_style m_fill_style;  // the LINESTYLE2 fill when m_has_fill
    uint8_t m_start_cap = 0;
    uint8_t m_join = 0;  // 2 is miter
    bool m_has_fill = false;
    bool m_no_hscale = false;
    bool m_no_vscale = false;
    bool m_pixel_hinting = false;
    bool m_no_close = false;
    uint8_t m_end_cap = 0;
    uint16_t m_miter_limit = 0;  // 8.8 fixed point, read only for miter joins
};

// The LINESTYLE2 flags that follow the width (shared with morph line styles): caps, join,
// has-fill, scaling, hinting, reserved bits, no-close, end cap, and the miter limit of a
// miter join.
void read_line_style2_flags(stream* in, line_style* style);

}  // namespace swfplayer
