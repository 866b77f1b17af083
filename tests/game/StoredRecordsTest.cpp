#include "app/ColorData.h"
#include "app/Vec2Data.h"
#include "tests/serializeme/SampleRecords.h"

#include <gtest/gtest.h>

// The record's XML element under the key and its binary bytes; it reads back through both.
template <class Record>
void ExpectStoredAs(Record record, const char* key, const std::string& xml, const std::string& bytes) {
    EXPECT_EQ(sample::WrittenXml(record, key), xml);
    sme::BinaryStorageBuffer binary(true);
    EXPECT_TRUE(record.Serialize(binary));
    EXPECT_EQ(binary.GetData(), bytes);
    for (sample::Format format : {sample::Format::Xml, sample::Format::Binary}) {
        Record copy;
        EXPECT_TRUE(sample::RoundTrip(format, record, copy));
        EXPECT_TRUE(copy == record) << sample::NameOf(format);
    }
}

TEST(StoredRecords, vec2_is_the_floats_x_then_y_and_color_the_bytes_r_g_b_a) {
    ExpectStoredAs(Vec2Data(1024.0f, 0.6f), "windowSize", "<vec2 x=\"1024\" y=\"0.6\" name=\"windowSize\" />",
                   std::string("\x00\x00\x80\x44\x9a\x99\x19\x3f", 8));
    ExpectStoredAs(ColorData(255, 128, 0, 7), "m_GUIColor",
                   "<color r=\"255\" g=\"128\" b=\"0\" a=\"7\" name=\"m_GUIColor\" />",
                   std::string("\xFF\x80\x00\x07", 4));
}
