#pragma once

#include "swfplayer/base/smart_ptr.h"
#include "swfplayer/main/shapes/shape_character_def.h"

namespace swfplayer {

// One character of a line of text: which glyph of the font draws it and how far the pen moves
// after it. Static text fills only the index and the advance (twips); a font's character lookup
// also fills the shape and gives the advance in font units, which the edit-text layout scales.
// Copies share the shape.
struct glyph {
    int m_glyph_index = -1;          // -1: the font has no glyph (drawn as an empty box)
    float m_glyph_advance = 512.0f;  // half the EM square until the font says otherwise
    smart_ptr<shape_character_def> m_shape;
    int m_fontsize = 0;  // the pixel size the layout asked for
};

}  // namespace swfplayer
