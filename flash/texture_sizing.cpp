#include "flash/texture_sizing.h"

#include "swfplayer/main/common/twips.h"

#include <algorithm>
#include <cmath>

namespace swfplayer {
namespace {

// Rounding up that would leave more than 40 percent of the texture empty rounds down instead.
constexpr float min_fill = 0.6f;

}  // namespace

int texture_size(int n) {
    if (n <= 1) {
        return 1;
    }
    int p = 1;
    while (p < n && p < (1 << 30)) {
        p <<= 1;
    }
    if (static_cast<float>(n) / static_cast<float>(p) < min_fill) {
        p >>= 1;
    }
    return p;
}

std::vector<uint8_t> resample(const uint8_t* src, int sw, int sh, int pitch, int bytes_per_pixel, int dw, int dh) {
    std::vector<uint8_t> out(static_cast<size_t>(dw) * dh * bytes_per_pixel);
    const float dx = static_cast<float>(std::max(sw - 2, 0)) / static_cast<float>(dw);
    const float dy = static_cast<float>(std::max(sh - 2, 0)) / static_cast<float>(dh);
    uint8_t* o = out.data();
    float y = 0.0f;
    for (int row = 0; row < dh; row++, y += dy) {
        const int j = std::min(static_cast<int>(y), sh - 1);
        const float fy = y - static_cast<float>(j);
        const uint8_t* row0 = src + static_cast<size_t>(pitch) * j;
        const uint8_t* row1 = src + static_cast<size_t>(pitch) * std::min(j + 1, sh - 1);
        float x = 0.0f;
        for (int col = 0; col < dw; col++, x += dx) {
            const int i = std::min(static_cast<int>(x), sw - 1);
            const int i1 = std::min(i + 1, sw - 1);
            const float fx = x - static_cast<float>(i);
            const float w00 = (1 - fx) * (1 - fy);
            const float w10 = fx * (1 - fy);
            const float w01 = (1 - fx) * fy;
            const float w11 = fx * fy;
            for (int c = 0; c < bytes_per_pixel; c++) {
                const float v = w00 * row0[i * bytes_per_pixel + c] + w10 * row0[i1 * bytes_per_pixel + c] +
                                w01 * row1[i * bytes_per_pixel + c] + w11 * row1[i1 * bytes_per_pixel + c];
                *o++ = static_cast<uint8_t>(std::min(v, 255.0f));
            }
        }
    }
    return out;
}

void next_mip_level(uint8_t* data, int* width, int* height) {
    const int old_w = *width;
    const int old_h = *height;
    const int w = old_w < 2 ? 1 : old_w / 2;
    const int h = old_h < 2 ? 1 : old_h / 2;
    if (old_w == 2 * w && old_h == 2 * h) {
        uint8_t* out = data;
        for (int y = 0; y < h; y++) {
            const uint8_t* in = data + static_cast<size_t>(2 * y) * old_w;
            for (int x = 0; x < w; x++, in += 2) {
                *out++ = static_cast<uint8_t>((in[0] + in[1] + in[old_w] + in[old_w + 1]) >> 2);
            }
        }
    }
    *width = w;
    *height = h;
}

float line_width_pixels(const matrix& m, float width_twips) {
    const float scale = std::fabs(m.get_x_scale()) + std::fabs(m.get_y_scale());
    return std::max(1.0f, scale * width_twips * 0.5f / static_cast<float>(twips_per_pixel));
}

texgen_planes bitmap_planes(const matrix& m, int width, int height) {
    const float iw = 1.0f / static_cast<float>(width);
    const float ih = 1.0f / static_cast<float>(height);
    return texgen_planes{{m.m[0][0] * iw, m.m[0][1] * iw, 0.0f, m.m[0][2] * iw},
                         {m.m[1][0] * ih, m.m[1][1] * ih, 0.0f, m.m[1][2] * ih}};
}

}  // namespace swfplayer
