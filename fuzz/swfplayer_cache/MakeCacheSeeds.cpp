// make_cache_seeds <folder>: writes cache files of the cache fuzzer's movie into the folder, as
// its seed corpus (the committed seeds/ folder is its output): meshes at several scales, the
// bare file, and a file cut short.
#include "fuzz/swfplayer_cache/CacheMovie.h"
#include "swfplayer/base/membuf.h"
#include "swfplayer/main/shapes/shape_character_def.h"

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

namespace {

void Save(const std::filesystem::path& path, const swfplayer::membuf& bytes, int length) {
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    out.write(static_cast<const char*>(bytes.data()), length);
}

swfplayer::membuf Cache(const std::vector<float>& scales) {
    swfplayer::smart_ptr<swfplayer::player> owner = new swfplayer::player();
    swfplayer::smart_ptr<swfplayer::movie_def_impl> def = cache_fuzz::LoadCacheMovie(owner.get_ptr());
    for (int id : {1, 2}) {
        auto* shape = static_cast<swfplayer::shape_character_def*>(def->get_character_def(id));
        for (float scale : scales) {
            swfplayer::matrix m;
            m.set_scale_rotation(scale, scale, 0.0f);
            shape->display(m, swfplayer::cxform(), 1.0f, shape->m_fill_styles, shape->m_line_styles);
        }
    }
    swfplayer::base_file out(swfplayer::memory_buffer);
    def->output_cached_data(&out, swfplayer::cache_options());
    out.set_position(0);
    swfplayer::membuf bytes;
    out.copy_to(&bytes);
    return bytes;
}

}  // namespace

int main(int argc, char** argv) {
    if (argc != 2) {
        std::fprintf(stderr, "usage: make_cache_seeds <folder>\n");
        return 2;
    }
    const std::filesystem::path folder(argv[1]);
    std::filesystem::create_directories(folder);
    const swfplayer::membuf bare = Cache({});
    Save(folder / "bare.gsc", bare, bare.size());
    const swfplayer::membuf one = Cache({1.0f});
    Save(folder / "one_scale.gsc", one, one.size());
    const swfplayer::membuf three = Cache({4.0f, 1.0f, 0.05f});
    Save(folder / "three_scales.gsc", three, three.size());
    Save(folder / "cut_short.gsc", three, three.size() / 2);
    return 0;
}
