#pragma once

#include "serializeme/Serializable.h"
#include "serializeme/StorageBuffer.h"
#include "serializeme/VectorSerialization.h"

#include <string>
#include <vector>

namespace fuzzing {

// A nested record of two integers.
class Pair : public sme::Serializable {
public:
    bool Serialize(sme::StorageBuffer& buffer) override {
        if (buffer.IsWriting()) {
            buffer.WriteInt("a", a);
            buffer.WriteInt("b", b);
        } else {
            buffer.ReadInt("a", a);
            buffer.ReadInt("b", b);
        }
        return true;
    }
    const char* TypeName() const override { return "pair"; }

    int32_t a = 0;
    int32_t b = 0;
};

inline const sme::FlagName kFlags[] = {{"solid", 1}, {"sensor", 2}, {"bullet", 4}};

// A record that reads every kind of value, nested records, lists and polymorphic members, so
// that a fuzzer drives each read path of a buffer.
class Record : public sme::Serializable {
public:
    bool Serialize(sme::StorageBuffer& buffer) override {
        if (buffer.IsWriting()) {
            buffer.WriteString("text", text);
            buffer.WriteFloat("number", number);
            buffer.WriteByte("byte", byte);
            buffer.WriteUInt("count", count);
            buffer.WriteInt("offset", offset);
            buffer.WriteBool("enabled", enabled);
            buffer.WriteFlags("kinds", kinds, kFlags, 3);
            buffer.WriteObject("pair", pair);
            sme::WriteVector(buffer, "words", words);
            sme::WriteVector(buffer, "pairs", pairs);
            buffer.WriteObjectPointer("optional", optional);
            buffer.WriteObjectVector("objects", objects);
        } else {
            buffer.ReadString("text", text);
            buffer.ReadFloat("number", number);
            buffer.ReadByte("byte", byte);
            buffer.ReadUInt("count", count);
            buffer.ReadInt("offset", offset);
            buffer.ReadBool("enabled", enabled);
            buffer.ReadFlags("kinds", kinds, kFlags, 3);
            buffer.ReadObject("pair", pair);
            sme::ReadVector(buffer, "words", words);
            sme::ReadVector(buffer, "pairs", pairs);
            buffer.ReadObjectPointer("optional", optional);
            buffer.ReadObjectVector("objects", objects);
        }
        return true;
    }
    const char* TypeName() const override { return "record"; }

    ~Record() override {
        delete optional;
        for (sme::Serializable* object : objects) {
            delete object;
        }
    }

    std::string text;
    float number = 0.0f;
    uint8_t byte = 0;
    uint32_t count = 0;
    int32_t offset = 0;
    bool enabled = false;
    uint32_t kinds = 0;
    Pair pair;
    std::vector<std::string> words;
    std::vector<Pair> pairs;
    sme::Serializable* optional = nullptr;
    std::vector<sme::Serializable*> objects;
};

}  // namespace fuzzing
