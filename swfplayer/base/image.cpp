#include "swfplayer/base/image.h"

#include "swfplayer/base/log.h"

#include <cassert>

namespace swfplayer::image {

image_base::image_base(int type_id, int w, int h, int row_pitch)
    : type(type_id), width(w), height(h), pitch(row_pitch) {
    assert(w > 0 && h > 0 && row_pitch > 0);
    data.reset(new uint8_t[static_cast<size_t>(row_pitch) * static_cast<size_t>(h)]);
}

rgb::rgb(int w, int h) : image_base(RGB, w, h, (3 * w + 3) & ~3) {
    assert(pitch >= 3 * w && (pitch & 3) == 0);
}

rgba::rgba(int w, int h) : image_base(RGBA, w, h, 4 * w) {}

void rgba::set_pixel(int x, int y, uint8_t r, uint8_t g, uint8_t b, uint8_t a) {
    assert(x >= 0 && x < width && y >= 0 && y < height);
    uint8_t* p = scanline(this, y) + 4 * x;
    p[0] = r;
    p[1] = g;
    p[2] = b;
    p[3] = a;
}

alpha::alpha(int w, int h) : image_base(ALPHA, w, h, w) {}

bool size_allowed(int64_t width, int64_t height) {
    return width >= 1 && height >= 1 && width <= max_side && height <= max_side && width * height <= max_pixels;
}

namespace {

template <class T>
std::unique_ptr<T> create(int width, int height, const char* kind) {
    if (!size_allowed(width, height)) {
        log_error("image::create_%s: refusing an image of %d x %d pixels\n", kind, width, height);
        return nullptr;
    }
    return std::make_unique<T>(width, height);
}

}  // namespace

std::unique_ptr<rgb> create_rgb(int width, int height) {
    return create<rgb>(width, height, "rgb");
}
std::unique_ptr<rgba> create_rgba(int width, int height) {
    return create<rgba>(width, height, "rgba");
}
std::unique_ptr<alpha> create_alpha(int width, int height) {
    return create<alpha>(width, height, "alpha");
}

uint8_t* scanline(image_base* im, int y) {
    assert(im && y >= 0 && y < im->height);
    return im->data.get() + static_cast<size_t>(im->pitch) * static_cast<size_t>(y);
}

const uint8_t* scanline(const image_base* im, int y) {
    assert(im && y >= 0 && y < im->height);
    return im->data.get() + static_cast<size_t>(im->pitch) * static_cast<size_t>(y);
}

}  // namespace swfplayer::image
