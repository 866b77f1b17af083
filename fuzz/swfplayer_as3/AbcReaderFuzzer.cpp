// Feeds arbitrary bytes as the body of a DoABC tag to the movie loader: the block must load or be
// rejected without harm. Bit 0 of the (ignored) flags word turns verbose parsing on, so that the
// listing and the disassembly of whatever was read run too. A block that loads hands out its
// class constructor and instance traits, which must be within it.
#include "swfplayer/base/base_file.h"
#include "swfplayer/base/log.h"
#include "swfplayer/main/as3/abc_def.h"
#include "swfplayer/main/as3/as3_loaders.h"
#include "swfplayer/main/loading/movie_def_impl.h"
#include "swfplayer/main/loading/movie_loader.h"
#include "swfplayer/main/script/player.h"

#include <cstddef>
#include <cstdint>
#include <vector>

namespace {

// A version 9 movie of one DoABC tag with the body and an End tag.
std::vector<uint8_t> movie_around(const uint8_t* data, size_t size) {
    std::vector<uint8_t> file = {'F', 'W', 'S', 9, 0, 0, 0, 0, 0x00, 0, 12, 1, 0};
    uint32_t length = static_cast<uint32_t>(size);
    file.insert(file.end(), {static_cast<uint8_t>(82 << 6 | 0x3F), static_cast<uint8_t>(82 >> 2)});
    for (int i = 0; i < 4; i++) {
        file.push_back(static_cast<uint8_t>(length >> (8 * i)));
    }
    file.insert(file.end(), data, data + size);
    file.insert(file.end(), {0, 0});
    uint32_t total = static_cast<uint32_t>(file.size());
    for (int i = 0; i < 4; i++) {
        file[4 + i] = static_cast<uint8_t>(total >> (8 * i));
    }
    return file;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    using namespace swfplayer;
    if (size > 1 << 20) {
        return 0;
    }
    log_callback previous = register_log_callback(nullptr);
    register_as3_loaders();
    set_verbose_parse(size > 0 && (data[0] & 1) != 0);
    std::vector<uint8_t> file = movie_around(data, size);
    smart_ptr<player> owner = new player();
    auto* in = new base_file(memory_buffer, static_cast<int>(file.size()), file.data());
    smart_ptr<movie_def_impl> movie = create_movie_definition(owner.get_ptr(), in);
    if (movie && movie->get_abc()) {
        auto* abc = static_cast<abc_def*>(movie->get_abc());
        as_object* constructor = abc->get_class_constructor("Main");
        if ((constructor != nullptr) != !abc->m_instance.empty()) {
            __builtin_trap();
        }
        for (int i = 0, count = abc->get_instance_trait_count(0); i < count; i++) {
            abc_block::trait t = abc->get_instance_trait(0, i);
            if (t.m_kind >= 1 && t.m_kind <= 3 && t.m_function == nullptr) {
                __builtin_trap();
            }
        }
    }
    set_verbose_parse(false);
    register_log_callback(previous);
    return 0;
}
