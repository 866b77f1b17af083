#pragma once

#include <cstdint>

// The joystick axes by the numbers that recordings store (those of SFML 1.x): the six stick axes
// and the point-of-view hat, whose position is an angle.
namespace Joy {

enum Axis : uint32_t { AxisX, AxisY, AxisZ, AxisR, AxisU, AxisV, AxisPOV, AxisCount };

// The hat's position when it is not pressed in any direction.
constexpr float kPovCentred = -1.0f;

}  // namespace Joy

// One input event of the window as the controllers and the input recorder see it: keys by the
// game's stored codes (Key::Code), joystick axes by Joy::Axis, and the hat as one angle in degrees
// clockwise from up (0 up, 90 right, 180 down, 270 left, the diagonals in between; -1 centred).
// Made from the window's events by the EventAdapter, and from recordings by the EventPlayer, whose
// events carry no joystick number and no modifiers.
struct InputEvent {
    enum Type { KeyPressed, KeyReleased, JoyButtonPressed, JoyMoved };

    Type type = KeyPressed;
    // KeyPressed, KeyReleased: the game's key code and the modifiers held.
    uint32_t key = 0;
    bool alt = false;
    bool control = false;
    bool shift = false;
    // JoyButtonPressed, JoyMoved: the joystick's number.
    uint32_t joystick = 0;
    // JoyButtonPressed: the button's number.
    uint32_t button = 0;
    // JoyMoved: the axis and its position, -100 to 100 (the hat: its angle).
    uint32_t axis = 0;
    float position = 0.0f;
};
