#pragma once

#include "swfplayer/base/image.h"
#include "swfplayer/main/render/render_handler.h"

#include <algorithm>
#include <iterator>
#include <string>
#include <vector>

namespace testing_support {

// A render handler that draws nothing and writes down every call as one line of text (the
// operation's name, then its arguments that matter to a test), so tests can assert the order of
// what the player hands the renderer. Vertex data is summarised by its count.
class RecordingRenderHandler : public swfplayer::render_handler {
public:
    std::vector<std::string> calls;
    int mask_level = 0;      // submitted masks not yet disabled
    int max_mask_level = 0;  // the deepest nesting seen

    // The recorded lines that start with prefix, in order.
    std::vector<std::string> with_prefix(const std::string& prefix) const {
        std::vector<std::string> found;
        std::copy_if(calls.begin(), calls.end(), std::back_inserter(found),
                     [&](const std::string& c) { return c.compare(0, prefix.size(), prefix) == 0; });
        return found;
    }

    swfplayer::bitmap_info* create_bitmap_info_empty() override { return bitmap("create_bitmap_info_empty", 0, 0); }
    swfplayer::bitmap_info* create_bitmap_info_alpha(int width, int height, const unsigned char*) override {
        return bitmap("create_bitmap_info_alpha", width, height);
    }
    swfplayer::bitmap_info* create_bitmap_info_rgb(swfplayer::image::rgb* im) override {
        return bitmap("create_bitmap_info_rgb", im ? im->width : 0, im ? im->height : 0);
    }
    swfplayer::bitmap_info* create_bitmap_info_rgba(swfplayer::image::rgba* im) override {
        return bitmap("create_bitmap_info_rgba", im ? im->width : 0, im ? im->height : 0);
    }
    void* get_extension() override { return nullptr; }

    void begin_display(swfplayer::rgba background, int, int, int, int, float, float, float, float) override {
        record("begin_display " + color(background));
    }
    void end_display() override { record("end_display"); }
    void set_matrix(const swfplayer::matrix&) override { record("set_matrix"); }
    void set_cxform(const swfplayer::cxform&) override { record("set_cxform"); }
    void draw_mesh_strip(const void*, int n) override { record("draw_mesh_strip " + std::to_string(n)); }
    void draw_triangle_list(const void*, int n) override { record("draw_triangle_list " + std::to_string(n)); }
    void draw_line_strip(const void*, int n) override { record("draw_line_strip " + std::to_string(n)); }
    void fill_style_disable(int side) override { record("fill_style_disable " + std::to_string(side)); }
    void fill_style_color(int side, swfplayer::rgba c) override {
        record("fill_style_color " + std::to_string(side) + " " + color(c));
    }
    void fill_style_bitmap(int side, swfplayer::bitmap_info*, const swfplayer::matrix&, int wrap) override {
        record("fill_style_bitmap " + std::to_string(side) + " " + std::to_string(wrap));
    }
    void line_style_disable() override { record("line_style_disable"); }
    void line_style_color(swfplayer::rgba c) override { record("line_style_color " + color(c)); }
    void line_style_width(float w) override { record("line_style_width " + std::to_string(w)); }
    void draw_bitmap(const swfplayer::matrix&, swfplayer::bitmap_info*, const swfplayer::rect&, const swfplayer::rect&,
                     swfplayer::rgba c) override {
        record("draw_bitmap " + color(c));
    }
    void set_antialiased(bool on) override { record(on ? "set_antialiased 1" : "set_antialiased 0"); }
    void begin_submit_mask() override {
        record("begin_submit_mask");
        max_mask_level = std::max(max_mask_level, ++mask_level);
    }
    void end_submit_mask() override { record("end_submit_mask"); }
    void disable_mask() override {
        record("disable_mask");
        --mask_level;
    }
    void set_cursor(bool hand) override { record(hand ? "set_cursor 1" : "set_cursor 0"); }
    bool is_visible(const swfplayer::rect&) override { return true; }
    void query_compressed_formats() override {}

private:
    struct recorded_bitmap : public swfplayer::bitmap_info {
        recorded_bitmap(int w, int h) : width(w), height(h) {}
        void activate() override {}
        void bind() override {}
        int get_width() const override { return width; }
        int get_height() const override { return height; }
        int width, height;
    };

    swfplayer::bitmap_info* bitmap(const char* what, int w, int h) {
        record(what);
        return new recorded_bitmap(w, h);
    }
    void record(std::string line) { calls.push_back(std::move(line)); }
    static std::string color(swfplayer::rgba c) {
        return std::to_string(c.r) + "," + std::to_string(c.g) + "," + std::to_string(c.b) + "," + std::to_string(c.a);
    }
};

}  // namespace testing_support
