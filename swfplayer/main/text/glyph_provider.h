#pragma once

#include "swfplayer/base/base_string.h"
#include "swfplayer/base/hash.h"
#include "swfplayer/base/ref_counted.h"
#include "swfplayer/base/smart_ptr.h"
#include "swfplayer/main/common/rect.h"
#include "swfplayer/main/render/render_handler.h"

#include <ft2build.h>
#include FT_FREETYPE_H

#include <cstddef>
#include <cstdint>

namespace swfplayer {

// Requests outside these bounds get no glyph: a size of 0 would divide by zero, a huge one would
// make a huge image, and the glyph cache keys keep 16 bits of the code.
constexpr int min_glyph_pixel_size = 1;
constexpr int max_glyph_pixel_size = 1024;
constexpr int max_glyph_code = 0xFFFF;
// The rendered glyphs of all faces together are held to this many bytes, each glyph counting its
// image (as the renderer keeps it until it becomes a texture) and glyph_entry_bytes for its cache
// entry and its renderer object. A glyph that would pass it empties every face's cache first. A
// glyph at the largest size takes one to eight megabytes: the bound keeps a few of those, and
// thousands of glyphs of the sizes text is set in.
constexpr size_t max_cached_glyph_bytes = 32 * 1024 * 1024;
constexpr size_t glyph_entry_bytes = 256;
// The provider remembers at most this many font names and styles, found or not. The next new one
// makes it forget them all (faces close, cached glyphs go, bitmaps handed out stay alive with
// their holders), so that movies naming ever new fonts cannot make it grow.
constexpr int max_remembered_faces = 64;

// One rendered character of a face at one pixel size.
struct glyph_entity {
    smart_ptr<bitmap_info> m_bitmap;
    float m_advance = 0.0f;  // font units of the 1024-unit EM square
    // The glyph inside its texture, in fractions of the texture's sides: x_max and y_max are where
    // the coverage ends, x_min and y_min place the pen origin (left bearing and ascent) against
    // it, so that the quad from -x_min to x_max - x_min (times the drawn width) sits on the pen.
    rect m_bounds;
};

// An open font file and the glyphs rendered from it so far. Faces belong to the provider, which
// closes them before it shuts FreeType down; others only borrow them.
class face_entity : public ref_counted {
public:
    explicit face_entity(FT_Face face);
    ~face_entity() override;

    FT_Face get_face() const { return m_face; }
    // The glyph cached under the key, or null.
    const glyph_entity* find_glyph(uint32_t key) const;
    // Caches the glyph under the key (the provider keeps the cache within its bytes).
    const glyph_entity& add_glyph(uint32_t key, const glyph_entity& entity);
    // Forgets every cached glyph; bitmaps handed out before stay alive with their holders.
    void clear_glyphs() { m_glyphs.clear(); }
    int get_glyph_count() const { return m_glyphs.size(); }

private:
    FT_Face m_face;
    hash<uint32_t, glyph_entity> m_glyphs;
};

// Finds the font file for a font name and style; false when there is none.
typedef bool (*font_file_finder)(const char* name, bool bold, bool italic, base_string* path);

// The installed fonts' file lookup (through fontconfig: only a font of exactly that family).
bool find_installed_font_file(const char* name, bool bold, bool italic, base_string* path);

// Draws text in the fonts installed on the machine instead of a movie's outlines: opens the
// font file matching a font's name and style, renders characters into coverage bitmaps the
// renderer turns into textures, and caches faces and glyphs within the bounds above.
class glyph_provider {
public:
    // Takes over the FreeType library handle (not null).
    glyph_provider(FT_Library library, font_file_finder finder);
    ~glyph_provider();
    glyph_provider(const glyph_provider&) = delete;
    glyph_provider& operator=(const glyph_provider&) = delete;

    // The renderer's bitmap of a character rendered at pixel_size, with its bounds and its
    // advance; null when the face cannot be had, FreeType cannot render the character (asked again
    // next time), the size is outside min/max_glyph_pixel_size or the code outside 0..max_glyph_code.
    bitmap_info* get_char_image(int code, const base_string& name, bool bold, bool italic, int pixel_size, rect* bounds,
                                float* advance);
    // The face of the font name and style, opened on the first request; it stays valid until a
    // new name passes max_remembered_faces. A font without a file, or whose file FreeType cannot
    // open, is logged and stays null for as long as the name is remembered.
    face_entity* get_face(const base_string& name, bool bold, bool italic);
    // The font file of a font name and style; false for a null name or when there is none.
    bool find_font_file(const char* name, base_string* path, bool bold, bool italic) const;
    // The bytes the cached glyphs of all faces count (see max_cached_glyph_bytes).
    size_t get_glyph_bytes() const { return m_glyph_bytes; }
    // The font names and styles remembered, found or not.
    int get_face_count() const { return m_faces.size(); }

private:
    struct face_key {
        base_string name;
        bool bold = false;
        bool italic = false;
        bool operator==(const face_key& other) const {
            return name == other.name && bold == other.bold && italic == other.italic;
        }
    };
    struct face_key_hash {
        uint32_t operator()(const face_key& key) const {
            return string_hash_functor()(key.name) ^ (key.bold ? 0x9E3779B9u : 0u) ^ (key.italic ? 0x7F4A7C15u : 0u);
        }
    };

    // Renders and caches the character; null when FreeType cannot.
    const glyph_entity* render_glyph(face_entity* face, uint32_t key, int code, int pixel_size);

    FT_Library m_library;
    font_file_finder m_finder;
    // Null values remember fonts that have no usable file.
    hash<face_key, smart_ptr<face_entity>, face_key_hash> m_faces;
    size_t m_glyph_bytes = 0;
};

// Makes the player-wide provider that fonts ask first for their characters, replacing one made
// before. When FreeType cannot start, the error goes to the standard error stream and there is
// no provider, so fonts keep drawing their own outlines. finder is for tests.
void create_glyph_provider(font_file_finder finder = find_installed_font_file);
// Destroys the provider, its faces, glyphs and bitmaps, then shuts FreeType down.
void close_glyph_provider();
// The player-wide provider, null when there is none.
glyph_provider* get_glyph_provider();

}  // namespace swfplayer
