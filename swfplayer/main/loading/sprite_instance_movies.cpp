// The sprite operations that make or read definitions of the loading layer: empty clips get a
// timeline of their own, and byte counts come from whole movies.
#include "swfplayer/base/log.h"
#include "swfplayer/main/display/sprite_instance.h"
#include "swfplayer/main/loading/movie_def_impl.h"
#include "swfplayer/main/loading/sprite_definition.h"

namespace swfplayer {

character* sprite_instance::create_empty_movieclip(const base_string& name, int depth) {
    player* owner = get_player();
    if (owner == nullptr) {
        return nullptr;
    }
    if (!may_add_child("create_empty_movieclip")) {
        return nullptr;
    }
    smart_ptr<sprite_definition> def = new sprite_definition(owner, nullptr);
    smart_ptr<sprite_instance> clip = new sprite_instance(owner, def.get_ptr(), m_root.get_ptr(), this, 0);
    clip->set_name(name);
    m_display_list.add_display_object(clip.get_ptr(), depth, true, cxform(), matrix(), 0.0f, 0);
    return clip.get_ptr();
}

int sprite_instance::get_file_bytes() const {
    return m_def->is(AS_MOVIE_DEF) ? static_cast<const movie_def_impl*>(m_def.get_ptr())->get_file_bytes() : 0;
}

int sprite_instance::get_loaded_bytes() const {
    return m_def->is(AS_MOVIE_DEF) ? static_cast<const movie_def_impl*>(m_def.get_ptr())->get_loaded_bytes() : 0;
}

}  // namespace swfplayer
