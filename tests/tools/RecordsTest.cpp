#include "tools/swfkit/Records.h"
#include "tools/swfkit/ShapeBuilder.h"

#include <gtest/gtest.h>

// Rects, matrices and colour transforms are read back by the player's record readers in the
// stream tests; styles and shape records are checked here byte by byte.
namespace {

using swfkit::BitWriter;
using swfkit::Bytes;

TEST(RecordsTest, styles_by_shape_version) {
    std::vector<swfkit::FillStyle> fills = {swfkit::FillStyle::Solid({1, 2, 3, 4})};
    std::vector<swfkit::LineStyle> lines = {{40, {5, 6, 7, 8}}};
    BitWriter v1;
    swfkit::WriteFillStyles(v1, fills, 1);
    swfkit::WriteLineStyles(v1, lines, 1);
    EXPECT_EQ(v1.GetBytes(), (Bytes{1, 0x00, 1, 2, 3, 1, 40, 0, 5, 6, 7}));
    BitWriter v4;
    swfkit::WriteFillStyles(v4, fills, 4);
    swfkit::WriteLineStyles(v4, lines, 4);
    EXPECT_EQ(v4.GetBytes(), (Bytes{1, 0x00, 1, 2, 3, 4, 1, 40, 0, 0, 0, 5, 6, 7, 8}));
    BitWriter gradient;
    swfkit::WriteFillStyles(gradient, {swfkit::FillStyle::Radial({}, {{0, {1, 1, 1, 255}}, {255, {2, 2, 2, 255}}})}, 1);
    EXPECT_EQ(gradient.GetBytes(), (Bytes{1, 0x12, 0x00, 2, 0, 1, 1, 1, 255, 2, 2, 2}));
}

TEST(RecordsTest, many_styles_use_the_extended_count_from_version_two) {
    std::vector<swfkit::LineStyle> lines(300);
    BitWriter v2;
    swfkit::WriteLineStyles(v2, lines, 2);
    const Bytes& bytes = v2.GetBytes();
    EXPECT_EQ(bytes[0], 0xFF);
    EXPECT_EQ(bytes[1] | bytes[2] << 8, 300);
    EXPECT_EQ(bytes.size(), 3u + 300u * 5u);
}

TEST(ShapeBuilderTest, records_of_a_filled_line) {
    swfkit::ShapeBuilder shape;
    int fill = shape.AddFillStyle(swfkit::FillStyle::Solid({255, 0, 0, 255}));
    EXPECT_EQ(fill, 1);
    shape.SetFillStyle1(fill);
    shape.MoveTo(0, 0);
    shape.LineTo(20, 0);
    // Styles, 1 fill bit and 0 line bits, a style change with a move, a straight edge, the end.
    EXPECT_EQ(shape.Build(1), (Bytes{1, 0x00, 255, 0, 0, 0, 0x10, 0x14, 0x1D, 0x2A, 0x00, 0x00}));
}

TEST(ShapeBuilderTest, curves_and_bounds) {
    swfkit::ShapeBuilder shape;
    shape.AddLineStyle({40, {}});
    shape.SetLineStyle(1);
    shape.MoveTo(100, 100);
    shape.CurveTo(300, -50, 200, 200);
    swfkit::Rect bounds = shape.GetBounds();
    EXPECT_EQ(bounds.xMin, 80);
    EXPECT_EQ(bounds.xMax, 320);
    EXPECT_EQ(bounds.yMin, -70);
    EXPECT_EQ(bounds.yMax, 220);
    Bytes records = shape.Build(2);
    ASSERT_GE(records.size(), 2u);
    EXPECT_EQ(records[0], 0);  // no fill styles
    EXPECT_EQ(swfkit::DefineShapeTagType(2), 22);
    EXPECT_EQ(swfkit::DefineShapeTagType(4), 83);
    Bytes body = swfkit::DefineShapeBody(7, shape, 4);
    EXPECT_EQ(body[0], 7);
    EXPECT_EQ(body[1], 0);
}

}  // namespace
