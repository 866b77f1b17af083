// The SWF kit's writers byte by byte. Rects, matrices and colour transforms are read back by the
// player's record readers in the stream tests.
#include "tools/swfkit/BitWriter.h"
#include "tools/swfkit/FontBuilder.h"
#include "tools/swfkit/Movie.h"
#include "tools/swfkit/Records.h"
#include "tools/swfkit/ShapeBuilder.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <functional>
#include <string>
#include <vector>

namespace {

using swfkit::BitWriter;
using swfkit::Bytes;

// What each writer call leaves in a fresh writer.
TEST(BitWriterTest, each_write_gives_its_bytes) {
    struct Row {
        const char* what;
        std::function<void(BitWriter&)> write;
        Bytes bytes;
    } rows[] = {
        // Most significant bit first; byte writes and GetBytes pad the bit byte first.
        {"bits", [](BitWriter& w) { w.WriteBits(5, 3), w.WriteBits(23, 7); }, {0xA5, 0xC0}},
        {"signed bits",
         [](BitWriter& w) {
             w.WriteBits(1, 1), w.GetBytes(), w.WriteSignedBits(-1, 5), w.WriteBits(~0u, 0), w.WriteU8(0x42);
         },
         {0x80, 0xF8, 0x42}},
        {"u16 u32",
         [](BitWriter& w) { w.WriteU16(0x1234), w.WriteU32(0x12345678); },
         {0x34, 0x12, 0x78, 0x56, 0x34, 0x12}},
        {"fixed", [](BitWriter& w) { w.WriteFixed(1.5), w.WriteFixed8(-0.5); }, {0x00, 0x80, 0x01, 0x00, 0x80, 0xFF}},
        {"float double",
         [](BitWriter& w) { w.WriteFloat(0.5f), w.WriteDouble(1.0); },
         {0, 0, 0, 0x3F, 0, 0, 0, 0, 0, 0, 0xF0, 0x3F}},
        {"vu32",
         [](BitWriter& w) { w.WriteVu32(0), w.WriteVu32(127), w.WriteVu32(128), w.WriteVu32(~0u); },
         {0x00, 0x7F, 0x80, 0x01, 0xFF, 0xFF, 0xFF, 0xFF, 0x0F}},
        {"string bytes",
         [](BitWriter& w) {
             w.WriteString("ab"), w.WriteBytes({9, 8});
         },
         {'a', 'b', 0, 9, 8}},
    };
    for (const Row& row : rows) {
        BitWriter w;
        row.write(w);
        EXPECT_EQ(w.GetBytes(), row.bytes) << row.what;
    }
}

TEST(FontBuilderTest, code_points_decode_utf8_and_skip_broken_sequences) {
    const std::pair<std::string, std::vector<uint32_t>> cases[] = {{"Ab", {'A', 'b'}},
                                                                   {"\xc3\xa9\xe2\x82\xac", {0xE9, 0x20AC}},
                                                                   {"\xf0\x9f\x98\x80!", {0x1F600, '!'}},
                                                                   {"\xc3", {}},
                                                                   {"\x80x", {'x'}},
                                                                   {"\xe2\x82x", {'x'}},
                                                                   {"\xffy", {'y'}}};
    for (const auto& [text, codes] : cases) {
        EXPECT_EQ(swfkit::CodePoints(text), codes) << text;
    }
}

TEST(TagListTest, short_and_long_headers) {
    auto tag = [](uint16_t type, const Bytes& body, bool force_long) {
        swfkit::TagList tags(6);
        tags.Tag(type, body, force_long);
        return tags.GetBytes();
    };
    EXPECT_EQ(tag(swfplayer::tag_set_background_color, {1, 2, 3}, false), (Bytes{0x43, 0x02, 1, 2, 3}));
    EXPECT_EQ(tag(swfplayer::tag_show_frame, {}, true), (Bytes{0x7F, 0x00, 0, 0, 0, 0}));
    Bytes long_header = {0xBF, 0x00, 63, 0, 0, 0};
    long_header.resize(6 + 63);
    EXPECT_EQ(tag(swfplayer::tag_define_shape, Bytes(63, 0), false), long_header);
    swfkit::TagList raw(6);
    raw.RawTag(swfplayer::tag_define_shape, 0xFFFFFFF0, {7});
    EXPECT_EQ(raw.GetBytes(), (Bytes{0xBF, 0x00, 0xF0, 0xFF, 0xFF, 0xFF, 7}));
}

TEST(RecordsTest, styles_by_shape_version) {
    auto styles = [](const std::vector<swfkit::FillStyle>& fills, const std::vector<swfkit::LineStyle>& lines,
                     int version) {
        BitWriter out;
        swfkit::WriteFillStyles(out, fills, version);
        swfkit::WriteLineStyles(out, lines, version);
        return out.GetBytes();
    };
    const std::vector<swfkit::FillStyle> fills = {swfkit::FillStyle::Solid({1, 2, 3, 4})};
    const std::vector<swfkit::LineStyle> lines = {{40, {5, 6, 7, 8}}};
    EXPECT_EQ(styles(fills, lines, 1), (Bytes{1, 0x00, 1, 2, 3, 1, 40, 0, 5, 6, 7}));
    EXPECT_EQ(styles(fills, lines, 4), (Bytes{1, 0x00, 1, 2, 3, 4, 1, 40, 0, 0, 0, 5, 6, 7, 8}));
    EXPECT_EQ(styles({swfkit::FillStyle::Radial({}, {{0, {1, 1, 1, 255}}, {255, {2, 2, 2, 255}}})}, {}, 1),
              (Bytes{1, 0x12, 0x00, 2, 0, 1, 1, 1, 255, 2, 2, 2, 0}));
    // Many styles use the extended count from version two.
    const Bytes many = styles({}, std::vector<swfkit::LineStyle>(300), 2);
    EXPECT_EQ(Bytes(many.begin(), many.begin() + 4), (Bytes{0, 0xFF, 300 & 0xFF, 300 >> 8}));
    EXPECT_EQ(many.size(), 4u + 300u * 5u);
}

TEST(ShapeBuilderTest, records_curves_and_bounds) {
    swfkit::ShapeBuilder line;
    EXPECT_EQ(line.AddFillStyle(swfkit::FillStyle::Solid({255, 0, 0, 255})), 1);
    line.SetFillStyle1(1);
    line.MoveTo(0, 0);
    line.LineTo(20, 0);
    // Styles, 1 fill bit and 0 line bits, a style change with a move, a straight edge, the end.
    EXPECT_EQ(line.Build(1), (Bytes{1, 0x00, 255, 0, 0, 0, 0x10, 0x14, 0x1D, 0x2A, 0x00, 0x00}));

    swfkit::ShapeBuilder curve;
    curve.AddLineStyle({40, {}});
    curve.SetLineStyle(1);
    curve.MoveTo(100, 100);
    curve.CurveTo(300, -50, 200, 200);
    const swfkit::Rect bounds = curve.GetBounds();
    EXPECT_EQ(std::vector<int>({bounds.xMin, bounds.xMax, bounds.yMin, bounds.yMax}),
              std::vector<int>({80, 320, -70, 220}));
}

}  // namespace
