#pragma once

#include <cstdint>
#include <memory>

namespace swfplayer::image {

// Images larger than this are refused: sizes come from movie data, and a texture beyond it is
// more than any graphics card of the game's era takes anyway.
constexpr int max_side = 16384;          // pixels, either dimension
constexpr int64_t max_pixels = 1 << 24;  // width * height

// An uncompressed picture: height rows of pitch bytes, top row first. Pixel data is not
// initialised on creation.
struct image_base {
    enum id_image { RGB = 1, RGBA = 2, ALPHA = 3 };

    image_base(int type, int width, int height, int pitch);
    virtual ~image_base() = default;
    image_base(const image_base&) = delete;
    image_base& operator=(const image_base&) = delete;

    int type;  // an id_image
    std::unique_ptr<uint8_t[]> data;
    int width;   // pixels, > 0
    int height;  // pixels, > 0
    int pitch;   // bytes from one row's start to the next
};

// Red, green, blue; each row padded to a multiple of 4 bytes.
struct rgb : image_base {
    rgb(int width, int height);
};

// Red, green, blue, alpha; rows packed.
struct rgba : image_base {
    rgba(int width, int height);
    void set_pixel(int x, int y, uint8_t r, uint8_t g, uint8_t b, uint8_t a);
};

// One alpha byte a pixel; rows packed.
struct alpha : image_base {
    alpha(int width, int height);
};

// True when an image of width by height pixels may be made: both at least 1, neither above
// max_side, and no more than max_pixels in all.
bool size_allowed(int64_t width, int64_t height);

// New images, or null (with a logged error) when size_allowed refuses the size.
std::unique_ptr<rgb> create_rgb(int width, int height);
std::unique_ptr<rgba> create_rgba(int width, int height);
std::unique_ptr<alpha> create_alpha(int width, int height);

// The start of row y (0 <= y < height).
uint8_t* scanline(image_base* im, int y);
const uint8_t* scanline(const image_base* im, int y);

}  // namespace swfplayer::image
