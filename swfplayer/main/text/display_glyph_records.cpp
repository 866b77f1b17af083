#include "swfplayer/main/text/display_glyph_records.h"

#include "swfplayer/base/log.h"
#include "swfplayer/main/common/cxform.h"
#include "swfplayer/main/common/matrix.h"
#include "swfplayer/main/display/character.h"
#include "swfplayer/main/display/movie_definition.h"
#include "swfplayer/main/render/render_handler.h"
#include "swfplayer/main/shapes/fill_style.h"
#include "swfplayer/main/shapes/line_style.h"
#include "swfplayer/main/shapes/shape_character_def.h"

#include <cstdint>

namespace swfplayer {

namespace {

// The outline drawn for a character the font has no glyph for, in font units.
const int16_t empty_character_box[10] = {32, 32, 480, 32, 480, -656, 32, -656, 32, 32};

// The record's font, looked up once; null (reported once) when the id names no font. The record
// is drawn every frame, and a message each time would flood the log.
font* resolve_font(text_style* style, movie_definition_sub* root_def) {
    if (!style->m_font && style->m_font_id >= 0 && root_def) {
        character_def* found = root_def->get_font(style->m_font_id);
        if (found && found->is(AS_FONT)) {
            style->m_font = static_cast<font*>(found);
        }
    }
    if (!style->m_font && !style->m_font_error_logged) {
        log_error("error: text style with undefined font; font_id = %d\n", style->m_font_id);
        style->m_font_error_logged = true;
    }
    return style->m_font.get_ptr();
}

// A glyph of the installed glyph provider: its bitmap on a quad whose size is the texture's at
// the rendered pixel size, in font units (s = 1024 / size, 20 times that in a twentieths font,
// whose glyph matrix is scaled down by 20), placed by the glyph's bounds so the pen origin lies
// at the glyph's left bearing and ascent.
void draw_bitmap_glyph(const glyph& g, const matrix& glyph_matrix, bool twentieths, rgba color) {
    float s = font_em_units / static_cast<float>(g.m_fontsize);
    if (twentieths) {
        s *= 20.0f;
    }
    const float w = static_cast<float>(g.m_bitmap->get_width()) * s;
    const float h = static_cast<float>(g.m_bitmap->get_height()) * s;
    const rect& b = g.m_bounds;
    const rect coords(-b.x_min * w, (b.x_max - b.x_min) * w, -b.y_min * h, (b.y_max - b.y_min) * h);
    const rect uv_coords(0.0f, b.x_max, 0.0f, b.y_max);
    render::draw_bitmap(glyph_matrix, g.m_bitmap.get_ptr(), coords, uv_coords, color);
}

}  // namespace

void display_glyph_records(const matrix& text_matrix, character* inst, array<text_glyph_record>& records,
                           movie_definition_sub* root_def) {
    array<fill_style> fills(1);
    const array<line_style> lines;

    matrix base_matrix = inst->get_world_matrix();
    base_matrix.concatenate(text_matrix);
    const cxform cx = inst->get_world_cxform();
    const float pixel_scale = inst->get_pixel_scale();

    float x = 0.0f;
    float y = 0.0f;
    for (text_glyph_record& record : records) {
        font* fnt = resolve_font(&record.m_style, root_def);
        if (fnt == nullptr) {
            continue;
        }
        const float scale = fnt->get_scale(record.m_style.m_text_height);
        if (record.m_style.m_has_x_offset) {
            x = record.m_style.m_x_offset;
        }
        if (record.m_style.m_has_y_offset) {
            y = record.m_style.m_y_offset;
        }
        fills[0].m_color = record.m_style.m_color;
        const rgba plain_color = cx.transform(record.m_style.m_color);

        for (const glyph& g : record.m_glyphs) {
            matrix glyph_matrix = base_matrix;
            glyph_matrix.concatenate_translation(x, y);
            glyph_matrix.concatenate_scale(scale);
            if (g.m_bitmap) {
                draw_bitmap_glyph(g, glyph_matrix, fnt->is_twentieths(), plain_color);
            } else if (g.m_glyph_index < 0) {
                render::set_matrix(glyph_matrix);
                render::line_style_color(plain_color);
                render::draw_line_strip(empty_character_box, 5);
            } else {
                shape_character_def* shape = g.m_shape ? g.m_shape.get_ptr() : fnt->get_glyph_by_index(g.m_glyph_index);
                if (shape) {
                    shape->display(glyph_matrix, cx, pixel_scale, fills, lines);
                }
            }
            x += g.m_glyph_advance;
        }
    }
}

}  // namespace swfplayer
