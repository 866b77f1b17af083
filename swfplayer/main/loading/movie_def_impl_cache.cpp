#include "swfplayer/base/base_file.h"
#include "swfplayer/base/log.h"
#include "swfplayer/main/display/character_def.h"
#include "swfplayer/main/loading/movie_def_impl.h"

#include <cstdint>

namespace swfplayer {

namespace {

void write_u16(base_file* out, int value) {
    const uint8_t bytes[2] = {static_cast<uint8_t>(value & 0xFF), static_cast<uint8_t>((value >> 8) & 0xFF)};
    out->write_bytes(bytes, 2);
}

// False when the file ends before both bytes.
bool read_u16(base_file* in, int* value) {
    uint8_t bytes[2];
    if (in->read_bytes(bytes, 2) != 2) {
        return false;
    }
    *value = bytes[0] | (bytes[1] << 8);
    return true;
}

}  // namespace

void movie_def_impl::output_cached_data(base_file* out, const cache_options& options) const {
    const uint8_t header[4] = {'g', 's', 'c', cache_file_version};
    out->write_bytes(header, 4);
    for (const auto& entry : m_characters) {
        write_u16(out, entry.first);
        entry.second->output_cached_data(out, options.m_include_font_bitmaps ? 1 : 0);
    }
    write_u16(out, cache_file_end_code);
}

bool movie_def_impl::input_cached_data(base_file* in) {
    uint8_t header[4] = {0, 0, 0, 0};
    in->read_bytes(header, 4);
    if (header[0] != 'g' || header[1] != 's' || header[2] != 'c') {
        log_error("cache file does not have the correct format; skipping\n");
        return false;
    }
    if (header[3] != cache_file_version) {
        log_error("cached data is version %d, but we require version %d; skipping\n", header[3], cache_file_version);
        return false;
    }
    // Every round reads at least the two bytes of an id, so the file's length bounds the loop.
    for (;;) {
        int id = 0;
        if (in->get_eof() || !read_u16(in, &id)) {
            log_error("unexpected eof reading cache file (characters); skipping\n");
            return false;
        }
        if (id == cache_file_end_code) {
            return true;
        }
        smart_ptr<character_def> ch;
        if (!m_characters.get(id, &ch)) {
            log_error("sync error in cache file (reading characters)!  Skipping rest of cache data.\n");
            return false;
        }
        if (!ch->input_cached_data(in)) {
            log_error("error reading cache file (characters); skipping\n");
            return false;
        }
    }
}

}  // namespace swfplayer
