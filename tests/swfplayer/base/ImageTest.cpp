#include "swfplayer/base/image.h"

#include <gtest/gtest.h>

#include <memory>

using namespace swfplayer;

// Each kind's pitch: rgb rows padded to 4 bytes, rgba and alpha rows packed.
TEST(Image, pitch_of_each_kind) {
    struct Case {
        int width;
        int rgb_pitch;
    };
    for (const Case& c : {Case{1, 4}, Case{2, 8}, Case{3, 12}, Case{4, 12}, Case{5, 16}, Case{100, 300}}) {
        SCOPED_TRACE(c.width);
        EXPECT_EQ(image::create_rgb(c.width, 3)->pitch, c.rgb_pitch);
        EXPECT_EQ(image::create_rgba(c.width, 3)->pitch, 4 * c.width);
        EXPECT_EQ(image::create_alpha(c.width, 3)->pitch, c.width);
        EXPECT_EQ(image::create_rgb(c.width, 3)->type, image::image_base::RGB);
    }
}

TEST(Image, scanline_and_set_pixel_address_rows_top_first) {
    std::unique_ptr<image::rgba> im = image::create_rgba(3, 5);
    EXPECT_EQ(image::scanline(im.get(), 0), im->data.get());
    EXPECT_EQ(image::scanline(im.get(), 4), im->data.get() + 4 * im->pitch);
    im->set_pixel(2, 4, 1, 2, 3, 4);
    const uint8_t* p = image::scanline(static_cast<const image::image_base*>(im.get()), 4) + 8;
    EXPECT_EQ((std::vector<int>{p[0], p[1], p[2], p[3]}), (std::vector<int>{1, 2, 3, 4}));
}

// Sizes from data are checked before anything is allocated: empty, negative, too wide and too
// many pixels give no image.
TEST(Image, refused_sizes_give_no_image) {
    struct Case {
        int width, height;
        bool allowed;
    };
    const Case cases[] = {
        {1, 1, true},   {image::max_side, 1, true},      {4096, 4096, true},    {0, 5, false},      {5, 0, false},
        {-1, 5, false}, {image::max_side + 1, 1, false}, {65500, 65500, false}, {4097, 4096, false}};
    for (const Case& c : cases) {
        SCOPED_TRACE(std::to_string(c.width) + " x " + std::to_string(c.height));
        EXPECT_EQ(image::size_allowed(c.width, c.height), c.allowed);
        EXPECT_EQ(image::create_alpha(c.width, c.height) != nullptr, c.allowed);
        if (!c.allowed) {
            EXPECT_EQ(image::create_rgb(c.width, c.height), nullptr);
            EXPECT_EQ(image::create_rgba(c.width, c.height), nullptr);
        }
    }
}
