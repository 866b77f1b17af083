#include "swfplayer/main/loading/button_loaders.h"

#include "swfplayer/base/log.h"
#include "swfplayer/base/smart_ptr.h"
#include "swfplayer/main/common/stream.h"
#include "swfplayer/main/common/swf_tag.h"
#include "swfplayer/main/display/movie_definition.h"
#include "swfplayer/main/loading/button_character_definition.h"
#include "swfplayer/main/loading/tag_loaders.h"

#include <cassert>

namespace swfplayer {

namespace {

// DefineButton and DefineButton2: a new definition under the tag's id.
void define_button_loader(stream* in, int tag_type, movie_definition_sub* m) {
    assert(tag_type == tag_define_button || tag_type == tag_define_button2);
    const int id = in->read_u16();
    if (get_verbose_parse()) {
        log_msg("  button character loader: char_id = %d\n", id);
    }
    smart_ptr<button_character_definition> button = new button_character_definition(m->get_player());
    button->read(in, tag_type, m);
    m->add_character(id, button.get_ptr());
}

// DefineButtonSound: the sounds of a button defined before.
void define_button_sound_loader(stream* in, int tag_type, movie_definition_sub* m) {
    assert(tag_type == tag_define_button_sound);
    const int id = in->read_u16();
    character_def* def = m->get_character_def(id);
    if (!def || !def->is(AS_BUTTON_DEF)) {
        log_error("define_button_sound_loader: character %d is not a button\n", id);
        return;
    }
    static_cast<button_character_definition*>(def)->read(in, tag_type, m);
}

}  // namespace

void register_button_loaders() {
    register_tag_loader(tag_define_button, define_button_loader);
    register_tag_loader(tag_define_button_sound, define_button_sound_loader);
    register_tag_loader(tag_define_button2, define_button_loader);
}

}  // namespace swfplayer
