#include "swfplayer/main/player/movie_player.h"

#include "swfplayer/base/log.h"
#include "swfplayer/main/as3/as3_loaders.h"
#include "swfplayer/main/display/sprite_instance.h"
#include "swfplayer/main/loading/movie_loader.h"
#include "swfplayer/main/script/player.h"
#include "swfplayer/main/script/static_names.h"
#include "swfplayer/main/shapes/shape_loaders.h"
#include "swfplayer/main/text/text_loaders.h"

#include <cassert>
#include <cstdio>

namespace swfplayer {

movie_def_impl* create_movie(player* owner, const char* filename) {
    assert(owner && filename);
    register_shape_loaders();
    register_text_loaders();
    register_as3_loaders();
    smart_ptr<movie_def_impl> def = load_movie_definition(owner, filename);
    if (def == nullptr) {
        log_error("failed to open '%s'; can't create movie.\n", filename);
        return nullptr;
    }
    // The library holds it.
    return def.get_ptr();
}

smart_ptr<root> create_instance(movie_def_impl* def) {
    assert(def);
    player* owner = def->get_player();
    return owner ? create_instance(def, owner) : nullptr;
}

smart_ptr<root> create_instance(movie_def_impl* def, player* owner) {
    assert(def && owner);
    smart_ptr<root> instance = new root(owner, def);
    smart_ptr<sprite_instance> movie = new sprite_instance(owner, def, instance.get_ptr(), nullptr, -1);
    movie->set_member("$version", as_value(static_names::platform_name().c_str()));
    instance->set_root_movie(movie.get_ptr());
    owner->set_root_movie(movie.get_ptr());
    movie->execute_frame_tags(0, false);
    return instance;
}

smart_ptr<root> load_file(player* owner, const char* filename) {
    movie_def_impl* def = create_movie(owner, filename);
    if (def == nullptr) {
        std::fprintf(stderr, "error: can't create a movie from '%s'\n", filename);
        return nullptr;
    }
    smart_ptr<root> instance = create_instance(def);
    if (instance == nullptr) {
        std::fprintf(stderr, "error: can't create movie instance\n");
        return nullptr;
    }
    if (get_verbose_parse()) {
        log_msg("Playing %s, swf version %d\n", filename, instance->get_movie_version());
    }
    return instance;
}

}  // namespace swfplayer
