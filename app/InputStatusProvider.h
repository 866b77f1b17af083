#pragma once

// Where controllers poll the state of keys and joystick axes: the live window input, or an input
// recording played back.
class InputStatusProvider {
public:
    virtual ~InputStatusProvider() = default;

    // The position of a joystick's axis, -100 to 100. Axis numbers and key codes are the game's
    // stored codes (those of its control and recording files).
    virtual float GetJoystickAxis(unsigned int joystick, unsigned int axis) = 0;
    // Whether the key is held down.
    virtual bool IsKeyDown(unsigned int key) = 0;
};
