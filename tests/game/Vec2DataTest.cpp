#include "game/Vec2Data.h"

#include "serializeme/BinaryStorageBuffer.h"
#include "serializeme/VectorSerialization.h"
#include "serializeme/XmlStorageBuffer.h"

#include <gtest/gtest.h>

namespace {

std::string Compact(const TiXmlNode* node) {
    TiXmlPrinter printer;
    printer.SetStreamPrinting();
    node->Accept(&printer);
    return printer.Str();
}

// A record holding a list of points, as recorded events do.
class Path : public sme::Serializable {
public:
    bool Serialize(sme::StorageBuffer& buffer) override {
        if (buffer.IsWriting()) {
            sme::WriteVector(buffer, "points", points);
        } else {
            sme::ReadVector(buffer, "points", points);
        }
        return true;
    }
    const char* TypeName() const override { return "path"; }

    std::vector<Vec2Data> points;
};

}  // namespace

TEST(Vec2Data, starts_at_zero_and_is_stored_as_x_then_y) {
    Vec2Data zero;
    EXPECT_EQ(zero.x, 0.0f);
    EXPECT_EQ(zero.y, 0.0f);
    EXPECT_STREQ(zero.TypeName(), "vec2");
    EXPECT_EQ(zero.TypeId(), 1);

    Vec2Data v(1024.0f, 0.6f);
    sme::XmlStorageBuffer writer(true);
    writer.WriteObject("windowSize", v);
    EXPECT_EQ(Compact(writer.GetRoot()->FirstChildElement()), "<vec2 x=\"1024\" y=\"0.6\" name=\"windowSize\" />");

    sme::BinaryStorageBuffer binary(true);
    EXPECT_TRUE(v.Serialize(binary));
    EXPECT_EQ(binary.GetData(), std::string("\x00\x00\x80\x44\x9a\x99\x19\x3f", 8));
}

TEST(Vec2Data, a_missing_coordinate_keeps_its_value) {
    TiXmlElement element("vec2");
    element.SetAttribute("y", "2.5");
    sme::XmlStorageBuffer reader(false);
    reader.SetRoot(&element);
    Vec2Data v(7.0f, 8.0f);
    EXPECT_TRUE(v.Serialize(reader));
    EXPECT_EQ(v.x, 7.0f);
    EXPECT_EQ(v.y, 2.5f);
}

TEST(Vec2Data, lists_of_points_round_trip_through_both_buffers) {
    Path original;
    original.points = {Vec2Data(1.5f, -2.0f), b2Vec2(0.001f, 1e7f), Vec2Data()};

    sme::XmlStorageBuffer xmlWriter(true);
    original.Serialize(xmlWriter);
    sme::XmlStorageBuffer xmlReader(false);
    xmlReader.SetRoot(xmlWriter.GetRoot());
    sme::BinaryStorageBuffer binaryWriter(true);
    original.Serialize(binaryWriter);
    sme::BinaryStorageBuffer binaryReader(false);
    binaryReader.SetData(binaryWriter.GetData());

    for (sme::StorageBuffer* reader : {static_cast<sme::StorageBuffer*>(&xmlReader),
                                       static_cast<sme::StorageBuffer*>(&binaryReader)}) {
        Path copy;
        copy.points.assign(5, Vec2Data(9.0f, 9.0f));
        copy.Serialize(*reader);
        ASSERT_EQ(copy.points.size(), 3u);
        for (size_t i = 0; i < 3; ++i) {
            EXPECT_EQ(copy.points[i].x, original.points[i].x);
            EXPECT_EQ(copy.points[i].y, original.points[i].y);
        }
    }
}
