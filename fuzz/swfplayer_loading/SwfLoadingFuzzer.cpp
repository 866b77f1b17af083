// Loads arbitrary bytes as a movie, plain or compressed, with a sound handler installed, and walks
// what was loaded: every frame list and the labels. The loader must neither crash nor hang on any input, and its work
// must stay linear in the input: it reads each byte of the file about once (re-reading a tag, or inflating a compressed
// movie again from its start, is caught here long before it times out), and no action buffer holds more than its cap.
#include "swfplayer/base/base_file.h"
#include "swfplayer/base/log.h"
#include "swfplayer/base/smart_ptr.h"
#include "swfplayer/main/display/execute_tag.h"
#include "swfplayer/main/loading/execute_tags.h"
#include "swfplayer/main/loading/movie_def_impl.h"
#include "swfplayer/main/loading/movie_loader.h"
#include "swfplayer/main/script/player.h"
#include "swfplayer/main/sound/sound_handler.h"
#include "swfplayer/main/swfplayer_as_classes/builtin_classes.h"
#include "tests/swfplayer/main/sound/RecordingSoundHandler.h"

#include <algorithm>
#include <cstdint>
#include <cstdlib>
#include <cstring>

namespace {

void check(bool condition) {
    if (!condition) {
        std::abort();
    }
}

// The input as a read-only file that counts the bytes handed out.
struct CountingInput {
    const uint8_t* data = nullptr;
    int size = 0;
    int position = 0;
    int64_t read = 0;

    static int Read(void* dst, int count, void* self) {
        auto* in = static_cast<CountingInput*>(self);
        int n = std::max(0, std::min(count, in->size - in->position));
        if (n > 0) {
            std::memcpy(dst, in->data + in->position, static_cast<size_t>(n));
        }
        in->position += n;
        in->read += n;
        return n;
    }
    static int Seek(int position, void* self) {
        auto* in = static_cast<CountingInput*>(self);
        in->position = std::clamp(position, 0, in->size);
        return 0;
    }
    static int SeekToEnd(void* self) { return Seek(INT32_MAX, self); }
    static int Tell(void* self) { return static_cast<CountingInput*>(self)->position; }
    static bool Eof(void* self) {
        auto* in = static_cast<CountingInput*>(self);
        return in->position >= in->size;
    }
    static int Close(void*) { return 0; }
};

// Bytes the loader may read beyond the input once: read-ahead blocks of the stream and the
// inflater.
constexpr int64_t read_slack = 64 * 1024;

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    if (size > 1 << 20) {
        return 0;
    }
    swfplayer::log_callback previous = swfplayer::register_log_callback(nullptr);
    {
        // One player for every input: making one builds the script method tables.
        static swfplayer::smart_ptr<swfplayer::player> owner =
            (swfplayer::register_builtin_classes(), new swfplayer::player());
        // With a sound handler the sound tags are decoded too, not only skipped.
        sound_test::RecordingSoundHandler sounds;
        swfplayer::set_sound_handler(&sounds);
        CountingInput input{data, static_cast<int>(size)};
        auto* file = new swfplayer::base_file(&input, CountingInput::Read, nullptr, CountingInput::Seek,
                                              CountingInput::SeekToEnd, CountingInput::Tell, CountingInput::Eof,
                                              CountingInput::Close);
        swfplayer::smart_ptr<swfplayer::movie_def_impl> movie =
            swfplayer::create_movie_definition(owner.get_ptr(), file);
        check(input.read <= 2 * static_cast<int64_t>(size) + read_slack);
        if (movie) {
            check(movie->get_frame_count() >= 1);
            for (int frame = 0; frame < movie->get_frame_count(); frame++) {
                for (swfplayer::execute_tag* tag : movie->get_playlist(frame)) {
                    check(tag != nullptr);
                    tag->get_depth_id_of_replace_or_add_tag();
                    if (auto* action = dynamic_cast<swfplayer::do_action*>(tag)) {
                        check(action->m_buf.capacity() <= swfplayer::max_action_buffer_bytes + 1);
                    }
                }
            }
            movie->get_labeled_frame("frame", nullptr);
        }
        swfplayer::set_sound_handler(nullptr);
    }
    swfplayer::register_log_callback(previous);
    return 0;
}
