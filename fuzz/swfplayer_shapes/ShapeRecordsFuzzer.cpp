// A shape or morph record from bytes: the first byte picks the tag type (DefineShape 1 to 4,
// DefineMorphShape 1 and 2), the second the morph ratio, the rest is the record after its id.
// The record is read, drawn at three scales without a renderer, point-tested, and its mesh
// cache written and read back, which must succeed and give the same bytes.
#include "swfplayer/base/base_file.h"
#include "swfplayer/base/log.h"
#include "swfplayer/main/common/stream.h"
#include "swfplayer/main/script/player.h"
#include "swfplayer/main/shapes/morph2_character_def.h"
#include "swfplayer/main/shapes/shape_character_def.h"

#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <vector>

namespace {

void quiet(bool, const char*) {}

std::vector<uint8_t> written(swfplayer::base_file& file) {
    int size = file.get_position();
    file.set_position(0);
    std::vector<uint8_t> bytes(size);
    file.read_bytes(bytes.data(), size);
    return bytes;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    static const int tag_types[] = {2, 22, 32, 83, 46, 84};
    static swfplayer::smart_ptr<swfplayer::player> owner = [] {
        swfplayer::register_log_callback(quiet);
        return swfplayer::smart_ptr<swfplayer::player>(new swfplayer::player());
    }();
    if (size < 2) {
        return 0;
    }
    int tag_type = tag_types[data[0] % 6];
    float ratio = data[1] / 255.0f;
    swfplayer::base_file file(swfplayer::memory_buffer, static_cast<int>(size - 2), data + 2);
    swfplayer::stream in(&file);

    swfplayer::smart_ptr<swfplayer::shape_character_def> shape;
    swfplayer::morph2_character_def* morph = nullptr;
    if (tag_type == 46 || tag_type == 84) {
        morph = new swfplayer::morph2_character_def(owner.get_ptr());
        shape = morph;
        morph->read(&in, tag_type, true, nullptr);
    } else {
        shape = new swfplayer::shape_character_def(owner.get_ptr());
        shape->read(&in, tag_type, true, nullptr);
    }
    for (float scale : {0.05f, 1.0f, 20.0f}) {
        swfplayer::matrix m;
        m.concatenate_scale(scale);
        if (morph) {
            morph->display(m, swfplayer::cxform(), 1.0f, ratio);
        } else {
            shape->display(m, swfplayer::cxform(), 1.0f, shape->m_fill_styles, shape->m_line_styles);
        }
    }
    for (float x : {-100.0f, 0.0f, 50.0f, 1000.0f}) {
        shape->point_test_local(x, x * 0.5f);
    }
    swfplayer::base_file out(swfplayer::memory_buffer);
    shape->output_cached_data(&out, 0);
    std::vector<uint8_t> first = written(out);
    swfplayer::base_file back(swfplayer::memory_buffer, static_cast<int>(first.size()), first.data());
    swfplayer::smart_ptr<swfplayer::shape_character_def> copy = new swfplayer::shape_character_def(owner.get_ptr());
    if (!copy->input_cached_data(&back)) {
        std::abort();
    }
    swfplayer::base_file again(swfplayer::memory_buffer);
    copy->output_cached_data(&again, 0);
    if (written(again) != first) {
        std::abort();
    }
    return 0;
}
