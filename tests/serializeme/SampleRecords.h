#pragma once

#include "serializeme/Serializable.h"
#include "serializeme/StorageBuffer.h"
#include "serializeme/VectorSerialization.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace sample {

// A small nested record: two integers.
class Point : public sme::Serializable {
public:
    Point() = default;
    Point(int32_t px, int32_t py) : x(px), y(py) {}

    bool Serialize(sme::StorageBuffer& buffer) override {
        if (buffer.IsWriting()) {
            buffer.WriteInt("x", x);
            buffer.WriteInt("y", y);
        } else {
            buffer.ReadInt("x", x);
            buffer.ReadInt("y", y);
        }
        return true;
    }
    const char* TypeName() const override { return "point"; }

    int32_t x = -1;
    int32_t y = -1;
};

inline const sme::FlagName kFlagNames[] = {{"solid", 1}, {"sensor", 2}, {"bullet", 4}};

// A record with one member of every value kind, a nested record and two lists, serialised in
// the pattern every record of the game follows.
class Everything : public sme::Serializable {
public:
    bool Serialize(sme::StorageBuffer& buffer) override {
        if (buffer.IsWriting()) {
            buffer.WriteString("text", text);
            buffer.WriteFloat("number", number);
            buffer.WriteByte("byte", byte);
            buffer.WriteUInt("count", count);
            buffer.WriteInt("offset", offset);
            buffer.WriteBool("enabled", enabled);
            buffer.WriteFlags("kinds", kinds, kFlagNames, 3);
            buffer.WriteObject("corner", corner);
            sme::WriteVector(buffer, "words", words);
            sme::WriteVector(buffer, "points", points);
        } else {
            buffer.ReadString("text", text);
            buffer.ReadFloat("number", number);
            buffer.ReadByte("byte", byte);
            buffer.ReadUInt("count", count);
            buffer.ReadInt("offset", offset);
            buffer.ReadBool("enabled", enabled);
            buffer.ReadFlags("kinds", kinds, kFlagNames, 3);
            buffer.ReadObject("corner", corner);
            sme::ReadVector(buffer, "words", words);
            sme::ReadVector(buffer, "points", points);
        }
        return true;
    }
    const char* TypeName() const override { return "everything"; }

    std::string text = "default";
    float number = 1.5f;
    uint8_t byte = 7;
    uint32_t count = 8;
    int32_t offset = -9;
    bool enabled = false;
    uint32_t kinds = 0;
    Point corner;
    std::vector<std::string> words;
    std::vector<Point> points;
};

// An Everything with a value other than its default in every member.
inline Everything FilledEverything() {
    Everything e;
    e.text = "Hello, <world> & \"friends\"";
    e.number = -0.125f;
    e.byte = 200;
    e.count = 4000000000u;
    e.offset = -2000000000;
    e.enabled = true;
    e.kinds = 5;
    e.corner = Point(3, -4);
    e.words = {"one", "", "three"};
    e.points = {Point(1, 2), Point(-5, 6)};
    return e;
}

inline void ExpectSame(const Everything& a, const Everything& b) {
    EXPECT_EQ(a.text, b.text);
    EXPECT_EQ(a.number, b.number);
    EXPECT_EQ(a.byte, b.byte);
    EXPECT_EQ(a.count, b.count);
    EXPECT_EQ(a.offset, b.offset);
    EXPECT_EQ(a.enabled, b.enabled);
    EXPECT_EQ(a.kinds, b.kinds);
    EXPECT_EQ(a.corner.x, b.corner.x);
    EXPECT_EQ(a.corner.y, b.corner.y);
    EXPECT_EQ(a.words, b.words);
    ASSERT_EQ(a.points.size(), b.points.size());
    for (size_t i = 0; i < a.points.size(); ++i) {
        EXPECT_EQ(a.points[i].x, b.points[i].x);
        EXPECT_EQ(a.points[i].y, b.points[i].y);
    }
}

}  // namespace sample
