#pragma once

#include "swfplayer/base/ref_counted.h"
#include "swfplayer/main/common/cxform.h"
#include "swfplayer/main/common/matrix.h"
#include "swfplayer/main/common/rect.h"
#include "swfplayer/main/common/rgba.h"

namespace swfplayer {

namespace image {
struct rgb;
struct rgba;
}  // namespace image

// A renderer-side bitmap: the renderer makes one for every texture the player asks for.
class bitmap_info : public ref_counted {
public:
    // Makes the bitmap the current texture, creating the renderer's texture from the kept image on
    // first use.
    virtual void activate() = 0;
    // Makes the already-created texture current.
    virtual void bind() = 0;
    virtual int get_width() const = 0;   // pixels
    virtual int get_height() const = 0;  // pixels
};

// The one renderer the player draws through. Coordinates are twips of the movie's frame; shape
// geometry comes as interleaved signed 16-bit (x, y) pairs, a vertex count being the number of
// pairs. The player's calling order: begin_display ... end_display around a movie; per shape
// set_matrix and set_cxform, then per fill style the style call and its meshes, then per line
// strip line_style_color, line_style_width and draw_line_strip; a mask is drawn between
// begin_submit_mask and end_submit_mask, and disable_mask removes the innermost one.
class render_handler {
public:
    // Counts the handler gone (see get_render_handler_generation).
    virtual ~render_handler();

    virtual bitmap_info* create_bitmap_info_empty() = 0;
    // An 8-bit alpha bitmap; data holds width * height bytes and is copied.
    virtual bitmap_info* create_bitmap_info_alpha(int width, int height, const unsigned char* data) = 0;
    // Copies of a 24-bit and a 32-bit image.
    virtual bitmap_info* create_bitmap_info_rgb(image::rgb* im) = 0;
    virtual bitmap_info* create_bitmap_info_rgba(image::rgba* im) = 0;
    // A further handler object; nothing asks for one, and a handler may answer null.
    virtual void* get_extension() = 0;

    // Starts drawing one movie: the background is drawn only when its alpha is not 0; the viewport is
    // in window pixels; x0..x1, y0..y1 is the movie's frame rectangle in twips.
    virtual void begin_display(rgba background, int viewport_x0, int viewport_y0, int viewport_width,
                               int viewport_height, float x0, float x1, float y0, float y1) = 0;
    virtual void end_display() = 0;

    // The transform (twips to twips) and colour transform of the following draws.
    virtual void set_matrix(const matrix& m) = 0;
    virtual void set_cxform(const cxform& cx) = 0;

    // A triangle strip, and separate triangles (three vertices each), in the current left fill.
    virtual void draw_mesh_strip(const void* coords, int vertex_count) = 0;
    virtual void draw_triangle_list(const void* coords, int vertex_count) = 0;
    // A connected line through the vertices in the current line style.
    virtual void draw_line_strip(const void* coords, int vertex_count) = 0;

    // Fill styles of a side (0 left, 1 right). Colours go through the current colour transform. A
    // bitmap fill repeats when wrap is 0 and clamps otherwise; bitmap_matrix maps shape coordinates
    // to bitmap pixels.
    virtual void fill_style_disable(int fill_side) = 0;
    virtual void fill_style_color(int fill_side, rgba color) = 0;
    virtual void fill_style_bitmap(int fill_side, bitmap_info* bi, const matrix& bitmap_matrix, int wrap) = 0;

    virtual void line_style_disable() = 0;
    virtual void line_style_color(rgba color) = 0;
    virtual void line_style_width(float width) = 0;  // twips

    // A textured quad: coords (twips) mapped by m, texture coordinates from uv_coords, tinted by color.
    virtual void draw_bitmap(const matrix& m, bitmap_info* bi, const rect& coords, const rect& uv_coords,
                             rgba color) = 0;
    virtual void set_antialiased(bool enable) = 0;

    // Following draws define a mask; then they paint only where the masks so far overlap;
    // disable_mask removes the innermost mask.
    virtual void begin_submit_mask() = 0;
    virtual void end_submit_mask() = 0;
    virtual void disable_mask() = 0;

    // Whether the mouse is over something that reacts to it.
    virtual void set_cursor(bool /*hand*/) {}
    // Whether the rectangle (twips) meets the current display.
    virtual bool is_visible(const rect& bound) = 0;
    virtual void query_compressed_formats() = 0;
};

// Installs the process-wide handler (null removes it). The handler is borrowed: the caller keeps it
// alive while it is installed.
void set_render_handler(render_handler* handler);
render_handler* get_render_handler();
// Goes up by one whenever a render handler is destroyed. What a handler made and is kept for
// reuse (gradient bitmaps) is dropped when it changes, so that a later handler made at the same
// address is never handed another's bitmaps.
int get_render_handler_generation();

// The player draws through these: each passes the call to the installed handler, and with none
// installed does nothing, or hands out a placeholder bitmap of size 0 by 0.
namespace render {

// The placeholder bitmap made while no handler is installed. It stays a placeholder when a handler
// is installed later.
class bogus_bi : public bitmap_info {
public:
    void activate() override {}
    void bind() override {}
    int get_width() const override { return 0; }
    int get_height() const override { return 0; }
};

bitmap_info* create_bitmap_info_empty();
bitmap_info* create_bitmap_info_alpha(int width, int height, const unsigned char* data);
bitmap_info* create_bitmap_info_rgb(image::rgb* im);
bitmap_info* create_bitmap_info_rgba(image::rgba* im);

void begin_display(rgba background, int viewport_x0, int viewport_y0, int viewport_width, int viewport_height, float x0,
                   float x1, float y0, float y1);
void end_display();
void set_matrix(const matrix& m);
void set_cxform(const cxform& cx);
void draw_mesh_strip(const void* coords, int vertex_count);
void draw_triangle_list(const void* coords, int vertex_count);
void draw_line_strip(const void* coords, int vertex_count);
void fill_style_color(int fill_side, rgba color);
void fill_style_bitmap(int fill_side, bitmap_info* bi, const matrix& bitmap_matrix, int wrap);
void line_style_color(rgba color);
void line_style_width(float width);
void draw_bitmap(const matrix& m, bitmap_info* bi, const rect& coords, const rect& uv_coords, rgba color);
void begin_submit_mask();
void end_submit_mask();
void disable_mask();
void set_cursor(bool hand);

}  // namespace render
}  // namespace swfplayer
