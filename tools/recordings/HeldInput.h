#pragma once

#include "app/InputEvent.h"
#include "app/InputStatusProvider.h"

#include <map>

// Live input made of events: key and axis states as the events left them (any joystick), for
// controllers steered by generated input.
class HeldInput : public InputStatusProvider {
public:
    void Apply(const InputEvent& event) {
        if (event.type == InputEvent::KeyPressed || event.type == InputEvent::KeyReleased) {
            m_Keys[event.key] = event.type == InputEvent::KeyPressed;
        } else if (event.type == InputEvent::JoyMoved) {
            m_Axes[event.axis] = event.position;
        }
    }
    float GetJoystickAxis(unsigned int, unsigned int axis) override { return m_Axes[axis]; }
    bool IsKeyDown(unsigned int key) override { return m_Keys[key]; }

private:
    std::map<unsigned int, bool> m_Keys;
    std::map<unsigned int, float> m_Axes;
};
