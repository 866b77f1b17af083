#pragma once

#include "swfplayer/main/common/cxform.h"
#include "swfplayer/main/common/matrix.h"
#include "swfplayer/main/common/rgba.h"

namespace swfplayer {

class bitmap_info;

// One of the OpenGL handler's three styles: the left fill, the right fill and the line.
struct render_style {
    enum mode_type { DISABLED = 0, COLOR = 1, BITMAP_WRAP = 2, BITMAP_CLAMP = 3 };

    mode_type mode = DISABLED;
    rgba color{255, 255, 255, 255};
    bitmap_info* bitmap = nullptr;  // not counted: the shape that set it keeps it alive
    matrix bitmap_matrix;
    cxform bitmap_cxform;  // bitmap fills only
    bool has_add_color = false;

    bool is_bitmap() const { return mode == BITMAP_WRAP || mode == BITMAP_CLAMP; }
    // A bitmap fill; c is the colour transform in force, clamped here.
    void set_bitmap(bitmap_info* bi, const matrix& m, int wrap, const cxform& c);
    // Sets OpenGL's colour and texture state for drawing in this style; a disabled style leaves
    // the state as it is.
    void apply() const;
};

}  // namespace swfplayer
