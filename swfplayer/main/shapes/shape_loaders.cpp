#include "swfplayer/main/shapes/shape_loaders.h"

#include "swfplayer/base/log.h"
#include "swfplayer/main/common/stream.h"
#include "swfplayer/main/common/swf_tag.h"
#include "swfplayer/main/display/movie_definition.h"
#include "swfplayer/main/loading/tag_loaders.h"
#include "swfplayer/main/shapes/morph2_character_def.h"
#include "swfplayer/main/shapes/shape_character_def.h"

namespace swfplayer {

namespace {

template <class definition>
void define_loader(stream* in, int tag_type, movie_definition_sub* m) {
    int id = in->read_u16();
    if (get_verbose_parse()) {
        log_msg("  shape_loader: id = %d\n", id);
    }
    player* owner = m->get_player();
    if (!owner) {
        return;
    }
    smart_ptr<definition> ch = new definition(owner);
    ch->m_id = id;
    ch->read(in, tag_type, true, m);
    m->add_character(id, ch.get_ptr());
}

void register_loaders() {
    for (int tag_type : {tag_define_shape, tag_define_shape2, tag_define_shape3, tag_define_shape4}) {
        register_tag_loader(tag_type, define_loader<shape_character_def>);
    }
    for (int tag_type : {tag_define_morph_shape, tag_define_morph_shape2}) {
        register_tag_loader(tag_type, define_loader<morph2_character_def>);
    }
}

}  // namespace

void register_shape_loaders() {
    add_tag_loader_registrar(register_loaders);
}

}  // namespace swfplayer
