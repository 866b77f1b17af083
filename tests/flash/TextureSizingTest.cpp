#include "flash/texture_sizing.h"

#include <gtest/gtest.h>

#include <cmath>
#include <vector>

using namespace swfplayer;

// Rounds up to a power of two, down when rounding up would leave 40 percent or more empty.
TEST(TextureSizing, power_of_two_choice) {
    const std::pair<int, int> cases[] = {{0, 1},     {1, 1},     {2, 2},     {3, 4},      {5, 8},
                                         {9, 8},     {64, 64},   {70, 64},   {77, 128},   {100, 128},
                                         {300, 256}, {307, 256}, {308, 512}, {1024, 1024}};
    for (auto [n, p] : cases) {
        EXPECT_EQ(texture_size(n), p) << n;
    }
}

namespace {

// A source image of sw by sh pixels with bytes_per_pixel channels from f(x, y, channel).
std::vector<uint8_t> Source(int sw, int sh, int pitch, int bytes_per_pixel, int (*f)(int, int, int)) {
    std::vector<uint8_t> src(static_cast<size_t>(pitch) * sh, 0xEE);
    for (int y = 0; y < sh; y++) {
        for (int x = 0; x < sw; x++) {
            for (int c = 0; c < bytes_per_pixel; c++) {
                src[y * pitch + x * bytes_per_pixel + c] = static_cast<uint8_t>(f(x, y, c));
            }
        }
    }
    return src;
}

}  // namespace

// Properties of the resampling kernel over many sizes, one-pixel sources among them: a flat
// image stays flat, and a ramp across stays within its range and never falls (padding bytes at
// the row ends, 0xEE, never show). Out-of-bounds reads show up under the sanitizer build.
TEST(TextureSizing, resampling_keeps_flat_images_and_ramps) {
    const int sizes[] = {1, 2, 3, 5, 70, 100, 300};
    for (int bpp : {3, 4}) {
        for (int sw : sizes) {
            for (int sh : sizes) {
                SCOPED_TRACE(std::to_string(sw) + " x " + std::to_string(sh) + " x " + std::to_string(bpp));
                const int pitch = (sw * bpp + 3) & ~3;
                const int dw = texture_size(sw);
                const int dh = texture_size(sh);
                auto flat = resample(Source(sw, sh, pitch, bpp, [](int, int, int c) { return 10 + 40 * c; }).data(), sw,
                                     sh, pitch, bpp, dw, dh);
                ASSERT_EQ(flat.size(), static_cast<size_t>(dw * dh * bpp));
                for (size_t i = 0; i < flat.size(); i++) {
                    ASSERT_NEAR(flat[i], 10 + 40 * static_cast<int>(i % bpp), 1) << i;
                }
                auto ramp = resample(Source(sw, sh, pitch, bpp, [](int x, int, int) { return x * 200 / 300; }).data(),
                                     sw, sh, pitch, bpp, dw, dh);
                for (int y = 0; y < dh; y++) {
                    for (int x = 1; x < dw; x++) {
                        ASSERT_LE(ramp[(y * dw + x - 1) * bpp], ramp[(y * dw + x) * bpp]);
                        ASSERT_LE(ramp[(y * dw + x) * bpp], 200);
                    }
                }
            }
        }
    }
}

// The alpha mip chain: sizes halve to 1 by 1, and each level of even sizes is the mean of the
// previous level's 2 x 2 blocks, computed here from the level kept aside.
TEST(TextureSizing, alpha_mip_levels) {
    struct Case {
        int width, height;
        std::vector<std::pair<int, int>> levels;
    };
    const Case cases[] = {
        {8, 4, {{4, 2}, {2, 1}, {1, 1}}}, {1, 4, {{1, 2}, {1, 1}}}, {6, 3, {{3, 1}, {1, 1}}}, {1, 1, {{1, 1}}}};
    for (const Case& c : cases) {
        SCOPED_TRACE(std::to_string(c.width) + " x " + std::to_string(c.height));
        std::vector<uint8_t> data(c.width * c.height);
        for (size_t i = 0; i < data.size(); i++) {
            data[i] = static_cast<uint8_t>(i * 37 + 5);
        }
        int w = c.width, h = c.height;
        for (auto [lw, lh] : c.levels) {
            const std::vector<uint8_t> before(data.begin(), data.begin() + w * h);
            const int old_w = w, old_h = h;
            next_mip_level(data.data(), &w, &h);
            ASSERT_EQ(std::make_pair(w, h), std::make_pair(lw, lh));
            const bool averaged = old_w == 2 * w && old_h == 2 * h;
            for (int y = 0; y < h; y++) {
                for (int x = 0; x < w; x++) {
                    const int want =
                        averaged ? (before[2 * y * old_w + 2 * x] + before[2 * y * old_w + 2 * x + 1] +
                                    before[(2 * y + 1) * old_w + 2 * x] + before[(2 * y + 1) * old_w + 2 * x + 1]) >>
                                       2
                                 : before[y * w + x];
                    ASSERT_EQ(data[y * w + x], want) << x << "," << y;
                }
            }
        }
    }
}

TEST(TextureSizing, line_width_in_pixels) {
    struct Case {
        float scale, twips, pixels;
    };
    for (const Case& c :
         {Case{1, 20, 1}, Case{2, 100, 10}, Case{1, 0, 1}, Case{0.5f, 40, 1}, Case{3, 200, 30}, Case{1, NAN, 1}}) {
        matrix m;
        m.m[0][0] = c.scale;
        m.m[1][1] = -c.scale;  // mirrored: scales count by size
        EXPECT_FLOAT_EQ(line_width_pixels(m, c.twips), c.pixels) << c.scale << " " << c.twips;
    }
}

// The texture-generation planes send a shape point where the bitmap matrix sends it, in units of
// the bitmap's size.
TEST(TextureSizing, texgen_planes_follow_the_bitmap_matrix) {
    matrix m;
    m.m[0][0] = 0.05f;
    m.m[0][1] = -0.01f;
    m.m[0][2] = 3.0f;
    m.m[1][0] = 0.02f;
    m.m[1][1] = 0.04f;
    m.m[1][2] = -7.0f;
    const texgen_planes planes = bitmap_planes(m, 16, 32);
    for (point p : {point(0, 0), point(100, 0), point(-40, 250), point(1234, -567)}) {
        point texel;
        m.transform(&texel, p);
        EXPECT_NEAR(planes.s[0] * p.x + planes.s[1] * p.y + planes.s[3], texel.x / 16.0f, 1e-4);
        EXPECT_NEAR(planes.t[0] * p.x + planes.t[1] * p.y + planes.t[3], texel.y / 32.0f, 1e-4);
        EXPECT_EQ(planes.s[2], 0.0f);
        EXPECT_EQ(planes.t[2], 0.0f);
    }
}
