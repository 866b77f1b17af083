#pragma once

// Sample records with one member of every value kind, shared by the storage tests and the
// storage fuzz targets.

#include "serializeme/Serializable.h"
#include "serializeme/StorageBuffer.h"
#include "serializeme/VectorSerialization.h"

#include <cstdint>
#include <ostream>
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

    bool operator==(const Point& other) const { return x == other.x && y == other.y; }
    friend void PrintTo(const Point& p, std::ostream* out) { *out << "(" << p.x << ", " << p.y << ")"; }

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

}  // namespace sample
