#include "game/Vec2Data.h"
#include "tests/serializeme/SampleRecords.h"

#include <gtest/gtest.h>

// Lists of points round-trip through both buffers with the stored events' snapshots.
TEST(Vec2Data, is_stored_as_the_floats_x_then_y) {
    Vec2Data v(1024.0f, 0.6f);
    EXPECT_EQ(sample::WrittenXml(v, "windowSize"), "<vec2 x=\"1024\" y=\"0.6\" name=\"windowSize\" />");
    sme::BinaryStorageBuffer binary(true);
    EXPECT_TRUE(v.Serialize(binary));
    EXPECT_EQ(binary.GetData(), std::string("\x00\x00\x80\x44\x9a\x99\x19\x3f", 8));
}
