#pragma once

#include "flash/render_style.h"
#include "swfplayer/main/render/render_handler.h"

namespace swfplayer {

// The player's renderer: fixed-function OpenGL 1.x into the current context, inside the
// model-view matrix it finds, with masks in the stencil buffer. Each display saves OpenGL's state
// and client arrays (SFML's among them) and gives them back at its end, and masks left open by
// one movie end with its display, so nothing leaks into the next movie or into SFML's drawing.
class render_handler_ogl : public render_handler {
public:
    bitmap_info* create_bitmap_info_empty() override;
    bitmap_info* create_bitmap_info_alpha(int width, int height, const unsigned char* data) override;
    bitmap_info* create_bitmap_info_rgb(image::rgb* im) override;
    bitmap_info* create_bitmap_info_rgba(image::rgba* im) override;
    void* get_extension() override { return nullptr; }

    void begin_display(rgba background, int viewport_x0, int viewport_y0, int viewport_width, int viewport_height,
                       float x0, float x1, float y0, float y1) override;
    void end_display() override;
    void set_matrix(const matrix& m) override { m_current_matrix = m; }
    void set_cxform(const cxform& cx) override { m_current_cxform = cx; }

    void draw_mesh_strip(const void* coords, int vertex_count) override;
    void draw_triangle_list(const void* coords, int vertex_count) override;
    void draw_line_strip(const void* coords, int vertex_count) override;

    void fill_style_disable(int fill_side) override;
    void fill_style_color(int fill_side, rgba color) override;
    void fill_style_bitmap(int fill_side, bitmap_info* bi, const matrix& bitmap_matrix, int wrap) override;
    void line_style_disable() override { m_line_style.mode = render_style::DISABLED; }
    void line_style_color(rgba color) override;
    void line_style_width(float width) override { m_line_width = width; }

    void draw_bitmap(const matrix& m, bitmap_info* bi, const rect& coords, const rect& uv_coords, rgba color) override;
    void set_antialiased(bool enable) override { m_antialiased = enable; }

    void begin_submit_mask() override;
    void end_submit_mask() override;
    void disable_mask() override;

    bool is_visible(const rect& bound) override;
    void query_compressed_formats() override;

    // Preferences: without bitmaps, bitmap fills leave the previous fill in force and
    // draw_bitmap draws nothing; without meshes no filled shape is drawn, lines still are.
    bool m_enable_bitmaps = true;
    bool m_enable_meshes = true;

    // Draw calls since the last begin_display.
    int m_line_strips = 0;
    int m_meshes = 0;  // triangle strips and lists, counted also when meshes are off
    int m_bitmaps = 0;

private:
    // The style record of a fill side; sides other than 0 and 1 are ignored (null).
    render_style* fill_side_style(int fill_side);
    void draw_mesh(unsigned int primitive, const void* coords, int vertex_count);
    // Makes the model-view matrix the frame's times m_current_matrix, unless it is already.
    void apply_current_matrix();
    // Makes the model-view matrix the frame's alone.
    void apply_frame_matrix();
    // Resets the mask state: no stencil test, nothing masked.
    void reset_masks();

    render_style m_fill_styles[2];
    render_style m_line_style;
    float m_line_width = 0.0f;  // twips
    bool m_antialiased = false;
    float m_display_width = 0.0f;  // the current movie's frame, twips
    float m_display_height = 0.0f;
    matrix m_current_matrix;
    // The shapes' matrix in force on the model-view stack, when one is (m_matrix_applied).
    matrix m_applied_matrix;
    bool m_matrix_applied = false;
    cxform m_current_cxform;
    int m_mask_level = 0;  // nested masks in force
};

// A new handler on the heap (the game uses the static handler instead).
render_handler* create_render_handler_ogl();
// The program's one handler, built on first use; every movie load installs it.
render_handler_ogl& get_render_handler_ogl();

}  // namespace swfplayer
