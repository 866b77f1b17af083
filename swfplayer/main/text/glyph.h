#pragma once

#include "swfplayer/base/smart_ptr.h"
#include "swfplayer/main/common/rect.h"
#include "swfplayer/main/render/render_handler.h"
#include "swfplayer/main/shapes/shape_character_def.h"

namespace swfplayer {

// One character of a line of text: which glyph of the font draws it and how far the pen moves
// after it. Static text fills only the index and the advance (twips); a font's character lookup
// also fills the shape and gives the advance in font units, which the edit-text layout scales.
// A glyph from the installed glyph provider has no index but a bitmap instead, with its bounds in
// fractions of the bitmap's texture, rendered at m_fontsize pixels (at least 1 then). Copies share
// the shape and the bitmap.
struct glyph {
    int m_glyph_index = -1;          // -1: the font has no glyph (drawn as an empty box without a bitmap)
    float m_glyph_advance = 512.0f;  // half the EM square until the font says otherwise
    smart_ptr<shape_character_def> m_shape;
    smart_ptr<bitmap_info> m_bitmap;
    rect m_bounds;
    int m_fontsize = 0;  // the pixel size the layout asked for
};

}  // namespace swfplayer
