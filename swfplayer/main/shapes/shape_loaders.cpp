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

// A new definition of the character whose id was just read, holding the rest of the tag; null
// without a player to own it.
template <class definition>
smart_ptr<definition> read_definition(stream* in, int tag_type, movie_definition_sub* m, int id) {
    player* owner = m->get_player();
    if (!owner) {
        return nullptr;
    }
    smart_ptr<definition> ch = new definition(owner);
    ch->m_id = id;
    ch->read(in, tag_type, true, m);
    return ch;
}

void shape_loader(stream* in, int tag_type, movie_definition_sub* m) {
    int id = in->read_u16();
    if (get_verbose_parse()) {
        log_msg("  shape_loader: id = %d\n", id);
    }
    smart_ptr<shape_character_def> ch = read_definition<shape_character_def>(in, tag_type, m, id);
    if (ch == nullptr) {
        return;
    }
    if (get_verbose_parse()) {
        rect bound;
        ch->get_bound(&bound);
        log_msg("  bound rect:");
        bound.print();
    }
    m->add_character(id, ch.get_ptr());
}

void morph_loader(stream* in, int tag_type, movie_definition_sub* m) {
    int id = in->read_u16();
    if (get_verbose_parse()) {
        log_msg("  shape_morph_loader: id = %d\n", id);
    }
    if (smart_ptr<morph2_character_def> ch = read_definition<morph2_character_def>(in, tag_type, m, id)) {
        m->add_character(id, ch.get_ptr());
    }
}

void register_loaders() {
    for (int tag_type : {tag_define_shape, tag_define_shape2, tag_define_shape3, tag_define_shape4}) {
        register_tag_loader(tag_type, shape_loader);
    }
    for (int tag_type : {tag_define_morph_shape, tag_define_morph_shape2}) {
        register_tag_loader(tag_type, morph_loader);
    }
}

}  // namespace

void register_shape_loaders() {
    add_tag_loader_registrar(register_loaders);
}

}  // namespace swfplayer
