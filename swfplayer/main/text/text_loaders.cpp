#include "swfplayer/main/text/text_loaders.h"

#include "swfplayer/base/log.h"
#include "swfplayer/main/common/stream.h"
#include "swfplayer/main/common/swf_tag.h"
#include "swfplayer/main/display/movie_definition.h"
#include "swfplayer/main/loading/tag_loaders.h"
#include "swfplayer/main/text/edit_text_character_def.h"
#include "swfplayer/main/text/font.h"
#include "swfplayer/main/text/text_character_def.h"

#include <cassert>

namespace swfplayer {

namespace {

// The font under id, or null (and the miss logged with the loader's message).
font* find_font(movie_definition_sub* m, int id, const char* message) {
    character_def* found = m->get_font(id);
    if (found && found->is(AS_FONT)) {
        return static_cast<font*>(found);
    }
    log_error(message, id);
    return nullptr;
}

void define_font_loader(stream* in, int tag_type, movie_definition_sub* m) {
    const int id = in->read_u16();
    if (!m->get_player()) {
        return;
    }
    smart_ptr<font> f = new font(m->get_player());
    f->m_id = id;
    f->read(in, tag_type, m);
    m->add_font(id, f.get_ptr());
}

void define_font_info_loader(stream* in, int tag_type, movie_definition_sub* m) {
    const int id = in->read_u16();
    if (font* f = find_font(m, id, "define_font_info_loader: can't find font w/ id %d\n")) {
        f->read_font_info(in, tag_type);
    }
}

void define_font_alignzones_loader(stream* in, int tag_type, movie_definition_sub* m) {
    const int id = in->read_u16();
    if (font* f = find_font(m, id, "define_font_alignzones: can't find font w/ id %d\n")) {
        f->read_font_alignzones(in, tag_type);
    }
}

// Renames the font with its full name; the italic and bold flags an earlier DefineFontInfo set
// are cleared with it.
void define_font_name_loader(stream* in, [[maybe_unused]] int tag_type, movie_definition_sub* m) {
    assert(tag_type == tag_define_font_name);
    if (get_verbose_parse()) {
        log_msg("\n  define_font_name\n");
    }
    const int id = in->read_u16();
    base_string name;
    base_string notice;
    in->read_string(&name);
    in->read_string(&notice);
    character_def* found = m->get_font(id);
    if (found && found->is(AS_FONT)) {
        font* f = static_cast<font*>(found);
        f->set_name(name);
        f->set_italic(false);
        f->set_bold(false);
    }
}

void define_text_loader(stream* in, int tag_type, movie_definition_sub* m) {
    assert(tag_type == tag_define_text || tag_type == tag_define_text2);
    const int id = in->read_u16();
    if (!m->get_player()) {
        return;
    }
    smart_ptr<text_character_def> ch = new text_character_def(m->get_player(), m);
    ch->m_id = id;
    if (get_verbose_parse()) {
        log_msg("text_character, id = %d\n", id);
    }
    ch->read(in, tag_type, m);
    m->add_character(id, ch.get_ptr());
}

void define_edit_text_loader(stream* in, int tag_type, movie_definition_sub* m) {
    assert(tag_type == tag_define_edit_text);
    const int id = in->read_u16();
    if (!m->get_player()) {
        return;
    }
    smart_ptr<edit_text_character_def> ch = new edit_text_character_def(m->get_player(), m);
    ch->m_id = id;
    if (get_verbose_parse()) {
        log_msg("edit_text_char, id = %d\n", id);
    }
    ch->read(in, tag_type, m);
    m->add_character(id, ch.get_ptr());
}

void csm_text_settings_loader(stream* in, int tag_type, movie_definition_sub* m) {
    const int id = in->read_u16();
    character_def* ch = m->get_character_def(id);
    if (auto* text = dynamic_cast<text_character_def*>(ch)) {
        text->m_csm.read(in, tag_type);
    } else if (auto* edit_text = dynamic_cast<edit_text_character_def*>(ch)) {
        edit_text->m_csm.read(in, tag_type);
    } else {
        log_error("CSMTextSettings: no text with id %d\n", id);
    }
}

void register_loaders() {
    for (int tag_type : {tag_define_font, tag_define_font2, tag_define_font3}) {
        register_tag_loader(tag_type, define_font_loader);
    }
    register_tag_loader(tag_define_font_info, define_font_info_loader);
    register_tag_loader(tag_define_font_info2, define_font_info_loader);
    register_tag_loader(tag_define_font_align_zones, define_font_alignzones_loader);
    register_tag_loader(tag_define_font_name, define_font_name_loader);
    register_tag_loader(tag_define_text, define_text_loader);
    register_tag_loader(tag_define_text2, define_text_loader);
    register_tag_loader(tag_define_edit_text, define_edit_text_loader);
    register_tag_loader(tag_csm_text_settings, csm_text_settings_loader);
}

}  // namespace

void register_text_loaders() {
    add_tag_loader_registrar(register_loaders);
}

}  // namespace swfplayer
