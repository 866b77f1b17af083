#include "tests/swfplayer/main/text/DeviceFontKit.h"

#include "platform/FontFiles.h"

namespace text_test {

std::map<std::string, std::string> g_font_files;
std::vector<std::string> g_font_lookups;

RenderedGlyph RenderWithFreeType(const std::string& path, int code, int pixel_size) {
    RenderedGlyph rendered;
    FT_Library library = nullptr;
    if (FT_Init_FreeType(&library)) {
        return rendered;
    }
    FT_Face face = nullptr;
    if (FT_New_Face(library, path.c_str(), 0, &face) == 0) {
        if (FT_Set_Pixel_Sizes(face, 0, static_cast<FT_UInt>(pixel_size)) == 0 &&
            FT_Load_Char(face, static_cast<FT_ULong>(code), FT_LOAD_RENDER) == 0) {
            const FT_GlyphSlot slot = face->glyph;
            rendered.ok = true;
            rendered.width = static_cast<int>(slot->bitmap.width);
            rendered.rows = static_cast<int>(slot->bitmap.rows);
            rendered.pitch = slot->bitmap.pitch;
            rendered.left = slot->bitmap_left;
            rendered.top = slot->bitmap_top;
            rendered.advance = static_cast<float>(slot->advance.x) / 64.0f;
            for (int y = 0; y < rendered.rows; y++) {
                const uint8_t* row = slot->bitmap.buffer + y * rendered.pitch;
                rendered.coverage.insert(rendered.coverage.end(), row, row + rendered.width);
            }
        }
        FT_Done_Face(face);
    }
    FT_Done_FreeType(library);
    return rendered;
}

std::string InstalledFile(const char* family, bool bold) {
    std::string path;
    EXPECT_TRUE(platform::FindFontFile(family, bold, false, &path)) << family;
    return path;
}

bitmap_info* BitmapRecorder::create_bitmap_info_alpha(int width, int height, const unsigned char* data) {
    images.push_back({width, height, std::vector<uint8_t>(data, data + width * height)});
    return MatrixRecorder::create_bitmap_info_alpha(width, height, data);
}

void BitmapRecorder::draw_bitmap(const matrix& m, bitmap_info* bi, const rect& coords, const rect& uv, rgba color) {
    quads.push_back({m, coords, uv, bi});
    MatrixRecorder::draw_bitmap(m, bi, coords, uv, color);
}

bool RecordingFinder(const char* name, bool bold, bool italic, base_string* path) {
    g_font_lookups.push_back(std::string(name) + (bold ? " B" : "") + (italic ? " I" : ""));
    const auto file = g_font_files.find(name);
    if (file == g_font_files.end()) {
        return find_installed_font_file(name, bold, italic, path);
    }
    *path = file->second.c_str();
    return true;
}

void DeviceFontFixture::SetUp() {
    TextFixture::SetUp();
    set_render_handler(&m_bitmaps);
    g_font_files.clear();
    g_font_lookups.clear();
    create_glyph_provider(RecordingFinder);
    ASSERT_TRUE(get_glyph_provider());
}

void DeviceFontFixture::TearDown() {
    close_glyph_provider();
    TextFixture::TearDown();
}

}  // namespace text_test
