#include "game/Vec2Data.h"
#include "tests/serializeme/SampleRecords.h"

#include <gtest/gtest.h>

namespace {

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

TEST(Vec2Data, is_stored_as_the_floats_x_then_y) {
    Vec2Data v(1024.0f, 0.6f);
    EXPECT_EQ(sample::WrittenXml(v, "windowSize"), "<vec2 x=\"1024\" y=\"0.6\" name=\"windowSize\" />");
    sme::BinaryStorageBuffer binary(true);
    EXPECT_TRUE(v.Serialize(binary));
    EXPECT_EQ(binary.GetData(), std::string("\x00\x00\x80\x44\x9a\x99\x19\x3f", 8));
}

TEST(Vec2Data, lists_of_points_round_trip_through_both_buffers) {
    Path original;
    original.points = {Vec2Data(1.5f, -2.0f), b2Vec2(0.001f, 1e7f), Vec2Data()};
    for (sample::Format format : {sample::Format::Xml, sample::Format::Binary}) {
        SCOPED_TRACE(sample::NameOf(format));
        Path copy;
        copy.points.assign(5, Vec2Data(9.0f, 9.0f));
        EXPECT_TRUE(sample::RoundTrip(format, original, copy));
        ASSERT_EQ(copy.points.size(), 3u);
        for (size_t i = 0; i < 3; ++i) {
            EXPECT_EQ(copy.points[i].x, original.points[i].x) << i;
            EXPECT_EQ(copy.points[i].y, original.points[i].y) << i;
        }
    }
}
