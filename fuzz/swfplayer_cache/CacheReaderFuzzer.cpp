// Cache files from arbitrary bytes, read into a fixed movie's shapes: reading must stay in
// bounds and end, and whatever it leaves in the shapes must write out as a file that reads back
// cleanly into the same bytes.
#include "fuzz/swfplayer_cache/CacheMovie.h"
#include "swfplayer/base/log.h"
#include "swfplayer/base/membuf.h"

#include <cstdint>
#include <cstdlib>
#include <cstring>

namespace {

void Quiet(bool, const char*) {}

swfplayer::membuf Write(const swfplayer::movie_def_impl& def) {
    swfplayer::base_file out(swfplayer::memory_buffer);
    def.output_cached_data(&out, swfplayer::cache_options());
    out.set_position(0);
    swfplayer::membuf bytes;
    out.copy_to(&bytes);
    return bytes;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    swfplayer::register_log_callback(Quiet);
    swfplayer::smart_ptr<swfplayer::player> owner = new swfplayer::player();
    swfplayer::smart_ptr<swfplayer::movie_def_impl> def = cache_fuzz::LoadCacheMovie(owner.get_ptr());
    if (!def) {
        std::abort();
    }
    swfplayer::base_file in(swfplayer::memory_buffer, static_cast<int>(size), data);
    def->input_cached_data(&in);

    const swfplayer::membuf first = Write(*def);
    swfplayer::smart_ptr<swfplayer::movie_def_impl> again = cache_fuzz::LoadCacheMovie(owner.get_ptr());
    swfplayer::base_file reread(swfplayer::memory_buffer, first.size(), first.data());
    if (!again->input_cached_data(&reread)) {
        std::abort();
    }
    const swfplayer::membuf second = Write(*again);
    if (first.size() != second.size() || std::memcmp(first.data(), second.data(), first.size()) != 0) {
        std::abort();
    }
    return 0;
}
