#include "app/StoredEvent.h"

#include "serializeme/StorageBuffer.h"
#include "serializeme/VectorSerialization.h"

bool StoredEvent::Serialize(sme::StorageBuffer& buffer) {
    const bool writing = buffer.IsWriting();
    if (writing) {
        buffer.WriteUInt("type", type);
    } else {
        buffer.ReadUInt("type", type);
    }
    const bool hasCode = type >= kKeyPressed && type <= kJoyButtonPressed;
    const bool hasValue = type == kFrame || type == kJoyMoved;
    // The code comes before the value, as in a joystick move.
    if (hasCode) {
        if (writing) {
            buffer.WriteUInt("code", code);
        } else {
            buffer.ReadUInt("code", code);
        }
    }
    if (hasValue) {
        if (writing) {
            buffer.WriteFloat("value", value);
        } else {
            buffer.ReadFloat("value", value);
        }
    }
    if (type == kSnapshot) {
        if (writing) {
            sme::WriteVector(buffer, "data", data);
            sme::WriteVector(buffer, "data2", data2);
        } else {
            sme::ReadVector(buffer, "data", data);
            sme::ReadVector(buffer, "data2", data2);
        }
    }
    return true;
}
