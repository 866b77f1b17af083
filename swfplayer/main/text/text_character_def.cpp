#include "swfplayer/main/text/text_character_def.h"

#include "swfplayer/base/log.h"
#include "swfplayer/main/common/stream.h"
#include "swfplayer/main/common/swf_tag.h"
#include "swfplayer/main/text/display_glyph_records.h"

#include <cassert>

namespace swfplayer {

text_character_def::text_character_def(player* owner, movie_definition_sub* root_def)
    : character_def(owner), m_root_def(root_def) {
    assert(m_root_def);
}

void text_character_def::read(stream* in, [[maybe_unused]] int tag_type, [[maybe_unused]] movie_definition_sub* m) {
    assert(m != nullptr);
    assert(tag_type == tag_define_text || tag_type == tag_define_text2);
    m_rect.read(in);
    m_matrix.read(in);
    const int glyph_bits = in->read_u8();
    const int advance_bits = in->read_u8();
    if (glyph_bits > 32 || advance_bits > 32) {
        log_error("text_character: glyph bits %d or advance bits %d beyond 32\n", glyph_bits, advance_bits);
        return;
    }
    const bool verbose = get_verbose_parse();
    if (verbose) {
        log_msg("begin text records\n");
    }
    text_style style;
    // Every pass consumes at least one byte and a zero ends the records, so the tag's end
    // (which reads as zeros) ends the loop.
    for (;;) {
        const int style_flags = in->read_u8();
        if (style_flags == 0) {
            break;
        }
        if (verbose) {
            log_msg("  text style change\n");
        }
        const bool has_font = (style_flags & 0x08) != 0;
        if (has_font) {
            style.m_font_id = in->read_u16();
            if (verbose) {
                log_msg("  has_font: font id = %d\n", style.m_font_id);
            }
        }
        if (style_flags & 0x04) {
            style.m_color.read(in, tag_type);
            if (verbose) {
                log_msg("  has_color\n");
            }
        }
        style.m_has_x_offset = (style_flags & 0x01) != 0;
        style.m_x_offset = style.m_has_x_offset ? in->read_s16() : 0.0f;
        if (verbose && style.m_has_x_offset) {
            log_msg("  has_x_offset = %g\n", style.m_x_offset);
        }
        style.m_has_y_offset = (style_flags & 0x02) != 0;
        style.m_y_offset = style.m_has_y_offset ? in->read_s16() : 0.0f;
        if (verbose && style.m_has_y_offset) {
            log_msg("  has_y_offset = %g\n", style.m_y_offset);
        }
        if (has_font) {
            style.m_text_height = in->read_u16();
            if (verbose) {
                log_msg("  text_height = %g\n", style.m_text_height);
            }
        }

        const int glyph_count = in->read_u8();
        if (glyph_count == 0) {
            break;
        }
        text_glyph_record record;
        record.m_style = style;
        record.m_glyphs.resize(glyph_count);
        for (glyph& g : record.m_glyphs) {
            g.m_glyph_index = static_cast<int>(in->read_uint(glyph_bits) & 0x7FFFFFFF);
            g.m_glyph_advance = static_cast<float>(in->read_sint(advance_bits));
        }
        m_text_glyph_records.push_back(record);
        if (verbose) {
            log_msg("  glyph_records: count = %d\n", glyph_count);
        }
    }
    if (verbose) {
        log_msg("end text records\n");
    }
}

void text_character_def::display(character* instance) {
    display_glyph_records(m_matrix, instance, m_text_glyph_records, m_root_def);
}

}  // namespace swfplayer
