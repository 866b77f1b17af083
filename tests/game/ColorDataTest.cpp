#include "game/ColorData.h"

#include "serializeme/BinaryStorageBuffer.h"
#include "serializeme/XmlStorageBuffer.h"

#include <gtest/gtest.h>

TEST(ColorData, is_stored_as_four_decimal_bytes_r_g_b_a) {
    ColorData color(255, 128, 0, 7);
    EXPECT_STREQ(color.TypeName(), "color");
    sme::XmlStorageBuffer writer(true);
    writer.WriteObject("m_GUIColor", color);
    TiXmlPrinter printer;
    printer.SetStreamPrinting();
    writer.GetRoot()->FirstChildElement()->Accept(&printer);
    EXPECT_EQ(printer.Str(), "<color r=\"255\" g=\"128\" b=\"0\" a=\"7\" name=\"m_GUIColor\" />");

    sme::BinaryStorageBuffer binary(true);
    EXPECT_TRUE(color.Serialize(binary));
    EXPECT_EQ(binary.GetData(), std::string("\xFF\x80\x00\x07", 4));
}

TEST(ColorData, reads_keep_missing_channels_and_wrap_large_numbers_to_a_byte) {
    TiXmlElement element("color");
    element.SetAttribute("name", "m_GUIColor");
    element.SetAttribute("r", "10");
    element.SetAttribute("g", "266");
    element.SetAttribute("a", "oops");
    TiXmlElement parent("controller");
    parent.InsertEndChild(element);
    sme::XmlStorageBuffer reader(false);
    reader.SetRoot(&parent);

    ColorData color(1, 2, 3, 4);
    EXPECT_TRUE(reader.ReadObject("M_GUICOLOR", color));
    EXPECT_EQ(color, sf::Color(10, 10, 3, 4));
}

TEST(ColorData, round_trips_through_the_binary_buffer) {
    ColorData original(sf::Color(193, 249, 242));
    ColorData copy;
    sme::BinaryStorageBuffer writer(true);
    writer.WriteObject(nullptr, original);
    sme::BinaryStorageBuffer reader(false);
    reader.SetData(writer.GetData());
    EXPECT_TRUE(reader.ReadObject(nullptr, copy));
    EXPECT_EQ(copy, original);
}
