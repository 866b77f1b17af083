#pragma once

#include "serializeme/Serializable.h"
#include "serializeme/StorageBuffer.h"

#include <box2d/b2_math.h>

// A 2-D float vector that can be stored: the float "x", then the float "y".
// Kept entirely inline, so the shell's records (window position and size) can hold one without
// linking the gameplay library.
class Vec2Data : public b2Vec2, public sme::Serializable {
public:
    Vec2Data() : b2Vec2(0.0f, 0.0f) {}
    Vec2Data(float x, float y) : b2Vec2(x, y) {}
    Vec2Data(const b2Vec2& v) : b2Vec2(v) {}

    bool Serialize(sme::StorageBuffer& buffer) override {
        if (buffer.IsWriting()) {
            buffer.WriteFloat("x", x);
            buffer.WriteFloat("y", y);
        } else {
            buffer.ReadFloat("x", x);
            buffer.ReadFloat("y", y);
        }
        return true;
    }

    const char* TypeName() const override { return "vec2"; }
};
