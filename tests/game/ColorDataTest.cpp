#include "game/ColorData.h"
#include "tests/serializeme/SampleRecords.h"

#include <gtest/gtest.h>

TEST(ColorData, is_stored_as_the_bytes_r_g_b_a_and_reads_back_in_that_order) {
    ColorData color(255, 128, 0, 7);
    EXPECT_EQ(sample::WrittenXml(color, "m_GUIColor"),
              "<color r=\"255\" g=\"128\" b=\"0\" a=\"7\" name=\"m_GUIColor\" />");
    sme::BinaryStorageBuffer binary(true);
    EXPECT_TRUE(color.Serialize(binary));
    EXPECT_EQ(binary.GetData(), std::string("\xFF\x80\x00\x07", 4));

    for (sample::Format format : {sample::Format::Xml, sample::Format::Binary}) {
        ColorData copy;
        EXPECT_TRUE(sample::RoundTrip(format, color, copy));
        EXPECT_EQ(copy, color) << sample::NameOf(format);
    }
}
