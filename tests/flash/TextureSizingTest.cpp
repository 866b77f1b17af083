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

// Properties of the resampling kernel over many sizes, one-pixel sources among them: a flat
// image stays flat, and a ramp across stays within its range and never falls (padding bytes at
// the row ends, 0xEE, never show). Out-of-bounds reads show up under the sanitizer build.
TEST(TextureSizing, resampling_keeps_flat_images_and_ramps) {
    const int sizes[] = {1, 2, 3, 5, 70, 100, 300};
    for (int bpp : {3, 4}) {
        for (int sw : sizes) {
            for (int sh : sizes) {
                SCOPED_TRACE(std::to_string(sw) + " x " + std::to_string(sh) + " x " + std::to_string(bpp));
                const int pitch = (sw * bpp + 3) & ~3, dw = texture_size(sw), dh = texture_size(sh);
                std::vector<uint8_t> flat(static_cast<size_t>(pitch) * sh, 0xEE), ramp = flat;
                for (int i = 0; i < sw * sh * bpp; i++) {
                    const int x = i / bpp % sw, at = i / (sw * bpp) * pitch + i % (sw * bpp);
                    flat[at] = static_cast<uint8_t>(10 + 40 * (i % bpp));
                    ramp[at] = static_cast<uint8_t>(x * 200 / 300);
                }
                flat = resample(flat.data(), sw, sh, pitch, bpp, dw, dh);
                ASSERT_EQ(flat.size(), static_cast<size_t>(dw * dh * bpp));
                for (size_t i = 0; i < flat.size(); i++) {
                    ASSERT_NEAR(flat[i], 10 + 40 * static_cast<int>(i % bpp), 1) << i;
                }
                ramp = resample(ramp.data(), sw, sh, pitch, bpp, dw, dh);
                for (int i = 1; i < dw * dh; i++) {
                    ASSERT_LE(ramp[i * bpp], 200);
                    ASSERT_TRUE(i % dw == 0 || ramp[(i - 1) * bpp] <= ramp[i * bpp]) << i;
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
            const int old_w = w;
            const bool averaged = 2 * lw == w && 2 * lh == h;
            next_mip_level(data.data(), &w, &h);
            ASSERT_EQ(std::make_pair(w, h), std::make_pair(lw, lh));
            for (int i = 0; i < w * h; i++) {
                const int at = 2 * (i / w) * old_w + 2 * (i % w);
                auto mean = [&] {
                    return (before[at] + before[at + 1] + before[at + old_w] + before[at + old_w + 1]) >> 2;
                };
                ASSERT_EQ(data[i], averaged ? mean() : before[i]) << i;
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
