#pragma once

#include "swfplayer/main/text/glyph_provider.h"
#include "tests/swfplayer/main/text/TextFixture.h"

#include <ft2build.h>
#include FT_FREETYPE_H

#include <cstdint>
#include <map>
#include <string>
#include <vector>

namespace text_test {

// The installed family the device-font tests draw with.
constexpr const char* kDeviceFamily = "DejaVu Sans";

// What FreeType itself renders for a character of a font file at a pixel size, read apart from
// the glyph provider: the coverage rows top first, the ink's offset from the pen (pixels, y up)
// and the advance (pixels).
struct RenderedGlyph {
    bool ok = false;
    int width = 0;
    int rows = 0;
    int pitch = 0;
    int left = 0;
    int top = 0;
    float advance = 0.0f;
    std::vector<uint8_t> coverage;  // rows * width bytes
};
RenderedGlyph RenderWithFreeType(const std::string& path, int code, int pixel_size);

// The file of an installed family, as the provider's own lookup finds it.
std::string InstalledFile(const char* family, bool bold = false);

// A render handler that also keeps the alpha images it was handed and the quads of draw_bitmap.
class BitmapRecorder : public MatrixRecorder {
public:
    struct AlphaImage {
        int width;
        int height;
        std::vector<uint8_t> data;
    };
    struct Quad {
        matrix m;
        rect coords;
        rect uv;
        bitmap_info* bitmap;
    };
    bitmap_info* create_bitmap_info_alpha(int width, int height, const unsigned char* data) override;
    void draw_bitmap(const matrix& m, bitmap_info* bi, const rect& coords, const rect& uv, rgba color) override;

    std::vector<AlphaImage> images;
    std::vector<Quad> quads;
};

// The provider's font-file lookup for tests: names in g_font_files give their file, every other
// name goes to the installed fonts; each lookup is written down in g_font_lookups as the name,
// then " B" when bold and " I" when italic.
extern std::map<std::string, std::string> g_font_files;
extern std::vector<std::string> g_font_lookups;
bool RecordingFinder(const char* name, bool bold, bool italic, base_string* path);

// The text fixture with the recording handler installed and a provider made with the recording
// lookup (closed again at the end).
class DeviceFontFixture : public TextFixture {
protected:
    void SetUp() override;
    void TearDown() override;

    BitmapRecorder m_bitmaps;
};

}  // namespace text_test
