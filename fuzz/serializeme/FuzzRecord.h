#pragma once

#include "serializeme/Serializable.h"
#include "serializeme/StorageBuffer.h"
#include "tests/serializeme/SampleRecordTypes.h"

#include <vector>

namespace fuzzing {

// The storage tests' record of every value kind, nested records and lists, plus polymorphic
// members, so that a fuzzer drives each read path of a buffer.
class Record : public sample::Everything {
public:
    Record() = default;
    Record(const Record&) = delete;
    Record& operator=(const Record&) = delete;
    ~Record() override {
        delete optional;
        for (sme::Serializable* object : objects) {
            delete object;
        }
    }

    bool Serialize(sme::StorageBuffer& buffer) override {
        sample::Everything::Serialize(buffer);
        if (buffer.IsWriting()) {
            buffer.WriteObjectPointer("optional", optional);
            buffer.WriteObjectVector("objects", objects);
        } else {
            buffer.ReadObjectPointer("optional", optional);
            buffer.ReadObjectVector("objects", objects);
        }
        return true;
    }
    const char* TypeName() const override { return "record"; }

    sme::Serializable* optional = nullptr;
    std::vector<sme::Serializable*> objects;
};

}  // namespace fuzzing
