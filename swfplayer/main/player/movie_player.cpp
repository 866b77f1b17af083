// The player's movie creation (declared with the player in the script core, which cannot read
// movies or make roots itself) and the making of playing instances.
#include "swfplayer/main/player/movie_player.h"

#include "swfplayer/base/log.h"
#include "swfplayer/main/as3/as3_loaders.h"
#include "swfplayer/main/display/sprite_instance.h"
#include "swfplayer/main/loading/movie_loader.h"
#include "swfplayer/main/script/player.h"
#include "swfplayer/main/shapes/shape_loaders.h"
#include "swfplayer/main/text/text_loaders.h"

#include <cassert>
#include <cstdio>

namespace swfplayer {

movie_def_impl* player::create_movie(const char* filename) {
    assert(filename);
    // Only movie definitions enter the library.
    if (ref_counted* known = get_library_entry(filename)) {
        return static_cast<movie_def_impl*>(known);
    }
    file_opener_function opener = get_file_opener();
    if (opener == nullptr) {
        log_error(
            "error: no file opener function; can't create movie.\tSee swfplayer::register_file_opener_callback\n");
        return nullptr;
    }
    base_file* in = opener(filename);
    if (in == nullptr) {
        log_error("failed to open '%s'; can't create movie.\n", filename);
        return nullptr;
    }
    if (in->get_error() != base_file::no_error) {
        log_error("error: file opener can't open '%s'\n", filename);
        delete in;
        return nullptr;
    }
    register_shape_loaders();
    register_text_loaders();
    register_as3_loaders();
    // The library holds it.
    return read_movie_definition(this, filename, in).get_ptr();
}

smart_ptr<root> player::load_file(const char* filename) {
    movie_def_impl* def = create_movie(filename);
    if (def == nullptr) {
        std::fprintf(stderr, "error: can't create a movie from '%s'\n", filename);
        return nullptr;
    }
    smart_ptr<root> instance = create_instance(def, this);
    if (instance == nullptr) {
        std::fprintf(stderr, "error: can't create movie instance\n");
        return nullptr;
    }
    if (get_verbose_parse()) {
        log_msg("Playing %s, swf version %d\n", filename, instance->get_movie_version());
    }
    return instance;
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
    movie->set_member("$version", as_value(get_version_string()));
    instance->set_root_movie(movie.get_ptr());
    owner->set_root_movie(movie.get_ptr());
    movie->execute_frame_tags(0, false);
    return instance;
}

}  // namespace swfplayer
