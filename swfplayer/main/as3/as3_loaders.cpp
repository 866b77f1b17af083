#include "swfplayer/main/as3/as3_loaders.h"

#include "swfplayer/base/log.h"
#include "swfplayer/base/smart_ptr.h"
#include "swfplayer/main/as3/abc_def.h"
#include "swfplayer/main/common/stream.h"
#include "swfplayer/main/common/swf_tag.h"
#include "swfplayer/main/loading/movie_def_impl.h"
#include "swfplayer/main/loading/tag_loaders.h"

#include <cassert>

namespace swfplayer {

namespace {

void do_abc_loader(stream* in, [[maybe_unused]] int tag_type, movie_definition_sub* m) {
    assert(tag_type == tag_do_abc);
    if (!m->is(AS_MOVIE_DEF)) {
        log_error("DoABC tag inside a sprite ignored\n");
        return;
    }
    auto* movie = static_cast<movie_def_impl*>(m);
    if (movie->get_abc()) {
        // A movie keeps one block: the first stays, the tag is skipped unread.
        log_error("doABC: the movie already has the block '%s'; a second block is skipped\n",
                  movie->get_abc_name().c_str());
        return;
    }
    in->read_u32();  // flags
    base_string name;
    in->read_string(&name);
    if (get_verbose_parse()) {
        log_msg("\n doABC tag loader, abc_name = '%s'\n", name.c_str());
    }
    player* owner = m->get_player();
    if (owner == nullptr) {
        return;
    }
    smart_ptr<abc_def> abc = new abc_def(owner);
    if (abc->read(in, m)) {
        movie->set_abc(name, abc.get_ptr());
    }
}

void register_loaders() {
    register_tag_loader(tag_do_abc, do_abc_loader);
}

}  // namespace

void register_as3_loaders() {
    add_tag_loader_registrar(register_loaders);
}

}  // namespace swfplayer
