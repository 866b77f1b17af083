#include "flash/render_handler_ogl.h"

#include "flash/bitmap_info_ogl.h"
#include "flash/texture_sizing.h"
#include "swfplayer/base/image.h"

#include <GL/gl.h>

#include <cmath>
#include <cstring>

namespace swfplayer {
namespace {

constexpr GLuint stencil_mask = 0xFF;

// A copy of im as the handler keeps it until its upload.
template <class image_type>
std::unique_ptr<image::image_base> copy_of(const image_type& im) {
    auto copy = std::make_unique<image_type>(im.width, im.height);
    std::memcpy(copy->data.get(), im.data.get(), static_cast<size_t>(im.pitch) * im.height);
    return copy;
}

// The scale from frame twips to viewport pixels; 1 for a degenerate frame, which has nothing to
// fit.
float fit_scale(int viewport_size, float frame_size) {
    const float scale = static_cast<float>(viewport_size) / frame_size;
    return std::isfinite(scale) ? scale : 1.0f;
}

void draw_arrays(GLenum primitive, const void* coords, int vertex_count) {
    glVertexPointer(2, GL_SHORT, 4, coords);
    glDrawArrays(primitive, 0, vertex_count);
}

}  // namespace

bitmap_info* render_handler_ogl::create_bitmap_info_empty() {
    return new bitmap_info_ogl;
}

bitmap_info* render_handler_ogl::create_bitmap_info_alpha(int width, int height, const unsigned char* data) {
    std::unique_ptr<image::alpha> im = image::create_alpha(width, height);
    if (!im || !data) {
        return new bitmap_info_ogl;
    }
    std::memcpy(im->data.get(), data, static_cast<size_t>(width) * height);
    return new bitmap_info_ogl(std::move(im));
}

bitmap_info* render_handler_ogl::create_bitmap_info_rgb(image::rgb* im) {
    return im ? new bitmap_info_ogl(copy_of(*im)) : new bitmap_info_ogl;
}

bitmap_info* render_handler_ogl::create_bitmap_info_rgba(image::rgba* im) {
    return im ? new bitmap_info_ogl(copy_of(*im)) : new bitmap_info_ogl;
}

void render_handler_ogl::begin_display(rgba background, int viewport_x0, int viewport_y0, int viewport_width,
                                       int viewport_height, float x0, float x1, float y0, float y1) {
    m_line_strips = 0;
    m_meshes = 0;
    m_bitmaps = 0;
    m_display_width = std::fabs(x1 - x0);
    m_display_height = std::fabs(y1 - y0);

    // SFML's state comes back at end_display; its client arrays would feed our draws.
    glPushAttrib(GL_ALL_ATTRIB_BITS);
    glPushClientAttrib(GL_CLIENT_ALL_ATTRIB_BITS);
    glDisableClientState(GL_COLOR_ARRAY);
    glDisableClientState(GL_TEXTURE_COORD_ARRAY);
    glDisableClientState(GL_NORMAL_ARRAY);
    glDisableClientState(GL_VERTEX_ARRAY);
    reset_masks();

    // Frame twips to viewport pixels: the frame's corner goes to the viewport's. Each call
    // multiplies onto the matrix, so the last one acts on a point first: the frame's corner is
    // moved to the origin, the frame is scaled, and the result is moved to the viewport. In the
    // opposite order the viewport's offset would be scaled and the frame's corner would not.
    glMatrixMode(GL_MODELVIEW);
    glPushMatrix();
    glTranslatef(static_cast<float>(viewport_x0), static_cast<float>(viewport_y0), 0.0f);
    glScalef(fit_scale(viewport_width, m_display_width), fit_scale(viewport_height, m_display_height), 1.0f);
    glTranslatef(-x0, -y0, 0.0f);
    // The slot of the shapes' own matrix above the frame's; it holds none yet.
    glPushMatrix();
    m_matrix_applied = false;
    // Every shape draws from a vertex array; the popped client state turns it off again.
    glEnableClientState(GL_VERTEX_ARRAY);

    glEnable(GL_BLEND);
    glBlendFunc(GL_SRC_ALPHA, GL_ONE_MINUS_SRC_ALPHA);
    glTexEnvf(GL_TEXTURE_ENV, GL_TEXTURE_ENV_MODE, GL_MODULATE);
    glDisable(GL_TEXTURE_2D);
    glDisable(GL_CULL_FACE);

    if (background.a != 0) {
        glColor4ub(background.r, background.g, background.b, background.a);
        glBegin(GL_QUADS);
        glVertex2f(x0, y0);
        glVertex2f(x1, y0);
        glVertex2f(x1, y1);
        glVertex2f(x0, y1);
        glEnd();
    }
}

void render_handler_ogl::end_display() {
    reset_masks();
    glDisable(GL_TEXTURE_GEN_S);
    glDisable(GL_TEXTURE_GEN_T);
    glMatrixMode(GL_MODELVIEW);
    glPopMatrix();  // the shapes' matrix
    glPopMatrix();  // the frame's
    glPopClientAttrib();
    glPopAttrib();
}

void render_handler_ogl::reset_masks() {
    m_mask_level = 0;
    glDisable(GL_STENCIL_TEST);
    glColorMask(GL_TRUE, GL_TRUE, GL_TRUE, GL_TRUE);
    glStencilOp(GL_KEEP, GL_KEEP, GL_KEEP);
}

render_style* render_handler_ogl::fill_side_style(int fill_side) {
    return fill_side == 0 || fill_side == 1 ? &m_fill_styles[fill_side] : nullptr;
}

void render_handler_ogl::fill_style_disable(int fill_side) {
    if (render_style* style = fill_side_style(fill_side)) {
        style->mode = render_style::DISABLED;
    }
}

void render_handler_ogl::fill_style_color(int fill_side, rgba color) {
    if (render_style* style = fill_side_style(fill_side)) {
        style->mode = render_style::COLOR;
        style->color = m_current_cxform.transform(color);
    }
}

void render_handler_ogl::fill_style_bitmap(int fill_side, bitmap_info* bi, const matrix& bitmap_matrix, int wrap) {
    render_style* style = fill_side_style(fill_side);
    if (style && m_enable_bitmaps) {
        style->set_bitmap(bi, bitmap_matrix, wrap, m_current_cxform);
    }
}

void render_handler_ogl::line_style_color(rgba color) {
    m_line_style.mode = render_style::COLOR;
    m_line_style.color = m_current_cxform.transform(color);
}

// Consecutive draws mostly share one matrix (the meshes and lines of a shape, the shapes of a
// sprite): the model-view matrix is set again only when it changes, as every change makes the
// driver validate its state anew.
void render_handler_ogl::apply_current_matrix() {
    const matrix& m = m_current_matrix;
    if (m_matrix_applied && std::memcmp(m_applied_matrix.m, m.m, sizeof m.m) == 0) {
        return;
    }
    const GLfloat gl_matrix[16] = {m.m[0][0], m.m[1][0], 0, 0, m.m[0][1], m.m[1][1], 0, 0,
                                   0,         0,         1, 0, m.m[0][2], m.m[1][2], 0, 1};
    glMatrixMode(GL_MODELVIEW);
    glPopMatrix();
    glPushMatrix();
    glMultMatrixf(gl_matrix);
    m_applied_matrix = m;
    m_matrix_applied = true;
}

void render_handler_ogl::apply_frame_matrix() {
    if (!m_matrix_applied) {
        return;
    }
    glMatrixMode(GL_MODELVIEW);
    glPopMatrix();
    glPushMatrix();
    m_matrix_applied = false;
}

void render_handler_ogl::draw_mesh_strip(const void* coords, int vertex_count) {
    draw_mesh(GL_TRIANGLE_STRIP, coords, vertex_count);
}

void render_handler_ogl::draw_triangle_list(const void* coords, int vertex_count) {
    draw_mesh(GL_TRIANGLES, coords, vertex_count);
}

void render_handler_ogl::draw_mesh(unsigned int primitive, const void* coords, int vertex_count) {
    m_meshes++;
    if (!m_enable_meshes || !coords || vertex_count <= 0) {
        return;
    }
    const render_style& fill = m_fill_styles[0];
    fill.apply();
    apply_current_matrix();
    draw_arrays(primitive, coords, vertex_count);
    if (fill.is_bitmap() && fill.has_add_color) {
        // The add terms of the colour transform, added on top of the textured pass.
        glColor4f(fill.bitmap_cxform.m[0][1] / 255.0f, fill.bitmap_cxform.m[1][1] / 255.0f,
                  fill.bitmap_cxform.m[2][1] / 255.0f, fill.bitmap_cxform.m[3][1] / 255.0f);
        glBlendFunc(GL_ONE, GL_ONE);
        draw_arrays(primitive, coords, vertex_count);
        glBlendFunc(GL_SRC_ALPHA, GL_ONE_MINUS_SRC_ALPHA);
    }
    if (m_antialiased) {
        glEnable(GL_BLEND);
        glEnable(GL_POLYGON_SMOOTH);
        glHint(GL_POLYGON_SMOOTH_HINT, GL_NICEST);
        draw_arrays(primitive, coords, vertex_count);
        glDisable(GL_POLYGON_SMOOTH);
    }
}

void render_handler_ogl::draw_line_strip(const void* coords, int vertex_count) {
    m_line_strips++;
    if (!coords || vertex_count <= 0) {
        return;
    }
    m_line_style.apply();
    glLineWidth(line_width_pixels(m_current_matrix, m_line_width));
    apply_current_matrix();
    draw_arrays(GL_LINE_STRIP, coords, vertex_count);
    glPointSize(1.0f);
    glLineWidth(1.0f);
}

void render_handler_ogl::draw_bitmap(const matrix& m, bitmap_info* bi, const rect& coords, const rect& uv_coords,
                                     rgba color) {
    if (!m_enable_bitmaps || !bi) {
        return;
    }
    m_bitmaps++;
    // The quad's corners are mapped here already.
    apply_frame_matrix();
    glEnable(GL_BLEND);
    glColor4ub(color.r, color.g, color.b, color.a);
    point a, b, c;
    m.transform(&a, point(coords.x_min, coords.y_min));
    m.transform(&b, point(coords.x_max, coords.y_min));
    m.transform(&c, point(coords.x_min, coords.y_max));
    const point d(b.x + c.x - a.x, b.y + c.y - a.y);
    bi->activate();
    glDisable(GL_TEXTURE_GEN_S);
    glDisable(GL_TEXTURE_GEN_T);
    glBegin(GL_TRIANGLE_STRIP);
    glTexCoord2f(uv_coords.x_min, uv_coords.y_min);
    glVertex2f(a.x, a.y);
    glTexCoord2f(uv_coords.x_max, uv_coords.y_min);
    glVertex2f(b.x, b.y);
    glTexCoord2f(uv_coords.x_min, uv_coords.y_max);
    glVertex2f(c.x, c.y);
    glTexCoord2f(uv_coords.x_max, uv_coords.y_max);
    glVertex2f(d.x, d.y);
    glEnd();
}

void render_handler_ogl::begin_submit_mask() {
    if (m_mask_level == 0) {
        glEnable(GL_STENCIL_TEST);
        glClearStencil(0);
        glClear(GL_STENCIL_BUFFER_BIT);
    }
    // The mask's shapes raise the stencil by one wherever the enclosing masks are all drawn.
    glColorMask(GL_FALSE, GL_FALSE, GL_FALSE, GL_FALSE);
    glStencilFunc(GL_EQUAL, m_mask_level, stencil_mask);
    m_mask_level++;
    glStencilOp(GL_KEEP, GL_KEEP, GL_INCR);
}

void render_handler_ogl::end_submit_mask() {
    glColorMask(GL_TRUE, GL_TRUE, GL_TRUE, GL_TRUE);
    glStencilFunc(GL_EQUAL, m_mask_level, stencil_mask);
    glStencilOp(GL_KEEP, GL_KEEP, GL_KEEP);
}

void render_handler_ogl::disable_mask() {
    if (m_mask_level <= 0) {
        // More masks removed than made: nothing is masked.
        reset_masks();
        return;
    }
    m_mask_level--;
    if (m_mask_level == 0) {
        glDisable(GL_STENCIL_TEST);
        return;
    }
    // Lowers the removed mask's area back by one: a quad over the whole viewport, drawn in clip
    // space, so mask shapes beyond the frame are lowered too.
    glColorMask(GL_FALSE, GL_FALSE, GL_FALSE, GL_FALSE);
    glStencilFunc(GL_EQUAL, m_mask_level + 1, stencil_mask);
    glStencilOp(GL_KEEP, GL_KEEP, GL_DECR);
    glMatrixMode(GL_PROJECTION);
    glPushMatrix();
    glLoadIdentity();
    glMatrixMode(GL_MODELVIEW);
    glPushMatrix();
    glLoadIdentity();
    glBegin(GL_QUADS);
    glVertex2f(-1.0f, -1.0f);
    glVertex2f(1.0f, -1.0f);
    glVertex2f(1.0f, 1.0f);
    glVertex2f(-1.0f, 1.0f);
    glEnd();
    glPopMatrix();
    glMatrixMode(GL_PROJECTION);
    glPopMatrix();
    glMatrixMode(GL_MODELVIEW);
    end_submit_mask();
}

bool render_handler_ogl::is_visible(const rect& bound) {
    return bound.bound_test(rect(0.0f, m_display_width, 0.0f, m_display_height));
}

void render_handler_ogl::query_compressed_formats() {
    GLint count = 0;
    glGetIntegerv(GL_NUM_COMPRESSED_TEXTURE_FORMATS, &count);
    set_compressed_format_count(count);
}

render_handler* create_render_handler_ogl() {
    return new render_handler_ogl;
}

render_handler_ogl& get_render_handler_ogl() {
    static render_handler_ogl handler;
    return handler;
}

}  // namespace swfplayer
