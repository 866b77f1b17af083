#include "swfplayer/base/image.h"
#include "swfplayer/main/common/swf_tag.h"
#include "swfplayer/main/display/character.h"
#include "swfplayer/main/loading/bitmap_character.h"
#include "swfplayer/main/shapes/shape_character_def.h"
#include "swfplayer/main/shapes/shape_loaders.h"
#include "tests/support/JpegWriter.h"
#include "tests/swfplayer/main/loading/SwfLoadingFixture.h"
#include "tests/swfplayer/main/render/RecordingRenderHandler.h"
#include "tools/swfkit/Bitmaps.h"

#include <gtest/gtest.h>

#include <array>
#include <vector>

namespace {

using Bytes = std::vector<uint8_t>;
using swf_testing::Compress;
using swf_testing::Written;
using swfplayer::bitmap_character;
using testing_support::JpegColour;
using testing_support::JpegTables;
using testing_support::WriteJpeg;
using testing_support::WriteJpegTables;

// A handler that keeps the pixels of every colour bitmap made, as 4 bytes a pixel (alpha 255 for
// rgb images), in the order they were made.
class PixelCapture : public testing_support::RecordingRenderHandler {
public:
    struct Picture {
        int width, height;
        Bytes rgba;
    };
    std::vector<Picture> pictures;

    swfplayer::bitmap_info* create_bitmap_info_rgb(swfplayer::image::rgb* im) override {
        keep(*im, 3);
        return RecordingRenderHandler::create_bitmap_info_rgb(im);
    }
    swfplayer::bitmap_info* create_bitmap_info_rgba(swfplayer::image::rgba* im) override {
        keep(*im, 4);
        return RecordingRenderHandler::create_bitmap_info_rgba(im);
    }
    // The last draw_bitmap's x offset, coordinates' and texture coordinates' right and bottom.
    std::vector<float> drawn;
    void draw_bitmap(const swfplayer::matrix& m, swfplayer::bitmap_info* bi, const swfplayer::rect& coords,
                     const swfplayer::rect& uv, swfplayer::rgba c) override {
        drawn = {m.m[0][2], coords.x_max, coords.y_max, uv.x_max, uv.y_max};
        RecordingRenderHandler::draw_bitmap(m, bi, coords, uv, c);
    }

private:
    void keep(const swfplayer::image::image_base& im, int bytes_per_pixel) {
        Picture p{im.width, im.height, {}};
        for (int y = 0; y < im.height; y++) {
            const uint8_t* row = swfplayer::image::scanline(&im, y);
            for (int x = 0; x < im.width; x++) {
                for (int c = 0; c < 4; c++) {
                    p.rgba.push_back(c < bytes_per_pixel ? row[x * bytes_per_pixel + c] : 255);
                }
            }
        }
        pictures.push_back(std::move(p));
    }
};

// A bitmap tag's body: the character id, then the data.
Bytes WithId(uint16_t id, const Bytes& data) {
    return Written([&](swfkit::BitWriter& w) {
        w.WriteU16(id);
        w.WriteBytes(data);
    });
}

class BitmapLoaderTest : public swf_testing::SwfLoadingFixture {
protected:
    void SetUp() override {
        SwfLoadingFixture::SetUp();
        swfplayer::set_render_handler(&m_handler);
    }
    void TearDown() override {
        swfplayer::set_render_handler(nullptr);
        SwfLoadingFixture::TearDown();
    }

    PixelCapture m_handler;
};

// A DefineBitsLossless(2) body: id 1, then the header, the colour-table size for format 3, and
// the compressed pixels.
Bytes LosslessBody(int format, int width, int height, int table_size, const Bytes& decoded) {
    return Written([&](swfkit::BitWriter& w) {
        w.WriteU16(1);
        w.WriteU8(static_cast<uint8_t>(format));
        w.WriteU16(static_cast<uint16_t>(width));
        w.WriteU16(static_cast<uint16_t>(height));
        if (format == 3) {
            w.WriteU8(static_cast<uint8_t>(table_size));
        }
        w.WriteBytes(Compress(decoded));
    });
}

}  // namespace

// Every lossless format of both tags against the pixels the format's layout defines: colour
// tables of 3 and 4 bytes with indices beyond the table, padded rows, 16-bit colour and 32-bit
// colour with and without alpha, and an unknown format. DefineBitsLossless2's colours are stored
// premultiplied and come out straight: channel * 255 / alpha, rounded.
TEST_F(BitmapLoaderTest, lossless_formats_give_exact_pixels) {
    constexpr int rgb = swfplayer::tag_define_bits_lossless, rgba = swfplayer::tag_define_bits_lossless2;
    struct Header {
        int tag, format, width, height, table_size;
    };
    struct Case {
        const char* name;
        Header h;
        Bytes decoded;
        Bytes expected;  // 4 bytes a pixel
    };
    const Case cases[] = {
        {"rgb colour map, width 5 (rows of 8), index 3 beyond the 3 entries",
         {rgb, 3, 5, 2, 2},
         {10, 20, 30, 40, 50, 60, 70, 80, 90,  // table
          0,  1,  2,  0,  1,  9,  9,  9,       // row 0 and its padding
          2,  2,  1,  0,  3,  9,  9,  9},
         {10, 20, 30, 255, 40, 50, 60, 255, 70, 80, 90, 255, 10, 20, 30, 255, 40, 50, 60, 255,
          70, 80, 90, 255, 70, 80, 90, 255, 40, 50, 60, 255, 10, 20, 30, 255, 0,  0,  0,  255}},
        {"rgba colour map, width 4 (rows of 4)",
         {rgba, 3, 4, 1, 1},
         {1, 2, 3, 4, 5, 6, 7, 8, 1, 0, 255, 1},
         {159, 191, 223, 8, 64, 128, 191, 4, 0, 0, 0, 0, 159, 191, 223, 8}},
        {"rgb 16-bit, width 3 (rows of 8)",
         {rgb, 4, 3, 1, 0},
         {0x1F, 0xF8, 0xFF, 0xFF, 0x00, 0x00, 9, 9},
         {0xF8, 0x00, 0xF8, 255, 0xF8, 0xFC, 0xF8, 255, 0, 0, 0, 255}},
        {"rgba 16-bit is opaque",
         {rgba, 4, 1, 2, 0},
         {0xE0, 0x07, 9, 9, 0x1F, 0x00, 9, 9},
         {0x00, 0xFC, 0x00, 255, 0x00, 0x00, 0xF8, 255}},
        {"rgb 32-bit skips the first byte",
         {rgb, 5, 2, 1, 0},
         {0x80, 0x10, 0x20, 0x30, 0x00, 1, 2, 3},
         {0x10, 0x20, 0x30, 255, 1, 2, 3, 255}},
        {"rgba 32-bit rotates alpha to the end",
         {rgba, 5, 4, 1, 0},
         {0x80, 0x10, 0x20, 0x30, 0xFF, 1, 2, 3, 0x00, 0, 0, 0, 0x40, 0x7F, 0x41, 0x00},
         // Half alpha doubles, full alpha keeps, none stays black, more colour than alpha is
         // cut at 255.
         {0x20, 0x40, 0x60, 0x80, 1, 2, 3, 0xFF, 0, 0, 0, 0, 0xFF, 0xFF, 0, 0x40}},
        {"unknown format gives a blank bitmap of the stated size", {rgba, 7, 2, 1, 0}, {1, 2, 3}, Bytes(8, 0)},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        m_handler.pictures.clear();
        auto movie = LoadTags({{c.h.tag, LosslessBody(c.h.format, c.h.width, c.h.height, c.h.table_size, c.decoded)}});
        ASSERT_NE(movie, nullptr);
        ASSERT_NE(movie->get_bitmap_character(1), nullptr);
        ASSERT_EQ(m_handler.pictures.size(), 1u);
        EXPECT_EQ(m_handler.pictures[0].width, c.h.width);
        EXPECT_EQ(m_handler.pictures[0].height, c.h.height);
        EXPECT_EQ(m_handler.pictures[0].rgba, c.expected);
    }
}

// Bitmaps that cannot be decoded still get their character, with an empty bitmap or none made:
// short or damaged compressed data decodes as zeros, sizes the data cannot hold are refused, and
// a JPEG size beyond the tag leaves the image without its alpha plane (opaque), and JPEG data that
// is not one gives an empty bitmap.
TEST_F(BitmapLoaderTest, malformed_bitmap_tags_keep_their_character) {
    Bytes short_data = LosslessBody(5, 2, 2, 0, Bytes(16, 7));
    short_data.resize(short_data.size() - 6);
    Bytes bogus_size = {1, 0, 0xF0, 0xFF, 0xFF, 0xFF};
    const Bytes jpeg = WriteJpeg(4, 4, [](int, int) { return std::array<uint8_t, 3>{1, 2, 3}; });
    bogus_size.insert(bogus_size.end(), jpeg.begin(), jpeg.end());
    const struct {
        const char* name;
        int tag;
        Bytes body;
        size_t empty_bitmaps, pictures;
        const char* logged;
    } cases[] = {
        {"short data", swfplayer::tag_define_bits_lossless2, short_data, 0, 1, nullptr},
        {"4096 x 4096 from one byte", swfplayer::tag_define_bits_lossless2,
         WithId(1, {5, 0x00, 0x10, 0x00, 0x10, 0x78}), 1, 0, nullptr},
        {"zero width", swfplayer::tag_define_bits_lossless2, LosslessBody(5, 0, 3, 0, {}), 1, 0, nullptr},
        {"JPEG size beyond the tag", swfplayer::tag_define_bits_jpeg3, bogus_size, 0, 1, nullptr},
        {"not a JPEG", swfplayer::tag_define_bits_jpeg2, WithId(1, Bytes(40, 0x55)), 1, 0, "define_bits_jpeg2_loader"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        m_handler.calls.clear();
        m_handler.pictures.clear();
        auto movie = LoadTags({{c.tag, c.body}});
        ASSERT_NE(movie, nullptr);
        EXPECT_NE(movie->get_bitmap_character(1), nullptr);
        EXPECT_EQ(m_handler.with_prefix("create_bitmap_info_empty").size(), c.empty_bitmaps);
        ASSERT_EQ(m_handler.pictures.size(), c.pictures);
        if (c.logged) {
            EXPECT_TRUE(Logged(c.logged));
        }
        if (c.tag == swfplayer::tag_define_bits_jpeg3) {
            EXPECT_EQ(m_handler.pictures[0].rgba[3], 255);
        }
    }
}

// The JPEG tags: DefineBits with the movie's shared tables (two images after one JPEGTables) and
// without them, DefineBitsJPEG2, and DefineBitsJPEG3 whose alpha plane starts where its size
// field says, whatever the decoder read ahead.
TEST_F(BitmapLoaderTest, jpeg_tags_decode_with_shared_tables_and_alpha_planes) {
    auto grey = [](int x, int y) {
        uint8_t v = static_cast<uint8_t>(x < 8 ? 200 : 60);
        (void)y;
        return std::array<uint8_t, 3>{v, v, v};
    };
    const Bytes abbreviated = WriteJpeg(16, 8, grey, JpegColour::Rgb, JpegTables::Omitted);
    const Bytes full = WriteJpeg(16, 8, grey);
    const Bytes jpeg3 = Written([&](swfkit::BitWriter& w) {
        w.WriteU16(5);
        w.WriteU32(static_cast<uint32_t>(full.size()));
        w.WriteBytes(full);
        w.WriteBytes(Compress(Bytes(16 * 8, 77)));  // the alpha plane
    });
    Bytes tables_and_image = WriteJpegTables();
    tables_and_image.insert(tables_and_image.end(), abbreviated.begin(), abbreviated.end());

    auto movie = LoadTags({{swfplayer::tag_jpeg_tables, WriteJpegTables()},
                           {swfplayer::tag_define_bits, WithId(1, abbreviated)},
                           {swfplayer::tag_define_bits, WithId(2, abbreviated)},
                           {swfplayer::tag_define_bits_jpeg2, WithId(3, tables_and_image)},
                           {swfplayer::tag_define_bits_jpeg3, jpeg3}});
    ASSERT_NE(movie, nullptr);
    auto without_tables = LoadTags({{swfplayer::tag_define_bits, WithId(4, full)}});
    ASSERT_NE(without_tables, nullptr);
    ASSERT_EQ(m_handler.pictures.size(), 5u);
    for (const PixelCapture::Picture& p : m_handler.pictures) {
        ASSERT_EQ(p.width, 16);
        ASSERT_EQ(p.height, 8);
        EXPECT_NEAR(p.rgba[0], 200, 6);
        EXPECT_NEAR(p.rgba[4 * 15], 60, 6);
    }
    const Bytes& alpha_picture = m_handler.pictures[3].rgba;
    for (size_t i = 3; i < alpha_picture.size(); i += 4) {
        ASSERT_EQ(alpha_picture[i], 77);
    }
    EXPECT_EQ(m_handler.with_prefix("create_bitmap_info_empty").size(), 0u);
}

// What the kit writes (straight colour stored premultiplied, as every writer stores it) comes back
// straight: each channel as near the one written as the premultiplied byte can keep it, half a
// step of 255 / alpha, and exactly at full alpha.
TEST_F(BitmapLoaderTest, kit_written_alpha_bitmaps_come_back_in_straight_colour) {
    std::vector<swfkit::Color> written;
    for (int alpha = 0; alpha < 256; alpha++) {
        for (uint8_t channel : {0, 1, 77, 128, 200, 254, 255}) {
            written.push_back({channel, static_cast<uint8_t>(255 - channel), static_cast<uint8_t>(channel / 2),
                               static_cast<uint8_t>(alpha)});
        }
    }
    const int width = 7;
    const int height = static_cast<int>(written.size()) / width;
    auto movie =
        LoadTags({{swfplayer::tag_define_bits_lossless2, swfkit::DefineBitsLossless2Body(1, width, height, written)}});
    ASSERT_NE(movie, nullptr);
    ASSERT_EQ(m_handler.pictures.size(), 1u);
    const Bytes& got = m_handler.pictures[0].rgba;
    ASSERT_EQ(got.size(), 4 * written.size());
    for (size_t i = 0; i < written.size(); i++) {
        const swfkit::Color& w = written[i];
        const uint8_t want[4] = {w.r, w.g, w.b, w.a};
        const double step = w.a == 0 ? 255.0 : 0.5 * 255.0 / w.a + 0.5;
        ASSERT_EQ(got[4 * i + 3], w.a) << i;
        for (int c = 0; c < 3 && w.a > 0; c++) {
            ASSERT_LE(std::abs(got[4 * i + c] - want[c]), w.a == 255 ? 0.0 : step) << "pixel " << i << " channel " << c;
        }
    }
    // Fully transparent pixels are stored black.
    EXPECT_EQ(swfkit::Premultiplied({200, 100, 50, 0}).r, 0);
}

// Bounds in twips come from the bitmap's size; edges are inside. A second bitmap under a taken id
// is dropped (freed once, with a log line); the first stays.
TEST_F(BitmapLoaderTest, bitmap_bounds_follow_the_bitmap_size) {
    auto movie = LoadTags({{swfplayer::tag_define_bits_lossless2, LosslessBody(5, 10, 4, 0, Bytes(160, 1))},
                           {swfplayer::tag_define_bits_lossless2, LosslessBody(5, 3, 3, 0, Bytes(36, 1))}});
    ASSERT_NE(movie, nullptr);
    auto* ch = static_cast<bitmap_character*>(movie->get_bitmap_character(1));
    ASSERT_NE(ch, nullptr);
    EXPECT_EQ(ch->get_bitmap_info()->get_width(), 10);
    EXPECT_TRUE(Logged("bitmap id 1 is defined twice"));
    swfplayer::rect r;
    ch->get_bound(&r);
    EXPECT_EQ(std::vector<float>({r.x_min, r.x_max, r.y_min, r.y_max}), std::vector<float>({0, 200, 0, 80}));
    EXPECT_TRUE(ch->point_test_local(200.0f, 80.0f));
    EXPECT_TRUE(ch->point_test_local(0.0f, 0.0f));
    EXPECT_FALSE(ch->point_test_local(200.5f, 0.0f));
    EXPECT_FALSE(ch->point_test_local(-0.5f, 10.0f));

    // Displayed, the whole bitmap covers the bounds through the instance's matrix, tinted by
    // its colour transform.
    swfplayer::smart_ptr<swfplayer::character> inst = ch->create_character_instance(nullptr, 1);
    swfplayer::matrix m;
    m.m[0][2] = 100.0f;
    inst->set_matrix(m);
    swfplayer::cxform cx;
    cx.m[0][0] = 0.5f;
    inst->set_cxform(cx);
    ch->display(inst.get_ptr());
    EXPECT_EQ(m_handler.with_prefix("draw_bitmap"), std::vector<std::string>{"draw_bitmap 127,255,255,255"});
    EXPECT_EQ(m_handler.drawn, (std::vector<float>{100, 200, 80, 1, 1}));
}

// The movie lists the bitmaps made for it in the order they were made: its bitmap characters'
// (a repeated id keeps the first) and its gradient fills', which a renderer makes when they are
// first shown (loading makes none).
TEST_F(BitmapLoaderTest, the_movie_lists_its_bitmaps_and_gradients) {
    swfplayer::register_shape_loaders();
    auto lossless = [](uint16_t id) {  // one opaque 32-bit pixel
        return Written([&](swfkit::BitWriter& w) {
            w.WriteU16(id);
            w.WriteU8(5);
            w.WriteU16(1);
            w.WriteU16(1);
            w.WriteBytes(Compress({0xFF, 1, 2, 3}));
        });
    };
    swfkit::ShapeBuilder gradient;
    gradient.SetFillStyle0(
        gradient.AddFillStyle(swfkit::FillStyle::Linear({}, {{0, {255, 0, 0, 255}}, {255, {0, 0, 255, 255}}})));
    gradient.MoveTo(0, 0);
    gradient.LineTo(0, 200);
    gradient.LineTo(200, 200);
    gradient.LineTo(200, 0);
    gradient.LineTo(0, 0);
    constexpr int lossless2 = swfplayer::tag_define_bits_lossless2;
    for (bool renderer : {true, false}) {
        SCOPED_TRACE(renderer);
        swfplayer::set_render_handler(renderer ? &m_handler : nullptr);
        auto movie = LoadBuilt(8, [&](swfkit::TagList& t) {
            t.Tag(lossless2, lossless(1)).Tag(lossless2, lossless(2)).Tag(lossless2, lossless(1));
            t.DefineShape(3, gradient, 2).ShowFrame();
        });
        ASSERT_NE(movie, nullptr);
        ASSERT_EQ(movie->get_bitmap_info_count(), 2);
        auto* shape = dynamic_cast<swfplayer::shape_character_def*>(movie->get_character_def(3));
        ASSERT_TRUE(shape);
        for (int shown = 0; shown < 2; shown++) {
            shape->display(swfplayer::matrix(), swfplayer::cxform(), 1.0f, shape->m_fill_styles, shape->m_line_styles);
        }
        ASSERT_EQ(movie->get_bitmap_info_count(), renderer ? 3 : 2);
        for (int id : {1, 2}) {
            auto* bitmap = dynamic_cast<bitmap_character*>(movie->get_bitmap_character(id));
            ASSERT_TRUE(bitmap);
            EXPECT_EQ(movie->get_bitmap_info(id - 1), bitmap->get_bitmap_info());
        }
        if (renderer) {
            EXPECT_EQ(movie->get_bitmap_info(2)->get_width(), 256);
        }
        EXPECT_EQ(movie->get_bitmap_info(3), nullptr);
        EXPECT_EQ(movie->get_bitmap_info(-1), nullptr);
    }
}
