#include "swfplayer/main/text/font.h"

#include "swfplayer/base/log.h"
#include "swfplayer/main/common/stream.h"
#include "swfplayer/main/common/swf_tag.h"
#include "swfplayer/main/display/movie_definition.h"
#include "swfplayer/main/shapes/shape_character_def.h"
#include "swfplayer/main/text/glyph.h"
#include "swfplayer/main/text/glyph_provider.h"

#include <algorithm>
#include <cassert>
#include <climits>
#include <cstdint>

namespace swfplayer {

namespace {

// How many entries of entry_bytes each the rest of the tag holds, at most wanted.
int entries_that_fit(stream* in, int wanted, int entry_bytes) {
    int fit = in->get_tag_bytes_left() / entry_bytes;
    return wanted < fit ? wanted : fit;
}

// Outlines of a well-formed font lie side by side, so reading them all reads the tag about once.
// Offsets that make outlines overlap could make every glyph read the rest of the tag again: the
// bytes read for outlines are limited to twice the tag's table.
// A tag's end is clamped to the int range only, so the doubling is done in 64 bits and capped.
int glyph_byte_budget(stream* in, int table_base) {
    const int64_t budget = 2 * (int64_t{in->get_tag_end_position()} - table_base);
    return static_cast<int>(std::clamp<int64_t>(budget, 0, INT_MAX));
}

uint32_t kerning_key(int first, int second) {
    return (static_cast<uint32_t>(first) & 0xFFFFu) << 16 | (static_cast<uint32_t>(second) & 0xFFFFu);
}

}  // namespace

font::font(player* owner) : character_def(owner), m_name("Times New Roman") {}

font::~font() = default;

void font::read(stream* in, int tag_type, movie_definition_sub* m) {
    assert(tag_type == tag_define_font || tag_type == tag_define_font2 || tag_type == tag_define_font3);
    if (tag_type == tag_define_font) {
        read_define_font(in, m);
    } else {
        read_define_font2(in, tag_type, m);
    }
}

bool font::read_glyph(stream* in, int position, int tag_type, movie_definition_sub* m, int index, int* budget) {
    if (position < 0 || position >= in->get_tag_end_position()) {
        log_error("font: glyph %d lies outside its tag\n", index);
        return true;
    }
    in->set_position(position);
    smart_ptr<shape_character_def> shape = new shape_character_def(get_player());
    shape->read(in, tag_type, false, m);
    m_glyphs[index] = shape;
    // A file shorter than its tag claims leaves the stream before position: nothing was read then.
    *budget -= std::max(in->get_position() - position, 0);
    if (*budget < 0) {
        log_error("font: glyph outlines overlap; glyphs from %d on are dropped\n", index + 1);
        return false;
    }
    return true;
}

void font::read_define_font(stream* in, movie_definition_sub* m) {
    if (get_verbose_parse()) {
        log_msg("reading DefineFont\n");
    }
    const int table_base = in->get_position();
    array<int> offsets;
    offsets.push_back(in->read_u16());
    if (get_verbose_parse()) {
        log_msg("offset[0] = %d\n", offsets[0]);
    }
    // Each offset takes two bytes, so the first one says how many there are.
    const int wanted = offsets[0] >> 1;
    const int count = wanted > 0 ? 1 + entries_that_fit(in, wanted - 1, 2) : 0;
    if (count < wanted) {
        log_error("DefineFont: %d glyph offsets announced, %d present\n", wanted, count);
    }
    for (int i = 1; i < count; i++) {
        offsets.push_back(in->read_u16());
        if (get_verbose_parse()) {
            log_msg("offset[%d] = %d\n", i, offsets[i]);
        }
    }
    m_glyphs.resize(count);
    int budget = glyph_byte_budget(in, table_base);
    for (int i = 0; i < count; i++) {
        if (!read_glyph(in, table_base + offsets[i], tag_define_shape, m, i, &budget)) {
            break;
        }
    }
}

void font::read_define_font2(stream* in, int tag_type, movie_definition_sub* m) {
    if (get_verbose_parse()) {
        log_msg("DefineFont%d tag\n", tag_type == tag_define_font2 ? 2 : 3);
    }
    const bool has_layout = in->read_bool();
    m_shift_jis = in->read_bool();
    m_small_text = in->read_bool();
    m_ansi = in->read_bool();
    const bool wide_offsets = in->read_bool();
    m_wide_codes = in->read_bool();
    m_is_italic = in->read_bool();
    m_is_bold = in->read_bool();
    in->read_u8();  // language code
    in->read_string_with_length(&m_name);

    const int wanted = in->read_u16();
    const int table_base = in->get_position();
    const int offset_bytes = wide_offsets ? 4 : 2;
    // The glyph offsets and the code-table offset must all be there.
    const int count = entries_that_fit(in, wanted + 1, offset_bytes) - 1;
    if (count < wanted) {
        log_error("DefineFont%d: %d glyph offsets announced, fewer present\n", tag_type == tag_define_font2 ? 2 : 3,
                  wanted);
        return;
    }
    array<uint32_t> offsets(count);
    for (int i = 0; i < count; i++) {
        offsets[i] = wide_offsets ? in->read_u32() : in->read_u16();
    }
    const uint32_t code_table_offset = wide_offsets ? in->read_u32() : in->read_u16();

    m_glyphs.resize(count);
    int budget = glyph_byte_budget(in, table_base);
    for (int i = 0; i < count; i++) {
        const int64_t position = table_base + static_cast<int64_t>(offsets[i]);
        if (!read_glyph(in, position > INT32_MAX ? -1 : static_cast<int>(position), tag_define_shape2, m, i, &budget)) {
            break;
        }
    }
    if (table_base + static_cast<int64_t>(code_table_offset) != in->get_position()) {
        // The outlines do not end where the codes begin: keep the outlines only.
        log_error("DefineFont%d: the code table does not follow the glyphs\n", tag_type == tag_define_font2 ? 2 : 3);
        return;
    }
    m_code_table.clear();
    read_code_table(in);
    if (has_layout) {
        read_layout(in);
    }
}

void font::read_code_table(stream* in) {
    if (get_verbose_parse()) {
        log_msg("reading code table at offset %d\n", in->get_position());
    }
    m_code_table.clear();
    const int code_bytes = m_wide_codes ? 2 : 1;
    const int count = entries_that_fit(in, m_glyphs.size(), code_bytes);
    if (count < m_glyphs.size()) {
        log_error("font: the code table holds %d of %d codes\n", count, m_glyphs.size());
    }
    for (int i = 0; i < count; i++) {
        const uint16_t code = m_wide_codes ? in->read_u16() : in->read_u8();
        m_code_table.set(code, i);
    }
}

void font::read_layout(stream* in) {
    m_ascent = in->read_s16();
    m_descent = in->read_s16();
    m_leading = in->read_s16();
    const int count = m_glyphs.size();
    m_advance_table.resize(count);
    for (int i = 0; i < count; i++) {
        m_advance_table[i] = in->read_s16();
    }
    for (int i = 0; i < count && in->get_tag_bytes_left() > 0; i++) {
        rect bounds;
        bounds.read(in);
    }
    const int kerning_count = in->read_u16();
    for (int i = 0; i < kerning_count && in->get_tag_bytes_left() > 0; i++) {
        const int first = m_wide_codes ? in->read_u16() : in->read_u8();
        const int second = m_wide_codes ? in->read_u16() : in->read_u8();
        const float adjustment = in->read_s16();
        m_kerning_pairs.set(kerning_key(first, second), adjustment);
    }
}

void font::read_font_info(stream* in, int tag_type) {
    assert(tag_type == tag_define_font_info || tag_type == tag_define_font_info2);
    in->read_string_with_length(&m_name);
    const int flags = in->read_u8();
    m_small_text = (flags & 0x20) != 0;
    m_shift_jis = (flags & 0x10) != 0;
    m_ansi = (flags & 0x08) != 0;
    m_is_italic = (flags & 0x04) != 0;
    m_is_bold = (flags & 0x02) != 0;
    m_wide_codes = (flags & 0x01) != 0;
    if (tag_type == tag_define_font_info2) {
        in->read_u8();  // language code
    }
    read_code_table(in);
}

void font::read_font_alignzones(stream* in, [[maybe_unused]] int tag_type) {
    assert(tag_type == tag_define_font_align_zones);
    m_csm_table_hint = static_cast<uint8_t>(in->read_uint(2));
    in->read_uint(6);
    m_zone_table.resize(m_glyphs.size());
    for (array<zone_data>& zones : m_zone_table) {
        const int count = entries_that_fit(in, in->read_u8(), 4);
        zones.resize(count);
        for (zone_data& zone : zones) {
            zone.m_alignment_coord = in->read_float16();
            zone.m_range = in->read_float16();
        }
        in->read_u8();  // zone flags
    }
}

shape_character_def* font::get_glyph_by_index(int index) const {
    assert(index >= 0);
    return index < m_glyphs.size() ? m_glyphs[index].get_ptr() : nullptr;
}

bool font::get_char_glyph(glyph* out, int code, int font_size) const {
    *out = glyph();
    out->m_fontsize = font_size;
    const float default_advance = is_twentieths() ? 512.0f * 20.0f : 512.0f;
    out->m_glyph_advance = default_advance;
    // Installed fonts draw instead of the movie's outlines when a host installed the provider.
    if (glyph_provider* provider = get_glyph_provider()) {
        float advance = 0.0f;
        out->m_bitmap =
            provider->get_char_image(code, m_name, m_is_bold, m_is_italic, font_size, &out->m_bounds, &advance);
        if (out->m_bitmap) {
            out->m_glyph_advance = is_twentieths() ? advance * 20.0f : advance;
            return true;
        }
    }
    int index = -1;
    // Codes are 16 bits wide in fonts: a wider one has no glyph rather than a wrong one.
    if (code < 0 || code > 0xFFFF || !m_code_table.get(static_cast<uint16_t>(code), &index) || index < 0 ||
        index >= m_glyphs.size()) {
        return false;
    }
    out->m_glyph_index = index;
    out->m_shape = m_glyphs[index];
    if (index < m_advance_table.size()) {
        out->m_glyph_advance = m_advance_table[index];
    }
    return true;
}

float font::get_kerning_adjustment(int last_code, int code) const {
    float adjustment = 0.0f;
    m_kerning_pairs.get(kerning_key(last_code, code), &adjustment);
    return adjustment;
}

float font::get_scale(float text_height) const {
    const float scale = text_height / font_em_units;
    return is_twentieths() ? scale / 20.0f : scale;
}

}  // namespace swfplayer
