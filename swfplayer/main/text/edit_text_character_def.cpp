#include "swfplayer/main/text/edit_text_character_def.h"

#include "swfplayer/base/log.h"
#include "swfplayer/main/common/stream.h"
#include "swfplayer/main/common/swf_tag.h"
#include "swfplayer/main/common/twips.h"
#include "swfplayer/main/display/movie_definition.h"
#include "swfplayer/main/text/edit_text_character.h"

#include <cassert>

namespace swfplayer {

edit_text_character_def::edit_text_character_def(player* owner, movie_definition_sub* root_def)
    : character_def(owner), m_root_def(root_def) {}

edit_text_character_def::edit_text_character_def(player* owner, int width, int height)
    : character_def(owner),
      m_rect(0.0f, static_cast<float>(width) * twips_per_pixel, 0.0f, static_cast<float>(height) * twips_per_pixel),
      m_font(new font(owner)) {}

void edit_text_character_def::read(stream* in, [[maybe_unused]] int tag_type,
                                   [[maybe_unused]] movie_definition_sub* m) {
    assert(tag_type == tag_define_edit_text);
    assert(m != nullptr);
    m_rect.read(in);
    in->align();
    const bool has_text = in->read_bool();
    m_word_wrap = in->read_bool();
    m_multiline = in->read_bool();
    m_password = in->read_bool();
    m_readonly = in->read_bool();
    const bool has_color = in->read_bool();
    const bool has_max_length = in->read_bool();
    const bool has_font = in->read_bool();
    // Newer movies may name the font by class: a name follows the id, then the height.
    const bool has_font_class = in->read_bool();
    m_auto_size = in->read_bool();
    const bool has_layout = in->read_bool();
    m_no_select = in->read_bool();
    m_border = in->read_bool();
    in->read_bool();  // was static
    m_html = in->read_bool();
    m_use_outlines = in->read_bool();

    if (has_font) {
        m_font_id = in->read_u16();
    }
    if (has_font_class) {
        base_string font_class;
        in->read_string(&font_class);
    }
    if (has_font || has_font_class) {
        m_text_height = in->read_u16();
    }
    if (has_color) {
        m_color.read_rgba(in);
    }
    if (has_max_length) {
        m_max_length = in->read_u16();
    }
    if (has_layout) {
        m_alignment = in->read_u8();
        m_left_margin = in->read_u16();
        m_right_margin = in->read_u16();
        m_indent = in->read_s16();
        m_leading = in->read_s16();
    }
    in->read_string(&m_variable_name);
    if (has_text) {
        in->read_string(&m_default_text);
    }
    if (get_verbose_parse()) {
        log_msg("edit_text_char, varname = %s, text = %s\n", m_variable_name.c_str(), m_default_text.c_str());
    }
}

character* edit_text_character_def::create_character_instance(character* parent, int id) {
    if (!m_font && m_root_def) {
        character_def* found = m_root_def->get_font(m_font_id);
        if (found && found->is(AS_FONT)) {
            m_font = static_cast<font*>(found);
        } else {
            log_error("error: text style with undefined font; font_id = %d\n", m_font_id);
        }
    }
    return new edit_text_character(get_player(), this, parent, id);
}

}  // namespace swfplayer
