#pragma once

#include "swfplayer/main/common/matrix.h"

#include <cstdint>
#include <vector>

namespace swfplayer {

// The OpenGL handler's arithmetic, apart from OpenGL so that it can be checked alone.

// The texture side for an image side of n pixels: the smallest power of two at least n (1 for
// n <= 1), halved when n would fill less than 60 percent of it.
int texture_size(int n);

// Bilinear resampling of a source of sw by sh pixels (pitch bytes a row, bytes_per_pixel 3 or
// 4) to dw by dh packed pixels. The source position starts at 0 and steps by (sw - 2) / dw
// across and (sh - 2) / dh down, never below 0; neighbours beyond the last row or column repeat
// it, so sources of one or two pixels are read within their bounds.
std::vector<uint8_t> resample(const uint8_t* src, int sw, int sh, int pitch, int bytes_per_pixel, int dw, int dh);

// Makes the next level of an alpha mip chain in place: the sizes halve (1 below 2); when both old
// sizes are exactly twice the new, each new byte is the mean (sum shifted right by 2) of its
// 2 x 2 block, written row by row over the start of data; otherwise only the sizes change.
void next_mip_level(uint8_t* data, int* width, int* height);

// The OpenGL line width in pixels of a line width_twips wide drawn under m: the mean of m's two
// scales times the width, in pixels, never below 1.
float line_width_pixels(const matrix& m, float width_twips);

// The texture-generation planes that map shape coordinates through the bitmap matrix m to
// texture coordinates of a bitmap of width by height pixels (both above 0).
struct texgen_planes {
    float s[4];
    float t[4];
};
texgen_planes bitmap_planes(const matrix& m, int width, int height);

}  // namespace swfplayer
