#include "swfplayer/main/text/glyph_image.h"

#include <bit>
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <cstring>

namespace swfplayer {

namespace {

// The smallest power of two not below n, 1 for n <= 1.
int texture_side(unsigned int n) {
    return static_cast<int>(std::bit_ceil(n));
}

// The start of row y counted from the top. A negative pitch means the rows are stored bottom-up
// and the buffer starts with the bottom row.
const uint8_t* source_row(const FT_Bitmap& bitmap, int y) {
    const ptrdiff_t pitch = bitmap.pitch;
    const uint8_t* top = pitch < 0 ? bitmap.buffer - pitch * (static_cast<ptrdiff_t>(bitmap.rows) - 1) : bitmap.buffer;
    return top + pitch * y;
}

void copy_gray_row(const uint8_t* from, uint8_t* to, int width) {
    std::memcpy(to, from, static_cast<size_t>(width));
}

// Eight pixels a byte, the leftmost in the high bit.
void copy_mono_row(const uint8_t* from, uint8_t* to, int width) {
    for (int x = 0; x < width; x++) {
        to[x] = (from[x >> 3] >> (7 - (x & 7))) & 1 ? 255 : 0;
    }
}

}  // namespace

std::unique_ptr<image::alpha> make_glyph_image(const FT_Bitmap& bitmap) {
    void (*copy_row)(const uint8_t*, uint8_t*, int) = nullptr;
    unsigned int row_bytes = 0;
    if (bitmap.pixel_mode == FT_PIXEL_MODE_GRAY) {
        copy_row = copy_gray_row;
        row_bytes = static_cast<unsigned int>(std::abs(bitmap.pitch));
    } else if (bitmap.pixel_mode == FT_PIXEL_MODE_MONO) {
        copy_row = copy_mono_row;
        row_bytes = bitmap.width;
    } else {
        return nullptr;
    }
    std::unique_ptr<image::alpha> im = image::create_alpha(texture_side(row_bytes), texture_side(bitmap.rows));
    if (!im) {
        return nullptr;
    }
    std::memset(im->data.get(), 0, static_cast<size_t>(im->pitch) * static_cast<size_t>(im->height));
    const int rows = static_cast<int>(bitmap.rows);
    for (int y = 0; y < rows; y++) {
        copy_row(source_row(bitmap, y), image::scanline(im.get(), y), static_cast<int>(bitmap.width));
    }
    return im;
}

}  // namespace swfplayer
