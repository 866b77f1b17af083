// Fill and line style records: bytes consumed per tag type, gradient sampling and bitmaps,
// applying to the renderer, morph blends.
#include "swfplayer/main/loading/bitmap_character.h"
#include "swfplayer/main/shapes/fill_style.h"
#include "swfplayer/main/shapes/line_style.h"
#include "tests/swfplayer/main/shapes/ShapesFixture.h"

#include <gtest/gtest.h>

#include <functional>

namespace swf_testing {
namespace {

using swfplayer::fill_style;
using swfplayer::gradient_record;
using swfplayer::line_style;
using swfplayer::rgba;
using swfplayer::smart_ptr;

class StyleTest : public ShapesFixture {};

const rgba kRed(255, 0, 0, 255);
const rgba kBlue(0, 0, 255, 255);
const rgba kGreen(0, 255, 0, 255);

fill_style Gradient(int type, std::vector<std::pair<int, rgba>> records) {
    fill_style style;
    style.m_type = type;
    for (auto& [ratio, color] : records) {
        style.m_gradients.push_back(gradient_record{static_cast<uint8_t>(ratio), color});
    }
    return style;
}

rgba Lerp(const rgba& a, const rgba& b, float t) {
    rgba c;
    c.set_lerp(a, b, t);
    return c;
}

rgba Pixel(const std::vector<uint8_t>& pixels, int index) {
    return rgba(pixels[4 * index], pixels[4 * index + 1], pixels[4 * index + 2], pixels[4 * index + 3]);
}

bool Same(const rgba& a, const rgba& b) {
    return a.r == b.r && a.g == b.g && a.b == b.b && a.a == b.a;
}

// A linear gradient is a row of 256 pixels, a radial one 64 x 64 with the first record's ratio
// at the centre and the last one's in the corners.
TEST_F(StyleTest, gradient_pixels_follow_the_records) {
    struct Row {
        std::vector<std::pair<int, rgba>> records;
        int pixel;
        rgba expected;
    } rows[] = {
        {{{0, kRed}, {255, kBlue}}, 0, kRed},
        {{{0, kRed}, {255, kBlue}}, 255, kBlue},
        {{{0, kRed}, {255, kBlue}}, 128, Lerp(kRed, kBlue, 128.0f / 255.0f)},
        {{{100, kGreen}}, 0, kGreen},
        {{{100, kGreen}}, 200, kGreen},
        {{{40, kRed}, {255, kBlue}}, 39, kRed},
        {{{40, kRed}, {255, kBlue}}, 40, kRed},
        {{{0, kGreen}, {90, kRed}, {90, kBlue}}, 90, kRed},  // equal ratios: f = 0
        {{{0, kGreen}, {90, kRed}, {90, kBlue}}, 91, kBlue},
    };
    int width = 0, height = 0;
    for (const Row& row : rows) {
        fill_style style = Gradient(swfplayer::fill_linear_gradient, row.records);
        std::vector<uint8_t> pixels = style.gradient_pixels(&width, &height);
        ASSERT_EQ(std::make_pair(width, height), std::make_pair(256, 1));
        EXPECT_TRUE(Same(Pixel(pixels, row.pixel), row.expected)) << "pixel " << row.pixel;
        EXPECT_TRUE(Same(style.sample(row.pixel), row.expected));
    }
    fill_style radial = Gradient(swfplayer::fill_radial_gradient, {{0, kRed}, {200, kGreen}, {255, kBlue}});
    std::vector<uint8_t> pixels = radial.gradient_pixels(&width, &height);
    ASSERT_EQ(std::make_pair(width, height), std::make_pair(64, 64));
    for (auto [index, centre] : {std::pair{31 * 64 + 31, true},
                                 {31 * 64 + 32, true},
                                 {32 * 64 + 31, true},
                                 {32 * 64 + 32, true},
                                 {0, false},
                                 {63, false},
                                 {63 * 64, false},
                                 {64 * 64 - 1, false}}) {
        EXPECT_TRUE(Same(Pixel(pixels, index), centre ? radial.sample(5) : kBlue)) << index;
    }
}

swfkit::Bytes Write(const std::function<void(swfkit::BitWriter&)>& write) {
    swfkit::BitWriter out;
    write(out);
    swfkit::Bytes bytes = out.GetBytes();
    bytes.resize(bytes.size() + 8, 0xEE);  // what follows must stay unread
    return bytes;
}

TEST_F(StyleTest, fill_style_records_consume_their_bytes_per_tag_type) {
    using swfkit::BitWriter;
    const swfkit::Color c{1, 2, 3, 4};
    auto solid = [&](int version) {
        return Write([&](BitWriter& out) { swfkit::WriteFillStyle(out, swfkit::FillStyle::Solid(c), version); });
    };
    // A gradient of count records after its count byte; a focal one (0x13) ends with its focal point.
    auto gradient = [&](uint8_t type, uint8_t count_byte, int count) {
        return Write([&](BitWriter& out) {
            out.WriteU8(type);
            swfkit::WriteMatrix(out, {});
            out.WriteU8(count_byte);
            for (int i = 0; i < count; i++) {
                out.WriteU8(static_cast<uint8_t>(i * 100));
                swfkit::WriteRgba(out, c);
            }
            if (type == 0x13) {
                out.WriteU16(0x0080);
            }
        });
    };
    auto bitmap = Write([&](BitWriter& out) {
        swfkit::WriteFillStyle(out, swfkit::FillStyle::Bitmap(0x41, 7, {2.0, 2.0, 0, 0, 100, 0}), 3);
    });
    const struct {
        const char* what;
        int tag_type;
        swfkit::Bytes bytes;
        int consumed;
    } rows[] = {
        {"solid rgb", 22, solid(2), 4},
        {"solid rgba", 32, solid(3), 5},
        // Spread and interpolation bits above a count of 3.
        {"linear gradient", 32, gradient(0x10, 0x53, 3), 1 + 1 + 1 + 3 * 5},
        {"focal gradient", 83, gradient(0x13, 2, 2), 1 + 1 + 1 + 2 * 5 + 2},
        {"clipped bitmap", 32, bitmap, static_cast<int>(bitmap.size()) - 8},
    };
    for (const auto& row : rows) {
        ByteStream bytes(row.bytes);
        fill_style style;
        style.read(&bytes.in, row.tag_type, nullptr);
        EXPECT_EQ(bytes.in.get_position(), row.consumed) << row.what;
    }
    ByteStream bytes(rows[2].bytes);
    fill_style style;
    style.read(&bytes.in, 32, nullptr);
    EXPECT_EQ(style.m_gradients.size(), 3);
    EXPECT_TRUE(Same(style.m_color, rgba(1, 2, 3, 4)));
    ByteStream rgb(solid(2));
    style.read(&rgb.in, 22, nullptr);
    EXPECT_TRUE(Same(style.m_color, rgba(1, 2, 3, 255)));
}

TEST_F(StyleTest, gradient_records_read_per_tag_type_and_zero_where_the_data_is_cut) {
    // A linear gradient of three records whose bytes all differ, then a cut at every length.
    for (int tag_type : {22, 32}) {
        const bool alpha = tag_type > 22;
        const int record_size = alpha ? 5 : 4;
        swfkit::Bytes full = Write([&](swfkit::BitWriter& out) {
            out.WriteU8(0x10);
            swfkit::WriteMatrix(out, {});
            out.WriteU8(3);
            for (int i = 0; i < 3 * record_size; i++) {
                out.WriteU8(static_cast<uint8_t>(10 + i));
            }
        });
        const int data_end = static_cast<int>(full.size()) - 8;  // without the unread filler
        const int records_start = data_end - 3 * record_size;
        for (int cut = records_start; cut <= data_end; cut++) {
            SCOPED_TRACE("tag type " + std::to_string(tag_type) + " cut at " + std::to_string(cut));
            ByteStream bytes(swfkit::Bytes(full.begin(), full.begin() + cut));
            fill_style style;
            style.read(&bytes.in, tag_type, nullptr);
            ASSERT_EQ(style.m_gradients.size(), 3);
            EXPECT_EQ(bytes.in.get_position(), cut);
            // Byte k of the records, or 0 beyond the cut.
            auto byte = [&](int k) {
                return records_start + k < cut ? static_cast<uint8_t>(10 + k) : uint8_t{0};
            };
            for (int i = 0; i < 3; i++) {
                int at = i * record_size;
                EXPECT_EQ(style.m_gradients[i].m_ratio, byte(at)) << i;
                rgba expected(byte(at + 1), byte(at + 2), byte(at + 3), alpha ? byte(at + 4) : 255);
                EXPECT_TRUE(Same(style.m_gradients[i].m_color, expected)) << i;
            }
        }
    }
}

TEST_F(StyleTest, line_style_records_consume_their_bytes_per_tag_type) {
    using swfkit::BitWriter;
    auto linestyle2 = [](int join, bool has_fill) {
        return Write([&](BitWriter& out) {
            out.WriteU16(40);
            out.WriteBits(1, 2);  // start cap
            out.WriteBits(static_cast<uint32_t>(join), 2);
            out.WriteBits(has_fill, 1);
            out.WriteBits(0, 11);
            if (join == 2) {
                out.WriteU16(0x0300);
            }
            if (has_fill) {
                swfkit::WriteFillStyle(out, swfkit::FillStyle::Solid({9, 9, 9, 9}), 4);
            } else {
                swfkit::WriteRgba(out, {5, 6, 7, 8});
            }
        });
    };
    auto old_style = [](int version) {
        return Write([&](BitWriter& out) { swfkit::WriteLineStyles(out, {{40, {5, 6, 7, 8}}}, version); });
    };
    struct Row {
        const char* what;
        int tag_type;
        swfkit::Bytes bytes;
        int consumed;
        rgba color;
        uint16_t miter;
    } rows[] = {
        {"rgb", 2, old_style(1), 1 + 2 + 3, rgba(5, 6, 7, 255), 0},
        {"rgba", 32, old_style(3), 1 + 2 + 4, rgba(5, 6, 7, 8), 0},
        {"round join", 83, linestyle2(0, false), 2 + 2 + 4, rgba(5, 6, 7, 8), 0},
        {"bevel join", 83, linestyle2(1, false), 2 + 2 + 4, rgba(5, 6, 7, 8), 0},
        {"miter join", 83, linestyle2(2, false), 2 + 2 + 2 + 4, rgba(5, 6, 7, 8), 0x0300},
        {"with fill", 83, linestyle2(0, true), 2 + 2 + 5, rgba(), 0},
    };
    for (const Row& row : rows) {
        ByteStream bytes(row.bytes);
        int skip = row.tag_type == 83 ? 0 : 1;  // the array writer puts a count first
        bytes.in.set_position(skip);
        line_style style;
        style.read(&bytes.in, row.tag_type, nullptr);
        EXPECT_EQ(bytes.in.get_position(), row.consumed) << row.what;
        EXPECT_EQ(style.m_width, 40) << row.what;
        EXPECT_TRUE(Same(style.m_color, row.color)) << row.what;
        EXPECT_EQ(style.m_miter_limit, row.miter) << row.what;
    }
}

// Each style either sets the renderer (a gradient's bitmap made once, bitmaps clamped or repeated
// by type) or reports that it has nothing to draw.
TEST_F(StyleTest, apply_sets_the_renderer_or_reports_nothing_to_draw) {
    smart_ptr<swfplayer::bitmap_info> bi = swfplayer::render::create_bitmap_info_empty();
    smart_ptr<swfplayer::bitmap_character> bitmap = new swfplayer::bitmap_character(m_player.get_ptr(), bi.get_ptr());
    m_render.calls.clear();
    fill_style solid;
    solid.m_color = kRed;
    fill_style gradient = Gradient(swfplayer::fill_linear_gradient, {{0, kRed}});
    EXPECT_TRUE(solid.apply_fill(0));
    EXPECT_TRUE(gradient.apply_fill(0));
    EXPECT_TRUE(gradient.apply_fill(0));  // the bitmap is made once
    for (int type : {0x40, 0x41, 0x42, 0x43}) {
        fill_style style;
        style.m_type = type;
        style.m_bitmap_character = bitmap.get_ptr();
        EXPECT_TRUE(style.apply_fill(0)) << type;
    }
    // A bitmap fill without its bitmap, a focal gradient, a gradient without records (which
    // samples its colour) and an unknown type draw nothing.
    for (int type : {swfplayer::fill_clipped_bitmap, swfplayer::fill_focal_gradient}) {
        fill_style nothing;
        nothing.m_type = type;
        EXPECT_FALSE(nothing.apply_fill(0)) << type;
    }
    fill_style empty = Gradient(swfplayer::fill_linear_gradient, {});
    empty.m_color = kGreen;
    EXPECT_TRUE(Same(empty.sample(0), kGreen));
    EXPECT_FALSE(empty.apply_fill(0));
    ByteStream bytes({0x77, 1, 2, 3});
    fill_style unknown;
    unknown.read(&bytes.in, 32, nullptr);
    EXPECT_EQ(unknown.get_type(), swfplayer::fill_unknown);
    EXPECT_FALSE(unknown.apply_fill(0));
    EXPECT_TRUE(Logged("unknown fill style type 0x77"));
    line_style line(30, kBlue);
    line.apply(1.0f);
    const std::vector<std::string> expected = {
        "fill_style_color 0 255,0,0,255", "create_bitmap_info_rgba",   "fill_style_bitmap 0 1", "fill_style_bitmap 0 1",
        "fill_style_bitmap 0 0",          "fill_style_bitmap 0 1",     "fill_style_bitmap 0 0", "fill_style_bitmap 0 1",
        "line_style_color 0,0,255,255",   "line_style_width 30.000000"};
    EXPECT_EQ(m_render.calls, expected);
}

TEST_F(StyleTest, morph_blend_rounds_ratios_and_drops_the_gradient_bitmap) {
    fill_style a = Gradient(swfplayer::fill_linear_gradient, {{0, kRed}, {10, kRed}});
    fill_style b = Gradient(swfplayer::fill_linear_gradient, {{255, kBlue}, {11, kBlue}});
    fill_style blended = a;
    blended.apply_fill(0);
    ASSERT_TRUE(blended.m_gradient_bitmap_info);
    blended.set_lerp(a, b, 0.5f);
    EXPECT_EQ(blended.m_gradients[0].m_ratio, 128);
    EXPECT_EQ(blended.m_gradients[1].m_ratio, 11);  // 10.5 + 0.5 truncated
    EXPECT_TRUE(Same(blended.m_gradients[0].m_color, Lerp(kRed, kBlue, 0.5f)));
    EXPECT_FALSE(blended.m_gradient_bitmap_info);
}

}  // namespace
}  // namespace swf_testing
