#pragma once

#include "swfplayer/base/image.h"

#include <ft2build.h>
#include FT_FREETYPE_H

#include <memory>

namespace swfplayer {

// The coverage of a glyph FreeType rendered, as an alpha image ready to become a texture: its
// sides are the smallest powers of two not below the coverage's row length in bytes (the pitch
// of an 8-bit bitmap, the width of a 1-bit one, whose rows become 8-bit) and its row count (1 for
// an empty bitmap). Each row's width in pixels is copied to the image's top-left corner, the top
// row first even when the bitmap stores its rows bottom-up (a negative pitch); the rest is 0.
// 8-bit coverage is copied as it is, 1-bit coverage becomes 0 and 255. Null for other pixel
// modes, and (logged) for an image too large to make.
std::unique_ptr<image::alpha> make_glyph_image(const FT_Bitmap& bitmap);

}  // namespace swfplayer
