#include "flash/render_style.h"

#include "flash/texture_sizing.h"
#include "swfplayer/main/render/render_handler.h"

#include <GL/gl.h>

namespace swfplayer {

void render_style::set_bitmap(bitmap_info* bi, const matrix& m, int wrap, const cxform& c) {
    mode = wrap != 0 ? BITMAP_CLAMP : BITMAP_WRAP;
    bitmap = bi;
    bitmap_matrix = m;
    bitmap_cxform = c;
    bitmap_cxform.clamp();
    color = rgba(
        static_cast<uint8_t>(bitmap_cxform.m[0][0] * 255.0f), static_cast<uint8_t>(bitmap_cxform.m[1][0] * 255.0f),
        static_cast<uint8_t>(bitmap_cxform.m[2][0] * 255.0f), static_cast<uint8_t>(bitmap_cxform.m[3][0] * 255.0f));
    has_add_color = bitmap_cxform.m[0][1] > 1.0f || bitmap_cxform.m[1][1] > 1.0f || bitmap_cxform.m[2][1] > 1.0f ||
                    bitmap_cxform.m[3][1] > 1.0f;
}

void render_style::apply() const {
    if (mode == DISABLED) {
        return;
    }
    glColor4ub(color.r, color.g, color.b, color.a);
    // A bitmap without a bitmap, or one with no picture, draws in the colour alone.
    if (mode == COLOR || !bitmap || bitmap->get_width() <= 0 || bitmap->get_height() <= 0) {
        glDisable(GL_TEXTURE_2D);
        // An opaque colour blended over the pixels gives the colour itself; unblended, the
        // driver need not read the pixels underneath.
        if (color.a == 255) {
            glDisable(GL_BLEND);
        } else {
            glEnable(GL_BLEND);
        }
        return;
    }
    glEnable(GL_BLEND);
    glColor4f(bitmap_cxform.m[0][0], bitmap_cxform.m[1][0], bitmap_cxform.m[2][0], bitmap_cxform.m[3][0]);
    bitmap->activate();
    glEnable(GL_TEXTURE_GEN_S);
    glEnable(GL_TEXTURE_GEN_T);
    const GLint wrap_mode = mode == BITMAP_WRAP ? GL_REPEAT : GL_CLAMP_TO_EDGE;
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_WRAP_S, wrap_mode);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_WRAP_T, wrap_mode);
    const texgen_planes planes = bitmap_planes(bitmap_matrix, bitmap->get_width(), bitmap->get_height());
    glTexGeni(GL_S, GL_TEXTURE_GEN_MODE, GL_OBJECT_LINEAR);
    glTexGenfv(GL_S, GL_OBJECT_PLANE, planes.s);
    glTexGeni(GL_T, GL_TEXTURE_GEN_MODE, GL_OBJECT_LINEAR);
    glTexGenfv(GL_T, GL_OBJECT_PLANE, planes.t);
}

}  // namespace swfplayer
