#include "swfplayer/main/shapes/line_style.h"

#include "swfplayer/main/common/stream.h"
#include "swfplayer/main/common/swf_tag.h"
#include "swfplayer/main/render/render_handler.h"

namespace swfplayer {

namespace {

constexpr int miter_join = 2;

}  // namespace

void read_line_style2_flags(stream* in, line_style* style) {
    style->m_start_cap = static_cast<uint8_t>(in->read_uint(2));
    style->m_join = static_cast<uint8_t>(in->read_uint(2));
    style->m_has_fill = in->read_bool();
    style->m_no_hscale = in->read_bool();
    style->m_no_vscale = in->read_bool();
    style->m_pixel_hinting = in->read_bool();
    in->read_uint(5);  // reserved
    style->m_no_close = in->read_bool();
    style->m_end_cap = static_cast<uint8_t>(in->read_uint(2));
    if (style->m_join == miter_join) {
        style->m_miter_limit = in->read_u16();
    }
}

void line_style::read(stream* in, int tag_type, movie_definition_sub* md) {
    m_width = in->read_u16();
    if (tag_type != tag_define_shape4) {
        m_color.read(in, tag_type);
        return;
    }
    read_line_style2_flags(in, this);
    if (m_has_fill) {
        m_fill_style.read(in, tag_type, md);
    } else {
        m_color.read_rgba(in);
    }
}

void line_style::apply(float) const {
    render::line_style_color(m_color);
    render::line_style_width(static_cast<float>(m_width));
}

}  // namespace swfplayer
