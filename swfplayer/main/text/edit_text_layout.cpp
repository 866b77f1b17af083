#include "swfplayer/base/log.h"
#include "swfplayer/base/utf8.h"
#include "swfplayer/main/common/twips.h"
#include "swfplayer/main/text/edit_text_character.h"

namespace swfplayer {

namespace {

// Lines end this far (twips) before the field's right edge less its right margin.
constexpr float line_end_reserve = 80.0f;
// Glyphs one field lays out at most; text past them is not shown (said once per field).
constexpr int max_laid_out_glyphs = 1 << 16;
// How far below its field a line may start and still be laid out, twips: the 16-bit coordinate
// range the renderer takes; lines further down never show on a stage.
constexpr float max_overflow = 32767.0f;
// Missing glyphs are reported this many times per run, then silently drawn as boxes.
constexpr int max_missing_glyph_errors = 10;
int s_missing_glyph_errors = 0;

// A record in the field's style starting at (x, y).
text_glyph_record start_record(font* fnt, const rgba& color, float text_height, float x, float y) {
    text_glyph_record record;
    record.m_style.m_font = fnt;
    record.m_style.m_color = color;
    record.m_style.m_text_height = text_height;
    record.m_style.m_x_offset = x;
    record.m_style.m_y_offset = y;
    record.m_style.m_has_x_offset = true;
    record.m_style.m_has_y_offset = true;
    return record;
}

}  // namespace

void edit_text_character::align_line(int first_record, float line_end_x) {
    const float extra = (m_def->m_rect.x_max - m_def->m_rect.x_min) - m_right_margin - line_end_x - line_end_reserve;
    float shift = 0.0f;
    if (m_alignment == edit_text_character_def::ALIGN_LEFT) {
        return;
    } else if (m_alignment == edit_text_character_def::ALIGN_RIGHT) {
        shift = extra;
    } else if (m_alignment == edit_text_character_def::ALIGN_CENTER) {
        shift = extra * 0.5f;
    }
    for (int i = first_record; i < m_text_glyph_records.size(); i++) {
        if (m_text_glyph_records[i].m_style.m_has_x_offset) {
            m_text_glyph_records[i].m_style.m_x_offset += shift;
        }
    }
    // The cursor moves with its own line only.
    if (m_cursor_line == first_record) {
        m_xcursor += shift;
    }
}

void edit_text_character::format_text() {
    m_text_glyph_records.clear();
    font* fnt = m_font.get_ptr();
    if (fnt == nullptr) {
        return;
    }
    const float scale = fnt->get_scale(m_text_height);
    const float leading_total = m_leading + fnt->get_leading() * scale;
    const float line_height = m_text_height + leading_total;
    const float line_limit = (m_def->m_rect.x_max - m_def->m_rect.x_min) - m_right_margin - line_end_reserve;
    const float first_x = m_left_margin + m_indent > 0.0f ? m_left_margin + m_indent : 0.0f;
    const int font_size = static_cast<int>(m_text_height / twips_per_pixel);

    float x = first_x;
    float y = m_text_height + (fnt->get_leading() - fnt->get_descent()) * scale;
    text_glyph_record record = start_record(fnt, m_color, m_text_height, x, y);
    m_text_bounding_box =
        rect(x, x, y - fnt->get_descent() * scale + m_text_height, y - fnt->get_descent() * scale + m_text_height);
    m_xcursor = x;
    m_ycursor = y;
    m_cursor_line = 0;
    int last_code = -1;
    int last_space = -1;
    int line_start = 0;
    int character_count = 0;
    int tag_depth = 0;
    int glyph_count = 0;
    // Lines are laid out while they can show: one that starts far below the field (or past the
    // glyph cap) ends the layout, so a huge text costs what can show, not its length.
    const float field_bottom = m_def->m_rect.y_max + max_overflow;
    bool cut = false;

    const char* text = m_text.c_str();
    while (uint32_t code = decode_next_utf8_char(&text)) {
        if (tag_depth > 0) {
            if (code == '>') {
                tag_depth--;
            }
            continue;
        }
        if (code == '<') {
            tag_depth++;
            continue;
        }
        x += fnt->get_kerning_adjustment(last_code, static_cast<int>(code)) * scale;
        last_code = static_cast<int>(code);
        m_text_bounding_box.expand_to_point(x, y + fnt->get_descent() * scale);

        if (code == 13 || code == 10) {
            m_text_glyph_records.push_back(record);
            align_line(line_start, x);
            x = first_x;
            y += line_height;
            if (y - m_text_height > field_bottom) {
                cut = true;
                break;
            }
            record = start_record(fnt, m_color, m_text_height, x, y);
            last_space = -1;
            line_start = m_text_glyph_records.size();
            continue;
        }
        if (code == 8) {
            if (!record.m_glyphs.empty()) {
                x -= record.m_glyphs.back().m_glyph_advance;
                record.m_glyphs.back().m_glyph_advance = 0.0f;
            }
            continue;
        }
        if (code == ' ') {
            last_space = record.m_glyphs.size();
        }
        glyph g;
        if (!fnt->get_char_glyph(&g, static_cast<int>(code), font_size) &&
            s_missing_glyph_errors < max_missing_glyph_errors) {
            s_missing_glyph_errors++;
            log_error(
                "edit_text_character::display() -- missing glyph for char %d -- make sure character shapes "
                "for font %s are being exported into your SWF file!\n",
                static_cast<int>(code), fnt->get_name().c_str());
        }
        g.m_glyph_advance *= scale;
        g.m_fontsize = font_size;
        if (++glyph_count > max_laid_out_glyphs) {
            if (!m_layout_capped) {
                m_layout_capped = true;
                log_error("edit_text_character: only %d glyphs of a text are laid out\n", max_laid_out_glyphs);
            }
            cut = true;
            break;
        }
        record.m_glyphs.push_back(g);
        x += g.m_glyph_advance;
        // The box holds the whole glyph, not only where it starts.
        m_text_bounding_box.expand_to_point(x, y + fnt->get_descent() * scale);

        if (x >= line_limit) {
            // Break the line, whatever the wrap flags say: the words after the last space (or
            // the last glyph when there was none) move to the next line.
            m_text_glyph_records.push_back(record);
            float line_end = x;
            x = m_left_margin;
            y += line_height;
            record = start_record(fnt, m_color, m_text_height, x, y);
            text_glyph_record& broken = m_text_glyph_records.back();
            int keep = broken.m_glyphs.size() > 0 ? broken.m_glyphs.size() - 1 : 0;
            if (last_space != -1) {
                line_end -= broken.m_glyphs[last_space].m_glyph_advance;
                keep = last_space;
            }
            for (int i = last_space != -1 ? last_space + 1 : keep; i < broken.m_glyphs.size(); i++) {
                record.m_glyphs.push_back(broken.m_glyphs[i]);
                x += broken.m_glyphs[i].m_glyph_advance;
                line_end -= broken.m_glyphs[i].m_glyph_advance;
            }
            broken.m_glyphs.resize(keep);
            align_line(line_start, line_end);
            last_space = -1;
            line_start = m_text_glyph_records.size();
            if (y - m_text_height > field_bottom) {
                cut = true;
                break;
            }
        }
        if (m_cursor > character_count) {
            m_xcursor = x;
            m_ycursor = y;
            m_cursor_line = line_start;
        }
        character_count++;
    }
    m_xcursor += fnt->get_leading() * scale;
    m_ycursor -= m_text_height + (fnt->get_leading() - fnt->get_descent()) * scale;
    if (!cut) {
        m_text_glyph_records.push_back(record);
        align_line(line_start, x);
    }
}

}  // namespace swfplayer
