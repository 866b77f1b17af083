#pragma once

#include "swfplayer/base/array.h"
#include "swfplayer/base/smart_ptr.h"
#include "swfplayer/main/common/rgba.h"
#include "swfplayer/main/text/font.h"
#include "swfplayer/main/text/glyph.h"

namespace swfplayer {

// The style a run of glyphs is drawn in: font, colour, height and where the run starts.
struct text_style {
    int m_font_id = -1;
    smart_ptr<font> m_font;  // resolved from the id at first draw, then kept
    rgba m_color{255, 255, 255, 255};
    float m_x_offset = 0.0f;     // twips
    float m_y_offset = 0.0f;     // baseline, twips
    float m_text_height = 1.0f;  // twips; the EM square is scaled to it
    bool m_has_x_offset = false;
    bool m_has_y_offset = false;
    // Set once an unresolvable font id was reported, so a broken record is not logged every frame.
    bool m_font_error_logged = false;
};

// A run of glyphs in one style, the unit static text is stored in and edit text is laid out to.
struct text_glyph_record {
    text_style m_style;
    array<glyph> m_glyphs;
};

}  // namespace swfplayer
