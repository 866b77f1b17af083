#pragma once

#include "app/Vec2Data.h"
#include "serializeme/Serializable.h"

#include <cstdint>
#include <vector>

// One record of an input recording: the end of an update step, an input event, or a snapshot of
// every physics body. Only the members that its type uses are stored.
class StoredEvent : public sme::Serializable {
public:
    enum Type : uint32_t {
        kFrame = 1,             // value: the step's time in seconds
        kKeyPressed = 2,        // code: the game's key code
        kKeyReleased = 3,       // code: the game's key code
        kJoyMoved = 4,          // code: the axis (Joy::Axis); value: its position
        kJoyButtonPressed = 5,  // code: the button
        kSnapshot = 6,          // data, data2: the bodies' positions and linear velocities
    };

    StoredEvent() = default;
    StoredEvent(uint32_t type, uint32_t code, float value) : type(type), value(value), code(code) {}

    bool Serialize(sme::StorageBuffer& buffer) override;
    const char* TypeName() const override { return "event"; }

    uint32_t type = kFrame;
    float value = 0.0f;
    uint32_t code = 0;
    // In body-list order.
    std::vector<Vec2Data> data;
    std::vector<Vec2Data> data2;
};
