#include "swfplayer/main/render/render_handler.h"

namespace swfplayer {

namespace {
render_handler* s_render_handler = nullptr;
int s_generation = 0;
}  // namespace

render_handler::~render_handler() {
    s_generation++;
}

int get_render_handler_generation() {
    return s_generation;
}

void set_render_handler(render_handler* handler) {
    s_render_handler = handler;
}

render_handler* get_render_handler() {
    return s_render_handler;
}

namespace render {

bitmap_info* create_bitmap_info_empty() {
    return s_render_handler ? s_render_handler->create_bitmap_info_empty() : new bogus_bi;
}

bitmap_info* create_bitmap_info_alpha(int width, int height, const unsigned char* data) {
    return s_render_handler ? s_render_handler->create_bitmap_info_alpha(width, height, data) : new bogus_bi;
}

bitmap_info* create_bitmap_info_rgb(image::rgb* im) {
    return s_render_handler ? s_render_handler->create_bitmap_info_rgb(im) : new bogus_bi;
}

bitmap_info* create_bitmap_info_rgba(image::rgba* im) {
    return s_render_handler ? s_render_handler->create_bitmap_info_rgba(im) : new bogus_bi;
}

void begin_display(rgba background, int viewport_x0, int viewport_y0, int viewport_width, int viewport_height, float x0,
                   float x1, float y0, float y1) {
    if (s_render_handler) {
        s_render_handler->begin_display(background, viewport_x0, viewport_y0, viewport_width, viewport_height, x0, x1,
                                        y0, y1);
    }
}

void end_display() {
    if (s_render_handler) {
        s_render_handler->end_display();
    }
}

void set_matrix(const matrix& m) {
    if (s_render_handler) {
        s_render_handler->set_matrix(m);
    }
}

void set_cxform(const cxform& cx) {
    if (s_render_handler) {
        s_render_handler->set_cxform(cx);
    }
}

void draw_mesh_strip(const void* coords, int vertex_count) {
    if (s_render_handler) {
        s_render_handler->draw_mesh_strip(coords, vertex_count);
    }
}

void draw_triangle_list(const void* coords, int vertex_count) {
    if (s_render_handler) {
        s_render_handler->draw_triangle_list(coords, vertex_count);
    }
}

void draw_line_strip(const void* coords, int vertex_count) {
    if (s_render_handler) {
        s_render_handler->draw_line_strip(coords, vertex_count);
    }
}

void fill_style_color(int fill_side, rgba color) {
    if (s_render_handler) {
        s_render_handler->fill_style_color(fill_side, color);
    }
}

void fill_style_bitmap(int fill_side, bitmap_info* bi, const matrix& bitmap_matrix, int wrap) {
    if (s_render_handler) {
        s_render_handler->fill_style_bitmap(fill_side, bi, bitmap_matrix, wrap);
    }
}

void line_style_color(rgba color) {
    if (s_render_handler) {
        s_render_handler->line_style_color(color);
    }
}

void line_style_width(float width) {
    if (s_render_handler) {
        s_render_handler->line_style_width(width);
    }
}

void draw_bitmap(const matrix& m, bitmap_info* bi, const rect& coords, const rect& uv_coords, rgba color) {
    if (s_render_handler) {
        s_render_handler->draw_bitmap(m, bi, coords, uv_coords, color);
    }
}

void begin_submit_mask() {
    if (s_render_handler) {
        s_render_handler->begin_submit_mask();
    }
}

void end_submit_mask() {
    if (s_render_handler) {
        s_render_handler->end_submit_mask();
    }
}

void disable_mask() {
    if (s_render_handler) {
        s_render_handler->disable_mask();
    }
}

void set_cursor(bool hand) {
    if (s_render_handler) {
        s_render_handler->set_cursor(hand);
    }
}

}  // namespace render
}  // namespace swfplayer
