#include "swfplayer/main/text/glyph_provider.h"

#include "platform/FontFiles.h"
#include "swfplayer/base/image.h"
#include "swfplayer/base/log.h"
#include "swfplayer/main/text/glyph_image.h"

#include <cassert>
#include <cstdio>
#include <memory>
#include <string>

namespace swfplayer {

namespace {

// Owned here rather than by a static object: closing is explicit, and destroying the provider
// during the program's exit would free textures after the renderer has gone.
glyph_provider* s_provider = nullptr;

// The rendered size and the character in one key; both are bounded so that neither overlaps the
// other.
uint32_t glyph_key(int pixel_size, int code) {
    return static_cast<uint32_t>(pixel_size) << 16 | (static_cast<uint32_t>(code) & 0xFFFF);
}

// part / whole as a fraction, 0 when the whole is empty (a space has no width or height).
float ratio(FT_Pos part, FT_Pos whole) {
    return whole == 0 ? 0.0f : static_cast<float>(part) / whole;
}

}  // namespace

face_entity::face_entity(FT_Face face) : m_face(face) {
    assert(face);
}

face_entity::~face_entity() {
    FT_Done_Face(m_face);
}

const glyph_entity* face_entity::find_glyph(uint32_t key) const {
    const auto found = m_glyphs.find(key);
    return found == m_glyphs.end() ? nullptr : &found->second;
}

const glyph_entity& face_entity::add_glyph(uint32_t key, const glyph_entity& entity) {
    m_glyphs.add(key, entity);
    return m_glyphs.find(key)->second;
}

bool find_installed_font_file(const char* name, bool bold, bool italic, base_string* path) {
    std::string file;
    if (!platform::FindFontFile(name, bold, italic, &file)) {
        return false;
    }
    *path = file.c_str();
    return true;
}

glyph_provider::glyph_provider(FT_Library library, font_file_finder finder) : m_library(library), m_finder(finder) {
    assert(library);
}

glyph_provider::~glyph_provider() {
    // Faces belong to the library: they go first.
    m_faces.clear();
    const FT_Error error = FT_Done_FreeType(m_library);
    if (error) {
        std::fprintf(stderr, "can't close FreeType!  error = %d\n", error);
    }
}

bitmap_info* glyph_provider::get_char_image(int code, const base_string& name, bool bold, bool italic, int pixel_size,
                                            rect* bounds, float* advance) {
    if (code < 0 || code > max_glyph_code || pixel_size < min_glyph_pixel_size || pixel_size > max_glyph_pixel_size) {
        return nullptr;
    }
    face_entity* face = get_face(name, bold, italic);
    if (face == nullptr) {
        return nullptr;
    }
    const uint32_t key = glyph_key(pixel_size, code);
    const glyph_entity* entity = face->find_glyph(key);
    if (entity == nullptr) {
        entity = render_glyph(face, key, code, pixel_size);
        if (entity == nullptr) {
            return nullptr;
        }
    }
    *bounds = entity->m_bounds;
    *advance = entity->m_advance;
    return entity->m_bitmap.get_ptr();
}

const glyph_entity* glyph_provider::render_glyph(face_entity* face, uint32_t key, int code, int pixel_size) {
    FT_Face ft_face = face->get_face();
    if (FT_Set_Pixel_Sizes(ft_face, 0, static_cast<FT_UInt>(pixel_size)) ||
        FT_Load_Char(ft_face, static_cast<FT_ULong>(code), FT_LOAD_RENDER)) {
        return nullptr;
    }
    const FT_GlyphSlot slot = ft_face->glyph;
    std::unique_ptr<image::alpha> im = make_glyph_image(slot->bitmap);
    if (!im) {
        return nullptr;
    }
    glyph_entity entity;
    entity.m_bitmap = render::create_bitmap_info_alpha(im->width, im->height, im->data.get());
    const FT_Glyph_Metrics& metrics = slot->metrics;
    rect& b = entity.m_bounds;
    b.x_max = static_cast<float>(slot->bitmap.width) / im->width;
    b.y_max = static_cast<float>(slot->bitmap.rows) / im->height;
    b.x_min = -b.x_max * ratio(metrics.horiBearingX, metrics.width);
    b.y_min = b.y_max * ratio(metrics.horiBearingY, metrics.height);
    // 26.6 pixels to units of the 1024-unit EM square: 1024 / size / 64.
    entity.m_advance = 16.0f / static_cast<float>(pixel_size) * static_cast<float>(metrics.horiAdvance);
    const size_t bytes = static_cast<size_t>(im->width) * static_cast<size_t>(im->height) + glyph_entry_bytes;
    if (m_glyph_bytes + bytes > max_cached_glyph_bytes) {
        for (auto& entry : m_faces) {
            if (entry.second != nullptr) {
                entry.second->clear_glyphs();
            }
        }
        m_glyph_bytes = 0;
    }
    m_glyph_bytes += bytes;
    return &face->add_glyph(key, entity);
}

face_entity* glyph_provider::get_face(const base_string& name, bool bold, bool italic) {
    const face_key key{name, bold, italic};
    smart_ptr<face_entity> face;
    if (m_faces.get(key, &face)) {
        return face.get_ptr();
    }
    if (m_faces.size() >= max_remembered_faces) {
        m_faces.clear();
        m_glyph_bytes = 0;
    }
    base_string path;
    if (!find_font_file(name.c_str(), &path, bold, italic)) {
        log_error("can't find font file '%s'\n", name.c_str());
    } else {
        FT_Face opened = nullptr;
        if (FT_New_Face(m_library, path.c_str(), 0, &opened) == 0) {
            face = new face_entity(opened);
        } else {
            log_error("some error opening font '%s'\n", path.c_str());
        }
    }
    m_faces.add(key, face);
    return face.get_ptr();
}

bool glyph_provider::find_font_file(const char* name, base_string* path, bool bold, bool italic) const {
    return name != nullptr && m_finder(name, bold, italic, path);
}

void create_glyph_provider(font_file_finder finder) {
    close_glyph_provider();
    FT_Library library = nullptr;
    const FT_Error error = FT_Init_FreeType(&library);
    if (error) {
        std::fprintf(stderr, "can't init FreeType!  error = %d\n", error);
        return;
    }
    s_provider = new glyph_provider(library, finder);
}

void close_glyph_provider() {
    delete s_provider;
    s_provider = nullptr;
}

glyph_provider* get_glyph_provider() {
    return s_provider;
}

}  // namespace swfplayer
