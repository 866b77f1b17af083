// Loads arbitrary bytes as a movie, plain or compressed, and walks what was loaded: every frame
// list and the labels. The loader must neither crash nor hang on any input.
#include "swfplayer/base/base_file.h"
#include "swfplayer/base/log.h"
#include "swfplayer/base/smart_ptr.h"
#include "swfplayer/main/display/execute_tag.h"
#include "swfplayer/main/loading/movie_def_impl.h"
#include "swfplayer/main/loading/movie_loader.h"
#include "swfplayer/main/script/player.h"
#include "swfplayer/main/swfplayer_as_classes/builtin_classes.h"

#include <cstdint>
#include <cstdlib>

namespace {

void check(bool condition) {
    if (!condition) {
        std::abort();
    }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    if (size > 1 << 16) {
        return 0;
    }
    swfplayer::log_callback previous = swfplayer::register_log_callback(nullptr);
    {
        // One player for every input: making one builds the script method tables.
        static swfplayer::smart_ptr<swfplayer::player> owner =
            (swfplayer::register_builtin_classes(), new swfplayer::player());
        auto* file = new swfplayer::base_file(swfplayer::memory_buffer, static_cast<int>(size), data);
        swfplayer::smart_ptr<swfplayer::movie_def_impl> movie =
            swfplayer::create_movie_definition(owner.get_ptr(), file);
        if (movie) {
            check(movie->get_frame_count() >= 1);
            for (int frame = 0; frame < movie->get_frame_count(); frame++) {
                for (swfplayer::execute_tag* tag : movie->get_playlist(frame)) {
                    check(tag != nullptr);
                    tag->get_depth_id_of_replace_or_add_tag();
                }
            }
            movie->get_labeled_frame("frame", nullptr);
        }
    }
    swfplayer::register_log_callback(previous);
    return 0;
}
