#pragma once

namespace swfplayer {

// The ".gsc" file beside a movie: the tessellated meshes of its shapes, so that a later start
// finds them ready. Layout: 'g', 's', 'c', the version byte, then per dictionary entry the u16
// character id followed by what the character writes, then the end code.
constexpr unsigned char cache_file_version = 6;
constexpr int cache_file_end_code = 0xFFFF;

// What the writer hands every character's output_cached_data.
struct cache_options {
    bool m_include_font_bitmaps = true;
};

}  // namespace swfplayer
